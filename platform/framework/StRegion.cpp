#include "framework/StRegion.h"

StRegion::StRegion() : mRegion(NewRgn()) {}

StRegion::StRegion(const Rect& rect) : mRegion(NewRgn()) { RectRgn(mRegion, &rect); }

StRegion::~StRegion() { DisposeRgn(mRegion); }
