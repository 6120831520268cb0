#include "framework/ColorPicker.h"

#include <algorithm>

#include "framework/LApplication.h"
#include "framework/LCaption.h"
#include "framework/LDialogBox.h"
#include "framework/LEditText.h"
#include "framework/LListener.h"
#include "framework/LPushButton.h"
#include "framework/LStr255.h"
#include "framework/LTabGroup.h"
#include "framework/StDialogHandler.h"
#include "framework/UDesktop.h"

namespace {

enum : PaneIDT { kRed = 'Red ', kGreen = 'Gren', kBlue = 'Blue', kSwatch = 'Swat' };

class Swatch : public LPane {
 public:
  Swatch(const SPaneInfo& info, const RGBColor& colour) : LPane(info), mColour(colour) {}
  void SetColour(const RGBColor& colour) {
    mColour = colour;
    Refresh();
  }

 protected:
  void DrawSelf() override {
    Rect frame;
    CalcLocalFrameRect(frame);
    RGBForeColor(&mColour);
    PaintRect(&frame);
    ForeColor(blackColor);
    FrameRect(&frame);
  }

 private:
  RGBColor mColour;
};

UInt16 Channel(LEditText* field) { return static_cast<UInt16>(std::clamp<SInt32>(field->GetValue(), 0, 255) * 257); }

}  // namespace

Boolean GetColor(Point where, ConstStr255Param prompt, const RGBColor* inColor, RGBColor* outColor) {
  LCommander* super = LApplication::GetApplication();
  Rect bounds = {where.v, where.h, static_cast<SInt16>(where.v + 170), static_cast<SInt16>(where.h + 300)};
  auto* dialog = new LDialogBox(bounds, reinterpret_cast<const unsigned char*>("\x06" "Colour"),
                                kMovableModalWindowClass, kWindowNoAttributes, super);
  new LCaption(MakePaneInfo(dialog, 0, 16, 12, 268, 18), prompt ? prompt : reinterpret_cast<const unsigned char*>(""));
  auto* tabs = new LTabGroup(dialog);
  const PaneIDT ids[3] = {kRed, kGreen, kBlue};
  const char* names[3] = {"\004Red:", "\006Green:", "\005Blue:"};
  const UInt16 start[3] = {inColor->red, inColor->green, inColor->blue};
  LEditText* fields[3];
  for (int i = 0; i < 3; ++i) {
    SInt16 top = static_cast<SInt16>(40 + 28 * i);
    new LCaption(MakePaneInfo(dialog, 0, 16, top + 3, 50, 18), reinterpret_cast<const unsigned char*>(names[i]));
    fields[i] = new LEditText(MakePaneInfo(dialog, ids[i], 70, top, 50, 22), tabs, LStr255(SInt32(start[i] / 257)), 0, ids[i], 3,
                              &UKeyFilters::IntegerField);
  }
  auto* swatch = new Swatch(MakePaneInfo(dialog, kSwatch, 150, 40, 130, 78), *inColor);
  new LPushButton(MakePaneInfo(dialog, msg_Cancel, 110, 136, 80, 20), msg_Cancel, reinterpret_cast<const unsigned char*>("\x06" "Cancel"));
  new LPushButton(MakePaneInfo(dialog, msg_OK, 204, 136, 80, 20), msg_OK, reinterpret_cast<const unsigned char*>("\x02OK"));
  dialog->SetDefaultButton(msg_OK);
  dialog->SetCancelButton(msg_Cancel);
  dialog->FinishCreate();

  UDesktop::Deactivate();
  MessageT message = msg_Nothing;
  RGBColor picked = *inColor;
  {
    StDialogHandler handler(dialog, super);
    while (message != msg_OK && message != msg_Cancel) {
      message = handler.DoDialog();
      picked = {Channel(fields[0]), Channel(fields[1]), Channel(fields[2])};
      if (message == kRed || message == kGreen || message == kBlue) swatch->SetColour(picked);
    }
  }
  UDesktop::Activate();
  if (message != msg_OK) return false;
  *outColor = picked;
  return true;
}
