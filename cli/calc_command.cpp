#include "calc_command.h"

#include "calculation.h"
#include "page_texts.h"
#include "pile_json.h"
#include "pile_reports.h"
#include "text_file.h"
#include "time_stamp.h"

#include <iostream>
#include <memory>
#include <optional>

namespace {

struct TCalcOptions
{
    std::string file;
    std::string format = "book";
    std::optional<std::string> timeStamp;
    std::string out;
};

std::vector<TPileInput> ReadPiles(const TCalcOptions &options)
{
    if (options.file.empty())
        return std::vector<TPileInput>(1); // the default pile
    return PilesFromJson(ReadJsonDocument(options.file));
}

void ReportFailure(std::size_t index, const TCalcOutcome &outcome)
{
    std::cerr << "pile " << index + 1 << ": " << outcome.failure->message << '\n';
}

int RunJson(const std::vector<TPileInput> &piles)
{
    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    int pileCount = 0;
    int exitCode = 0;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const TCalcOutcome outcome = Calculate(piles[i]);
        if (outcome.ok()) {
            ++pileCount;
        } else {
            ReportFailure(i, outcome);
            exitCode = 1;
        }
        results.push_back(OutcomeToJson(piles[i], outcome, pileCount));
    }
    std::cout << results.dump(2) << '\n';
    return exitCode;
}

// The book or the table of all piles that succeeded, each with the time of its own calculation
// unless one time stamp was given.
int RunReports(const std::vector<TPileInput> &piles, const TCalcOptions &options)
{
    TPileReports reports;
    int exitCode = 0;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const TCalcOutcome outcome = Calculate(piles[i]);
        if (!outcome.ok()) {
            ReportFailure(i, outcome);
            exitCode = 1;
            continue;
        }
        reports.WriteReports(piles[i], outcome.result, PageTextsOf(piles[i], outcome.result),
                             options.timeStamp ? *options.timeStamp : TimeStampText());
    }
    const std::vector<std::string> &lines =
        options.format == "table" ? reports.TableLines() : reports.BookLines();

    if (options.out.empty()) {
        for (const std::string &line : lines)
            std::cout << line << '\n';
        return exitCode;
    }
    // The path is UTF-8 like every text of the tool; a relative one is taken from here.
    if (const auto error = SaveTextFile({}, options.out, lines)) {
        // Nothing was written: unlike a failed pile, there is no report to take from this run.
        std::cerr << "pilecalc: " << *error << '\n';
        return 2;
    }
    return exitCode;
}

int RunCalc(const TCalcOptions &options)
{
    if (options.format == "json" && !options.out.empty())
        throw TUsageError("--out saves the book or the table; --format json prints to standard "
                          "output only");
    // A line break would split a report line and with it the line structure of the saved file.
    if (options.timeStamp && options.timeStamp->find_first_of("\r\n") != std::string::npos)
        throw TUsageError("--timestamp must be a single line");
    const std::vector<TPileInput> piles = ReadPiles(options);
    return options.format == "json" ? RunJson(piles) : RunReports(piles, options);
}

} // namespace

void AddCalcCommand(CLI::App &app, int &exitCode)
{
    auto options = std::make_shared<TCalcOptions>();
    CLI::App *calc =
        app.add_subcommand("calc", "Calculate piles given as JSON (default pile without FILE)");
    calc->add_option("FILE", options->file,
                     "JSON file with one pile or an array of piles; - for standard input");
    calc->add_option("--format", options->format,
                     "book: the calculation book; table: the summary table; json: every figure")
        ->check(CLI::IsMember({"book", "table", "json"}))
        ->capture_default_str();
    calc->add_option("--timestamp", options->timeStamp,
                     "Time-stamp text of the reports instead of the local date and time");
    calc->add_option("--out", options->out,
                     "Save the book or the table to FILE as the desktop program saves it "
                     "(system code page, CR LF)");
    calc->callback([options, &exitCode] { exitCode = RunCalc(*options); });
}
