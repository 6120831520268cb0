// libdbus keeps its session-bus state for the life of the process (SDL opens the bus for
// input methods and never shuts libdbus down); that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
