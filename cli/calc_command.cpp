#include "calc_command.h"

#include "calculation.h"
#include "pile_json.h"

#include <iostream>
#include <memory>

namespace {

struct TCalcOptions
{
    std::string file;
    std::string format = "json";
};

int RunCalc(const TCalcOptions &options)
{
    std::vector<TPileInput> piles(1); // no FILE: the default pile
    if (!options.file.empty())
        piles = PilesFromJson(ReadJsonDocument(options.file));

    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    int pileCount = 0;
    int exitCode = 0;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const TCalcOutcome outcome = Calculate(piles[i]);
        if (outcome.ok()) {
            ++pileCount;
        } else {
            std::cerr << "pile " << i + 1 << ": " << outcome.failure->message << '\n';
            exitCode = 1;
        }
        results.push_back(OutcomeToJson(piles[i], outcome, pileCount));
    }
    std::cout << results.dump(2) << '\n';
    return exitCode;
}

} // namespace

void AddCalcCommand(CLI::App &app, int &exitCode)
{
    auto options = std::make_shared<TCalcOptions>();
    CLI::App *calc =
        app.add_subcommand("calc", "Calculate piles given as JSON (default pile without FILE)");
    calc->add_option("FILE", options->file,
                     "JSON file with one pile or an array of piles; - for standard input");
    calc->add_option("--format", options->format, "Output format")
        ->check(CLI::IsMember({"json"}))
        ->capture_default_str();
    calc->callback([options, &exitCode] { exitCode = RunCalc(*options); });
}
