#include "app/CAppButton.h"

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "prefs/MailApplications.h"
#include "framework/LView.h"
#include "output/hub/WXLaunch.h"
#include "quickdraw/QuickDraw.h"

const SAppButtonKind kMailDrop{PREF_ALL::kMail.off + PREF_MAIL::kMailApp.off, 0, 1, true};
const SAppButtonKind kOCRDrop{PREF_ALL::kOCR.off + PREF_OCR::kOCRApp.off, 0, 1, false};
const SAppButtonKind kFileDrop{PREF_ALL::kFile0 + PREF_FILE::kTargetApp.off, PREF_FILE::kSize, PREF_ALL::kFileRecords,
                               false};
const SAppButtonKind kScan1Drop{PREF_ALL::kScan1.off + PREF_SCANX::kTargetApp.off, 0, 1, false};
const SAppButtonKind kScan2Drop{PREF_ALL::kScan2.off + PREF_SCANX::kTargetApp.off, 0, 1, false};

CAppButton::CAppButton(const SAppButtonKind& kind, const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value,
                       SInt32 minValue, SInt32 maxValue, ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict,
                       ResIDT normalIcon, ResIDT pressedIcon)
    : CPictureButton(paneInfo, valueMessage, value, minValue, maxValue, normalPict, pressedPict, hoverPict),
      CDDApp(paneInfo.superView ? paneInfo.superView->GetMacWindow() : nullptr, this),
      mKind(kind),
      mNormalIcon(normalIcon),
      mPressedIcon(pressedIcon) {}

CAppButton::~CAppButton() {
  if (mIconRef) ReleaseIconRef(mIconRef);
  if (mIcon) DisposeCIcon(mIcon);
}

void CAppButton::SetIconRef(IconRef icon) {
  if (mIconRef) ReleaseIconRef(mIconRef);
  mIconRef = icon;
}

void CAppButton::DrawSelf() {
  CPictureButton::DrawSelf();
  DrawIcon();
}

void CAppButton::MouseEnter(Point portPt, const EventRecord& event) {
  CPictureButton::MouseEnter(portPt, event);
  // The hover picture covers the whole button, the icon with it.
  if (!IsVisible() || !FocusDraw()) return;
  DrawIcon();
  QDFlushPortBuffer(GetMacPort(), nullptr);
}

void CAppButton::DrawIcon() {
  Rect frame;
  CalcLocalFrameRect(frame);
  const SInt16 shift = IsPressed() ? 11 : 10;
  Rect r{static_cast<SInt16>(frame.top + shift), static_cast<SInt16>(frame.left + shift),
         static_cast<SInt16>(frame.top + shift + 32), static_cast<SInt16>(frame.left + shift + 32)};
  if (mIconRef) {
    PlotIconRef(&r, kAlignNone, kTransformNone, kIconServicesNormalUsageFlag, mIconRef);
    return;
  }
  // One colour icon is held at a time: the state's own.
  const ResIDT wanted = IsPressed() ? mPressedIcon : mNormalIcon;
  if (!mIcon || mLoadedIcon != wanted) {
    if (mIcon) DisposeCIcon(mIcon);
    mIcon = GetCIcon(wanted);
    mLoadedIcon = wanted;
  }
  if (mIcon) PlotCIcon(&r, mIcon);
}

void CAppButton::StoreApplication(RecordBytes prefsAll, const FSSpec& app) const {
  for (UInt32 k = 0; k < mKind.records; ++k) prefsAll.setFSSpec(mKind.appOffset + k * mKind.stride, app);
  // Past the list's room the application is only made the mail application.
  if (mKind.mailList) ListMailApplication(PREF_ALL::kMail.in(prefsAll), app);
}

void CAppButton::ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) {
  CDDApp::ReceiveDragItem(drag, item, flags, itemBounds);
  const FSSpec app = GetApplicationSpec();
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    StoreApplication(prefs.PrefAll(), app);
  }
  SetIconRef(app.name[0] != 0 ? CWXUtility::GetIconFromFile(app) : nullptr);
  UnhiliteDropArea(drag);
  Refresh();
}
