#include "dialogs/file/FunctionDialogParts.h"

#include <algorithm>
#include <exception>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CCicnButton.h"
#include "app/CMainWindow.h"
#include "framework/LPane.h"
#include "framework/LPopupButton.h"
#include "framework/LWindow.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXLaunch.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "toolbox/Files.h"
#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace FunctionDialogParts {

namespace {

constexpr SInt32 kItemOperationFailed = 3;

}  // namespace

UInt32 ShowStoredItem(LPopupButton* popup, UInt32 stored) {
  const UInt32 items = UInt32(std::max<SInt16>(popup->CountMenuItems(), 1));
  const UInt32 item = std::clamp<UInt32>(stored, 1, items);
  popup->SetValue(SInt32(item));
  return item;
}

void ShowShortPath(LPane* caption, const FSSpec& spec) {
  Str255 text{};
  if (FunctionDialogKit::ShortPath(caption, spec, text)) caption->SetDescriptor(text);
}

void ShowApplication(LPane* name, CCicnButton* icon, const FSSpec& app, ResIDT list, SInt16 noneItem) {
  Str255 text;
  if (app.name[0] == 0) {
    GetIndString(text, list, noneItem);
  } else {
    CWXUtility::ApplicationName(app, text);
  }
  name->SetDescriptor(text);
  icon->SetIconRef(app.name[0] == 0 ? nullptr : CWXUtility::GetIconFromFile(app));
  icon->Refresh();
}

void ShowButtonIcon(CAppButton* button, const FSSpec& app) {
  if (!button) return;
  button->SetIconRef(app.name[0] == 0 ? nullptr : CWXUtility::GetIconFromFile(app));
  button->Refresh();
}

bool TempFolderReady(RecordBytes prefAll, LCommander* alertOwner) {
  RecordBytes setting = PREF_ALL::kSetting.in(prefAll);
  const FSSpec base = PREF_SETTING::kTempBase.get(setting);
  SInt32 dirID = 0;
  Boolean isFolder = false;
  if (FSpGetDirectoryID(&base, &dirID, &isFolder) != fnfErr) return true;
  FSSpec temp{}, parent{};
  if (CWXUtility::Get_Default_TempDir(&temp, &parent) == 0 || CWXUtility::Create_Default_TempDir(parent, &temp) == 0) {
    CWXUtility::Show_Error(CWXUtility::kAlertLayout, alertOwner, 400, kItemOperationFailed, 0, 1, nullptr, 0);
    return false;
  }
  PREF_SETTING::kTempBase.set(setting, parent);
  PREF_SETTING::kTempFolder.set(setting, temp);
  return true;
}

bool HandOn(const FSSpec& app, const TArray<FSSpec>& files) {
  try {
    const ProcessSerialNumber psn = CWXUtility::LaunchWithFSSpec(app);
    if (psn.highLongOfPSN == 0 && psn.lowLongOfPSN == 0) return false;
    CWXUtility::SendOpenDocListWithPSN(psn, files);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace FunctionDialogParts
