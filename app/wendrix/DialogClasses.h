// The layout classes of this executable that live outside app/: the function dialogs,
// their panes, the preview and stitch views. Each dialog adds its lines here.
#pragma once

#include "app/AppClasses.h"

const AppClassList& DialogClasses();
