#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them, one line per measure:
# "bench <name> <value> <unit>".
#
#   ./bench.sh                 photo sets generated here: 12-megapixel photos with and without
#                              embedded preview, 10,000 names over 100 hard-linked files each
#   ./bench.sh --photos DIR    the *.jpg photos of DIR instead
#   ./bench.sh --smoke         tiny sets, to see that everything runs
# Other options go to bench_draw (see bench_draw --help), e.g. --keep DIR keeps the generated
# photos between runs.
set -euo pipefail
cd "$(dirname "$0")"

build=${PRIZEDRAW_BENCH_BUILD:-build-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPRIZEDRAW_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target bench_roll bench_draw bench_fireworks >/dev/null

export QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 LC_ALL=C.UTF-8 SDL_AUDIODRIVER=dummy
roll_args=()
draw_args=()
while (($#)); do
  case "$1" in
    --photos) roll_args+=(--photos "$2"); draw_args+=(--photos "$2"); shift 2 ;;
    --smoke)
      roll_args+=(--count 1 --rounds 1)
      draw_args+=(--count 12 --distinct 3 --size 800x600 --roll-seconds 1 --ticks 300)
      shift ;;
    *) draw_args+=("$1"); shift ;;
  esac
done

"$build/bench/bench_roll" "${roll_args[@]}"
"$build/bench/bench_draw" "${draw_args[@]}"
"$build/bench/bench_fireworks" | grep '^bench '
