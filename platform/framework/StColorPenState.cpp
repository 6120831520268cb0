#include "framework/StColorPenState.h"

StColorPenState::StColorPenState() {
  GetPort(&mPort);
  GetPenState(&mPen);
}

StColorPenState::~StColorPenState() {
  GrafPtr current;
  GetPort(&current);
  SetPort(mPort);
  SetPenState(&mPen);
  SetPort(current);
}

void StColorPenState::Normalize() {
  PenNormal();
  StColorState::Normalize();
}
