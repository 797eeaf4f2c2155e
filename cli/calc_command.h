#pragma once

#include <CLI/CLI.hpp>

// `pilecalc calc [FILE]`: calculates the piles of FILE in order, like consecutive presses of the
// compute button, and prints the calculation book, the summary table or the results as JSON, or
// saves the book or the table as the desktop program does.
void AddCalcCommand(CLI::App &app, int &exitCode);
