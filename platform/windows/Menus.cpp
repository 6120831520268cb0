#include "windows/Menus.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDraw.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

struct MenuItem {
  std::string text;
  bool enabled = true;
  CharParameter mark = noMark;
  CharParameter key = 0;
  MenuCommand command = 0;
};

struct OpaqueMenuRef {
  MenuID id = 0;
  std::string title;
  bool enabled = true;
  std::vector<MenuItem> items;
  SInt16 resourceID = 0;  // 0 when made in code
};

namespace {

// Menus loaded from resources, one per ID, freed at exit or by DisposeMenu.
std::map<SInt16, std::unique_ptr<OpaqueMenuRef>>& ResourceMenus() {
  static std::map<SInt16, std::unique_ptr<OpaqueMenuRef>> menus;
  return menus;
}

std::vector<MenuRef>& MenuBar() {
  static std::vector<MenuRef> bar;
  return bar;
}

struct NextChoice {
  bool set = false;
  MenuID menu = 0;
  MenuItemIndex item = 0;
};
NextChoice gNextChoice;

std::string Text(ConstStr255Param s) { return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : ""; }

void ToPString(const std::string& text, Str255 out) {
  size_t n = std::min<size_t>(text.size(), 255);
  out[0] = static_cast<unsigned char>(n);
  std::memcpy(out + 1, text.data(), n);
}

MenuItem* ItemAt(MenuRef menu, MenuItemIndex item) {
  if (!menu || item < 1 || item > menu->items.size()) return nullptr;
  return &menu->items[item - 1];
}

void InsertItems(MenuRef menu, std::vector<MenuItem> items, MenuItemIndex afterItem) {
  size_t at = std::min<size_t>(afterItem, menu->items.size());
  menu->items.insert(menu->items.begin() + static_cast<long>(at), items.begin(), items.end());
}

// Items of a string with metacharacters: ';' or return separates items.
std::vector<MenuItem> ParseItems(const std::string& data) {
  std::vector<MenuItem> items;
  MenuItem item;
  bool any = false;
  for (size_t i = 0; i < data.size(); ++i) {
    char c = data[i];
    if (c == ';' || c == '\r') {
      items.push_back(item);
      item = MenuItem{};
      any = false;
      continue;
    }
    any = true;
    if (c == '(') {
      item.enabled = false;
    } else if ((c == '!' || c == '/' || c == '^' || c == '<') && i + 1 < data.size()) {
      char arg = data[++i];
      if (c == '!') item.mark = static_cast<unsigned char>(arg);
      if (c == '/') item.key = static_cast<unsigned char>(arg);
    } else {
      item.text += c;
    }
  }
  if (any || items.empty()) items.push_back(item);
  return items;
}

MenuRef ParseMenuResource(const UInt8* p, size_t size, SInt16 resourceID) {
  size_t pos = 14;
  if (size < pos + 1) return nullptr;
  auto menu = std::make_unique<OpaqueMenuRef>();
  menu->id = static_cast<MenuID>((p[0] << 8) | p[1]);
  UInt32 enableFlags = (UInt32(p[10]) << 24) | (UInt32(p[11]) << 16) | (UInt32(p[12]) << 8) | p[13];
  menu->enabled = enableFlags & 1;
  menu->resourceID = resourceID;
  size_t len = p[pos];
  if (pos + 1 + len > size) return nullptr;
  menu->title.assign(reinterpret_cast<const char*>(p + pos + 1), len);
  pos += 1 + len;
  while (pos < size && p[pos] != 0) {
    len = p[pos];
    if (pos + 1 + len + 4 > size) return nullptr;
    MenuItem item;
    item.text.assign(reinterpret_cast<const char*>(p + pos + 1), len);
    pos += 1 + len;
    item.key = p[pos + 1];
    item.mark = p[pos + 2];
    size_t index = menu->items.size() + 1;
    item.enabled = index >= 32 || (enableFlags >> index) & 1;
    menu->items.push_back(item);
    pos += 4;
  }
  return menu.release();
}

// ---- The popup: a plain window listing the items, following the mouse -----------------

constexpr SInt16 kItemHeight = 18;

void DrawPopup(MenuRef menu, WindowRef window, int hilited, SInt16 width) {
  SetPortWindowPort(window);
  Rect all = {0, 0, static_cast<SInt16>(menu->items.size() * kItemHeight + 2), width};
  RGBColor white = {0xFFFF, 0xFFFF, 0xFFFF}, black = {0, 0, 0}, grey = {0x8888, 0x8888, 0x8888},
           hilite = {0x3333, 0x6666, 0xCCCC};
  RGBBackColor(&white);
  EraseRect(&all);
  TextFont(0);
  TextSize(12);
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItem& item = menu->items[i];
    Rect r = {static_cast<SInt16>(1 + i * kItemHeight), 1, static_cast<SInt16>(1 + (i + 1) * kItemHeight),
              static_cast<SInt16>(width - 1)};
    bool separator = item.text == "-";
    if (static_cast<int>(i + 1) == hilited && item.enabled && !separator) {
      RGBForeColor(&hilite);
      PaintRect(&r);
      RGBForeColor(&white);
    } else {
      RGBForeColor(item.enabled ? &black : &grey);
    }
    if (separator) {
      RGBForeColor(&grey);
      MoveTo(r.left + 2, (r.top + r.bottom) / 2);
      LineTo(r.right - 3, (r.top + r.bottom) / 2);
      continue;
    }
    if (item.mark) {  // a tick
      PenSize(2, 2);
      MoveTo(r.left + 4, r.top + 8);
      LineTo(r.left + 7, r.top + 11);
      LineTo(r.left + 12, r.top + 4);
      PenSize(1, 1);
    }
    Str255 text;
    ToPString(item.text, text);
    MoveTo(r.left + 18, r.bottom - 5);
    DrawString(text);
  }
  RGBForeColor(&black);
  FrameRect(&all);
  QDFlushPortBuffer(GetWindowPort(window), nullptr);
}

