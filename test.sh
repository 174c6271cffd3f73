#!/usr/bin/env bash
# Installs what is missing, checks the include layers (tools/check-layers)
# and that nothing changes the disk but through the gateway and its named
# places (tools/check-disk-changes), and that no label, message box or tool
# tip of the interface leaves its text format to guessing
# (tools/check-text-formats),
# builds Lumenquill and its tests (with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test; then
# builds the fuzz targets and runs each over its corpus and for a short time.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-webengine-dev qt6-image-formats-plugins libgtest-dev libgmock-dev zip unzip curl python3 libssl-dev
  fonts-dejavu-core fonts-liberation2 xvfb xauth chromium opensp w3c-sgml-lib libxml2-utils clang-16 libclang-rt-16-dev
  libcurl4-openssl-dev apache2 python3-pyftpdlib openssh-server)
tools/install-missing.sh "${packages[@]}"

# The include lines keep to the layers of docs/architecture.md, every
# change of the disk to its table "Changes to the disk", and every label of
# the interface states its text format ("Outside words on screen").
tools/check-layers
tools/check-disk-changes
tools/check-text-formats

build_dir="${LQ_TEST_BUILD_DIR:-build/test}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLQ_SANITIZE=ON -DLQ_BUILD_TESTS=ON -DLQ_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "${LQ_JOBS:-$(nproc)}"

# --- Fuzzing -----------------------------------------------------------------
# The fuzz targets (libFuzzer with AddressSanitizer and UBSan, built with
# clang-16 in build/fuzz) run over their corpus as a regression test, then
# fuzz for LQ_FUZZ_SECONDS each (at most a minute; 0: the corpus only). A
# longer run: docs/fuzzing.md. The seed is fixed here, so that the short run
# tries the same inputs at every run of this script. A failure here fails the script after the tests
# below have run, so that their summary stays the last word.
fuzz_seconds="${LQ_FUZZ_SECONDS:-20}"
if [ "$fuzz_seconds" -gt 60 ]; then fuzz_seconds=60; fi
fuzz_status=0
LQ_FUZZ_SEED="${LQ_FUZZ_SEED:-1}" fuzz/run.sh "$fuzz_seconds" || fuzz_status=$?
# --- End of fuzzing ----------------------------------------------------------

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Every lane of the tests (one lane: ctest -L unit, ui, site, processes, servers,
# browser or screen; see "Tests" in docs/architecture.md).
ctest --test-dir "$build_dir" --output-on-failure -j "${LQ_JOBS:-$(nproc)}"
if [ "$fuzz_status" -ne 0 ]; then
  echo "Fuzzing failed with status $fuzz_status (see its output above)" >&2
  exit "$fuzz_status"
fi

