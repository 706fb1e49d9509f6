#!/usr/bin/env bash
# Builds Phonomir and runs it. The windowed program runs on the built-in virtual sound card
# when the machine has no sound card. Until the windowed program is part of the build, this
# runs the command-line analyzer on a generated test signal instead.
# Usage: scripts/run.sh [arguments for the program]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${PHONOMIR_SKIP_INSTALL:-0}" != 1 ]; then
  bash scripts/install-deps.sh >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if [ -x build/app/phonomir ]; then
  exec build/app/phonomir "$@"
fi

cli=build/cli/phonomir-cli
if [ "$#" -gt 0 ]; then
  exec "$cli" "$@"
fi
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
echo "== a 1 kHz tone from the generator, 1 s at 48 kHz: $demo/tone.wav"
"$cli" generate -o "$demo/tone.wav" --signal tone --frequency 1000 --sample-rate 48000 --seconds 1
"$cli" info "$demo/tone.wav"
echo "== its 1/3-octave band levels (dB re full scale)"
"$cli" bands "$demo/tone.wav" --fft 8192
echo "== see 'build/cli/phonomir-cli --help' for the other commands"
