#!/usr/bin/env bash
# Builds every libFuzzer target with clang-14 and runs them within one fixed time budget shared
# evenly between the targets (at least 10 s each), each starting from its folder of checked-in
# inputs (crashers found earlier stay there as regression inputs). Adding a target shortens the
# others' share instead of lengthening the run.
# Usage: scripts/run-fuzzers.sh [total-seconds]   (default 480)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
total_seconds=${1:-480}

# -O1 with line tables, as the sanitizer build: quick to build, and findings still name the line.
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DPHONOMIR_FUZZ=ON -DPHONOMIR_TESTS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target phonomir_fuzzers  # only the fuzzers and what they link

mapfile -t fuzzers < <(find build-fuzz -type f -perm -u+x -name 'fuzz_*' | sort)
count=${#fuzzers[@]}
[ "$count" -gt 0 ] || { echo "no fuzz targets were built"; exit 1; }
seconds=$(( total_seconds / count ))
[ "$seconds" -ge 10 ] || seconds=10
echo "$count fuzz targets, ${seconds} s each"

status=0
for fuzzer in "${fuzzers[@]}"; do
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
done
exit $status
