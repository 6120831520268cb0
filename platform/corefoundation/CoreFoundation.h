// Everything of the CoreFoundation layer at once.
#pragma once

#include "corefoundation/CFArray.h"
#include "corefoundation/CFBase.h"
#include "corefoundation/CFBundle.h"
#include "corefoundation/CFData.h"
#include "corefoundation/CFDictionary.h"
#include "corefoundation/CFNumber.h"
#include "corefoundation/CFPropertyList.h"
#include "corefoundation/CFString.h"
#include "corefoundation/CFURL.h"
#include "corefoundation/CFURLAccess.h"
