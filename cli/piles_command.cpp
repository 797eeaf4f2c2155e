#include "piles_command.h"

#include "line_output.h"
#include "pile_file.h"
#include "text_file.h"
#include "usage_checks.h"

#include <iostream>
#include <memory>
#include <optional>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

struct TPilesOptions
{
    std::string to;
    std::optional<std::string> file;
    std::optional<std::string> out;
};

int RunPiles(const TPilesOptions &options)
{
    RefuseEmptyPath(options.file, "FILE");
    RefuseEmptyPath(options.out, "--out");
    const std::string bytes =
        PileDocumentBytes(ReadPileDocument(*options.file),
                          options.to == "csv" ? TPileFileFormat::Csv : TPileFileFormat::Json);
    if (options.out) {
        if (const auto error = SaveBinaryFile({}, *options.out, bytes)) {
            std::cerr << "pilecalc: " << *error << '\n';
            return 2;
        }
        return 0;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the table's CR LF as they stand
#endif
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (const auto error = FlushStandardOutput())
        throw TOutputError(*error);
    return 0;
}

} // namespace

void AddPilesCommand(CLI::App &app, int &exitCode)
{
    auto options = std::make_shared<TPilesOptions>();
    CLI::App *piles = app.add_subcommand(
        "piles", "Convert a pile file between JSON and a CSV table (*.csv) for Excel");
    piles
        ->add_option("--to", options->to,
                     "csv: a table, UTF-8 with byte-order mark and CR LF; json")
        ->check(CLI::IsMember({"csv", "json"}))
        ->required();
    piles
        ->add_option("FILE", options->file,
                     "the pile file, JSON or *.csv; - for JSON on "
                     "standard input")
        ->required();
    piles->add_option("--out", options->out,
                      "Save to FILE instead of printing (replaced only when all was written)");
    piles->callback([options, &exitCode] { exitCode = RunPiles(*options); });
}
