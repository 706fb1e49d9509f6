#include "ServerFiles.h"

#include <sodium.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace dbk::server {

namespace {

// "YYYY-MM-DD HH:MM:SS" as the server prints a timestamp, into the fields of a server time.
bool parseTimestamp(const char *text, DbkServerTime &time) {
    int year = 0;
    if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &time.month, &time.day, &time.hour, &time.minute,
                    &time.second) != 6) {
        return false;
    }
    time.yearsSince1900 = year - 1900;
    return true;
}

std::string timestampText(const DbkServerTime &time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.yearsSince1900 + 1900, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

bool validTime(const DbkServerTime &time) {
    return time.yearsSince1900 >= 0 && time.yearsSince1900 < 8100 && time.month >= 1 && time.month <= 12 &&
           time.day >= 1 && time.day <= 31 && time.hour >= 0 && time.hour < 24 && time.minute >= 0 &&
           time.minute < 60 && time.second >= 0 && time.second < 60;
}

}  // namespace

int serverDateTime(ServerConnection &connection, DbkServerTime &now) {
    Result result = connection.run("SELECT to_char(now() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS')");
    if (!result) return connection.lastStatus();
    return parseTimestamp(PQgetvalue(result.get(), 0, 0), now) ? DBK_OK : static_cast<int>(DBK_DAMAGED);
}

int describeStoredFile(ServerConnection &connection, int number, std::int64_t &size, DbkServerTime &modified) {
    Result result = connection.run(
        "SELECT size, to_char(modified, 'YYYY-MM-DD HH24:MI:SS') FROM dbk.files WHERE number = $1",
        {Parameter::number(number)});
    if (!result) return connection.lastStatus() == DBK_SERVER_REFUSED ? static_cast<int>(DBK_NOT_FOUND) : connection.lastStatus();
    if (PQntuples(result.get()) == 0) return DBK_NOT_FOUND;
    size = std::strtoll(PQgetvalue(result.get(), 0, 0), nullptr, 10);
    return parseTimestamp(PQgetvalue(result.get(), 0, 1), modified) ? DBK_OK : static_cast<int>(DBK_DAMAGED);
}

int storeFile(ServerConnection &connection, int number, const std::string &path, const DbkServerTime &modified) {
    if (number < 0 || !validTime(modified)) return DBK_BAD_ARGUMENT;
    std::ifstream file(path, std::ios::binary);
    if (!file) return DBK_NOT_FOUND;
    if (sodium_init() < 0) return DBK_OUT_OF_MEMORY;
    if (!connection.ensureSchema() || !connection.runCommand("BEGIN")) return connection.lastStatus();
    const auto rollback = [&](int status) {
        connection.runCommand("ROLLBACK");
        return status;
    };
    if (!connection.runCommand("DELETE FROM dbk.files WHERE number = $1", {Parameter::number(number)}) ||
        !connection.runCommand("INSERT INTO dbk.files (number, size, modified, sha256) VALUES ($1, 0, $2, ''::bytea)",
                               {Parameter::number(number), Parameter::text(timestampText(modified))})) {
        return rollback(connection.lastStatus());
    }
    crypto_hash_sha256_state digest;
    crypto_hash_sha256_init(&digest);
    std::string chunk(kChunkBytes, '\0');
    std::int64_t size = 0;
    for (int sequence = 0;; ++sequence) {
        file.read(chunk.data(), kChunkBytes);
        const std::streamsize got = file.gcount();
        if (got <= 0) break;
        crypto_hash_sha256_update(&digest, reinterpret_cast<const unsigned char *>(chunk.data()), static_cast<unsigned long long>(got));
        size += got;
        if (!connection.runCommand("INSERT INTO dbk.file_chunks (number, sequence, data) VALUES ($1, $2, $3)",
                                   {Parameter::number(number), Parameter::number(sequence),
                                    Parameter::bytes(chunk.substr(0, static_cast<std::size_t>(got)))})) {
            return rollback(connection.lastStatus());
        }
    }
    if (file.bad()) return rollback(DBK_IO_ERROR);
    unsigned char sha[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&digest, sha);
    if (!connection.runCommand("UPDATE dbk.files SET size = $2, sha256 = $3 WHERE number = $1",
                               {Parameter::number(number), Parameter::number(size),
                                Parameter::bytes(std::string(reinterpret_cast<char *>(sha), sizeof sha))})) {
        return rollback(connection.lastStatus());
    }
    return connection.runCommand("COMMIT") ? DBK_OK : connection.lastStatus();
}

ServerStream::ServerStream(ServerConnection &connection, std::uint32_t connectionHandle, int number, std::int64_t size)
    : connection_(connection), connectionHandle_(connectionHandle), number_(number), size_(size) {}

int ServerStream::open(ServerConnection &connection, std::uint32_t connectionHandle, int number,
                       std::unique_ptr<ServerStream> &stream) {
    std::int64_t size = 0;
    DbkServerTime modified{};
    if (const int status = describeStoredFile(connection, number, size, modified); status != DBK_OK) return status;
    stream = std::make_unique<ServerStream>(connection, connectionHandle, number, size);
    return DBK_OK;
}

bool ServerStream::loadChunk(int sequence) {
    Result result = connection_.run("SELECT data FROM dbk.file_chunks WHERE number = $1 AND sequence = $2",
                                    {Parameter::number(number_), Parameter::number(sequence)}, true);
    if (!result || PQntuples(result.get()) != 1) return false;
    chunk_.assign(PQgetvalue(result.get(), 0, 0), static_cast<std::size_t>(PQgetlength(result.get(), 0, 0)));
    chunkSequence_ = sequence;
    return true;
}

std::int32_t ServerStream::read(std::uint8_t *buffer, std::int32_t length) {
    std::int32_t delivered = 0;
    while (delivered < length && position_ < size_) {
        const int sequence = static_cast<int>(position_ / kChunkBytes);
        if (sequence != chunkSequence_ && !loadChunk(sequence)) return -1;
        const std::int64_t offset = position_ - static_cast<std::int64_t>(sequence) * kChunkBytes;
        // A chunk shorter than the stored size promises means the file was replaced meanwhile.
        if (offset >= static_cast<std::int64_t>(chunk_.size())) return -1;
        const std::int64_t available = static_cast<std::int64_t>(chunk_.size()) - offset;
        const std::int32_t take = static_cast<std::int32_t>(std::min<std::int64_t>(available, length - delivered));
        std::memcpy(buffer + delivered, chunk_.data() + offset, static_cast<std::size_t>(take));
        delivered += take;
        position_ += take;
    }
    return delivered;
}

}  // namespace dbk::server
