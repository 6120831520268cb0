// The main thread as an object: the application creates it before starting threads. When
// it goes (at the end of the program), threads that have not finished are cancelled, so
// their stacks unwind and nothing they own is leaked.
#pragma once

class UMainThread {
 public:
  UMainThread();
  UMainThread(const UMainThread&) = delete;
  UMainThread& operator=(const UMainThread&) = delete;
  ~UMainThread();

  static UMainThread* Get() { return sMainThread; }

 private:
  static UMainThread* sMainThread;
};
