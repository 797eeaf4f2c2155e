#include "calc_command.h"

#include "calculation.h"
#include "calculation_book.h"
#include "line_output.h"
#include "outcome_json.h"
#include "page_texts.h"
#include "pdf_output.h"
#include "pile_file.h"
#include "pile_file_error.h"
#include "pile_reports.h"
#include "summary_table.h"
#include "text_file.h"
#include "time_stamp.h"
#include "usage_checks.h"

#include <iostream>
#include <memory>
#include <optional>

namespace {

struct TCalcOptions
{
    std::optional<std::string> file;
    std::string format = "book";
    std::optional<std::string> timeStamp;
    std::optional<std::string> out;
};

// The piles of the run: those of FILE, or the default pile without one. The file's bytes are read
// once and its piles twice, a pile at a time: first to check the whole file before anything is
// printed or saved, then to calculate.
class TPileSource
{
public:
    explicit TPileSource(const std::optional<std::string> &file)
        : m_file(file)
    {
        if (!m_file)
            return;
        m_bytes = ReadInputText(*m_file);
        ForEachPile(m_bytes, PileFileFormatOf(*m_file), InputName(*m_file),
                    [](const TPileInput &, const TPileOrigin &) {});
    }

    void ForEach(const TPileSink &take) const
    {
        if (!m_file) {
            take(TPileInput(), TPileOrigin {});
            return;
        }
        ForEachPile(m_bytes, PileFileFormatOf(*m_file), InputName(*m_file), take);
    }

private:
    std::optional<std::string> m_file;
    std::string m_bytes;
};

// "pile N: message", with the row and column of a table's cell the failure names.
void ReportFailure(std::size_t index, const TPileOrigin &origin, const TCalcOutcome &outcome)
{
    const std::string place = FailurePlace(origin, *outcome.failure).first;
    std::cerr << "pile " << index + 1 << ": " << (place.empty() ? "" : place + ": ")
              << outcome.failure->message << '\n';
}

// Calculates the piles as consecutive presses of "计算": each success goes to `add` with the time
// stamp of its calculation (or the one given), each failure to standard error. 1 if any failed.
template<typename FAdd>
int ForEachSuccess(const TPileSource &piles, const TCalcOptions &options, FAdd add)
{
    int exitCode = 0;
    std::size_t index = 0;
    piles.ForEach([&](const TPileInput &pile, const TPileOrigin &origin) {
        const std::size_t i = index++;
        const TCalcOutcome outcome = Calculate(pile);
        if (!outcome.ok()) {
            ReportFailure(i, origin, outcome);
            exitCode = 1;
            return;
        }
        add(pile, outcome.result, options.timeStamp ? *options.timeStamp : TimeStampText());
    });
    return exitCode;
}

// The results as one JSON array, indented by two, printed a pile at a time.
int RunJson(const TPileSource &piles, TLineOutput &out)
{
    int pileCount = 0;
    int exitCode = 0;
    std::size_t index = 0;
    std::optional<std::string> heldLine; // the last line of the previous pile, awaiting its comma
    piles.ForEach([&](const TPileInput &pile, const TPileOrigin &origin) {
        const std::size_t i = index++;
        const TCalcOutcome outcome = Calculate(pile);
        if (outcome.ok()) {
            ++pileCount;
        } else {
            ReportFailure(i, origin, outcome);
            exitCode = 1;
        }
        const std::string text = OutcomeToJson(pile, outcome, pileCount).dump(2);
        out.Line(heldLine ? *heldLine + "," : std::string("["));
        std::size_t start = 0;
        for (std::size_t end = text.find('\n'); end != std::string::npos;
             start = end + 1, end = text.find('\n', start))
            out.Line("  " + text.substr(start, end - start));
        heldLine = "  " + text.substr(start);
    });
    if (heldLine) {
        out.Line(*heldLine);
        out.Line("]");
    } else {
        out.Line("[]");
    }
    out.Finish();
    return exitCode;
}

// The book or the table of the piles as the results page holds them after consecutive
// calculations, printed a pile at a time: only the report asked for is built, and what is kept
// does not grow with the number of piles.
class TReportPrinter
{
public:
    TReportPrinter(bool table, TLineOutput &out)
        : m_table(table)
        , m_out(out)
    { }

    void Add(const TPileInput &input, const TPileResult &result, const std::string &timeStamp)
    {
        const int n = ++m_pileCount;
        const TPageTexts texts = PageTextsOf(input, result);
        m_lines.clear();
        if (m_table) {
            // The header once; the closing lines only after the last pile.
            if (n == 1)
                AppendSummaryHeader(m_lines);
            m_lines.push_back(SummaryPileLine(n, input, result, texts));
            m_closingStamp = timeStamp;
        } else {
            // Every section but the last loses its time-stamp line.
            AppendBookSection(m_lines, n, input, result, texts, timeStamp);
            m_closingStamp = std::move(m_lines.back());
            m_lines.pop_back();
        }
        for (const std::string &line : m_lines)
            m_out.Line(line);
    }

