#!/usr/bin/env bash
# Installs every Debian 12 package Phonomir needs to build, run, test and benchmark.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

packages=(
  # toolchain and build
  build-essential cmake ninja-build pkg-config clang-14 libclang-rt-14-dev
  # test and benchmark frameworks
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev
  # user interface and platform
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation2
  portaudio19-dev libasound2-dev
  # data store and media
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev
  # update server (PostgreSQL through libpq) and module signatures
  postgresql-15 libpq-dev libsodium-dev openssl
  # tools the tests and reviews use
  sox xvfb xauth imagemagick jackd2 xdotool locales time
)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

sudo_if_needed apt-get update
sudo_if_needed apt-get install -y --no-install-recommends "${packages[@]}"
