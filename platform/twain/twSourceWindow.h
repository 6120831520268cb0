// A source's own settings window, drawn with the framework: the product, the resolution,
// the pixel type to choose, and Scan / Cancel. Sources reach it through the host calls.
#pragma once

#include "twain/TwainSource.h"

// Pane IDs, so the window can be driven like any other.
constexpr int32_t kTwWindowText = 'SrTx';
constexpr int32_t kTwWindowBW = 'SrBW';
constexpr int32_t kTwWindowGray = 'SrGy';
constexpr int32_t kTwWindowRGB = 'SrCo';
constexpr int32_t kTwWindowScan = 'Scan';
constexpr int32_t kTwWindowCancel = 'Cncl';

void* twOpenSourceWindow(const TwainSourceWindowInfo* info, TwainSourceWindowDone done, void* context);
void twCloseSourceWindow(void* window);
