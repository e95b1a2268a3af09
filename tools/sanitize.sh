#!/usr/bin/env bash
# The clang build with AddressSanitizer, UndefinedBehaviorSanitizer and the libFuzzer
# targets, in build-asan/: builds it, runs every test there (LeakSanitizer on, with
# suppressions only for what Qt, fontconfig and the system libraries keep on purpose) and
# each fuzz target for a short smoke time on its seed corpus.
#
#   tools/sanitize.sh                    build, whole test suite, fuzz smoke runs of 20 s
#   tools/sanitize.sh --fuzz-seconds N   the same with smoke runs of N seconds
#   tools/sanitize.sh --fuzz-only N      build the fuzz targets and run each for N seconds,
#                                        one after the other (the long runs); corpora grow
#                                        in build-asan/tests/fuzz/corpus/
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
install_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

smoke_seconds=20
long_seconds=0
case "${1:-}" in
    --fuzz-seconds) smoke_seconds=$2 ;;
    --fuzz-only) long_seconds=$2 ;;
    "") ;;
    *) echo "usage: $0 [--fuzz-seconds N | --fuzz-only N]" >&2; exit 2 ;;
esac

build=build-asan
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= \
    "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" -DPRIZEDRAW_WERROR=ON \
    -DPRIZEDRAW_SANITIZE=ON -DPRIZEDRAW_FUZZ=ON -DPRIZEDRAW_FUZZ_SECONDS="$smoke_seconds" >/dev/null

export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"

fuzzers=(fuzz_profile fuzz_descramble fuzz_rollpicture fuzz_photonames fuzz_movie)
if [ "$long_seconds" -gt 0 ]; then
    cmake --build "$build" -j "$(nproc)" --target "${fuzzers[@]}" fuzz_seed_corpora
    cd "$build/tests/fuzz"
    for f in "${fuzzers[@]}"; do
        corpus=${f#fuzz_}
        echo "== $f, $long_seconds s"
        rc=0
        QT_QPA_PLATFORM=offscreen "./$f" -max_total_time="$long_seconds" -timeout=20 \
            -rss_limit_mb=2560 -print_final_stats=1 "corpus/$corpus" "seeds/$corpus" \
            >"$f.log" 2>&1 || rc=$?
        grep -E '^(INFO: seed corpus|#[0-9]+ +DONE|Done [0-9]+ runs|stat::|SUMMARY)' "$f.log" || true
        [ "$rc" -eq 0 ] || { echo "$f failed (exit $rc), see $PWD/$f.log"; exit 1; }
    done
    exit 0
fi

cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j 2
