// A stand-in for every function dialog: a dialog that is also a preferences object (as the
// real ones are), registered under each function's class ID, that records how the main
// window started it.
#pragma once

#include <memory>
#include <vector>

#include "app/AppClasses.h"
#include "app/CAppearanceApp.h"
#include "app/CFunctionDialog.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/LDialogBox.h"

namespace wxapp {

class CStandInDialog : public LDialogBox, public CFunctionDialog {
 public:
  CStandInDialog(LStream* stream, ClassIDT classID)
      : LDialogBox(stream), mClassID(classID), mPrefs(std::make_unique<CPreferences>(PREFS_FILE_NAME, 0)) {
    Made().push_back(this);
  }
  ~CStandInDialog() override {
    if (CAppearanceApp::sApplication) CAppearanceApp::sApplication->mFunctionDialogOpen = 0;
    std::erase(Made(), this);
  }

  void SetStartFlag(UInt8 flag) override { mStartFlag = flag; }
  void SetMainWindowButton(CAppButton* button) override { mButton = button; }
  // Only recorded: a real dialog scans on 900 and asks on 10000.
  void ListenToMessage(MessageT message, void*) override { mMessages.push_back(message); }

  // The stand-ins alive now, oldest first.
  static std::vector<CStandInDialog*>& Made() {
    static std::vector<CStandInDialog*> made;
    return made;
  }

  ClassIDT mClassID;
  int mStartFlag = -1;
  CAppButton* mButton = nullptr;
  std::vector<MessageT> mMessages;
  // An older snapshot of the file, written back when the dialog goes, as a real one does.
  std::unique_ptr<CPreferences> mPrefs;
};

template <ClassIDT ID>
class TStandIn : public CStandInDialog {
 public:
  static constexpr ClassIDT class_ID = ID;
  using Inherited = LDialogBox;
  explicit TStandIn(LStream* stream) : CStandInDialog(stream, ID) {}
};

inline const AppClassList& StandInClasses() {
  static const AppClassList classes = {
      AppClassEntry<TStandIn<'Cdlg'>>(), AppClassEntry<TStandIn<'Pdlg'>>(), AppClassEntry<TStandIn<'Mdlg'>>(),
      AppClassEntry<TStandIn<'Odlg'>>(), AppClassEntry<TStandIn<'Sdlg'>>(), AppClassEntry<TStandIn<'Fdlg'>>(),
      AppClassEntry<TStandIn<'S1lg'>>(), AppClassEntry<TStandIn<'S2lg'>>(), AppClassEntry<TStandIn<'STlg'>>(),
  };
  return classes;
}

}  // namespace wxapp
