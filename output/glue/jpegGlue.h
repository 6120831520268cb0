// The correction side of the framework for the file exporter's JPEG, TIFF and PICT outputs:
// a job opened on the output file, which the exporter writes itself. Each call returns 1
// for success and 0 for failure; with the library flag clear every call but jpeg_init and
// jpeg_make answers 0 without reaching the framework.
#pragma once

#include "output/glue/pdfGlue.h"
#include "toolbox/MacTypes.h"

long jpeg_init();
// 0 when nothing was loaded.
long jpeg_terminate();
// Mode 23 when `flag` is 1, else 0; the language of the popup item.
long jpeg_modeset(long languageItem, unsigned char flag);
// Opens a job on `destination` with skew (`option2` = 1) and orientation (`option0` = 1).
long jpeg_open(FSSpec* destination, long option2, long option0);
long jpeg_close();
// Nothing calls it; it does nothing.
long jpeg_make(tagRAWBITMAP* page);
