#!/usr/bin/env bash
# Installs what the tests need (Debian 12), builds with warnings as errors and runs every
# test through ctest. Tests that need a real X server run under an Xvfb started here.
set -euo pipefail
cd "$(dirname "$0")"
source tools/packages.sh
install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRIZEDRAW_WERROR=ON
cmake --build "$build" -j "$(nproc)"

# A private X server with a window manager for the end-to-end tests.
display_number=$((90 + RANDOM % 100))
Xvfb ":$display_number" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $wm_pid $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=":$display_number"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!

ctest --test-dir "$build" --output-on-failure -j 2

# ---- sanitizers and fuzzing (tools/sanitize.sh) ----
# Every test again in the clang build with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer (build-asan/), under the same X server, and each fuzz target for a short
# smoke run on its seed corpus.
tools/sanitize.sh
# ---- end of sanitizers and fuzzing ----
