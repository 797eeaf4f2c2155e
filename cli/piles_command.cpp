#include "piles_command.h"

#include "line_output.h"
#include "pile_file.h"
#include "pile_file_error.h"
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

// The piles of FILE in the other format, a pile at a time. The whole file is checked first, so a
// file that cannot be used prints nothing and saves nothing.
int RunPiles(const TPilesOptions &options)
{
    RefuseEmptyPath(options.file, "FILE");
    RefuseEmptyPath(options.out, "--out");
    const std::string bytes = ReadInputText(*options.file);
    const TPileFileFormat from = PileFileFormatOf(*options.file);
    const std::string source = InputName(*options.file);
    try {
        ForEachPile(bytes, from, source, [](const TPileInput &, const TPileOrigin &) {});
    } catch (const TNoPileError &error) {
        std::cerr << "pilecalc: " << error.what() << '\n';
        if (options.out)
            ReportNothingSaved(*options.out, "the file holds no pile");
        return 1;
    }
    const TPileFileFormat to = options.to == "csv" ? TPileFileFormat::Csv : TPileFileFormat::Json;
    std::unique_ptr<TTextFileWriter> file;
    if (options.out) {
        file = std::make_unique<TTextFileWriter>(FilePath({}, *options.out));
    } else {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY); // the table's CR LF as they stand
#endif
    }
    TPileFileWriter writer(to, [&file](std::string_view part) {
        if (file) {
            file->WriteBytes(part);
            return;
        }
        std::cout.write(part.data(), static_cast<std::streamsize>(part.size()));
        if (!std::cout) {
            if (const auto error = FlushStandardOutput())
                throw TOutputError(*error);
        }
    });
    ForEachPile(bytes, from, source,
                [&writer](const TPileInput &pile, const TPileOrigin &) { writer.Add(pile); });
    writer.Finish();
    if (file) {
        if (const auto error = file->Commit()) {
            std::cerr << "pilecalc: " << *error << '\n';
            return 2;
        }
        return 0;
    }
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
