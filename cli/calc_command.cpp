#include "calc_command.h"

#include "calculation.h"
#include "calculation_book.h"
#include "design_load.h"
#include "line_output.h"
#include "outcome_json.h"
#include "page_texts.h"
#include "pdf_output.h"
#include "pile_file.h"
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

TPileDocument ReadPiles(const TCalcOptions &options)
{
    if (!options.file)
        return {{}, std::vector<TPileInput>(1)}; // the default pile
    return ReadPileDocument(*options.file);
}

void ReportFailure(std::size_t index, const TCalcOutcome &outcome)
{
    std::cerr << "pile " << index + 1 << ": " << outcome.failure->message << '\n';
}

// Calculates the piles as consecutive presses of "计算": each success goes to `add` with the time
// stamp of its calculation (or the one given), each failure to standard error. 1 if any failed.
template<typename FAdd>
int ForEachSuccess(const std::vector<TPileInput> &piles, const TCalcOptions &options, FAdd add)
{
    int exitCode = 0;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const TCalcOutcome outcome = Calculate(piles[i]);
        if (!outcome.ok()) {
            ReportFailure(i, outcome);
            exitCode = 1;
            continue;
        }
        add(piles[i], outcome.result, options.timeStamp ? *options.timeStamp : TimeStampText());
    }
    return exitCode;
}

// The results as one JSON array, indented by two, printed a pile at a time.
int RunJson(const std::vector<TPileInput> &piles, TLineOutput &out)
{
    int pileCount = 0;
    int exitCode = 0;
    std::optional<std::string> heldLine; // the last line of the previous pile, awaiting its comma
    for (std::size_t i = 0; i < piles.size(); ++i) {
        const TCalcOutcome outcome = Calculate(piles[i]);
        if (outcome.ok()) {
            ++pileCount;
            // An unusable load text is bad input like any other field, though Ra stands.
            if (const auto check = CheckPileLoad(piles[i], outcome.result);
                check && !check->made()) {
                std::cerr << "pile " << i + 1 << ": " << check->error << '\n';
                exitCode = 1;
            }
        } else {
            ReportFailure(i, outcome);
            exitCode = 1;
        }
        const std::string text = OutcomeToJson(piles[i], outcome, pileCount).dump(2);
        out.Line(heldLine ? *heldLine + "," : std::string("["));
        std::size_t start = 0;
        for (std::size_t end = text.find('\n'); end != std::string::npos;
             start = end + 1, end = text.find('\n', start))
            out.Line("  " + text.substr(start, end - start));
        heldLine = "  " + text.substr(start);
    }
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
int RunReports(const std::vector<TPileInput> &piles, const TCalcOptions &options, TLineOutput &out)
{
    TReportPrinter printer(options.format == "table", out);
    const int exitCode = ForEachSuccess(
        piles, options,
        [&](const TPileInput &input, const TPileResult &result, const std::string &timeStamp) {
            printer.Add(input, result, timeStamp);
        });
    printer.Finish();
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
int RunPdf(const std::vector<TPileInput> &piles, const TProjectInfo &project,
           const TCalcOptions &options)
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
    const std::string pdf = ReportPdf(reports, project, options.format == "table-pdf");
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
    const TPileDocument document = ReadPiles(options);
    const std::vector<TPileInput> &piles = document.piles;
    if (IsPdfFormat(options.format))
        return RunPdf(piles, document.project, options);
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
