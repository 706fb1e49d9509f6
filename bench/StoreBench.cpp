// Wave records in the table engine beside WAV files, from 8 MB to 64 MB: MMWaveReadDB against
// MMWaveReadFile on the same bytes, MMWaveWriteDB, memo writes and reads through the engine's
// C interface (whole, in 1 MB writes, in 64 KB reads), each with a linear fit; and the stop of
// a 10-minute stereo 48 kHz database recording. Files live in a temporary folder on disk.
// Run: build/bench/phonomir_store_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include "MemoRecordingSink.h"
#include "TemporaryFolder.h"
#include "avstore32.h"
#include "dbkengine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kMegabyte = 1 << 20;
constexpr std::size_t kRecordingBytes = 10 * 60 * 48000 * 4;  // 10 minutes, 2 channels, 16 bits

// One temporary folder and engine connection for the whole run, removed at exit.
class Scratch {
public:
    static Scratch &instance() {
        static Scratch scratch;
        return scratch;
    }
    ~Scratch() { CloseConnection(connection); }  // before the folder goes
    std::string path(const std::string &name) const { return folder.path(name); }

    // A table of one record with a WAVEDATA memo, made anew.
    DBKHANDLE freshTable(const std::string &name) {
        std::filesystem::remove(path(name));
        DbkFieldDef fields[2] = {};
        std::strcpy(fields[0].name, "ACFID");
        fields[0].type = 'I';
        fields[0].width = 8;
        std::strcpy(fields[1].name, "WAVEDATA");
        fields[1].type = 'B';
        const DBKHANDLE table = CreateTable(connection, path(name).c_str(), fields, 2);
        AppendRecord(table, "       1");
        return table;
    }

    TemporaryFolder folder{"phonomir-store-bench"};
    DBKHANDLE connection = 0;

private:
    Scratch() { connection = OpenConnection(0, 0, "BENCH", nullptr); }
};

// A stereo 16-bit 48 kHz wave block of dataBytes bytes (the caller frees it).
MMHANDLE waveBlock(std::int64_t dataBytes) {
    MMHANDLE block = MMMemAlloc(static_cast<std::size_t>(12 + dataBytes));
    auto *bytes = static_cast<std::uint8_t *>(MMMemLock(block));
    const std::uint8_t head[12] = {2, 0, 16, 0, 0x80, 0xBB, 0, 0, static_cast<std::uint8_t>(dataBytes),
                                   static_cast<std::uint8_t>(dataBytes >> 8), static_cast<std::uint8_t>(dataBytes >> 16),
                                   static_cast<std::uint8_t>(dataBytes >> 24)};
    std::memcpy(bytes, head, sizeof head);
    for (std::int64_t i = 0; i < dataBytes; ++i) bytes[12 + i] = static_cast<std::uint8_t>(i * 7);
    MMMemUnlock(block);
    return block;
}

// The same wave as a .wav file and as the record of a table, made once per size.
struct StoredWave {
    std::string file;
    DBKHANDLE table = 0;
};

const StoredWave &storedWave(std::int64_t dataBytes) {
    static std::map<std::int64_t, StoredWave> made;
    StoredWave &wave = made[dataBytes];
    if (wave.table) return wave;
    Scratch &scratch = Scratch::instance();
    const std::string name = std::to_string(dataBytes / kMegabyte) + "MB";
    MMHANDLE block = waveBlock(dataBytes);
    wave.file = scratch.path(name + ".wav");
    MMWaveWriteFile(block, wave.file.c_str());
    wave.table = scratch.freshTable(name + ".DBF");
    MMWaveWriteDB(block, wave.table, "WAVEDATA", MM_TAG_WAVE);
    MMMemFree(block);
    return wave;
}

