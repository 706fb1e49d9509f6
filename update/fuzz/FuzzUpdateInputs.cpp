// Bytes that reach the update library and its installer from outside: KSUPDATE.INI, the
// argument line of the list file, records fetched from the server, and target paths from the
// server's module records. The first byte picks the parser.
#include "phonomir/CommandLine.h"
#include "phonomir/FixedRecord.h"
#include "phonomir/IniFile.h"
#include "phonomir/TargetPath.h"
#include "phonomir/UpdateServer.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    using namespace phonomir::update;
    switch (data[0] % 5) {
    case 0: {
        const IniFile ini = IniFile::parse(text);
        (void)readServerSettings(ini);
        break;
    }
    case 1:
        if (auto arguments = phonomir::splitCommandLine(text)) {
            if (phonomir::splitCommandLine(phonomir::quoteCommandLine(*arguments)) != arguments) __builtin_trap();
        }
        break;
    case 2: {
        static const std::vector<FieldSpec> fields{{"PRODUCT", 'C', 16, 0}, {"FILENO", 'I', 10, 0},
                                                   {"MEMO", 'B', 0, 0}, {"LEVEL", 'N', 8, 2}};
        std::vector<std::string> values;
        std::string record;
        if (parseRecord(fields, text, values) == 0 && formatRecord(fields, values, record) != 0) __builtin_trap();
        break;
    }
    case 3: {
        const TargetResolution resolution = resolveTarget(text, "/nonexistent-phonomir-fuzz/program");
        if (resolution.path && !staysInside(*resolution.path, "/nonexistent-phonomir-fuzz/program")) __builtin_trap();
        break;
    }
    default: (void)parseUtcText(text); break;
    }
    return 0;
}
