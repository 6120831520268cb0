// The utility hub: every operation the function dialogs share, one header per concern.
#pragma once

#include "prefs/WXExifInit.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXExif.h"
#include "output/hub/WXFolders.h"
#include "output/hub/WXNaming.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAddFileName.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXCheckBoxPrompt.h"
#include "output/hubdialogs/WXFontDialog.h"
#include "output/hubdialogs/WXFormatDialogs.h"
#include "output/hubdialogs/WXImageChecks.h"
#include "output/hubdialogs/WXSizeDialog.h"
