#!/usr/bin/env bash
# phonomir-cli's batch speed and peak memory. A 10-minute stereo 48 kHz noise file is analysed
# block by block at n = 8192 by spectrum, bands and correlation on one worker (--jobs 1): the
# speed as a multiple of real time per core (audio seconds over the process's CPU seconds) and
# the peak resident memory, against the targets of at least 1000 x real time and at most 64 MB.
# A 30-minute file shows that the memory does not grow with the length, and four files at once
# (one worker per core) show the speed of a batch.
# Usage: bench/cli-throughput.sh [build-dir]   (default build; phonomir-cli must be built there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(cd "${1:-$root/build}" && pwd)/cli/phonomir-cli
[ -x "$cli" ] || { echo "no $cli: build the target phonomir-cli first"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" generate -o "$work/ten.wav" --signal noise --mode dual --seconds 600 --sample-rate 48000
"$cli" generate -o "$work/thirty.wav" --signal noise --mode dual --seconds 1800 --sample-rate 48000

status=0
# measure AUDIO_SECONDS LABEL ARGS...: one line of figures, and the verdict against the targets.
measure() {
    local audio=$1 label=$2
    shift 2
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$cli" "$@" >/dev/null
    read -r elapsed user system kilobytes <"$work/time"
    awk -v a="$audio" -v e="$elapsed" -v u="$user" -v s="$system" -v k="$kilobytes" -v l="$label" 'BEGIN {
        cpu = u + s; if (cpu < 0.01) cpu = 0.01; if (e < 0.01) e = 0.01
        printf "%-34s %6.2f s wall %6.2f s cpu %7.0f x real time per core %7.0f x wall %6.1f MB\n",
               l, e, cpu, a / cpu, a / e, k / 1024 }'
    awk -v a="$audio" -v u="$user" -v s="$system" -v k="$kilobytes" 'BEGIN {
        cpu = u + s; if (cpu < 0.01) cpu = 0.01; exit !(a / cpu >= 1000 && k <= 64 * 1024) }' || status=1
}

echo "10-minute stereo 48 kHz file, n = 8192, one worker:"
measure 600 "spectrum" spectrum "$work/ten.wav" --fft 8192 --jobs 1
measure 600 "bands" bands "$work/ten.wav" --fft 8192 --jobs 1
measure 600 "correlation (CCF)" correlation "$work/ten.wav" --kind ccf --fft 8192 --jobs 1
echo "30-minute file, the same memory:"
measure 1800 "spectrum" spectrum "$work/thirty.wav" --fft 8192 --jobs 1
echo "four 10-minute files, one worker per core ($(nproc) cores):"
measure 2400 "spectrum x 4" spectrum "$work/ten.wav" "$work/ten.wav" "$work/ten.wav" "$work/ten.wav" --fft 8192
[ $status -eq 0 ] && echo "targets met: >= 1000 x real time per core, <= 64 MB" || echo "a target was missed"
exit $status
