// The main window: a shaped 580 x 145 window with a title strip (close box, help button,
// title) and a row of function buttons, each with its name caption and, above it, a move
// button that shows and moves its scanner-button assignment. A click opens the function's
// dialog; a scanner-button push does the same and starts the scan at once.
#pragma once

#include <array>

#include "framework/LListener.h"
#include "framework/LWindow.h"
#include "prefs/PrefRecords.h"

class CAppButton;
class CEditableCaption;
class CHelpButton;
class CMainWindowTitleView;
class CMoveButton;
class CPictureButton;
class LCaption;
class LPicture;

class CMainWindow : public LWindow, public LListener {
 public:
  static constexpr ClassIDT class_ID = 'mwnd';
  static constexpr SInt16 kWidth = 580;
  static constexpr SInt16 kHeight = 145;
  enum : MessageT { msg_StartScan = 900, msg_AskFirst = 10000 };

  explicit CMainWindow(LStream* stream);
  CMainWindow(WindowRef window, LCommander* super);
  ~CMainWindow() override;

  void ListenToMessage(MessageT message, void* param) override;

  void CreateButtons(RecordBytes prefsAll, UInt16 productID);
  void CreateMoveButtons(RecordBytes prefsAll);
  void DeleteButtons();
  void DeleteWindowTitleButton();
  void ChangeWindow(RecordBytes prefsAll);
  void DisableWindow();
  void EnableWindow();
  // Registers the help of the build's language and enables the help button: 0, or fnfErr
  // when its pages are missing.
  OSErr SearchHelpAlias();
  void SetButtonNameToPreferences();
  void SetScan1ButtonName(ConstStr255Param name);
  void SetScan2ButtonName(ConstStr255Param name);
  void FAUCheckAndSetToPreferences();

  bool ObeyCommand(CommandT command, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;
  void ClickInContent(const EventRecord& event) override;

  // The product ID of the configured scanner in `prefsAll`.
  static UInt16 ProductOf(RecordBytes prefsAll);

 protected:
  void FinishCreateSelf() override;
  bool AttemptQuitSelf(SInt32 saveOption) override;

 private:
  void CreateBackground(UInt16 productID);
  void CreateWindowTitleButton(RecordBytes prefsAll);
  void OpenFunctionDialog(MessageT message, void* param);
  CAppButton* AppButtonFor(MessageT message) const;
  CEditableCaption* EditableCaption(PaneIDT id) const;
  void DeletePane(LPane*& pane);

  LPicture* mBackground = nullptr;
  LView* mCover = nullptr;
  CMainWindowTitleView* mTitleView = nullptr;
  CPictureButton* mCloseButton = nullptr;
  CHelpButton* mHelpButton = nullptr;
  LCaption* mTitle = nullptr;
  std::array<LPane*, 9> mButtons{};
  std::array<LPane*, 9> mCaptions{};
  std::array<CMoveButton*, 8> mMoveButtons{};
};
