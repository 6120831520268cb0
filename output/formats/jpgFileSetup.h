// JPEG file set-up: opens a JPEG file through the encoder and writes its header segments (COM,
// JFIF APP0) and settings, so that the exporter only feeds strips and closes the file.
#pragma once

#include "pelmora/Pelmora.h"
#include "toolbox/MacTypes.h"

// 0 with the encoder context in `context`; else the encoder's status, or 1 when the image size
// is refused. Every failure after the encoder is open closes it again.
long SettingForEncodeJpeg(_complibImageRect* image, FSSpec* file, int channels, int quality, long subsampling,
                          unsigned int restartInterval, char* comment, void** context, long resolution);
// Encodes the whole rectangle in strips of 256 lines into `file`; 0, the encoder's status or 1.
long EncodeJpegFromComplibImageRect(_complibImageRect* image, FSSpec* file, int channels, int quality,
                                    long subsampling, unsigned int restartInterval, char* comment);

// The 14-byte JFIF APP0 body for a resolution in dots per inch.
constexpr size_t kJfifBodySize = 14;
void MakeJfifBody(long resolution, uint8_t body[kJfifBodySize]);
