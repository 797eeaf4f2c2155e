#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts the desktop program; without a display
# it says so and calculates the default pile with the batch tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPILECALC_BUILD_TESTS=OFF \
    -DPILECALC_BUILD_BENCHMARKS=OFF
cmake --build build -j2

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/pilecalc-gui
fi
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the desktop program cannot" \
    "start here. Calculating the default pile with the batch tool instead." >&2
exec build/cli/pilecalc calc
