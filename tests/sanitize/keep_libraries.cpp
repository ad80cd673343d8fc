// TIRLA, sanitizer builds only: libraries that SDL and the GL driver load on their own are
// never unloaded, so that LeakSanitizer can still name the library a leak is in at exit (and
// tests/sanitize/leaks.supp can keep the system's leaks apart from ours). An unloaded one
// leaves only "<unknown module>", which no suppression can match.
extern "C" int dlclose(void*) { return 0; }
