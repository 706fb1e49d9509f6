// Signatures of module records (Ed25519, libsodium) and SHA-256 digests of module files.
// The publisher signs the text that signedMessage() makes of a record; the update library
// accepts a record only when that text verifies against the public key shipped beside the
// program, so a record changed on the server, or added without the key, is refused.
#pragma once

#include "phonomir/UpdateEntry.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace phonomir::update {

using PublicKey = std::array<unsigned char, 32>;
using SecretKey = std::array<unsigned char, 64>;

std::string signedMessage(const UpdateEntry& entry);
std::string signMessage(const std::string& message, const SecretKey& key);  // 128 hex digits
bool verifyMessage(const std::string& message, const std::string& signatureHex, const PublicKey& key);

// A new key pair; the files hold the keys as hex digits on one line.
void makeKeyPair(PublicKey& publicKey, SecretKey& secretKey);
std::optional<PublicKey> readPublicKey(const std::filesystem::path& path);
std::optional<SecretKey> readSecretKey(const std::filesystem::path& path);
std::string hexText(const unsigned char* bytes, std::size_t count);

// SHA-256 of a file as lower-case hex, nullopt when it cannot be read.
std::optional<std::string> fileSha256(const std::filesystem::path& path);

// Streams bytes through SHA-256.
class Sha256 {
public:
    Sha256();
    void add(const void* bytes, std::size_t count);
    std::string hex();  // ends the digest

private:
    alignas(64) unsigned char state_[128];
};

}  // namespace phonomir::update
