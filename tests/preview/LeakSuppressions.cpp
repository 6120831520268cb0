// For every test of this binary: fontconfig keeps its configuration, libdbus (opened by SDL
// for the pictures drawn on a screen) its session-bus state, and the SANE test backend a block,
// for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libdbus-1.so\nleak:libsane-test\n";
}
