// The utility hub: every operation the function dialogs share, one header per concern.
#pragma once

#include "output/WXAlert.h"
#include "output/WXChecks.h"
#include "output/WXExif.h"
#include "output/WXExifInit.h"
#include "output/WXFolders.h"
#include "output/WXFontDialog.h"
#include "output/WXFormatDialogs.h"
#include "output/WXNaming.h"
#include "output/WXSizeDialog.h"
#include "output/WXText.h"
