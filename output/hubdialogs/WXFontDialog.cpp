#include "output/hubdialogs/WXFontDialog.h"

#include <algorithm>
#include <iterator>

#include "framework/ColorPicker.h"
#include "framework/LCheckBox.h"
#include "framework/LDialogBox.h"
#include "framework/LException.h"
#include "framework/LPopupButton.h"
#include "output/hubdialogs/CFontDialogHandler.h"
#include "output/hubdialogs/HubDialog.h"
#include "quickdraw/Fonts.h"
#include "toolbox/Resources.h"

namespace CWXUtility {

namespace {

constexpr SInt16 kFontTextList = 1200;  // item 1: the colour picker's prompt
constexpr SInt32 kMinSize = 1;
constexpr SInt32 kMaxSize = 100;

struct StyleBox {
  PaneIDT id;
  SInt32 StFontDialog::*field;
};
constexpr StyleBox kStyles[] = {{'CBBO', &StFontDialog::bold},
                                {'CBIT', &StFontDialog::italic},
                                {'CBUN', &StFontDialog::underline},
                                {'CBOU', &StFontDialog::outline},
                                {'CBSH', &StFontDialog::shadow}};

// The first item of the popup whose text is `name`, or 0.
SInt32 ItemNamed(LPopupButton* popup, ConstStr255Param name) {
  Str255 text;
  for (SInt16 item = 1; item <= popup->CountMenuItems(); ++item) {
    popup->GetMenuItemText(item, text);
    if (text[0] == name[0] && std::equal(text + 1, text + 1 + text[0], name + 1)) return item;
  }
  return 0;
}

}  // namespace

SInt32 FontSetting(SInt32 layoutID, LDialogBox* caller, StFontDialog& font) {
  HubDialog<CFontDialogHandler> fontDialog(layoutID, caller);
  CFontDialogHandler& handler = fontDialog.handler();
  auto* fonts = fontDialog.Pane<LPopupButton>('POPF');
  LCheckBox* styles[std::size(kStyles)];
  for (size_t i = 0; i < std::size(kStyles); ++i) styles[i] = fontDialog.Pane<LCheckBox>(kStyles[i].id);

  Str255 name;
  GetFontName(SInt16(font.font & 0xFFFF), name);
  const SInt32 item = ItemNamed(fonts, name);
  handler.StopListening();
  if (item == 0) fonts->SetMinValue(0);  // nothing chosen
  fonts->SetValue(item);
  handler.StartListening();

  const SInt32 size = font.size >= kMinSize && font.size <= kMaxSize ? font.size : GetDefFontSize();
  handler.SetSize(size);
  for (size_t i = 0; i < std::size(kStyles); ++i) styles[i]->SetValue(font.*kStyles[i].field != 0 ? 1 : 0);
  RGBColor color = font.color;

  const auto accept = [&] {
    if (fonts->GetValue() > 0) {
      Str255 chosen;
      SInt16 family = 0;
      fonts->GetMenuItemText(SInt16(fonts->GetValue()), chosen);
      GetFNum(chosen, &family);
      font.font = family;  // sign-extended, as the record has always held it
    }
    font.color = color;
    font.colorPad = 0;
    font.size = handler.GetHeldSize();
    for (size_t i = 0; i < std::size(kStyles); ++i) font.*kStyles[i].field = styles[i]->GetValue();
    return true;
  };
  return fontDialog.Run(accept, [&](MessageT message) -> SInt32 {
    if (message == 'BTSL') {
      Str255 prompt;
      RGBColor picked;
      GetIndString(prompt, kFontTextList, 1);
      if (GetColor(Point{0, 0}, prompt, &color, &picked)) color = picked;
    }
    return 0;
  });
}

}  // namespace CWXUtility
