#include "framework/StColorState.h"

StColorState::StColorState() {
  GetPort(&mPort);
  GetForeColor(&mForeColor);
  GetBackColor(&mBackColor);
}

StColorState::~StColorState() {
  GrafPtr current;
  GetPort(&current);
  SetPort(mPort);
  RGBForeColor(&mForeColor);
  RGBBackColor(&mBackColor);
  SetPort(current);
}

void StColorState::Normalize() {
  const RGBColor black = {0, 0, 0}, white = {0xFFFF, 0xFFFF, 0xFFFF};
  RGBForeColor(&black);
  RGBBackColor(&white);
}
