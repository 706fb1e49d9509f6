// The running interaural cross-correlation of a two-channel recording at the full sampling rate.
// Over a window of the last N frames it keeps, for every lag tau of -D .. D frames, the sum
//   S(tau) = sum of l[t] r[t + tau] over the pairs whose two samples both lie in the window,
// and the energies El, Er of both channels there; normalised, IACF(tau) = S(tau) / sqrt(El Er).
// tau > 0: the right channel lags behind the left (a source nearer the left ear).
//
// The sums are kept up to date block by block: a block adds the pairs it completes and drops
// those whose earlier sample has left the window, about 2 (2D + 1) multiplications per frame of
// the recording whatever the running step. When the window holds a whole number of blocks and
// every block is one of blockFrames, the sums each block added are kept, and dropping a block
// costs only the pairs that cross its edges: about half the work. The samples are held as doubles, so that every product
// and every sum (below 2^53 for any window of 16-bit samples up to 2^22 frames) is exact: the
// sums are those of a direct count, a silent window has exactly no energy, and identical channels
// give IACF(0) = 1 exactly. All storage is made by begin(); append allocates nothing.
//
// Owned by RunningAcfAnalyzer; UI thread (or one batch thread) only.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

class InterauralCorrelation {
public:
    // windowFrames N >= 1, maxLag D in 0 .. N - 1, blockFrames: the most frames one append brings.
    // False (and nothing held) when the storage cannot be allocated or the sizes are unusable.
    bool begin(std::int64_t windowFrames, int maxLag, std::int64_t blockFrames);
    void end();
    bool begun() const { return windowFrames_ > 0; }
    // An empty window: the next append starts a new recording.
    void restart();

    // Appends whole interleaved stereo frames (left first); an odd last value is ignored.
    void append(std::span<const std::int16_t> interleaved);

    int maxLag() const { return maxLag_; }
    std::int64_t windowFrames() const { return windowFrames_; }
    // IACF(-D) .. IACF(D) into out (2D + 1 values); false, out untouched, when either channel
    // has no energy in the window.
    bool normalised(std::span<float> out) const;

private:
    static constexpr int kRightLags = 0;                     // sums: S(0 .. D), S(-0 .. -D), El, Er
    static constexpr std::int64_t kMostStoredSums = 1 << 21;  // 16 MB of sums kept per block at most
    int sumsPerBlock() const { return 2 * (maxLag_ + 1) + 2; }

    void appendRun(std::span<const std::int16_t> interleaved);
    void makeRoom(std::int64_t frames);
    void pairsEndingIn(std::int64_t first, std::int64_t count, double* sums) const;
    void addPairsEndingIn(std::int64_t first, std::int64_t count);
    void dropPairsStartingIn(std::int64_t first, std::int64_t count);
    void correctBoundary(std::int64_t at, double sign);
    double* blockSumsOf(std::int64_t block);
    std::int64_t slot(std::int64_t frame) const { return frame - base_; }

    std::int64_t windowFrames_ = 0;  // N
    std::int64_t blockFrames_ = 0;
    int maxLag_ = 0;                 // D
    std::vector<double> left_, right_;  // frames base_ .. end_ - 1 of the stream, D zeros before frame 0
    std::int64_t base_ = 0;          // stream frame held in slot 0
    std::int64_t end_ = 0;           // frames appended since restart
    // The window's sums: S(k), k = 0 .. D (the right sample k frames after the left one), S(-k),
    // k = 0 .. D (the left one after; k = 0 unused), El, Er.
    std::vector<double> sums_;
    std::vector<double> scratch_;    // the sums of one run
    std::vector<double> blockSums_;  // the sums each of the last N / L + 1 blocks added
    int storedBlocks_ = 0;           // N / L + 1, or 0 when blocks are not kept
    bool wholeBlocks_ = false;       // every run since restart was one block: blockSums_ holds them
};

}  // namespace phonomir
