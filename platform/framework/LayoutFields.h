// The fields of every layout ('PPob') class, written once: the resource compiler writes a
// layout object's data from these lists, and each class's stream constructor reads its own
// group through ReadLayoutFields, which checks at compile time that it reads every field of
// the group, in order, at its width. An object's data is its class's groups one after the
// other (a push button: pane, control, titled, push).
//
// A new pane class is one row of a class table (layout::kFrameworkClasses, or the
// application's own) plus its class reading its group.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "toolbox/MacTypes.h"

enum class LayoutType : uint8_t {
  U8,
  I16,
  U16,
  I32,       // also a four-character code ('ABCD')
  PStr,      // a Pascal string
  IDList,    // a u16 count, then that many i32 IDs
  IDList16,  // a u16 count, then that many i16 IDs
};

struct LayoutField {
  const char* name;
  LayoutType type;
  int count;                   // values in the field (lists and strings: 1)
  bool required;               // the layout must give it: no default
  std::array<int32_t, 4> def;  // the default values, when not required
};

using LayoutGroup = std::span<const LayoutField>;

// A field the layout must give, and one with defaults.
constexpr LayoutField Given(const char* name, LayoutType type, int count = 1) { return {name, type, count, true, {}}; }
constexpr LayoutField Defaulted(const char* name, LayoutType type, std::array<int32_t, 4> def, int count = 1) {
  return {name, type, count, false, def};
}

// Bytes of one value of a numeric type.
constexpr size_t LayoutWidth(LayoutType type) {
  switch (type) {
    case LayoutType::U8:
      return 1;
    case LayoutType::I16:
    case LayoutType::U16:
    case LayoutType::IDList16:
      return 2;
    default:
      return 4;
  }
}

struct LayoutClass {
  const char* keyword;                // the class's word in a layout source
  ResType classID;                    // written for the object unless the source names another
  std::array<LayoutGroup, 4> groups;  // in stream order; unused ones empty
  bool container;                     // may hold other objects
  bool pane;                          // may stand at the top of a layout
};

