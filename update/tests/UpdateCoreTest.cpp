// The update core without a server: configuration, fixed-width records, target paths,
// signatures and digests, argument lines.
#include "phonomir/FixedRecord.h"
#include "phonomir/IniFile.h"
#include "phonomir/ModuleSignature.h"
#include "phonomir/TargetPath.h"
#include "phonomir/UpdateServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace phonomir::update;
namespace fs = std::filesystem;

namespace {

fs::path makeFolder(const std::string& tag) {
    std::string pattern = (fs::temp_directory_path() / ("phonomir-" + tag + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data());
}

}  // namespace

TEST(UpdateCoreTest, IniFileMatchesSectionsAndKeysWithoutCase) {
    const IniFile ini = IniFile::parse(
        "\xEF\xBB\xBF; comment\r\n[KsUpdate]\r\nServer = updates.example.org \r\nport=5433\r\n"
        "[SoftWare\\Kestrelon\\Halvoria]\nName=Ada Lovelace\nCompany=Analytical Engines\n");
    EXPECT_EQ(ini.value("ksupdate", "SERVER"), "updates.example.org");
    EXPECT_EQ(ini.value("KsUpdate", "Port"), "5433");
    EXPECT_EQ(ini.value("KsUpdate", "User", "fallback"), "fallback");
    EXPECT_EQ(ini.value("software\\kestrelon\\halvoria", "name"), "Ada Lovelace");
    const ServerSettings settings = readServerSettings(IniFile::parse("[KsUpdate]\nServer=" + std::string(200, 'x')));
    EXPECT_EQ(settings.server.size(), 127u);
    EXPECT_TRUE(readServerSettings(IniFile::load("/nonexistent/KSUPDATE.INI")).server.empty());
}

TEST(UpdateCoreTest, RecordsFollowTheFieldTypes) {
    const std::vector<FieldSpec> fields{{"TEXT", 'C', 6, 0}, {"COUNT", 'I', 5, 0}, {"MEMO", 'B', 0, 0},
                                        {"LEVEL", 'N', 7, 2}, {"DAY", 'D', 8, 0}};
    std::string record;
    ASSERT_EQ(formatRecord(fields, {"toolongtext", "42", "ignored", "-3.14159", "20261208"}, record), DBK_OK);
    EXPECT_EQ(record, "toolon   42  -3.1420261208");
    std::vector<std::string> values;
    ASSERT_EQ(parseRecord(fields, "ab        7  12.50x       ", values), DBK_OK);
    EXPECT_EQ(values, (std::vector<std::string>{"ab", "7", "", "12.50", "x"}));
    EXPECT_EQ(parseRecord(fields, "short", values), DBK_BAD_ARGUMENT);
    const std::vector<FieldSpec> odd{{"X", 'Q', 3, 0}};
    EXPECT_EQ(formatRecord(odd, {"1"}, record), DBK_BAD_FIELD);
    EXPECT_EQ(parseRecord(odd, "123", values), DBK_BAD_FIELD);
}

TEST(UpdateCoreTest, TargetsStayInsideTheProgramFolder) {
    const fs::path folder = makeFolder("targets");
    fs::create_directory(folder / "plugins");
    EXPECT_EQ(resolveTarget("<C>phonomir", folder).path, folder / "phonomir");
    EXPECT_EQ(resolveTarget("<c>plugins\\libx.so", folder).path, folder / "plugins" / "libx.so");
    for (const char* refused : {"<S>libc.so", "<s>libc.so", "<W>win.ini", "<X>file", "/usr/bin/phonomir",
                                "phonomir", "<C>..\\outside", "<C>a\\.\\b", "<C>", "<C>a\\\\b", "<C>bad\nname", "<Cx"}) {
        const TargetResolution resolution = resolveTarget(refused, folder);
        EXPECT_FALSE(resolution.path.has_value()) << refused;
        EXPECT_FALSE(resolution.reason.empty()) << refused;
    }
    fs::create_directory_symlink("/tmp", folder / "escape");
    EXPECT_FALSE(resolveTarget("<C>escape\\file", folder).path.has_value());
    fs::create_symlink("/etc/passwd", folder / "linked");
    EXPECT_FALSE(resolveTarget("<C>linked", folder).path.has_value());
    fs::create_directory_symlink(folder / "plugins", folder / "inner");
    EXPECT_TRUE(resolveTarget("<C>inner\\libx.so", folder).path.has_value());
    fs::remove_all(folder);
}

TEST(UpdateCoreTest, SignatureCoversEveryFieldOfTheRecord) {
    PublicKey publicKey{};
    SecretKey secretKey{};
    makeKeyPair(publicKey, secretKey);
    UpdateEntry entry{"SONIKATEA", "Program", 3, "<C>phonomir", 1234, "2026-12-08 10:00:00",
                      std::string(64, 'a'), {}, 0, 0, {}};
    entry.signatureHex = signMessage(signedMessage(entry), secretKey);
    EXPECT_EQ(entry.signatureHex.size(), 128u);
    EXPECT_TRUE(verifyMessage(signedMessage(entry), entry.signatureHex, publicKey));
    const auto changed = [&](auto change) {
        UpdateEntry copy = entry;
        change(copy);
        return verifyMessage(signedMessage(copy), copy.signatureHex, publicKey);
    };
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.targetPath = "<C>../phonomir"; }));
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.signedSize = 1235; }));
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.signedTime = "2026-12-08 10:00:01"; }));
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.sha256Hex[0] = 'b'; }));
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.fileNumber = 4; }));
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.signatureHex.clear(); }));
    EXPECT_FALSE(changed([](UpdateEntry& e) { e.signatureHex = std::string(128, 'z'); }));
    PublicKey otherKey{};
    SecretKey otherSecret{};
    makeKeyPair(otherKey, otherSecret);
    EXPECT_FALSE(verifyMessage(signedMessage(entry), entry.signatureHex, otherKey));
}

TEST(UpdateCoreTest, DigestsAndKeyFilesReadBack) {
    const fs::path folder = makeFolder("digest");
    std::ofstream(folder / "abc") << "abc";
    EXPECT_EQ(fileSha256(folder / "abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(fileSha256(folder / "missing").has_value());
    std::ofstream(folder / "key.pub") << std::string(64, '0') << "\r\n";
    EXPECT_TRUE(readPublicKey(folder / "key.pub").has_value());
    std::ofstream(folder / "bad.pub") << std::string(63, '0');
    EXPECT_FALSE(readPublicKey(folder / "bad.pub").has_value());
    EXPECT_FALSE(readSecretKey(folder / "key.pub").has_value());
    fs::remove_all(folder);
}

TEST(UpdateCoreTest, UtcTextRoundTrips) {
    EXPECT_EQ(utcText(0), "1970-01-01 00:00:00");
    EXPECT_EQ(utcText(parseUtcText("2026-12-08 09:31:38")), "2026-12-08 09:31:38");
    EXPECT_EQ(parseUtcText("2026-12-08 09:31:38") - parseUtcText("2026-12-08 09:31:37"), 1);
    EXPECT_EQ(parseUtcText("garbage"), -1);
    EXPECT_EQ(parseUtcText("2026-12-08 09:31:38x"), -1);
}
