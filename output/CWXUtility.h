// The utility hub: every operation the function dialogs share, one header per concern.
#pragma once

#include "output/WXChecks.h"
#include "output/WXExifInit.h"
#include "output/WXFolders.h"
#include "output/WXNaming.h"