SInt32 TrackPopup(MenuRef menu, SInt16 top, SInt16 left, SInt16 popUpItem) {
  if (menu->items.empty() || !StillDown()) return 0;
  SInt16 width = 60;
  SetPort(nullptr);
  for (const MenuItem& item : menu->items) {
    Str255 text;
    ToPString(item.text, text);
    width = std::max<SInt16>(width, static_cast<SInt16>(StringWidth(text) + 40));
  }
  SInt16 y = static_cast<SInt16>(top - std::max(0, popUpItem - 1) * kItemHeight);
  Rect bounds = {y, left, static_cast<SInt16>(y + menu->items.size() * kItemHeight + 2),
                 static_cast<SInt16>(left + width)};
  WindowRef window = nullptr;
  if (CreateNewWindow(kPlainWindowClass, kWindowNoActivatesAttribute, &bounds, &window) != noErr) return 0;
  ShowWindow(window);
  BringToFront(window);
  int hilited = -1;
  Point where = {0, 0};
  auto itemAt = [&](Point pt) {
    if (pt.h < 0 || pt.h >= width || pt.v < 1) return 0;
    int item = (pt.v - 1) / kItemHeight + 1;
    return item <= static_cast<int>(menu->items.size()) ? item : 0;
  };
  do {
    SetPortWindowPort(window);
    GetMouse(&where);
    int now = itemAt(where);
    if (now != hilited) {
      hilited = now;
      DrawPopup(menu, window, hilited, width);
    }
  } while (StillDown());
  SetPortWindowPort(window);
  GetMouse(&where);
  int chosen = itemAt(where);
  DisposeWindow(window);
  if (chosen == 0 || !menu->enabled) return 0;
  const MenuItem& item = menu->items[chosen - 1];
  if (!item.enabled || item.text == "-") return 0;
  return (SInt32(menu->id) << 16) | chosen;
}

}  // namespace

MenuRef NewMenu(MenuID menuID, ConstStr255Param title) {
  auto* menu = new OpaqueMenuRef;
  menu->id = menuID;
  menu->title = Text(title);
  return menu;
}

MenuRef GetMenu(SInt16 resourceID) {
  auto found = ResourceMenus().find(resourceID);
  if (found != ResourceMenus().end()) return found->second.get();
  Handle data = GetResource('MENU', resourceID);
  if (!data) return nullptr;
  MenuRef menu = ParseMenuResource(reinterpret_cast<const UInt8*>(*data), static_cast<size_t>(GetHandleSize(data)),
                                   resourceID);
  if (menu) ResourceMenus()[resourceID].reset(menu);
  return menu;
}

void DisposeMenu(MenuRef menu) {
  if (!menu) return;
  std::erase(MenuBar(), menu);
  if (menu->resourceID)
    ResourceMenus().erase(menu->resourceID);
  else
    delete menu;
}

OSStatus DuplicateMenu(MenuRef source, MenuRef* outMenu) {
  if (!source || !outMenu) return paramErr;
  *outMenu = new OpaqueMenuRef(*source);
  (*outMenu)->resourceID = 0;
  return noErr;
}