    void Finish()
    {
        if (m_pileCount == 0)
            return;
        m_lines.clear();
        if (m_table)
            AppendSummaryClosing(m_lines, m_closingStamp);
        else
            m_lines.push_back(m_closingStamp);
        for (const std::string &line : m_lines)
            m_out.Line(line);
    }

private:
    bool m_table;
    TLineOutput &m_out;
    int m_pileCount = 0;
    std::vector<std::string> m_lines;
    std::string m_closingStamp; // the table's time stamp or the book's last line
};

// The book or the table of all piles that succeeded, each with the time of its own calculation
// unless one time stamp was given.
int RunReports(const TPileSource &piles, const TCalcOptions &options, TLineOutput &out)
{
    TReportPrinter printer(options.format == "table", out);
    const int exitCode = ForEachSuccess(
        piles, options,
        [&](const TPileInput &input, const TPileResult &result, const std::string &timeStamp) {
            printer.Add(input, result, timeStamp);
        });
    printer.Finish();
    if (out.NothingSaved()) {
        ReportNothingSaved(*options.out, "no pile succeeded");
        return exitCode;
    }
    if (const auto error = out.Finish()) {
        // Nothing was written: unlike a failed pile, there is no report to take from this run.
        std::cerr << "pilecalc: " << *error << '\n';
        return 2;
    }
    return exitCode;
}

bool IsPdfFormat(const std::string &format)
{
    return format == "pdf" || format == "table-pdf";
}

// The book or the table of all piles that succeeded as a PDF document, to the --out file (the
// previous file replaced only when all was written) or to standard output.
int RunPdf(const TPileSource &piles, const TCalcOptions &options)
{
    if (!PdfSupported())
        throw TUsageError("--format " + options.format
                          + ": this pilecalc was built without PDF support");
    TPileReports reports;
    const int exitCode = ForEachSuccess(
        piles, options,
        [&](const TPileInput &input, const TPileResult &result, const std::string &timeStamp) {
            reports.WriteReports(input, result, PageTextsOf(input, result), timeStamp);
        });
    if (options.out && reports.PileCount() == 0) {
        ReportNothingSaved(*options.out, "no pile succeeded");
        return exitCode;
    }
    const std::string pdf = ReportPdf(reports, options.format == "table-pdf");
    if (!options.out) {
        std::cout.write(pdf.data(), std::streamsize(pdf.size()));
        return exitCode;
    }
    TTextFileWriter file(*options.out);
    file.WriteBytes(pdf);
    if (const auto error = file.Commit()) {
        std::cerr << "pilecalc: " << *error << '\n';
        return 2;
    }
    return exitCode;
}

int RunCalc(const TCalcOptions &options)
{
    RefuseEmptyPath(options.file, "FILE");
    RefuseEmptyPath(options.out, "--out");
    if (options.format == "json" && options.out)
        throw TUsageError("--out saves the book or the table; --format json prints to standard "
                          "output only");
    // A line break would split a report line and with it the line structure of the saved file.
    if (options.timeStamp && options.timeStamp->find_first_of("\r\n") != std::string::npos)
        throw TUsageError("--timestamp must be a single line");
    std::optional<TPileSource> source;
    try {
        source.emplace(options.file);
    } catch (const TNoPileError &error) {
        // Nothing to calculate is a failed run, as in the desktop program.
        std::cerr << "pilecalc: " << error.what() << '\n';
        if (options.out)
            ReportNothingSaved(*options.out, "the file holds no pile");
        return 1;
    }
    const TPileSource &piles = *source;
    if (IsPdfFormat(options.format))
        return RunPdf(piles, options);
    TLineOutput out(options.out);
    return options.format == "json" ? RunJson(piles, out) : RunReports(piles, options, out);
}

} // namespace
void AddCalcCommand(CLI::App &app, int &exitCode)
{
    auto options = std::make_shared<TCalcOptions>();
    CLI::App *calc = app.add_subcommand(
        "calc", "Calculate the piles of a pile file (default pile without FILE)");
    calc->add_option(
        "FILE", options->file,
        "JSON file with one pile or an array of piles, or a CSV table (*.csv); - for JSON on "
        "standard input");
    calc->add_option("--format", options->format,
                     "book: the calculation book; table: the summary table; json: every figure; "
                     "pdf, table-pdf: the book with each pile's profile, or the table, as PDF")
        ->check(CLI::IsMember({"book", "table", "json", "pdf", "table-pdf"}))
        ->capture_default_str();
    calc->add_option("--timestamp", options->timeStamp,
                     "Time-stamp text of the reports instead of the local date and time");
    calc->add_option("--out", options->out,
                     "Save the book or the table to FILE as the desktop program saves it "
                     "(system code page, CR LF; a PDF as it is)");
    calc->callback([options, &exitCode] { exitCode = RunCalc(*options); });
}
