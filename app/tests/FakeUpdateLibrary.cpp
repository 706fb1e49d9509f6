// A stand-in for libksupdate.so in tests: its OnlineUpdate export hands its arguments back to
// the test program.
extern "C" void phonomirRecordOnlineUpdate(const char*, const char*, const char*, void*, const char*, const char*);

extern "C" __attribute__((visibility("default"))) int OnlineUpdate(const char* productCode, const char* programPath,
                                                                   const char* commandLine, void* icon,
                                                                   const char* title, const char* registryKey) {
    phonomirRecordOnlineUpdate(productCode, programPath, commandLine, icon, title, registryKey);
    return 0;
}
