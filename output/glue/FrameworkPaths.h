// Paths handed to the PDF and correction framework.
#pragma once

#include <string>

#include "toolbox/MacTypes.h"

// The UTF-8 POSIX path a file specification names; the file need not exist, its folder
// must. Nothing is created on the way.
OSErr FrameworkPathOf(const FSSpec& spec, std::string* path);
// The application's private frameworks folder followed by "/", or "" when it is missing.
std::string PrivateFrameworksPath();
// Points the framework at the private frameworks folder and opens an output job on the
// destination; the framework's status.
OSErr OpenFrameworkJob(const FSSpec& destination, SInt32 flags);
