#include "appservices/StAEDescriptor.h"

StAEDescriptor::StAEDescriptor(DescType type, const void* data, Size size) {
  if (AECreateDesc(type, data, size, &mDesc) != 0) AEInitializeDesc(&mDesc);
}

StAEDescriptor::StAEDescriptor(AEDesc& desc) : mDesc(desc) { AEInitializeDesc(&desc); }

OSErr StAEDescriptor::GetParamDesc(const AppleEvent& event, AEKeyword keyword, DescType desiredType) {
  AEDisposeDesc(&mDesc);
  OSErr err = AEGetParamDesc(&event, keyword, desiredType, &mDesc);
  if (err != 0) AEInitializeDesc(&mDesc);
  return err;
}

OSErr StAEDescriptor::GetAttributeDesc(const AppleEvent& event, AEKeyword keyword, DescType desiredType) {
  AEDisposeDesc(&mDesc);
  OSErr err = AEGetAttributeDesc(&event, keyword, desiredType, &mDesc);
  if (err != 0) AEInitializeDesc(&mDesc);
  return err;
}
