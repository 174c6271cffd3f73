#!/usr/bin/env bash
# Installs what is missing, builds Lumenquill (Release, in build/release) and
# starts it. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-image-formats-plugins zip unzip curl fonts-dejavu-core fonts-liberation2 xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLQ_SANITIZE=OFF -DLQ_BUILD_TESTS=OFF -DLQ_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "${LQ_JOBS:-$(nproc)}" --target lumenquill

# Without a display the program would have nowhere to show its windows.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting Lumenquill on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build_dir/lumenquill" "$@"
fi
exec "$build_dir/lumenquill" "$@"
