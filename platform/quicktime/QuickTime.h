// QuickTime graphics importers and exporters, as far as the system uses them: importers
// that draw a file (baseline JPEG, the system's own uncompressed TIFF and PICT files)
// scaled into a QuickDraw port, and a JPEG exporter that writes an offscreen world.
//
// JPEG files are decoded with libjpeg-turbo. The exporter encodes with the JPEG writer the
// system hands in (QTSetJPEGWriter): the system's own encoder.
#pragma once

#include "quickdraw/QDOffscreen.h"
#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"

typedef struct QTComponentRecord* ComponentInstance;
typedef ComponentInstance GraphicsImportComponent;
typedef ComponentInstance GraphicsExportComponent;
typedef SInt32 ComponentResult;
typedef UInt32 CodecQ;

enum : OSType {
  GraphicsImporterComponentType = 'grip',
  GraphicsExporterComponentType = 'grex',
  kQTFileTypeJPEG = 'JPEG',
};

enum : OSErr {
  badComponentType = -2001,
  cantFindHandler = -2003,   // no importer or exporter for this file or format
  invalidComponentID = -3000,
  badImageDescription = -2006,  // the file is damaged or of a kind the importer cannot draw
};

enum : CodecQ {
  codecMinQuality = 0x000,
  codecLowQuality = 0x100,
  codecNormalQuality = 0x200,
  codecHighQuality = 0x300,
};

// An importer for the file, chosen by its contents. cantFindHandler when none fits; the
// file's own error when it cannot be read.
OSErr GetGraphicsImporterForFile(const FSSpec* file, GraphicsImportComponent* importer);
// The image's size at its own resolution, at (0, 0).
ComponentResult GraphicsImportGetNaturalBounds(GraphicsImportComponent importer, Rect* bounds);
// Where the image is drawn, in the port's coordinates (default: the natural bounds).
ComponentResult GraphicsImportSetBoundsRect(GraphicsImportComponent importer, const Rect* bounds);
// The port to draw into (default: the current port when drawing).
ComponentResult GraphicsImportSetGWorld(GraphicsImportComponent importer, CGrafPtr port, GDHandle device);
// How the image is scaled (default codecNormalQuality): from codecNormalQuality up the
// importer averages the pixels it shrinks; below it takes for each pixel the one source pixel
// a CopyBits of the full-size image would take, and reads only the rows it takes where the
// file allows.
ComponentResult GraphicsImportSetQuality(GraphicsImportComponent importer, CodecQ quality);
// Decodes the file and draws it into the bounds rectangle at the importer's quality, row by
// row, without an image of the bounds' size.
ComponentResult GraphicsImportDraw(GraphicsImportComponent importer);

// type 'grex' with subtype 'JPEG' opens the JPEG exporter.
OSErr OpenADefaultComponent(OSType componentType, OSType componentSubType, ComponentInstance* component);
OSErr CloseComponent(ComponentInstance component);

ComponentResult GraphicsExportSetInputGWorld(GraphicsExportComponent exporter, GWorldPtr world);
ComponentResult GraphicsExportSetOutputFile(GraphicsExportComponent exporter, const FSSpec* file);
// Writes the whole input world to the output file, replacing a file of that name.
ComponentResult GraphicsExportDoExport(GraphicsExportComponent exporter, UInt32* actualSizeWritten);

// The JPEG encoder the exporter writes with: `rgb` holds `height` rows of `width` pixels,
// three bytes R, G, B each, `rowBytes` apart. It must create (or replace) the file and
// leave no file behind when it fails.
typedef OSErr (*QTJPEGWriterProc)(const FSSpec* file, const UInt8* rgb, SInt32 width, SInt32 height, SInt32 rowBytes);
void QTSetJPEGWriter(QTJPEGWriterProc writer);
