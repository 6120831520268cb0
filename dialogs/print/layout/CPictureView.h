// The page area of the print layout: one page at a time, with its paper pane at the back,
// its placed picture (none when the page's image did not load) and up to ten text boxes in
// front. It fits, fills and centres the picture, adds and deletes text boxes, hands the
// page's layout out when another page is shown and takes it back, and keeps the dialog's
// font ("FSET") and add-text ("ADDT") buttons in step with the boxes.
#pragma once

#include <vector>

#include "dialogs/print/layout/PageLayoutRecords.h"
#include "framework/LBroadcaster.h"
#include "framework/LListener.h"
#include "framework/LView.h"
#include "output/export/PageRecords.h"

class CEditableTextBox;
class CPicturePane;
class CPrintSizePane;
class CThumbnailView;
class LPrintSpec;

class CPictureView : public LView, public LListener, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'PICV';
  static constexpr PaneIDT kFontButton = 'FSET';
  static constexpr PaneIDT kAddTextButton = 'ADDT';
  static constexpr size_t kMaxTextBoxes = 10;
  // Fit and fill modes of ResizePicturePane.
  static constexpr MessageT kFit = 'APL2';
  static constexpr MessageT kFill = 'APL3';

  explicit CPictureView(LStream* stream);
  ~CPictureView() override;

  void SetThumbnailView(CThumbnailView* strip) { mStrip = strip; }
  // Whether a page shown through "THUV" is fitted (else shown at 100 %).
  void SetFitOnShow(UInt8 fit) { mFitOnShow = fit; }
  CPrintSizePane* GetPaper() const { return mPaper; }
  // Null while no page is shown and for a page whose image did not load.
  CPicturePane* GetPicture() const { return mPicture; }
  const ScanData& GetScanData() const { return mScan; }
  LPrintSpec* GetPrintSpec() const { return mSpec; }
  PaneIDT GetCurrentTextBoxID() const { return mCurrentTextBox; }
  const std::vector<CEditableTextBox*>& GetTextBoxes() const { return mTextBoxes; }

  // A fresh paper pane for the print spec, behind the picture and the boxes.
  void SetPrintSizePane(LPrintSpec* spec);
  // A new picture for the page, with the image of the strip's current thumbnail (none when
  // it has no image or there is no paper).
  void SetPicturePane(const ScanData& scan);
  void ResizePicturePane(MessageT mode);
  void CenteringPicture();
  void AddTextBox();
  // Deletes the first selected box, if any.
  void DeleteTextBox();
  // The page's layout; the open edit fields are committed first, then the boxes removed.
  PrePicturePaneInfo GetAllPaneInfo();
  void ResetTextBox(TArray<TextBoxInfo> boxes);
  void CheckTextBoxSize();
  void SetInputTextState();
  void CancelEditField();
  // The ID of the dialog's pane with that ID; throws 'nilP' when there is none.
  PaneIDT GetSpecifiedPaneID(PaneIDT id);

  LPane* FindSubPaneHitBy(SInt32 h, SInt32 v) const override;
  void ListenToMessage(MessageT message, void* param) override;

  // Text-box IDs: one counter, below 100000 and above any thumbnail's page number.
  static PaneIDT NextTextBoxID();
  static constexpr PaneIDT kFirstTextBoxID = 50000;

 protected:
  void DrawSelf() override;
  void PrintPanelSelf(const PanelSpec& panel) override;

 private:
  LPane* DialogPane(PaneIDT id) const;
  void EnableButton(PaneIDT id, bool enable) const;
  CEditableTextBox* MakeTextBox(const SPaneInfo& info, ConstStr255Param text, UInt8 selected);
  // Enabled, marked visible, active, heard, in front and on the list.
  void Adopt(CEditableTextBox* box);
  void ShowPage(const ScanData& scan);
  void RestorePage(const PrePicturePaneInfo& info);

  CPicturePane* mPicture = nullptr;
  CPrintSizePane* mPaper = nullptr;
  LPrintSpec* mSpec = nullptr;
  CThumbnailView* mStrip = nullptr;
  ScanData mScan;
  std::vector<CEditableTextBox*> mTextBoxes;
  PaneIDT mCurrentTextBox = 0;
  UInt8 mFitOnShow = 0;
};
