#!/usr/bin/env bash
# Builds Phonomir and runs the windowed program. Without a sound card (or with --virtual-card)
# it runs on the built-in virtual sound card. Arguments go to the program, e.g. /WD=1,2.
# The program keeps SETDATA.DAT and its DATA folder in the directory it starts in: it starts in
# its own working directory, $PHONOMIR_HOME (default ~/Phonomir), made on the first run, so
# nothing of it lands in the source tree.
# Usage: scripts/run.sh [arguments for the program]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${PHONOMIR_SKIP_INSTALL:-0}" != 1 ]; then
  bash scripts/install-deps.sh >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
home=${PHONOMIR_HOME:-$HOME/Phonomir}
mkdir -p "$home"
cd "$home"
exec "$root/build/app/phonomir" "$@"
