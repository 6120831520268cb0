#include "framework/FrameworkClasses.h"

#include "framework/LBorderAttachment.h"
#include "framework/LCaption.h"
#include "framework/LCheckBox.h"
#include "framework/LCicnButton.h"
#include "framework/LDialogBox.h"
#include "framework/LEditField.h"
#include "framework/LEditText.h"
#include "framework/LIconControl.h"
#include "framework/LLittleArrows.h"
#include "framework/LMultiPanelView.h"
#include "framework/LPicture.h"
#include "framework/LPlaceHolder.h"
#include "framework/LPopupButton.h"
#include "framework/LPrintout.h"
#include "framework/LPushButton.h"
#include "framework/LRadioButton.h"
#include "framework/LRadioGroup.h"
#include "framework/LScroller.h"
#include "framework/LStaticText.h"
#include "framework/LTabGroup.h"
#include "framework/LTable.h"
#include "framework/LTabsControl.h"
#include "framework/LTextTableView.h"
#include "framework/TRegistrar.h"

void RegisterFrameworkClasses() {
  RegisterClass_(LPane);
  RegisterClass_(LView);
  RegisterClass_(LWindow);
  RegisterClass_(LDialogBox);
  RegisterClass_(LCaption);
  RegisterClass_(LStaticText);
  RegisterClass_(LPushButton);
  RegisterClass_(LCheckBox);
  RegisterClass_(LStdCheckBox);
  RegisterClass_(LRadioButton);
  RegisterClass_(LRadioGroup);
  RegisterClass_(LPopupButton);
  RegisterClass_(LEditText);
  RegisterClass_(LPicture);
  RegisterClass_(LIconControl);
  RegisterClass_(LCicnButton);
  RegisterClass_(LLittleArrows);
  RegisterClass_(LTabGroup);
  RegisterClass_(LBorderAttachment);
  RegisterClass_(LTable);
  RegisterClass_(LTextTableView);
  RegisterClass_(LTextColumn);
  RegisterClass_(LTabsControl);
  RegisterClass_(LMultiPanelView);
  RegisterClass_(LPlaceHolder);
  RegisterClass_(LPrintout);
  RegisterClass_(LScroller);
  RegisterClass_(LEditField);
}
