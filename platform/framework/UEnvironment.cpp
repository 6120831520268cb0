#include "framework/UEnvironment.h"

#include "toolbox/Gestalt.h"
#include "toolbox/MacErrors.h"

SEnvironmentInfo UEnvironment::sEnvironInfo = {0, 0};

void UEnvironment::InitEnvironment() {
  SInt32 response = 0;
  sEnvironInfo.systemVersion = Gestalt(gestaltSystemVersion, &response) == noErr ? response : 0;
  sEnvironInfo.features = 0;
  SetFeature(env_HasAppearance, Gestalt(gestaltAppearanceAttr, &response) == noErr);
  SetFeature(env_HasThreadManager, Gestalt(gestaltThreadMgrAttr, &response) == noErr);
}

void UEnvironment::SetFeature(EnvironmentFeature feature, bool present) {
  if (present)
    sEnvironInfo.features |= feature;
  else
    sEnvironInfo.features &= ~feature;
}
