// Where a file's resource fork lives on Linux, and reading and writing it whole.
//
// A resource fork is either the data fork of a resource file (the application's resources,
// the site-defaults file) or the resource-fork entry of an AppleDouble sidecar "._name"
// beside a file that has its own data (plug-ins). The sidecar wins when it exists.
// Writes go to a temporary file that replaces the old one only when complete (extended
// attributes and permissions carried over), so a full disk never leaves half a fork.
#pragma once

#include <string>
#include <vector>

#include "toolbox/AppleDouble.h"
#include "toolbox/ResourceFile.h"

enum class ResForkPlace { DataFork, Sidecar };

struct ResFork {
  std::string container;                 // the file that holds the fork's bytes
  ResForkPlace place = ResForkPlace::DataFork;
  std::vector<AppleDoubleEntry> others;  // a sidecar's other entries (Finder info), kept on rewrite
};

// fnfErr when neither the file nor its sidecar exists.
OSErr ResForkLocate(const std::string& filePath, ResFork* fork);
// The fork's bytes (empty when the fork is empty); fills `fork->others` for a sidecar.
OSErr ResForkRead(ResFork* fork, std::vector<uint8_t>* bytes);
// dskFulErr when the disk fills, ioErr/permErr/wPrErr otherwise; the old fork stays intact.
OSErr ResForkWrite(const ResFork& fork, const std::vector<uint8_t>& bytes);

// Fixture writer for tests and tools: makes `filePath`'s resource fork hold exactly `image`,
// in the data fork or in a sidecar (keeping a sidecar's Finder info).
OSErr ResForkWriteImage(const std::string& filePath, ResForkPlace place, const ResFileImage& image);
// Reads and parses `filePath`'s resource fork wherever it is.
OSErr ResForkReadImage(const std::string& filePath, ResFileImage* image);

// Writes `bytes` as the whole file at `path`, by way of a temporary file beside it; a folder
// or a locked file at `path` is refused (dupFNErr, fLckdErr).
OSErr ResWriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
