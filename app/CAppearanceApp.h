// The application object: checks the platform, registers the layout classes, starts up
// once per launch (main thread, yield attachment, temporary files, the main window),
// answers the open and reopen events of the scanner buttons, and deletes the temporary
// files and folder when it ends.
#pragma once

#include <memory>

#include "app/AppClasses.h"
#include "framework/LApplication.h"

class CMainWindow;
class LYieldAttachment;
class UMainThread;

class CAppearanceApp : public LApplication {
 public:
  enum : SInt32 { ae_Swallowed = 5000 };
  // The scanner-button dispatch's extra function numbers.
  enum : long { function_FileByButton = 10, function_Finish = 11 };

  // `outsideClasses`: the layout classes outside app/, registered in their places.
  explicit CAppearanceApp(const AppClassList& outsideClasses);
  ~CAppearanceApp() override;

  bool ObeyCommand(CommandT command, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void HandleAppleEvent(const AppleEvent& event, AppleEvent& reply, AEDesc& result, SInt32 number) override;
  void AdjustCursor(const EventRecord& event) override;
  void StartUp() override;

  virtual void ButtonStarting(long button, unsigned short productID);
  virtual void Btn_was_pushed(long function, unsigned short productID);

  void RegisterClasses();

  // 1 while a function dialog opened from the main window is open.
  UInt8 mFunctionDialogOpen = 0;

  static CAppearanceApp* sApplication;
  static CMainWindow* sMainWindow;
  static UMainThread* sAppMainThread;
  // 1 while a scanner-button push is being handled.
  static UInt8 sFromAppleEvent;

 private:
  void OpenApplication(const AppleEvent& event, AppleEvent& reply, AEDesc& result, SInt32 number);
  void ReopenApplication(const AppleEvent& event);
  void OpenMainWindow();
  [[noreturn]] void FailAndExit(SInt32 item);

  AppClassList mOutsideClasses;
  std::unique_ptr<UMainThread> mMainThread;
  std::unique_ptr<LYieldAttachment> mYield;
  bool mStarted = false;
};
