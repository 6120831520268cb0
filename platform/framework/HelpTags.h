// Help tags: a small window of text shown beside a hot rectangle until hidden.
#pragma once

#include "toolbox/MacTypes.h"

typedef UInt32 HMContentType;
enum : HMContentType { kHMNoContent = 'none', kHMPascalStrContent = 'pstr', kHMStringResContent = 'str#' };
typedef SInt16 HMTagDisplaySide;
enum : SInt16 { kHMDefaultSide = 0, kHMOutsideTopCenterAligned = 1, kHMOutsideBottomCenterAligned = 2 };
enum : SInt32 { kMacHelpVersion = 3 };

struct HMStringResType {
  SInt16 hmmResID;
  SInt16 hmmIndex;
};

struct HMHelpContent {
  HMContentType contentType;
  union {
    Str255 tagString;
    HMStringResType tagStringRes;
  } u;
};

enum { kHMMinimumContentIndex = 0, kHMMaximumContentIndex = 1 };

struct HMHelpContentRec {
  SInt32 version;
  Rect absHotRect;  // global
  HMTagDisplaySide tagSide;
  HMHelpContent content[2];
};

// Shows the tag below the hot rectangle (above it when there is no room), replacing the
// tag shown before.
OSStatus HMDisplayTag(const HMHelpContentRec* content);
OSStatus HMHideTag();
// The text of the tag shown now (empty when none); tests read it.
void HMCurrentTagText(Str255 text);
