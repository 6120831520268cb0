// Front windows around a classic alert: Deactivate before it, Activate after.
#pragma once

class LWindow;

class UDesktop {
 public:
  static void Deactivate();
  static void Activate();

 private:
  static LWindow* sDeactivated;
};
