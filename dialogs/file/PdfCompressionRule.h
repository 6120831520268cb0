// Black-and-white PDF pages take compression 1 whatever was chosen; the choice is kept
// aside and comes back with the next other image mode.
#pragma once

#include "prefs/PrefRecords.h"

// `pdf` is a PDF settings record.
void ApplyPdfCompressionRule(RecordBytes pdf, bool blackAndWhite);
