#pragma once

#include <CLI/CLI.hpp>

// pilecalc design: the least socket depth or section size that carries each pile's load.
void AddDesignCommand(CLI::App &app, int &exitCode);
