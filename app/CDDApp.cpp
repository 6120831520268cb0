#include "app/CDDApp.h"

#include "app/CAppearanceApp.h"
#include "corefoundation/CFBundle.h"
#include "corefoundation/CFURL.h"
#include "framework/LPane.h"
#include "output/hub/WXLaunch.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Aliases.h"

namespace {

constexpr FlavorType kHFSFlavor = 'hfs ';

bool RunsHere(const FSSpec& app) { return CWXUtility::IsMacOSXNativeAppl(app) != 2; }

bool IsApplicationBundle(const FSSpec& item) {
  FSRef ref{};
  if (FSpMakeFSRef(&item, &ref) != noErr) return false;
  CFURLRef url = CFURLCreateFromFSRef(nullptr, &ref);
  if (!url) return false;
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  if (!bundle) return false;
  UInt32 type = 0, creator = 0;
  CFBundleGetPackageInfo(bundle, &type, &creator);
  CFRelease(bundle);
  return type == 'APPL';
}

}  // namespace

CDDApp::CDDApp(WindowRef window, LPane* pane) : LDragAndDrop(window, pane), mDropPane(pane) {}

bool CDDApp::ReadHFSFlavor(DragRef drag, DragItemRef item, HFSFlavor* flavor) {
  Size size = 0;
  if (GetFlavorDataSize(drag, item, kHFSFlavor, &size) != noErr || size < 1) return false;
  *flavor = HFSFlavor{};
  Size read = sizeof(HFSFlavor);
  return GetFlavorData(drag, item, kHFSFlavor, flavor, &read, 0) == noErr;
}

bool CDDApp::IsAcceptableApplication(const HFSFlavor& item, FSSpec* resolved) {
  *resolved = item.fileSpec;
  if (item.fileType == 'APPL') return RunsHere(item.fileSpec);
  if (item.fdFlags & kIsAlias) {
    Boolean isFolder = false, wasAliased = false;
    if (ResolveAliasFile(resolved, true, &isFolder, &wasAliased) != noErr) return false;
    FInfo info{};
    if (!isFolder && FSpGetFInfo(resolved, &info) == noErr && info.fdType == 'APPL') return RunsHere(*resolved);
  }
  // An application bundle is a folder: dropped itself or through an alias.
  return IsApplicationBundle(*resolved);
}

bool CDDApp::ItemIsAcceptable(DragRef drag, DragItemRef item) {
  if (CAppearanceApp::sApplication && CAppearanceApp::sApplication->mFunctionDialogOpen) return false;
  HFSFlavor flavor{};
  FSSpec resolved{};
  return ReadHFSFlavor(drag, item, &flavor) && IsAcceptableApplication(flavor, &resolved);
}

void CDDApp::ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags, Rect&) {
  if (!ReadHFSFlavor(drag, item, &mFlavor)) return;
  mAppSpec = mFlavor.fileSpec;
  if (mFlavor.fileType != 'APPL' && (mFlavor.fdFlags & kIsAlias)) {
    Boolean isFolder = false, wasAliased = false;
    ResolveAliasFile(&mAppSpec, true, &isFolder, &wasAliased);
  }
}

void CDDApp::HiliteDropArea(DragRef) {
  if (!mDropPane->FocusDraw()) return;
  PenState pen;
  GetPenState(&pen);
  RGBColor fore;
  GetForeColor(&fore);
  Rect frame;
  mDropPane->CalcLocalFrameRect(frame);
  frame.top -= 1;
  frame.left -= 1;
  InsetRect(&frame, 1, 1);
  RGBColor highlight;
  LMGetHiliteRGB(&highlight);
  RGBForeColor(&highlight);
  PenSize(2, 2);
  FrameRect(&frame);
  RGBForeColor(&fore);
  SetPenState(&pen);
}

void CDDApp::UnhiliteDropArea(DragRef drag) {
  LDragAndDrop::UnhiliteDropArea(drag);
  mDropPane->Refresh();
}
