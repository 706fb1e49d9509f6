#!/usr/bin/env bash
# Builds Phonomir and passes every test: a normal build with CTest, then the same tests built
# again with AddressSanitizer and UndefinedBehaviorSanitizer, the audio layer's tests with
# ThreadSanitizer, then the libFuzzer targets within one fixed time budget. Installs the Debian
# packages first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

jobs=$(nproc)
fuzz_seconds=${PHONOMIR_FUZZ_SECONDS:-480}  # shared by all fuzz targets

if [ "${PHONOMIR_SKIP_INSTALL:-0}" != 1 ]; then
  bash scripts/install-deps.sh
fi

# A JACK server with loopback ports for the PortAudio round-trip test (it skips without one),
# stopped when this script ends.
export JACK_DEFAULT_SERVER="phonomir-test-$$"
jackd -n "$JACK_DEFAULT_SERVER" --no-realtime -L 2 -d dummy -r 48000 -p 512 >/dev/null 2>&1 &
jack_pid=$!
trap 'kill "$jack_pid" 2>/dev/null || true' EXIT
jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 10 >/dev/null 2>&1 || echo "JACK server did not start; the PortAudio test will skip"

# Each stage says how long the run has taken so far.
stage() { echo "== $1 (after $((SECONDS / 60)) min $((SECONDS % 60)) s) =="; }

stage "build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

stage "build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
# -O1 with line tables: quick to build, quick to run, and the reports still name file and line.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DPHONOMIR_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
   LSAN_OPTIONS=suppressions="$root/scripts/lsan-suppressions.txt" \
   UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

stage "the audio layer's tests with ThreadSanitizer (device threads against the UI thread)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DPHONOMIR_THREAD_SANITIZE=ON >/dev/null
cmake --build build-tsan -j "$jobs" --target phonomir_audio_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/audio/phonomir_audio_tests

stage "fuzz targets, ${fuzz_seconds} s in all"
bash scripts/run-fuzzers.sh "$fuzz_seconds"
stage "done"
