#include "WaveTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

void putLe16(Bytes &bytes, std::uint16_t value) {
    bytes.push_back(value & 0xFF);
    bytes.push_back(value >> 8);
}

void putLe32(Bytes &bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back((value >> (8 * i)) & 0xFF);
}

RiffBuilder &RiffBuilder::chunk(const char *id, const Bytes &payload, bool pad) {
    body_.insert(body_.end(), id, id + 4);
    putLe32(body_, static_cast<std::uint32_t>(payload.size()));
    body_.insert(body_.end(), payload.begin(), payload.end());
    if (pad && payload.size() % 2) body_.push_back(0);
    return *this;
}

RiffBuilder &RiffBuilder::chunkWithSize(const char *id, std::uint32_t declaredSize, const Bytes &payload) {
    body_.insert(body_.end(), id, id + 4);
    putLe32(body_, declaredSize);
    body_.insert(body_.end(), payload.begin(), payload.end());
    return *this;
}

RiffBuilder &RiffBuilder::format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    return chunk("fmt ", formatPayload(tag, channels, rate, bits));
}

Bytes RiffBuilder::bytes() const {
    Bytes stream = {'R', 'I', 'F', 'F'};
    putLe32(stream, static_cast<std::uint32_t>(body_.size() + 4));
    stream.insert(stream.end(), {'W', 'A', 'V', 'E'});
    stream.insert(stream.end(), body_.begin(), body_.end());
    return stream;
}

Bytes formatPayload(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes payload;
    putLe16(payload, tag);
    putLe16(payload, channels);
    putLe32(payload, rate);
    putLe32(payload, rate * channels * (bits / 8));
    putLe16(payload, static_cast<std::uint16_t>(channels * (bits / 8)));
    putLe16(payload, bits);
    return payload;
}

Bytes samplePattern(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

MMHANDLE makeWaveBlock(int channels, int bits, int rate, const Bytes &data) {
    MMHANDLE block = MMMemAlloc(12 + data.size());
    auto *bytes = static_cast<std::uint8_t *>(MMMemLock(block));
    Bytes head;
    putLe16(head, static_cast<std::uint16_t>(channels));
    putLe16(head, static_cast<std::uint16_t>(bits));
    putLe32(head, static_cast<std::uint32_t>(rate));
    putLe32(head, static_cast<std::uint32_t>(data.size()));
    std::memcpy(bytes, head.data(), head.size());
    if (!data.empty()) std::memcpy(bytes + 12, data.data(), data.size());
    MMMemUnlock(block);
    return block;
}

WaveContents contentsOf(MMHANDLE block) {
    const auto *bytes = static_cast<const std::uint8_t *>(MMMemLock(block));
    auto le = [&](int offset, int width) {
        std::uint32_t value = 0;
        for (int i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
        return value;
    };
    WaveContents contents{static_cast<int>(le(0, 2)), static_cast<int>(le(2, 2)), static_cast<int>(le(4, 4)),
                          static_cast<int>(le(8, 4)), {}};
    contents.data.assign(bytes + 12, bytes + MMMemSize(block));
    MMMemUnlock(block);
    return contents;
}

DBKHANDLE createMemoTable(DBKHANDLE connection, const std::string &path, const char *numberField, const char *memoField) {
    DbkFieldDef fields[2] = {};
    std::strcpy(fields[0].name, numberField);
    fields[0].type = 'I';
    fields[0].width = 8;
    std::strcpy(fields[1].name, memoField);
    fields[1].type = 'B';
    const DBKHANDLE table = CreateTable(connection, path.c_str(), fields, 2);
    return table != 0 && AppendRecord(table, "       1") == 0 ? table : 0;
}

void WaveFileTest::SetUp() {
    char pattern[] = "/tmp/avstore-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
}

void WaveFileTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

void WaveFileTest::writeFile(const std::string &name, const Bytes &bytes) const {
    std::ofstream out(path(name), std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes WaveFileTest::readFile(const std::string &name) const {
    std::ifstream in(path(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
