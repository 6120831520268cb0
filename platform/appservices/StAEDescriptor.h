// A descriptor disposed when it goes out of scope.
#pragma once

#include "appservices/AppleEvents.h"

class StAEDescriptor {
 public:
  StAEDescriptor() { AEInitializeDesc(&mDesc); }
  StAEDescriptor(DescType type, const void* data, Size size);
  // Takes over `desc` (which becomes null).
  explicit StAEDescriptor(AEDesc& desc);
  ~StAEDescriptor() { AEDisposeDesc(&mDesc); }
  StAEDescriptor(const StAEDescriptor&) = delete;
  StAEDescriptor& operator=(const StAEDescriptor&) = delete;

  AEDesc& Get() { return mDesc; }
  const AEDesc& Get() const { return mDesc; }
  operator AEDesc*() { return &mDesc; }
  operator const AEDesc*() const { return &mDesc; }
  DescType DescriptorType() const { return mDesc.descriptorType; }
  bool IsNull() const { return mDesc.descriptorType == typeNull; }
  // Replaces the held descriptor by the parameter or attribute of `event`; on failure the
  // held one is null and the error is returned.
  OSErr GetParamDesc(const AppleEvent& event, AEKeyword keyword, DescType desiredType);
  OSErr GetAttributeDesc(const AppleEvent& event, AEKeyword keyword, DescType desiredType);

 private:
  AEDesc mDesc;
};
