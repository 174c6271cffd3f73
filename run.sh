#!/usr/bin/env bash
# Installs what is missing, builds Lumenquill (Release, in build/release) and
# starts it. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-webengine-dev qt6-image-formats-plugins zip unzip curl libssl-dev libcurl4-openssl-dev
  fonts-dejavu-core fonts-liberation2 xvfb xauth)
tools/install-missing.sh "${packages[@]}"

build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLQ_SANITIZE=OFF -DLQ_BUILD_TESTS=OFF -DLQ_BUILD_BENCH=OFF
# The program, its helper tools and the starter themes it makes sites from.
cmake --build "$build_dir" -j "${LQ_JOBS:-$(nproc)}"

# Without a display the program would have nowhere to show its windows.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting Lumenquill on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build_dir/lumenquill" "$@"
fi
exec "$build_dir/lumenquill" "$@"
