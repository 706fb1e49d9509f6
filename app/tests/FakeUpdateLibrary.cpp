// A stand-in for libksupdate.so in tests: its OnlineUpdate export hands its arguments back to
// the test program.
extern "C" void phonomirRecordOnlineUpdate(const char*, const char*, const char*, const char*, const char*,
                                           const char*);

extern "C" __attribute__((visibility("default"))) int OnlineUpdate(const char* productCode, const char* programPath,
                                                                   const char* commandLine, const char* iconPath,
                                                                   const char* title, const char* registryKey) {
    phonomirRecordOnlineUpdate(productCode, programPath, commandLine, iconPath, title, registryKey);
    return 0;
}
