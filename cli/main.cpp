// pilecalc: the batch tool over the calculation, report and optimization libraries.

#include "calc_command.h"
#include "pile_json.h"
#include "sweep_command.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char **argv)
{
    CLI::App app {"pilecalc: bearing capacity of rock-socketed bored piles (JTG 3363-2019, 6.3.7)"};
    app.require_subcommand(1);
    int exitCode = 0;
    AddCalcCommand(app, exitCode);
    AddSweepCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success &success) {
        return app.exit(success);
    } catch (const CLI::ParseError &error) {
        app.exit(error);
        return 2;
    } catch (const TUsageError &error) {
        std::cerr << "pilecalc: " << error.what() << '\n';
        return 2;
    }
    return exitCode;
}
