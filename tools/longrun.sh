#!/usr/bin/env bash
# The long run: 1000 consecutive draws (or the number given) through the whole program over
# the offscreen screen, effects on, in a release build in build-rel/. Prints the time, the
# roll's tick period at the start and at the end, and the resident memory and open files
# after the warm-up and every 100 draws.
#   tools/longrun.sh [draws]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

build=build-rel
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_longrun
# The run outlasts Qt Test's five minutes per test function; -silent keeps the offscreen
# screen's notes about window masks out of the figures.
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 LC_ALL=C.UTF-8 SDL_AUDIODRIVER=dummy \
    QTEST_FUNCTION_TIMEOUT=7200000 PRIZEDRAW_LONGRUN_DRAWS="${1:-1000}" \
    "$build/tests/reliability/test_longrun" -silent
