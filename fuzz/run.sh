#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own build folder, writes the seed
# corpus from the program's own writers, runs every target over its corpus
# (the seeds and the committed inputs in fuzz/corpus/<target>) as a regression
# test, then fuzzes each for SECONDS (0: the corpus only).
#
#     fuzz/run.sh [SECONDS [TARGET...]]      (default: 30 seconds, every target)
#
# LQ_FUZZ_SEED fixes libFuzzer's seed (test.sh sets it, so that a run over
# the same corpus tries the same inputs each time); unset, every run draws
# its own.
#
# Targets: xml_reader codecs text zip_directory property_list rtf publish_address. New inputs found go to
# build/fuzz/corpus/<target>; an input that breaks a property or crashes is
# written as build/fuzz/crash-* and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(xml_reader codecs text zip_directory property_list rtf publish_address)
build_dir="$(realpath -m "${LQ_FUZZ_BUILD_DIR:-build/fuzz}")"
jobs="${LQ_FUZZ_BUILD_JOBS:-$(nproc)}"

CC=clang-16 CXX=clang++-16 cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DLQ_FUZZ=ON -DLQ_BUILD_TESTS=OFF -DLQ_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "$jobs" --target lumenquill_fuzz

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(pwd)/fuzz/lsan.supp:print_suppressions=0}"
# Stack traces name functions when the llvm-16 package's symbolizer is there.
if [ -x /usr/lib/llvm-16/bin/llvm-symbolizer ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-16/bin/llvm-symbolizer
fi
corpus="$build_dir/corpus"
"$build_dir/fuzz/lumenquill_fuzz_seeds" "$corpus"

root="$(pwd)"
for target in "${targets[@]}"; do
  binary="$build_dir/fuzz/fuzz_$target"
  found="$corpus/$target"
  committed="$root/fuzz/corpus/$target"
  mkdir -p "$found" "$committed"
  # Crash reproducers land in the build folder.
  cd "$build_dir"
  echo "== fuzz_$target: every input of its corpus"
  "$binary" -runs=0 "$found" "$committed"
  if [ "$seconds" -gt 0 ]; then
    echo "== fuzz_$target: fuzzing for $seconds s"
    "$binary" -seed="${LQ_FUZZ_SEED:-0}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 "$found" "$committed"
  fi
  cd "$root"
done
echo "Fuzzing: every target held (${targets[*]})"