void readBack(benchmark::State &state, bool fromTable) {
    const StoredWave &wave = storedWave(state.range(0));
    for (auto _ : state) {
        MMHANDLE block = nullptr;
        const std::uint32_t status = fromTable ? MMWaveReadDB(&block, wave.table, "WAVEDATA")
                                               : MMWaveReadFile(&block, wave.file.c_str());
        if (status != 0) state.SkipWithError("read failed");
        MMMemFree(block);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_WaveReadFile(benchmark::State &state) { readBack(state, false); }
void BM_WaveReadDB(benchmark::State &state) { readBack(state, true); }

void BM_WaveWriteDB(benchmark::State &state) {
    const DBKHANDLE table = Scratch::instance().freshTable("WRITE.DBF");
    MMHANDLE block = waveBlock(state.range(0));
    for (auto _ : state) {
        if (MMWaveWriteDB(block, table, "WAVEDATA", MM_TAG_WAVE) != 0) state.SkipWithError("write failed");
    }
    MMMemFree(block);
    CloseTable(table);
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// A memo written whole with one named MemoWrite.
void BM_MemoWrite(benchmark::State &state) {
    const DBKHANDLE table = Scratch::instance().freshTable("WHOLE.DBF");
    const std::vector<std::uint8_t> memo(static_cast<std::size_t>(state.range(0)), 0x5A);
    for (auto _ : state) {
        if (MemoWrite(table, "WAVEDATA", memo.data(), static_cast<std::int32_t>(memo.size())) != state.range(0)) {
            state.SkipWithError("write failed");
        }
    }
    CloseTable(table);
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// A memo written as 1 MB pieces: a named write, then continued writes to the full size.
void BM_MemoWriteInPieces(benchmark::State &state) {
    const DBKHANDLE table = Scratch::instance().freshTable("PIECES.DBF");
    const std::vector<std::uint8_t> piece(kMegabyte, 0x5A);
    for (auto _ : state) {
        MemoWrite(table, "WAVEDATA", piece.data(), kMegabyte);
        for (std::int64_t written = kMegabyte; written < state.range(0); written += kMegabyte) {
            if (MemoWrite(table, nullptr, piece.data(), kMegabyte) != kMegabyte) state.SkipWithError("write failed");
        }
    }
    CloseTable(table);
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// A stored memo read to its end as 64 KB pieces.
void BM_MemoReadInPieces(benchmark::State &state) {
    const StoredWave &wave = storedWave(state.range(0));
    std::vector<std::uint8_t> piece(64 * 1024);
    for (auto _ : state) {
        std::int64_t read = MemoRead(wave.table, "WAVEDATA", piece.data(), static_cast<std::int32_t>(piece.size()));
        for (std::int32_t got = 1; got > 0; read += got) {
            got = MemoRead(wave.table, nullptr, piece.data(), static_cast<std::int32_t>(piece.size()));
        }
        if (read < state.range(0)) state.SkipWithError("read came up short");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// What MMWaveRecStop does for a database recording of 10 minutes once the device has stopped:
// the sink holding the recorded bytes finds its record again and writes it. Only that is timed.
void BM_RecordingStop10MinutesStereo48k(benchmark::State &state) {
    const avstore::WaveFormat format{2, 16, 48000};
    const std::vector<std::uint8_t> buffer(8192, 0x33);
    for (auto _ : state) {
        const DBKHANDLE table = Scratch::instance().freshTable("RECORD.DBF");
        std::unique_ptr<avstore::RecordingSink> sink;
        if (avstore::MemoRecordingSink::create(table, "WAVEDATA", format, sink) != 0) state.SkipWithError("no sink");
        std::size_t kept = 0;
        for (; kept + buffer.size() <= kRecordingBytes; kept += buffer.size()) sink->append(buffer.data(), buffer.size());
        const auto start = std::chrono::steady_clock::now();
        const std::uint32_t status = sink->finish(static_cast<std::uint32_t>(kept));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (status != 0) state.SkipWithError("stop failed");
        CloseTable(table);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecordingBytes));
}

void sizes(benchmark::internal::Benchmark *benchmark) {
    benchmark->RangeMultiplier(2)->Range(8 * kMegabyte, 64 * kMegabyte)->Unit(benchmark::kMillisecond);
    benchmark->Complexity(benchmark::oN);
}

}  // namespace

BENCHMARK(BM_WaveReadFile)->Apply(sizes);
BENCHMARK(BM_WaveReadDB)->Apply(sizes);
BENCHMARK(BM_WaveWriteDB)->Apply(sizes);
BENCHMARK(BM_MemoWrite)->Apply(sizes);
BENCHMARK(BM_MemoWriteInPieces)->Apply(sizes);
BENCHMARK(BM_MemoReadInPieces)->Apply(sizes);
BENCHMARK(BM_RecordingStop10MinutesStereo48k)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
