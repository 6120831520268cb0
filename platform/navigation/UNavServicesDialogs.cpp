#include "navigation/UNavServicesDialogs.h"

#include <filesystem>
#include <vector>

#include "framework/LCaption.h"
#include "framework/LException.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/LScroller.h"
#include "framework/LWindow.h"
#include "framework/StDialogHandler.h"
#include "framework/TRegistrar.h"
#include "navigation/LNavItemTable.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/TextConvert.h"

namespace fs = std::filesystem;

namespace UNavServicesDialogs {

namespace {

constexpr PaneIDT kMessage = 'MSG ';
constexpr PaneIDT kPathPopup = 'PATH';
constexpr PaneIDT kItems = 'ITEM';
constexpr PaneIDT kScroller = 'SCRL';
constexpr PaneIDT kLocation = 'LOCN';

template <class T>
T* Pane(LWindow* dialog, PaneIDT id) {
  T* pane = dynamic_cast<T*>(dialog->FindPaneByID(id));
  ThrowIfNil_(pane);
  return pane;
}

std::string HomeFolder() { return FolderRoot(); }

// One dialog's browsing state: the shown folder and what it lists.
class Browser {
 public:
  Browser(LWindow* dialog, bool folders, const LFileTypeList& types, NavObjectFilterProcPtr filter, void* data,
          bool packages)
      : mDialog(dialog), mFolders(folders), mTypes(types), mFilter(filter), mData(data), mPackages(packages) {}

  void Show(const std::string& folder, const std::string& select = {}) {
    mFolder = fs::path(folder).lexically_normal().string();
    if (mFolder.size() > 1 && mFolder.ends_with('/')) mFolder.pop_back();
    std::vector<NavItem> shown;
    for (NavItem& item : NavListFolder(mFolder, mPackages))
      if (Offered(item) && NavFilterShows(item, mFilter, mData)) shown.push_back(std::move(item));
    auto* table = Pane<LNavItemTable>(mDialog, kItems);
    table->SetItems(std::move(shown));
    Pane<LScroller>(mDialog, kScroller)->ScrollImageTo(0, 0, true);
    if (!select.empty())
      for (size_t i = 0; i < table->GetItems().size(); ++i)
        if (table->GetItems()[i].path == select) table->SelectCell({TableIndexT(i + 1), 1});
    auto* popup = Pane<LPopupButton>(mDialog, kPathPopup);
    popup->DeleteAllMenuItems();
    mAncestors.clear();
    for (fs::path p = mFolder;; p = p.parent_path()) {
      mAncestors.push_back(p.string());
      Str255 name;
      const std::string label = p.has_filename() ? p.filename().string() : p.string();
      if (!UTF8ToPString(label, name, sizeof name)) UTF8ToPString("?", name, sizeof name);
      popup->AppendMenuItem(name);
      if (p == p.parent_path()) break;
    }
    popup->SetValue(1);
  }

  void GoUp() {
    const SInt32 item = Pane<LPopupButton>(mDialog, kPathPopup)->GetValue();
    if (item > 1 && size_t(item) <= mAncestors.size()) Show(mAncestors[item - 1]);
  }

  // The item the answer takes, or null when the dialog goes on (a folder was entered).
  bool Answer(NavItem* chosen) {
    auto* field = Pane<LEditText>(mDialog, kLocation);
    if (!field->GetText().empty()) {
      std::string typed;
      if (!ScriptToUTF8(field->GetText(), &typed)) return false;
      const fs::path path = fs::path(mFolder) / typed;
      const Str255 empty = {0};
      field->SetDescriptor(empty);
      NavItem item;
      if (!NavMakeItem(path.lexically_normal().string(), mPackages, &item)) return false;
      return Take(item, chosen);
    }
    const NavItem* selected = Pane<LNavItemTable>(mDialog, kItems)->SelectedItem();
    if (selected) return Take(*selected, chosen);
    if (!mFolders) return false;
    return NavMakeItem(mFolder, mPackages, chosen);
  }

