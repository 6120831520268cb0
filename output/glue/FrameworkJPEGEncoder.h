// The system's JPEG encoder as the framework's encoder of grey and colour PDF pages.
#pragma once

#include <cstddef>

#include "toolbox/MacTypes.h"

// A baseline JPEG of `height` rows of `width` pixels, `rowBytes` apart, with `components`
// bytes each (1 grey; 3 B, G, R), at `quality` (1..100), in a malloc'ed block for the
// framework to free. memFullErr or ioErr when the encoder fails.
OSErr FrameworkJPEGEncoder(const UInt8* pixels, SInt32 width, SInt32 height, SInt32 rowBytes, SInt32 components,
                           SInt32 quality, UInt8** jpeg, size_t* length);
