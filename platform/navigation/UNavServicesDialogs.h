// The file and folder chooser: a modal framework dialog showing one folder's items, a popup
// of the folder's path for going up, a field to type a location, Choose and Cancel.
#pragma once

#include <string>

#include "framework/FrameworkTypes.h"
#include "navigation/LFileTypeList.h"
#include "navigation/Navigation.h"

constexpr ResIDT kNavChooserLayout = 1120;

namespace UNavServicesDialogs {

class LFileChooser {
 public:
  LFileChooser();

  NavDialogOptions* GetDialogOptions() { return &mOptions; }
  // Where the chooser opens: a folder, or a file's folder with the file selected.
  void SetDefaultLocation(const FSSpec& location);
  void SetObjectFilterProc(NavObjectFilterProcPtr filter, void* userData = nullptr);

  // A file of the listed types that the filter shows; false on Cancel. A package comes
  // back as its folder's ID with an empty name.
  bool AskChooseOneFile(const LFileTypeList& types, FSSpec& outFileSpec);
  // The selected folder, or the shown one when none is selected; false on Cancel.
  bool AskChooseFolder(FSSpec& outFolderSpec);
  // The chosen item (index 1).
  void GetFileSpec(SInt32 index, FSSpec& outFileSpec) const;

 private:
  bool Run(bool folders, const LFileTypeList& types);

  NavDialogOptions mOptions;
  std::string mDefaultPath;
  NavObjectFilterProcPtr mFilter = nullptr;
  void* mFilterData = nullptr;
  FSSpec mChosen{};
  bool mHasChoice = false;
};

}  // namespace UNavServicesDialogs
