// Pictures of 4000 × 3000 24-bit pixels: BMP and JPEG decoded from and encoded to files, and a
// quarter turn in place, each beside ImageMagick doing the same work in the same run (its
// `convert`, timed from here). ImageMagick's figures come as counters in milliseconds: the
// whole command ("imagemagick_ms") and the command less ImageMagick's own start-up and input
// for the same file ("imagemagick_work_ms": for decoding, less the start-up on a 1-pixel
// picture; for encoding and turning, less reading its memory-mapped cache of the picture).
// Files live in a temporary folder on disk and are read warm from the page cache.
// Run: build-bench/bench/phonomir_picture_bench
#include "TemporaryFolder.h"
#include "avstore32.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int kImageMagickRuns = 3;  // each command runs this often; the fastest run counts

// A photograph-like test card: smooth gradients, fine stripes and a soft disc.
std::vector<std::uint32_t> testCard() {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
            const double disc = std::clamp((900.0 - std::sqrt(dx * dx + dy * dy)) / 40.0, 0.0, 1.0);
            const auto red = static_cast<std::uint32_t>(disc * 230 + (1 - disc) * x * 255.0 / kWidth);
            const auto green = static_cast<std::uint32_t>(y * 255.0 / kHeight);
            const auto blue = static_cast<std::uint32_t>(128 + 100 * std::sin(x / 7.0) * std::cos(y / 11.0));
            pixels[static_cast<std::size_t>(y) * kWidth + x] = red << 16 | green << 8 | blue;
        }
    }
    return pixels;
}

// One temporary folder with the picture as a block, BMP, JPEG and ImageMagick's cache, made
// once for the run and removed at exit.
class Scratch {
public:
    static Scratch &instance() {
        static Scratch scratch;
        return scratch;
    }
    ~Scratch() { MMPictureFree(picture); }
    std::string path(const std::string &name) const { return folder.path(name); }
    // The path in single quotes, for a shell command.
    std::string quoted(const std::string &name) const {
        std::string text = "'";
        text += path(name);
        text += "'";
        return text;
    }

    TemporaryFolder folder{"phonomir-picture-bench"};
    MMHANDLE picture = nullptr;

private:
    Scratch() {
        const std::vector<std::uint32_t> card = testCard();
        MMPictureGetBitmap(&picture, card.data(), kWidth, kHeight, kWidth * 4);
        MMPictureWriteFile(picture, path("card.bmp").c_str());
        MMPictureWriteFile(picture, path("card.jpg").c_str());
        run("convert " + quoted("card.bmp") + " " + quoted("card.mpc"));
    }
    static void run(const std::string &command) {
        if (std::system((command + " >/dev/null 2>&1").c_str()) == 0) return;
        std::fprintf(stderr, "failed: %s (is ImageMagick installed?)\n", command.c_str());
        std::exit(1);
    }
};

// The fastest of a few runs of a shell command, in milliseconds; NaN when it fails.
double commandMilliseconds(const std::string &command) {
    double fastest = INFINITY;
    for (int run = 0; run < kImageMagickRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return NAN;
        fastest = std::min(fastest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return fastest;
}

void reportImageMagick(benchmark::State &state, const std::string &command, const std::string &baseline) {
    const double whole = commandMilliseconds(command);
    state.counters["imagemagick_ms"] = whole;
    state.counters["imagemagick_work_ms"] = whole - commandMilliseconds(baseline);
}

std::string convert(const std::string &arguments) { return "convert " + arguments; }

void BM_DecodeBmp(benchmark::State &state) {
    Scratch &scratch = Scratch::instance();
    for (auto _ : state) {
        MMHANDLE picture = nullptr;
        if (MMPictureReadFile(&picture, scratch.path("card.bmp").c_str()) != 0) state.SkipWithError("read failed");
        MMPictureFree(picture);
    }
    reportImageMagick(state, convert(scratch.quoted("card.bmp") + " null:"), convert("-size 1x1 xc:white null:"));
}

void BM_EncodeBmp(benchmark::State &state) {
    Scratch &scratch = Scratch::instance();
    for (auto _ : state) {
        if (MMPictureWriteFile(scratch.picture, scratch.path("out.bmp").c_str()) != 0) state.SkipWithError("write failed");
    }
    const std::string cache = scratch.quoted("card.mpc");
    reportImageMagick(state, convert(cache + " BMP3:" + scratch.quoted("im.bmp")), convert(cache + " null:"));
}

void BM_DecodeJpeg(benchmark::State &state) {
    Scratch &scratch = Scratch::instance();
    for (auto _ : state) {
        MMHANDLE picture = nullptr;
        if (MMPictureReadFile(&picture, scratch.path("card.jpg").c_str()) != 0) state.SkipWithError("read failed");
        MMPictureFree(picture);
    }
    reportImageMagick(state, convert(scratch.quoted("card.jpg") + " null:"), convert("-size 1x1 xc:white null:"));
}

void BM_EncodeJpeg(benchmark::State &state) {
    Scratch &scratch = Scratch::instance();
    for (auto _ : state) {
        if (MMPictureWriteFile(scratch.picture, scratch.path("out.jpg").c_str()) != 0) state.SkipWithError("write failed");
    }
    const std::string cache = scratch.quoted("card.mpc");
    reportImageMagick(state, convert(cache + " -quality 75 " + scratch.quoted("im.jpg")), convert(cache + " null:"));
}

void BM_QuarterTurnInPlace(benchmark::State &state) {
    Scratch &scratch = Scratch::instance();
    for (auto _ : state) {
        if (MMPictureRotate(scratch.picture, 1) != 0) state.SkipWithError("turn failed");
    }
    const std::string cache = scratch.quoted("card.mpc");
    reportImageMagick(state, convert(cache + " -rotate 90 null:"), convert(cache + " null:"));
}

}  // namespace

BENCHMARK(BM_DecodeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QuarterTurnInPlace)->Unit(benchmark::kMillisecond)->UseRealTime();
