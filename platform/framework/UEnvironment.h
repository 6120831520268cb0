// What the framework learnt about the system at start-up: the system version and feature
// bits, read from Gestalt. Tests change Gestalt's answers and call InitEnvironment again.
#pragma once

#include "framework/FrameworkTypes.h"

typedef UInt32 EnvironmentFeature;
enum : EnvironmentFeature {
  env_HasThreadManager = 0x0004,
  env_HasAppearance = 0x1000,
};

struct SEnvironmentInfo {
  SInt32 systemVersion;
  UInt32 features;
};

class UEnvironment {
 public:
  static void InitEnvironment();
  static bool HasFeature(EnvironmentFeature feature) { return (sEnvironInfo.features & feature) != 0; }
  static void SetFeature(EnvironmentFeature feature, bool present);
  static SInt32 GetOSVersion() { return sEnvironInfo.systemVersion; }

  static SEnvironmentInfo sEnvironInfo;
};
