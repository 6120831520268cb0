// Whole-file reads and standard output for the command-line tools, each failure with its
// reason in words, so that every I/O error reaches the user with the file's name.
#pragma once

#include <cstddef>
#include <string>

// The file at `path` whole; false with `reason` set when it cannot be read (a folder, a
// missing file, an I/O error).
bool ToolReadFile(const std::string& path, std::string* bytes, std::string* reason);
// Writes `size` bytes to standard output and flushes them; false with `reason` set when they
// did not all get there (a full disk, a closed pipe).
bool ToolWriteStandardOutput(const void* bytes, size_t size, std::string* reason);
