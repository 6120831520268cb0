// For every test of this binary: the SANE test backend keeps a block it never frees,
// fontconfig its configuration, and libdbus (opened by SDL for the screen) its session-bus
// state, for the life of the process; none is ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libsane-test\nleak:libfontconfig\nleak:libdbus-1.so\n";
}
