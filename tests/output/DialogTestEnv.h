// The headless application as the hub's dialogs need it, and a record of pane states.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "display/Display.h"
#include "framework/FrameworkClasses.h"
#include "framework/FrameworkDriver.h"
#include "framework/LIconControl.h"
#include "framework/LView.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "windows/Events.h"

namespace wxtest {

// The application registers LIconControl; the alert shows one.
class DialogTest : public HeadlessApp {
 protected:
  void RegisterClasses() override { RegisterClass_(LIconControl); }
};

// Item `index` of the application's string list `list`, as its bytes.
inline std::string ResourceText(SInt16 list, SInt16 index) {
  Str255 text;
  GetIndString(text, list, index);
  return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

// The build's language as the application reads it from string list 128: 'J', 'E', 'F'
// or 'G', or 0 when the item names none.
inline char BuildLanguage() {
  const std::string item = ResourceText(128, 1);
  for (char letter : {'J', 'E', 'F', 'G'})
    if (item.find(letter) != std::string::npos) return letter;
  return 0;
}

// What a test reads back of one pane.
struct PaneState {
  bool enabled = true;
  bool visible = true;
  SInt32 value = 0;
  bool operator==(const PaneState&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PaneState& s) {
  return out << "{enabled " << s.enabled << ", visible " << s.visible << ", value " << s.value << "}";
}

inline std::string PaneName(PaneIDT id) {
  std::string name(4, ' ');
  for (int i = 0; i < 4; ++i) name[i] = char(id >> (24 - 8 * i));
  return name;
}

inline PaneState StateOf(LView* view, PaneIDT id) {
  LPane* pane = view->FindPaneByID(id);
  if (!pane) throw std::runtime_error("no pane " + PaneName(id));
  return PaneState{pane->IsEnabled(), pane->IsVisible(), pane->GetValue()};
}

}  // namespace wxtest
