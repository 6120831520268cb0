#include "framework/UMainThread.h"

#include "framework/LThread.h"

UMainThread* UMainThread::sMainThread = nullptr;

UMainThread::UMainThread() {
  if (!sMainThread) sMainThread = this;
}

UMainThread::~UMainThread() {
  if (sMainThread == this) sMainThread = nullptr;
  if (LThread::InMainThread()) LThread::CancelAllThreads();
}
