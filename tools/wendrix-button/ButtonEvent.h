// The scanner-button event file the button tool writes: an XML property list named
// "KVQR.<local time>.plist" in the event folder, holding "FileID", "DeviceName" and 16 bytes
// of "EventData" with the pushed button first.
#pragma once

#include <ctime>
#include <string>

// The file's contents for `device` (UTF-8) and `button`.
std::string ButtonEventContents(const std::string& device, int button);
// The file name for the local time `when`.
std::string ButtonEventName(std::time_t when);
// True when `name` is UTF-8 that an XML file can hold as text.
bool IsButtonDeviceName(const std::string& name);
// Writes the event file into `folder` atomically (a temporary file of mode 0600, then a link
// to its name): while a file of the current second exists, waits for the next second, so
// every push gets a name of its own. The file's path, or "" with `error` set.
std::string WriteButtonEvent(const std::string& folder, const std::string& device, int button, std::string* error);
// Removes this user's event files in `folder` last changed more than a minute before `now`.
void RemoveOldButtonEvents(const std::string& folder, std::time_t now);
