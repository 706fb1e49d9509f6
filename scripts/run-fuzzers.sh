#!/usr/bin/env bash
# Builds every libFuzzer target with clang-14 and runs each for a bounded time, starting from
# its folder of checked-in inputs (crashers found earlier stay there as regression inputs).
# Usage: scripts/run-fuzzers.sh [seconds-per-target]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPHONOMIR_FUZZ=ON -DPHONOMIR_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target phonomir_fuzzers  # only the fuzzers and what they link

status=0
while IFS= read -r fuzzer; do
  name=$(basename "$fuzzer")
  corpus_dirs=()
  for dir in $(find . -path ./build\* -prune -o -type d -path "*/fuzz/corpus/$name" -print); do
    corpus_dirs+=("$dir")
  done
  work=$(mktemp -d)
  echo "-- $name (${seconds} s)"
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$work/" "$work" "${corpus_dirs[@]}" >"$work/log" 2>&1; then
    tail -n 40 "$work/log"
    echo "fuzzer $name failed; artifacts in $work"
    status=1
  else
    grep -E '^(#[0-9]+[[:space:]]+DONE|Done)' "$work/log" | tail -n 1 || true
  fi
done < <(find build-fuzz -type f -perm -u+x -name 'fuzz_*' | sort)
exit $status
