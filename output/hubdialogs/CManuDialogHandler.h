// The modal handler of the document-size dialog: keeps width and height within the limits
// of the unit shown, says so with an alert when it corrects a value, converts both when the
// unit changes, and lets only digits and the decimal point into the fields.
#pragma once

#include "framework/StDialogHandler.h"
#include "framework/UKeyFilters.h"

class LEditText;
class LPopupButton;

class CManuDialogHandler : public StDialogHandler {
 public:
  CManuDialogHandler(ResIDT layoutID, LCommander* super);
  CManuDialogHandler(LWindow* window, LCommander* super);

  // In the unit the popup shows.
  void GetWidthHeight(double& width, double& height) const;
  // Fills both fields (display form) and the held values.
  void SetWidthHeight(double width, double height);
  // Sets the unit popup without counting as the user's change.
  void SetUnit(SInt32 unit);
  SInt32 GetUnit() const { return mUnit; }

  // Checks both fields with alerts; 1 when it corrected anything.
  Boolean OverValueErrorCheck();

  void ListenToMessage(MessageT message, void* param) override;
  static EKeyStatus PointIntegerField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);

 protected:
  void SubTargetChanged() override;
  // The check of a unit change, against the limits of `unit`, without alerts.
  Boolean CheckValueFromListenToMessage(SInt32 unit);

 private:
  enum class Check { Alerts, Quiet };
  void Init();
  // One field against the limits of `unit`; true when it was corrected. `keepClose` keeps
  // the held value when the field only shows it rounded.
  bool CheckField(bool isWidth, SInt32 unit, Check mode, bool keepClose);
  // Both fields, width first; true when either was corrected.
  bool CheckFields(SInt32 unit, Check mode, bool keepClose);
  void ShowField(bool isWidth);
  void ReadField(bool isWidth);

  LEditText* mWidthField = nullptr;
  LEditText* mHeightField = nullptr;
  LPopupButton* mUnitPopup = nullptr;
  double mWidth = 210.0;
  double mHeight = 297.0;
  SInt32 mUnit = 1;       // the unit the fields show
  bool mChecking = false;  // an alert of a check is up
};
