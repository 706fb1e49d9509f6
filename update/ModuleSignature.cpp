#include "phonomir/ModuleSignature.h"

#include <sodium.h>

#include <cstring>
#include <fstream>
#include <vector>

namespace phonomir::update {

namespace {

static_assert(sizeof(crypto_hash_sha256_state) <= 128, "Sha256 keeps libsodium's state inline");

void initialiseSodium() {
    static const bool ready = sodium_init() >= 0;
    (void)ready;
}

template <std::size_t N>
std::optional<std::array<unsigned char, N>> hexBytes(const std::string& text) {
    std::array<unsigned char, N> bytes{};
    std::size_t length = 0;
    if (text.size() != 2 * N ||
        sodium_hex2bin(bytes.data(), N, text.data(), text.size(), nullptr, &length, nullptr) != 0 || length != N) {
        return std::nullopt;
    }
    return bytes;
}

std::string firstLine(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

}  // namespace

std::string UpdateEntry::fileName() const {
    const std::size_t slash = targetPath.find_last_of('\\');
    if (slash != std::string::npos) return targetPath.substr(slash + 1);
    const bool marked = targetPath.size() > 3 && targetPath[0] == '<' && targetPath[2] == '>';
    return marked ? targetPath.substr(3) : targetPath;
}

std::string signedMessage(const UpdateEntry& entry) {
    return "phonomir-module/1\nproduct=" + entry.productCode + "\nname=" + entry.displayName +
           "\nfile=" + std::to_string(entry.fileNumber) + "\ntarget=" + entry.targetPath +
           "\nsize=" + std::to_string(entry.signedSize) + "\ntime=" + entry.signedTime + "\nsha256=" + entry.sha256Hex +
           "\n";
}

std::string hexText(const unsigned char* bytes, std::size_t count) {
    std::string text(2 * count + 1, '\0');
    sodium_bin2hex(text.data(), text.size(), bytes, count);
    text.pop_back();
    return text;
}

std::string signMessage(const std::string& message, const SecretKey& key) {
    initialiseSodium();
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                         key.data());
    return hexText(signature, sizeof signature);
}

bool verifyMessage(const std::string& message, const std::string& signatureHex, const PublicKey& key) {
    initialiseSodium();
    const auto signature = hexBytes<crypto_sign_BYTES>(signatureHex);
    return signature && crypto_sign_verify_detached(signature->data(),
                                                    reinterpret_cast<const unsigned char*>(message.data()),
                                                    message.size(), key.data()) == 0;
}

void makeKeyPair(PublicKey& publicKey, SecretKey& secretKey) {
    initialiseSodium();
    crypto_sign_keypair(publicKey.data(), secretKey.data());
}

std::optional<PublicKey> readPublicKey(const std::filesystem::path& path) {
    return hexBytes<crypto_sign_PUBLICKEYBYTES>(firstLine(path));
}

std::optional<SecretKey> readSecretKey(const std::filesystem::path& path) {
    return hexBytes<crypto_sign_SECRETKEYBYTES>(firstLine(path));
}

Sha256::Sha256() {
    initialiseSodium();
    crypto_hash_sha256_init(reinterpret_cast<crypto_hash_sha256_state*>(state_));
}

void Sha256::add(const void* bytes, std::size_t count) {
    crypto_hash_sha256_update(reinterpret_cast<crypto_hash_sha256_state*>(state_),
                              static_cast<const unsigned char*>(bytes), count);
}

std::string Sha256::hex() {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(reinterpret_cast<crypto_hash_sha256_state*>(state_), digest);
    return hexText(digest, sizeof digest);
}

std::optional<std::string> fileSha256(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    Sha256 digest;
    std::vector<char> block(1 << 16);
    while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0) {
        digest.add(block.data(), static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) return std::nullopt;
    return digest.hex();
}

}  // namespace phonomir::update
