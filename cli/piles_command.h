#pragma once

#include <CLI/CLI.hpp>

// `pilecalc piles --to csv|json FILE`: the piles of a pile file in the other format, printed or
// saved with --out.
void AddPilesCommand(CLI::App &app, int &exitCode);
