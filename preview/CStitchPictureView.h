// The stitch wizard's view of the two halves: both at one display scale, side by side on
// the view's centre line; the right half moves within limits, either half turns by 180
// degrees, and at the last step a crop frame lies over both. Everything it keeps is in
// screen pixels; the wizard turns them into image pixels with the display scale.
#pragma once

#include <optional>

#include "framework/LView.h"
#include "output/export/PageRecords.h"

class CStitchCropPane;
class CStitchPicturePane;

class CStitchPictureView : public LView {
 public:
  static constexpr ClassIDT class_ID = 'StcV';
  enum : PaneIDT { kLeftPaneID = 'LStP', kRightPaneID = 'RStP', kCropPaneID = 'SCrP', kPicturePaneID = 'AbcP' };
  // The wizard's steps the panes act on.
  enum : long { step_LeftShown = 2, step_Align = 3, step_Crop = 4 };
  enum : long { side_Left = 1, side_Right = 2 };

  explicit CStitchPictureView(LStream* stream);
  CStitchPictureView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo);
  ~CStitchPictureView() override;

  // Replaces that side's half by the page of `record`. The display scale follows the
  // taller half: the other half is shown again at it when it changes. Throws 'nilP' when the
  // view holds no picture 'AbcP' to take the height from.
  void SetPicturePane(const ScanData& record, long side);
  // Needs both halves; else nothing.
  void SetCropPane();
  void ClearLeftPicturePane();
  void ClearRightPicturePane();
  void ClearCropPane();
  // Step 2 turns the left half, step 3 the right one (back to its start); else nothing.
  void RotatePicture(long step);
  // The arrow keys 0x1C to 0x1F move the right half by a pixel at step 3.
  void MoveRightPictureByKeyPress(unsigned char charCode);

  void SetStep(long step) { mStep = step; }
  long GetStep() const { return mStep; }
  CStitchPicturePane* GetLeftPane() const { return mLeft; }
  CStitchPicturePane* GetRightPane() const { return mRight; }
  CStitchCropPane* GetCropPane() const { return mCrop; }
  double GetDisplayScale() const { return mScale; }
  const Rect& GetMoveLimits() const { return mMoveLimits; }
  UInt8 GetIsRightImageOver() const { return mRightImageOver; }
  void SetIsRightImageOver(UInt8 over) { mRightImageOver = over; }
  UInt16 GetLeftAngle() const { return mLeftAngle; }
  UInt16 GetRightAngle() const { return mRightAngle; }
  void SetLeftAngle(UInt16 angle) { mLeftAngle = angle; }
  void SetRightAngle(UInt16 angle) { mRightAngle = angle; }
  // Draws the whole view at once, in the pane list's order.
  void DrawNow();

 protected:
  void FinishCreateSelf() override;
  void DrawSelf() override;

 private:
  CStitchPicturePane* MakeHalf(const ScanData& record, long side);
  void ClearHalf(CStitchPicturePane*& pane);

  CStitchPicturePane* mLeft = nullptr;
  CStitchPicturePane* mRight = nullptr;
  CStitchCropPane* mCrop = nullptr;
  std::optional<ScanData> mLeftRecord;
  std::optional<ScanData> mRightRecord;
  Rect mMoveLimits{};
  double mScale = 1.0;
  long mStep = 1;
  UInt8 mRightImageOver = 1;
  UInt16 mLeftAngle = 0;
  UInt16 mRightAngle = 0;
};
