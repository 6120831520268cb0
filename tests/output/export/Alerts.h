// Alerts shown while an export runs, answered with OK.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/FrameworkDriver.h"
#include "framework/LWindow.h"

namespace wxtest {

// Runs `run`, answering up to `most` alerts; the message of each one shown ("" for an
// alert without the hub's message pane).
inline std::vector<std::string> AnswerAlerts(const std::function<void()>& run, int most = 3) {
  std::vector<std::string> texts;
  for (int i = 0; i < most; ++i) {
    wxframework::QueueDialogAction([&](LWindow* d) {
      texts.push_back(wxframework::FindPane(d, 'TXMS') ? wxframework::PaneText(d, 'TXMS') : "");
    });
    wxframework::AnswerNextDialog(900);
  }
  run();
  wxframework::ClearDialogActions();
  return texts;
}

}  // namespace wxtest
