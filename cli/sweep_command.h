#pragma once

#include <CLI/CLI.hpp>

// `pilecalc sweep [FILE]`: the optimization page's sweep over an options table and a base pile,
// then its filter and header-click sorts, printed as the candidate file, CSV, JSON or a count.
void AddSweepCommand(CLI::App &app, int &exitCode);