MenuID GetMenuID(MenuRef menu) { return menu ? menu->id : 0; }

UInt16 CountMenuItems(MenuRef menu) { return menu ? static_cast<UInt16>(menu->items.size()) : 0; }

void AppendMenu(MenuRef menu, ConstStr255Param data) {
  if (menu) InsertItems(menu, ParseItems(Text(data)), static_cast<MenuItemIndex>(menu->items.size()));
}

void InsertMenuItem(MenuRef menu, ConstStr255Param itemString, MenuItemIndex afterItem) {
  if (menu) InsertItems(menu, ParseItems(Text(itemString)), afterItem);
}

OSStatus InsertMenuItemText(MenuRef menu, ConstStr255Param text, MenuItemIndex afterItem) {
  if (!menu) return paramErr;
  MenuItem item;
  item.text = Text(text);
  InsertItems(menu, {item}, afterItem);
  return noErr;
}

void DeleteMenuItem(MenuRef menu, MenuItemIndex item) {
  if (ItemAt(menu, item)) menu->items.erase(menu->items.begin() + (item - 1));
}

OSStatus DeleteMenuItems(MenuRef menu, MenuItemIndex firstItem, UInt32 numItems) {
  if (!menu || firstItem < 1) return paramErr;
  size_t first = firstItem - 1;
  if (first >= menu->items.size()) return noErr;
  size_t last = std::min<size_t>(menu->items.size(), first + numItems);
  menu->items.erase(menu->items.begin() + static_cast<long>(first), menu->items.begin() + static_cast<long>(last));
  return noErr;
}

void GetMenuItemText(MenuRef menu, MenuItemIndex item, Str255 text) {
  MenuItem* it = ItemAt(menu, item);
  ToPString(it ? it->text : "", text);
}

void SetMenuItemText(MenuRef menu, MenuItemIndex item, ConstStr255Param text) {
  if (MenuItem* it = ItemAt(menu, item)) it->text = Text(text);
}

void EnableMenuItem(MenuRef menu, MenuItemIndex item) {
  if (menu && item == 0) menu->enabled = true;
  if (MenuItem* it = ItemAt(menu, item)) it->enabled = true;
}

void DisableMenuItem(MenuRef menu, MenuItemIndex item) {
  if (menu && item == 0) menu->enabled = false;
  if (MenuItem* it = ItemAt(menu, item)) it->enabled = false;
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item) {
  if (!menu) return false;
  if (item == 0) return menu->enabled;
  MenuItem* it = ItemAt(menu, item);
  return it && it->enabled && menu->enabled;
}

void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked) {
  SetItemMark(menu, item, checked ? checkMark : noMark);
}

void SetItemMark(MenuRef menu, MenuItemIndex item, CharParameter mark) {
  if (MenuItem* it = ItemAt(menu, item)) it->mark = mark;
}

void GetItemMark(MenuRef menu, MenuItemIndex item, CharParameter* mark) {
  MenuItem* it = ItemAt(menu, item);
  *mark = it ? it->mark : static_cast<CharParameter>(noMark);
}

OSStatus SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand command) {
  MenuItem* it = ItemAt(menu, item);
  if (!it) return paramErr;
  it->command = command;
  return noErr;
}

OSStatus GetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand* command) {
  MenuItem* it = ItemAt(menu, item);
  if (!it) return paramErr;
  *command = it->command;
  return noErr;
}

void InsertMenu(MenuRef menu, MenuID beforeID) {
  if (!menu) return;
  std::erase(MenuBar(), menu);
  auto at = std::find_if(MenuBar().begin(), MenuBar().end(), [&](MenuRef m) { return m->id == beforeID; });
  MenuBar().insert(beforeID == 0 ? MenuBar().end() : at, menu);
}

void ClearMenuBar() {
  MenuBar().clear();
  DrawMenuBar();
}

MenuRef GetMenuHandle(MenuID menuID) {
  for (MenuRef m : MenuBar())
    if (m->id == menuID) return m;
  for (auto& [id, m] : ResourceMenus())
    if (m->id == menuID) return m.get();
  return nullptr;
}

UInt16 CountMenuBarMenus() { return static_cast<UInt16>(MenuBar().size()); }

MenuRef GetIndMenuInBar(UInt16 index) {
  return index >= 1 && index <= MenuBar().size() ? MenuBar()[index - 1] : nullptr;
}