  void Enter() {
    const NavItem* selected = Pane<LNavItemTable>(mDialog, kItems)->SelectedItem();
    if (selected && selected->folder) Show(fs::canonical(selected->path).string());
  }

 private:
  bool Offered(const NavItem& item) const { return item.folder || (!mFolders && mTypes.Accepts(item.type)); }

  bool Take(const NavItem& item, NavItem* chosen) {
    if (mFolders && item.folder) {
      *chosen = item;
      return true;
    }
    if (item.folder) {
      Show(fs::canonical(item.path).string());
      return false;
    }
    if (mFolders || !Offered(item) || !NavFilterShows(item, mFilter, mData)) return false;
    *chosen = item;
    return true;
  }

  LWindow* mDialog;
  bool mFolders;
  const LFileTypeList& mTypes;
  NavObjectFilterProcPtr mFilter;
  void* mData;
  bool mPackages;
  std::string mFolder;
  std::vector<std::string> mAncestors;
};

}  // namespace

LFileChooser::LFileChooser() { RegisterClass_(LNavItemTable); }

void LFileChooser::SetDefaultLocation(const FSSpec& location) {
  std::string path;
  mDefaultPath = FSpGetPOSIXPath(&location, &path) == noErr ? path : std::string();
}

void LFileChooser::SetObjectFilterProc(NavObjectFilterProcPtr filter, void* userData) {
  mFilter = filter;
  mFilterData = userData;
}

bool LFileChooser::AskChooseOneFile(const LFileTypeList& types, FSSpec& outFileSpec) {
  if (!Run(false, types)) return false;
  outFileSpec = mChosen;
  return true;
}

bool LFileChooser::AskChooseFolder(FSSpec& outFolderSpec) {
  if (!Run(true, LFileTypeList())) return false;
  outFolderSpec = mChosen;
  return true;
}

void LFileChooser::GetFileSpec(SInt32 index, FSSpec& outFileSpec) const {
  outFileSpec = mHasChoice && index == 1 ? mChosen : FSSpec{};
}

bool LFileChooser::Run(bool folders, const LFileTypeList& types) {
  mHasChoice = false;
  StDialogHandler handler(kNavChooserLayout, nullptr);
  LWindow* dialog = handler.GetDialog();
  ThrowIfNil_(dialog);
  Pane<LCaption>(dialog, kMessage)->SetDescriptor(mOptions.message);
  Pane<LNavItemTable>(dialog, kItems)->AddListener(&handler);
  Browser browser(dialog, folders, types, mFilter, mFilterData, mOptions.dialogOptionFlags & kNavSupportPackages);

  std::error_code ec;
  const fs::path start = mDefaultPath.empty() ? fs::path(HomeFolder()) : fs::path(mDefaultPath);
  if (fs::is_directory(start, ec))
    browser.Show(start.string());
  else if (fs::is_directory(start.parent_path(), ec))
    browser.Show(start.parent_path().string(), start.string());
  else
    browser.Show(HomeFolder());

  dialog->Show();
  for (;;) {
    const MessageT message = handler.DoDialog();
    if (message == msg_Cancel) return false;
    if (message == kPathPopup) browser.GoUp();
    if (message == msg_NavEnterItem) browser.Enter();
    NavItem chosen;
    if (message == msg_OK && browser.Answer(&chosen)) {
      mChosen = chosen.spec;
      // A package is answered as its folder: its own ID and an empty name.
      SInt32 dirID = 0;
      Boolean isFolder = false;
      if (chosen.package && FSpGetDirectoryID(&chosen.spec, &dirID, &isFolder) == noErr)
        mChosen = FSSpec{chosen.spec.vRefNum, dirID, {0}};
      mHasChoice = true;
      return true;
    }
  }
}

}  // namespace UNavServicesDialogs
