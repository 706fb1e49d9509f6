#!/usr/bin/env bash
# Builds Phonomir and passes every test: a normal build with CTest, then the same tests built
# again with AddressSanitizer and UndefinedBehaviorSanitizer, then each libFuzzer target for a
# bounded time. Installs the Debian packages first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

jobs=$(nproc)
fuzz_seconds=${PHONOMIR_FUZZ_SECONDS:-60}

if [ "${PHONOMIR_SKIP_INSTALL:-0}" != 1 ]; then
  bash scripts/install-deps.sh
fi

echo "== build and test =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

echo "== build and test with AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPHONOMIR_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
   UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")

echo "== fuzz targets, ${fuzz_seconds} s each =="
bash scripts/run-fuzzers.sh "$fuzz_seconds"
