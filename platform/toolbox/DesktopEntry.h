// What can be started on this system: programs (ELF files and "#!" scripts that are
// executable) and freedesktop ".desktop" entries.
#pragma once

#include <string>
#include <vector>

#include "toolbox/MacTypes.h"

struct DesktopEntry {
  std::string type;
  std::string name;
  std::string exec;
  std::string tryExec;
  bool hidden = false;
  OSType creator = 0;  // X-Wendrix-Creator
  std::vector<std::string> mimeTypes;
};

// Reads the [Desktop Entry] group, the name in the user's language where the entry has one;
// false when the file cannot be read or has no such group.
bool DesktopEntryRead(const std::string& path, DesktopEntry* entry);
// Whether the entry is an application that can run here: Type=Application, not Hidden,
// and its TryExec and Exec programs found.
bool DesktopEntryCanRun(const DesktopEntry& entry);
// The command lines that open `paths` with the entry: one with every path for %F/%U, one
// per path for %f/%u (one without a path when there are none); field codes that do not
// apply are dropped. False when the Exec line is malformed.
bool DesktopEntryCommands(const DesktopEntry& entry, const std::vector<std::string>& paths,
                          std::vector<std::vector<std::string>>* commands);
// `program` when it is a path to an executable file, else its first match on PATH.
bool DesktopFindProgram(const std::string& program, std::string* path);

// An executable regular file that is a program (ELF, or a script starting with "#!"), so
// not every file of a volume that marks all files executable.
bool DesktopIsProgramFile(const std::string& path);
// A program file, or a ".desktop" entry of Type=Application.
bool DesktopIsApplicationFile(const std::string& path);
