// A shared library that loads but has no OnlineUpdate export.
extern "C" __attribute__((visibility("default"))) int SomethingElse() { return 1; }
