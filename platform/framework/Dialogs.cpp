#include "framework/Dialogs.h"

#include <algorithm>
#include <string>

#include "framework/LDialogBox.h"
#include "framework/LPushButton.h"
#include "framework/LStaticText.h"
#include "framework/LString.h"
#include "framework/UAppearance.h"
#include "framework/StDialogHandler.h"
#include "framework/LApplication.h"
#include "framework/UDesktop.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/Resources.h"

namespace {

std::string gParams[4];

enum AlertIcon { kNoIcon = -1, kStopIcon = 0, kNoteIcon = 1, kCautionIcon = 2 };

// The alert's icon at its top left.
class AlertIconPane : public LPane {
 public:
  AlertIconPane(const SPaneInfo& info, AlertIcon kind) : LPane(info), mKind(kind) {}

 protected:
  void DrawSelf() override {
    Rect frame;
    CalcLocalFrameRect(frame);
    UAppearance::DrawAlertIcon(frame, mKind);
  }

 private:
  AlertIcon mKind;
};

// The text with ^0..^3 replaced by the ParamText parameters, cut to 255 bytes.
std::string Substituted(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
      out += gParams[text[i + 1] - '0'];
      ++i;
    } else {
      out += text[i];
    }
  }
  out.resize(std::min<size_t>(out.size(), 255));
  return out;
}

Rect ReadRect(const RecordBytes& r, size_t off) { return Rect{r.i16(off), r.i16(off + 2), r.i16(off + 4), r.i16(off + 6)}; }

SPaneInfo PaneAt(LView* super, PaneIDT id, const Rect& r) {
  return MakePaneInfo(super, id, r.left, r.top, static_cast<SInt16>(r.right - r.left), static_cast<SInt16>(r.bottom - r.top));
}

// Builds the alert's window from its buttons and texts; null when the resources are missing.
LDialogBox* BuildAlert(SInt16 alertID, AlertIcon icon, LCommander* super) {
  Handle alrt = GetResource('ALRT', alertID);
  if (!alrt || GetHandleSize(alrt) < 10) return nullptr;
  RecordBytes a(*alrt, static_cast<size_t>(GetHandleSize(alrt)));
  Rect bounds = ReadRect(a, 0);
  SInt16 itemsID = a.i16(8);
  Handle ditl = GetResource('DITL', itemsID);
  if (!ditl || GetHandleSize(ditl) < 2) return nullptr;

  Rect placed = {0, 0, static_cast<SInt16>(bounds.bottom - bounds.top), static_cast<SInt16>(bounds.right - bounds.left)};
  auto* dialog = new LDialogBox(placed, nullptr, kMovableModalWindowClass, kWindowNoAttributes, super);
  RecordBytes d(*ditl, static_cast<size_t>(GetHandleSize(ditl)));
  int count = d.i16(0) + 1;
  size_t off = 2;
  bool secondIsButton = false;
  try {
    for (int item = 1; item <= count; ++item) {
      Rect r = ReadRect(d, off + 4);
      UInt8 type = d.u8(off + 12) & 0x7F;
      size_t length = d.u8(off + 13);
      std::string data(reinterpret_cast<const char*>(d.data() + off + 14), std::min(length, d.size() - (off + 14)));
      if (off + 14 + length > d.size()) break;
      if (type == kButtonDialogItem) {
        Str255 title;
        LString::CToPStr(data.c_str(), title);
        new LPushButton(PaneAt(dialog, item, r), item, title);
        if (item == 2) secondIsButton = true;
      } else if (type == kStaticTextDialogItem) {
        std::string text = Substituted(data);
        Str255 pText;
        pText[0] = static_cast<unsigned char>(text.size());
        std::copy(text.begin(), text.end(), pText + 1);
        new LStaticText(PaneAt(dialog, item, r), pText);
      }
      off += 14 + length + (length & 1);
    }
    if (icon != kNoIcon) new AlertIconPane(PaneAt(dialog, 0, Rect{10, 20, 42, 52}), icon);
  } catch (...) {
    delete dialog;
    throw;
  }
  dialog->SetDefaultButton(1);
  if (secondIsButton) dialog->SetCancelButton(2);
  dialog->FinishCreate();
  return dialog;
}

DialogItemIndex RunAlert(SInt16 alertID, AlertIcon icon) {
  LCommander* super = LApplication::GetApplication();
  LDialogBox* dialog = BuildAlert(alertID, icon, super);
  if (!dialog) return -1;
  UDesktop::Deactivate();
  MessageT chosen = msg_Nothing;
  {
    StDialogHandler handler(dialog, super);
    handler.SetAlertName("alert " + std::to_string(alertID));
    while (chosen <= 0) chosen = handler.DoDialog();
  }
  UDesktop::Activate();
  return static_cast<DialogItemIndex>(chosen);
}

}  // namespace

void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3) {
  ConstStr255Param params[4] = {p0, p1, p2, p3};
  for (int i = 0; i < 4; ++i)
    gParams[i] = params[i] ? std::string(reinterpret_cast<const char*>(params[i] + 1), params[i][0]) : std::string();
}

DialogItemIndex Alert(SInt16 alertID, void*) { return RunAlert(alertID, kNoIcon); }
DialogItemIndex StopAlert(SInt16 alertID, void*) { return RunAlert(alertID, kStopIcon); }
DialogItemIndex NoteAlert(SInt16 alertID, void*) { return RunAlert(alertID, kNoteIcon); }