namespace layout {
using enum LayoutType;

inline constexpr LayoutField kPane[] = {
    Defaulted("id", I32, {0}),
    Given("size", I16, 2),
    Defaulted("visible", U8, {1}),
    Defaulted("enabled", U8, {1}),
    Defaulted("bind", U8, {0, 0, 0, 0}, 4),
    Given("at", I32, 2),
    Defaulted("userCon", I32, {0}),
    Defaulted("super", I32, {-1}),
};
inline constexpr LayoutField kView[] = {
    Defaulted("image", I32, {0, 0}, 2),
    Defaulted("scroll", I32, {0, 0}, 2),
    Defaulted("scrollUnit", I16, {1, 1}, 2),
    Defaulted("overhang", U8, {0}),
};
inline constexpr LayoutField kWindow[] = {
    Given("title", PStr),
    Defaulted("windowClass", I32, {6}),
    Defaulted("attributes", I32, {0}),
    Given("bounds", I16, 4),
    Defaulted("minmax", I16, {50, 50, 32767, 32767}, 4),
    Defaulted("visible", U8, {0}),
    Defaulted("userCon", I32, {0}),
};
inline constexpr LayoutField kDialog[] = {Defaulted("defaultButton", I32, {900}),
                                          Defaulted("cancelButton", I32, {901})};
inline constexpr LayoutField kControl[] = {
    Defaulted("message", I32, {0}),
    Defaulted("value", I32, {0}),
    Defaulted("min", I32, {0}),
    Defaulted("max", I32, {0}),
};
inline constexpr LayoutField kTitled[] = {Given("title", PStr), Defaulted("traits", I16, {0})};
inline constexpr LayoutField kPush[] = {Defaulted("default", U8, {0})};
inline constexpr LayoutField kText[] = {Given("text", PStr), Defaulted("traits", I16, {0})};
inline constexpr LayoutField kPopup[] = {Given("menu", I16), Defaulted("titleWidth", I16, {0})};
inline constexpr LayoutField kEditText[] = {
    Given("text", PStr),          Defaulted("traits", I16, {0}), Defaulted("maxChars", I16, {255}),
    Defaulted("filter", U8, {1}), Defaulted("framed", U8, {1}),
};
inline constexpr LayoutField kEditField[] = {
    Given("text", PStr),          Defaulted("traits", I16, {0}),  Defaulted("maxChars", I16, {255}),
    Defaulted("framed", U8, {1}), Defaulted("wordWrap", U8, {0}), Defaulted("filter", U8, {1}),
};
inline constexpr LayoutField kRadioGroup[] = {Defaulted("radios", IDList, {})};
inline constexpr LayoutField kAttachment[] = {Defaulted("message", I32, {-1}), Defaulted("executeHost", U8, {1})};
inline constexpr LayoutField kPicture[] = {Given("picture", I16)};
inline constexpr LayoutField kIcon[] = {Given("icon", I16)};
inline constexpr LayoutField kCicnButton[] = {Given("icon", I16), Given("pushedIcon", I16)};
inline constexpr LayoutField kTable[] = {
    Defaulted("rows", I32, {0}),       Defaulted("cols", I32, {1}),           Defaulted("rowHeight", I16, {16}),
    Defaulted("colWidth", I16, {100}), Defaulted("cellDataSize", I32, {256}),
};
inline constexpr LayoutField kTraits[] = {Defaulted("traits", I16, {0})};
inline constexpr LayoutField kTabs[] = {Given("tabs", I16), Defaulted("traits", I16, {0})};
inline constexpr LayoutField kPanels[] = {Defaulted("panels", IDList16, {}), Defaulted("firstPanel", I16, {1})};
inline constexpr LayoutField kPlaceHolder[] = {Defaulted("alignment", I16, {0})};
inline constexpr LayoutField kScroller[] = {Given("scrollingView", I32), Defaulted("barThickness", I16, {15})};
inline constexpr LayoutField kBorder[] = {Defaulted("penSize", I16, {1, 1}, 2), Defaulted("colour", U16, {0, 0, 0}, 3)};

inline constexpr LayoutClass kFrameworkClasses[] = {
    {"pane", 'pane', {kPane}, false, true},
    {"view", 'view', {kPane, kView}, true, true},
    {"wind", 'wind', {kWindow}, true, true},
    {"dlog", 'dlog', {kWindow, kDialog}, true, true},
    {"capt", 'capt', {kPane, kText}, false, true},
    {"stxt", 'stxt', {kPane, kText}, false, true},
    {"push", 'push', {kPane, kControl, kTitled, kPush}, false, true},
    {"cbox", 'cbox', {kPane, kControl, kTitled}, false, true},
    {"icbx", 'icbx', {kPane, kControl, kTitled}, false, true},
    {"rdbt", 'rdbt', {kPane, kControl, kTitled}, false, true},
    {"popb", 'popb', {kPane, kControl, kTitled, kPopup}, false, true},
    {"etxt", 'etxt', {kPane, kControl, kEditText}, false, true},
    {"cntl", 'cntl', {kPane, kControl}, false, true},
    {"edit", 'edit', {kPane, kEditField}, false, true},
    {"pict", 'pict', {kPane, kView, kPicture}, true, true},
    {"icnp", 'icnp', {kPane, kControl, kIcon}, false, true},
    {"cicn", 'cicn', {kPane, kControl, kCicnButton}, false, true},
    {"larr", 'larr', {kPane, kControl}, false, true},
    {"radg", 'radg', {kRadioGroup}, false, false},
    {"tabg", 'tabg', {}, true, false},
    {"tabl", 'tabl', {kPane, kView, kTable}, false, true},
    {"Ttab", 'Ttab', {kPane, kView, kTable, kTraits}, false, true},
    {"txcl", 'txcl', {kPane, kView, kTable, kTraits}, false, true},
    {"tabs", 'tabs', {kPane, kControl, kTabs}, false, true},
    {"mpvw", 'mpvw', {kPane, kView, kPanels}, true, true},
    {"plac", 'plac', {kPane, kView, kPlaceHolder}, true, true},
    {"prnt", 'prnt', {kPane, kView}, true, true},
    {"scrl", 'scrl', {kPane, kView, kScroller}, true, true},
    {"brda", 'brda', {kAttachment, kBorder}, false, false},
    {"atch", 'atch', {kAttachment}, false, false},
};

}  // namespace layout
