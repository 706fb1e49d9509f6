// phonomir-update-publish: the update server administrator's tool.
//   phonomir-update-publish keygen SECRET-KEY-FILE PUBLIC-KEY-FILE
//   phonomir-update-publish [CONNECTION] init
//   phonomir-update-publish [CONNECTION] --key SECRET-KEY-FILE add PRODUCT NAME TARGET FILE [--number N]
//   phonomir-update-publish [CONNECTION] list [PRODUCT]
// CONNECTION: --server HOST (required), --port P, --database D, --user U, --sslmode M; the
// password comes from libpq's password file. The public key file goes beside the program as
// ksupdate.pub. Errors: one line on stderr, status 2.
#include "phonomir/ModuleSignature.h"
#include "phonomir/Publisher.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace phonomir::update;

int fail(const std::string& message) {
    std::cerr << "phonomir-update-publish: " << message << '\n';
    return 2;
}

int keygen(const std::vector<std::string>& words) {
    if (words.size() != 3) return fail("keygen needs SECRET-KEY-FILE PUBLIC-KEY-FILE");
    PublicKey publicKey{};
    SecretKey secretKey{};
    makeKeyPair(publicKey, secretKey);
    std::ofstream secret(words[1], std::ios::trunc);
    secret << hexText(secretKey.data(), secretKey.size()) << '\n';
    std::ofstream shared(words[2], std::ios::trunc);
    shared << hexText(publicKey.data(), publicKey.size()) << '\n';
    secret.close();
    shared.close();
    if (!secret || !shared) return fail("cannot write the key files");
    std::filesystem::permissions(words[1], std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    return 0;
}

void printEntry(const UpdateEntry& entry) {
    std::printf("%s\t%d\t%s\t%lld\t%s\t%s\t%s\n", entry.productCode.c_str(), entry.fileNumber, entry.targetPath.c_str(),
                static_cast<long long>(entry.signedSize), entry.signedTime.c_str(), entry.sha256Hex.c_str(),
                entry.displayName.c_str());
}

int run(DBKHANDLE connection, const std::map<std::string, std::string>& options, const std::vector<std::string>& words) {
    const std::string& command = words[0];
    if (command == "init") {
        const int status = prepareUpdateServer(connection);
        return status == DBK_OK ? 0 : fail("cannot make the tables (status " + std::to_string(status) + ")");
    }
    if (command == "list") {
        std::vector<UpdateEntry> entries;
        const int status = listModules(connection, words.size() > 1 ? words[1] : "", entries);
        if (status != DBK_OK) return fail("cannot read the modules (status " + std::to_string(status) + ")");
        for (const UpdateEntry& entry : entries) printEntry(entry);
        return 0;
    }
    if (command == "add") {
        if (words.size() != 5) return fail("add needs PRODUCT NAME TARGET FILE");
        const auto keyFile = options.find("--key");
        const auto key = keyFile == options.end() ? std::nullopt : readSecretKey(keyFile->second);
        if (!key) return fail("add needs --key with a secret key file made by keygen");
        ModuleToPublish module{words[1], words[2], words[3], words[4], -1};
        if (const auto number = options.find("--number"); number != options.end()) {
            module.fileNumber = std::stoi(number->second);
        }
        UpdateEntry published;
        const int status = publishModule(connection, *key, module, published);
        if (status != DBK_OK) return fail("cannot publish " + words[4] + " (status " + std::to_string(status) + ")");
        printEntry(published);
        return 0;
    }
    return fail("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    std::vector<std::string> words;
    const std::vector<std::string> valued{"--server", "--port", "--database", "--user", "--sslmode", "--key", "--number"};
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (std::find(valued.begin(), valued.end(), argument) != valued.end()) {
            if (i + 1 >= argc) return fail(argument + " needs a value");
            options[argument] = argv[++i];
        } else {
            words.push_back(argument);
        }
    }
    if (words.empty()) return fail("a command is needed: keygen, init, add or list");
    if (words[0] == "keygen") return keygen(words);
    if (!options.count("--server")) return fail("--server is needed");
    const auto option = [&](const char* name) { return options.count(name) ? options[name].c_str() : nullptr; };
    const DbkServerOptions connectionOptions{option("--port"), option("--database"), option("--user"), option("--sslmode")};
    int32_t status = 0;
    const DBKHANDLE connection = OpenServerConnection(options["--server"].c_str(), "phonomir-update-publish",
                                                      &connectionOptions, &status);
    if (!connection) return fail("cannot connect to " + options["--server"] + " (status " + std::to_string(status) + ")");
    const int result = run(connection, options, words);
    CloseConnection(connection);
    return result;
}
