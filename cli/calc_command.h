#pragma once

#include <CLI/CLI.hpp>

// `pilecalc calc [FILE]`: calculates the piles of FILE in order, like consecutive presses of the
// compute button, and prints their results.
void AddCalcCommand(CLI::App &app, int &exitCode);
