#!/usr/bin/env bash
# Installs what the program needs (Debian 12), builds a release build and starts it on a
# demo event in build/demo/.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
install_packages "${BUILD_PACKAGES[@]}" "${RUN_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPRIZEDRAW_TESTS=OFF
cmake --build build -j "$(nproc)"

event=build/demo
tools/make-demo-event.sh build "$event"
cd "$event"
exec ./prizedraw
