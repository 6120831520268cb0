// A small read-only window that shows, while a scan runs in the scanner driver's own
// window, the File function's settings (of its current tab) that the pages will get.
#pragma once

#include "prefs/PrefRecords.h"
#include "framework/LWindow.h"

class LPane;

class CScanInfoWindow : public LWindow {
 public:
  static constexpr ClassIDT class_ID = 'SIdg';

  explicit CScanInfoWindow(LStream* stream);

  // `current` names the tab in its first long; the other four are the records of the
  // no-tab case and of tabs 1 to 3.
  void SetDisplayData(PREF_FILE* current, PREF_FILE* noTab, PREF_FILE* tab1, PREF_FILE* tab2, PREF_FILE* tab3);
  void SetDisplayData_NoTab(PREF_FILE* record);
  void SetDisplayData_Tab1(PREF_FILE* record);
  void SetDisplayData_Tab2(PREF_FILE* record);
  void SetDisplayData_Tab3(PREF_FILE* record);

  // The item of the scan-mode menu of `kind` (1 colour, 2 monochrome, other all modes)
  // that shows image-mode `code`; 0 when that menu has none.
  static SInt16 GetPopupScanMode(long kind, long code);

  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

 protected:
  void FinishCreateSelf() override;

 private:
  void ShowRecord(PREF_FILE* record, ResIDT scanModeMenu, long kind, bool codes5And6Disable);
  void SetPaneText(LPane* pane, ConstStr255Param text);
  void SetPaneMenuItem(LPane* pane, ResIDT menuID, UInt32 item);

  LPane* mScanMode = nullptr;     // 100
  LPane* mSetting8 = nullptr;     // 101
  LPane* mPaperSize = nullptr;    // 102
  LPane* mPaperCaption = nullptr; // 202
  LPane* mName = nullptr;         // 103
  LPane* mFileType = nullptr;     // 104
  LPane* mFolder = nullptr;       // 105
};
