#include "framework/LException.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/UEnvironment.h"
#include "toolbox/Gestalt.h"

TEST(LException, CodesAndHelpers) {
  int* none = nullptr;
  int some = 1;
  try {
    ThrowIfNil_(none);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), err_NilPointer);
    EXPECT_EQ(std::string(ex.what()), "'nilP'");
  }
  EXPECT_NO_THROW(ThrowIfNil_(&some));
  EXPECT_NO_THROW(ThrowOSErr_(0));
  try {
    ThrowOSErr_(-43);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), -43);
    EXPECT_EQ(std::string(ex.what()), "error -43");
  }
  try {
    ThrowIf_(true);
    FAIL();
  } catch (const LException& ex) {
    EXPECT_EQ(ex.GetErrorCode(), err_AssertFailed);
  }
}

TEST(UEnvironment, ReadsTheSystemFromGestalt) {
  GestaltSetValue(gestaltSystemVersion, 0x0900);
  UEnvironment::InitEnvironment();
  EXPECT_EQ(UEnvironment::GetOSVersion(), 0x0900);
  EXPECT_TRUE(UEnvironment::HasFeature(env_HasAppearance));
  EXPECT_TRUE(UEnvironment::HasFeature(env_HasThreadManager));
  UEnvironment::SetFeature(env_HasThreadManager, false);
  EXPECT_FALSE(UEnvironment::HasFeature(env_HasThreadManager));
  GestaltReset();
  UEnvironment::InitEnvironment();
  EXPECT_EQ(UEnvironment::GetOSVersion(), 0x1068);
}
