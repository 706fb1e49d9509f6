#!/usr/bin/env bash
# Runs the program on the virtual sound card in an empty directory, ends it with SIGTERM and
# then SIGINT, and checks each time that it exits cleanly and leaves exactly 424 bytes of
# SETDATA.DAT there: first a new file, then the first 424 bytes of a 425-byte one.
# Usage: ProgramRunTest.sh PATH-TO-PHONOMIR
set -euo pipefail
program=$1
directory=$(mktemp -d)
trap 'rm -rf "$directory"' EXIT
cd "$directory"

run_until() {
    QT_QPA_PLATFORM=offscreen "$program" --virtual-card "/WD=1,2" >/dev/null 2>&1 &
    local pid=$!
    sleep 2
    kill "-$1" "$pid"
    wait "$pid"
}

run_until TERM || { echo "exit status $? after SIGTERM"; exit 1; }
[ "$(stat -c %s SETDATA.DAT)" = 424 ] || { echo "SETDATA.DAT is not 424 bytes"; exit 1; }

cp SETDATA.DAT first.dat
printf 'X' >> SETDATA.DAT
run_until INT || { echo "exit status $? after SIGINT"; exit 1; }
cmp -s SETDATA.DAT first.dat || { echo "SETDATA.DAT does not hold the first 424 bytes of the longer file"; exit 1; }
echo "ok"
