#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything (benchmarks included) with
# AddressSanitizer and UndefinedBehaviorSanitizer, runs the whole test suite, then runs every
# libFuzzer target for 20 seconds from its seeds (a clang build of the libraries alone) and last the
# Windows build under Wine (scripts/test-windows.sh); any failure or crash fails the suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

sources=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run -Werror $sources

# With ccache (installed with the rest), paths are taken relative to the checkout, so that another
# clone of it hits the cache.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPILECALC_SANITIZE=ON \
    "${launcher[@]}"
cmake --build build-asan -j2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j2

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    "${launcher[@]}" \
    -DPILECALC_FUZZ=ON -DPILECALC_BUILD_GUI=OFF -DPILECALC_BUILD_PDF=OFF -DPILECALC_BUILD_TESTS=OFF \
    -DPILECALC_BUILD_BENCHMARKS=OFF
cmake --build build-fuzz -j2
for target in decimal_reader pile_json pile_csv sweep_request locale_numbers; do
    executable=$(find build-fuzz -type f -name "${target}_fuzz" -perm -u+x | head -n 1)
    # New inputs go to a scratch corpus; the seeds in the repository stay as they are.
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus" build-fuzz/artifacts
    echo "Fuzzing $target for 20 s"
    "$executable" -max_total_time=20 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/artifacts/"$target"- "$corpus" tests/data/fuzz/"$target"
done

# Last, the Windows build of the libraries and the batch tool, tested under Wine.
scripts/test-windows.sh