namespace {

WindowRef gMenuBarWindow = nullptr;
constexpr SInt16 kTitleGap = 18;

// The menu titles' left edges along the bar, with the right end last.
std::vector<SInt16> TitleEdges() {
  std::vector<SInt16> edges;
  SInt16 h = 10;
  TextFont(0);
  TextSize(12);
  for (MenuRef m : MenuBar()) {
    edges.push_back(h);
    Str255 title;
    ToPString(m->title, title);
    h = static_cast<SInt16>(h + StringWidth(title) + kTitleGap);
  }
  edges.push_back(h);
  return edges;
}

}  // namespace

WindowRef MenuBarWindow() { return gMenuBarWindow; }

void DrawMenuBar() {
  // The bar is a strip along the top of the main screen, drawn only when it has menus.
  if (MenuBar().empty()) {
    if (gMenuBarWindow) DisposeWindow(gMenuBarWindow);
    gMenuBarWindow = nullptr;
    return;
  }
  Rect screen;
  GetDeviceBounds(GetMainDevice(), &screen);
  SInt16 height = std::max<SInt16>(GetMBarHeight(), 20);
  if (!gMenuBarWindow) {
    Rect bounds = {screen.top, screen.left, static_cast<SInt16>(screen.top + height), screen.right};
    if (CreateNewWindow(kPlainWindowClass, kWindowNoActivatesAttribute, &bounds, &gMenuBarWindow) != noErr) return;
    SendBehind(gMenuBarWindow, nullptr);  // the desktop's strip, behind every window
    ShowWindow(gMenuBarWindow);
  }
  GrafPtr saved;
  GetPort(&saved);
  SetPortWindowPort(gMenuBarWindow);
  Rect all = {0, 0, height, static_cast<SInt16>(screen.right - screen.left)};
  RGBColor back = {0xF4F4, 0xF4F4, 0xF4F4}, black = {0, 0, 0}, grey = {0x8888, 0x8888, 0x8888};
  RGBForeColor(&back);
  PaintRect(&all);
  std::vector<SInt16> edges = TitleEdges();
  for (size_t i = 0; i < MenuBar().size(); ++i) {
    Str255 title;
    ToPString(MenuBar()[i]->title, title);
    RGBForeColor(MenuBar()[i]->enabled ? &black : &grey);
    MoveTo(edges[i], static_cast<SInt16>(height - 6));
    DrawString(title);
  }
  RGBForeColor(&grey);
  MoveTo(0, static_cast<SInt16>(height - 1));
  LineTo(all.right, static_cast<SInt16>(height - 1));
  QDFlushPortBuffer(GetWindowPort(gMenuBarWindow), nullptr);
  SetPort(saved);
}

void MenuSetNextChoice(MenuID menuID, MenuItemIndex item) { gNextChoice = NextChoice{true, menuID, item}; }

static bool TakeNextChoice(SInt32* result) {
  if (!gNextChoice.set) return false;
  gNextChoice.set = false;
  *result = gNextChoice.item ? (SInt32(gNextChoice.menu) << 16) | gNextChoice.item : 0;
  return true;
}

SInt32 PopUpMenuSelect(MenuRef menu, SInt16 top, SInt16 left, SInt16 popUpItem) {
  SInt32 result = 0;
  if (TakeNextChoice(&result)) return result;
  return menu ? TrackPopup(menu, top, left, popUpItem) : 0;
}

SInt32 MenuSelect(Point startPt) {
  SInt32 result = 0;
  if (TakeNextChoice(&result) || !gMenuBarWindow) return result;
  // The menu whose title is under the mouse drops down below the bar.
  Rect bar;
  GetWindowBounds(gMenuBarWindow, kWindowContentRgn, &bar);
  std::vector<SInt16> edges = TitleEdges();
  SInt16 h = static_cast<SInt16>(startPt.h - bar.left);
  for (size_t i = 0; i + 1 < edges.size(); ++i)
    if (h >= edges[i] && h < edges[i + 1] && MenuBar()[i]->enabled)
      return TrackPopup(MenuBar()[i], bar.bottom, static_cast<SInt16>(bar.left + edges[i]), 1);
  return 0;
}

SInt32 MenuKey(CharParameter key) {
  int wanted = std::tolower(key & 0xFF);
  for (MenuRef m : MenuBar()) {
    if (!m->enabled) continue;
    for (size_t i = 0; i < m->items.size(); ++i)
      if (m->items[i].enabled && m->items[i].key && std::tolower(m->items[i].key & 0xFF) == wanted)
        return (SInt32(m->id) << 16) | static_cast<SInt32>(i + 1);
  }
  return 0;
}
