// The SANE bridge's own configuration folder: it enables the SANE test device (so a machine
// without a scanner still has one) and names the product each device reports.
#pragma once

#include <string>

// The folder: $WX_SANE_CONFIG (tests), else wendrix/sane in the configuration home
// (toolbox/ConfigHome.h: below $WENDRIX_ROOT when it is set).
std::string sbConfigFolder();

// Writes the folder's files that are missing (dll.d entry for the test backend, the test
// device's settings, the product-name table) and puts the folder first in SANE_CONFIG_DIR,
// keeping what was there (or, when nothing was, the system's folders through a trailing ':').
// Call before sane_init.
void sbPrepareSaneConfig();

// Writes the product-name table when the folder has none: the folder can change while SANE
// keeps the configuration it started with.
void sbPrepareProductNames();

// The product name configured for a SANE device in sources.conf ("device=name" lines), or
// `fallback` when none is.
std::string sbProductName(const std::string& device, const std::string& fallback);

// The SANE source a device scans documents from ("device documents=source" lines in
// sources.conf), or "" when none is configured: a reflective light path selects it.
std::string sbDocumentSource(const std::string& device);
