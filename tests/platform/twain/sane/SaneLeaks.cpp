// The SANE test backend keeps a block it never frees, and fontconfig (the settings window's
// text) keeps its configuration for the life of the process; neither is ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsane-test\nleak:libfontconfig\n"; }
