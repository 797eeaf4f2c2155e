// pilecalc: the batch tool over the calculation, report and optimization libraries.

#include "calc_command.h"
#include "design_command.h"
#include "line_output.h"
#include "piles_command.h"
#include "sweep_command.h"
#include "utf8_command_line.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <new>

namespace {

int Run(int argc, const char *const *argv)
{
    CLI::App app {"pilecalc: bearing capacity of rock-socketed bored piles (JTG 3363-2019, 6.3.7)"};
    app.require_subcommand(1);
    int exitCode = 0;
    AddCalcCommand(app, exitCode);
    AddDesignCommand(app, exitCode);
    AddSweepCommand(app, exitCode);
    AddPilesCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success &success) {
        return app.exit(success);
    } catch (const CLI::ParseError &error) {
        app.exit(error);
        return 2;
    }
    return exitCode;
}

} // namespace

// Whatever goes wrong ends here as a message on standard error and exit code 2: no input and no
// failure of the system ends the tool abnormally.
int main(int argc, char **argv)
{
    // Standard output is flushed only where its failure is checked, never as a side effect of a
    // message on standard error.
    std::cerr.tie(nullptr);
    int exitCode = 2;
    bool outputReported = false;
    try {
        const TUtf8CommandLine commandLine(argc, argv);
        exitCode = Run(commandLine.Count(), commandLine.Values());
    } catch (const TOutputError &error) {
        std::cerr << "pilecalc: " << error.what() << '\n';
        outputReported = true;
    } catch (const std::bad_alloc &) {
        std::cerr << "pilecalc: out of memory\n";
    } catch (const std::exception &error) {
        std::cerr << "pilecalc: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "pilecalc: unexpected failure\n";
    }
    // What was printed counts only when it reached standard output.
    if (!outputReported) {
        if (const auto error = FlushStandardOutput()) {
            std::cerr << "pilecalc: " << *error << '\n';
            return 2;
        }
    }
    return exitCode;
}
