#!/usr/bin/env bash
# Installs the reference tools the benchmarks measure themselves against
# (Hugo, vipsthumbnail, xmllint, md5sum and diff) and builds the benchmarks
# in a Release build of their own (build/bench, or LQ_BENCH_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(hugo libvips-tools libxml2-utils coreutils diffutils)
tools/install-missing.sh "${packages[@]}"

build_dir="${LQ_BENCH_BUILD_DIR:-build/bench}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLQ_SANITIZE=OFF -DLQ_BUILD_TESTS=OFF -DLQ_BUILD_BENCH=ON
cmake --build "$build_dir" -j "${LQ_JOBS:-$(nproc)}"
