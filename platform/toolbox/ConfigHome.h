// The user's configuration home as the environment gives it: below $WENDRIX_ROOT when that
// is set, else $XDG_CONFIG_HOME, else ~/.config. Header-only, so that the data source
// modules, which link no platform library, keep their settings where the application does.
#pragma once

#include <cstdlib>
#include <string>

// The variable's value when it is an absolute path, else "".
inline std::string ConfigHomeVariable(const char* name) {
  const char* v = std::getenv(name);
  return v && *v == '/' ? std::string(v) : std::string();
}

inline std::string ConfigHomeFromEnvironment() {
  if (std::string root = ConfigHomeVariable("WENDRIX_ROOT"); !root.empty()) return root + "/.config";
  if (std::string xdg = ConfigHomeVariable("XDG_CONFIG_HOME"); !xdg.empty()) return xdg;
  std::string home = ConfigHomeVariable("HOME");
  return (home.empty() ? std::string("/") : home) + "/.config";
}
