// The SANE test backend keeps a block it never frees; that is SANE's, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsane-test\n"; }
