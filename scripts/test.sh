#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything (benchmarks included) with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

sources=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run -Werror $sources

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPILECALC_SANITIZE=ON
cmake --build build-asan -j2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j2
