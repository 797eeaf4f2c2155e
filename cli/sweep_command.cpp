#include "sweep_command.h"

#include "candidate_file.h"
#include "candidate_filter.h"
#include "candidate_sort.h"
#include "line_output.h"
#include "pile_file.h"
#include "pile_json.h"
#include "sweep.h"
#include "sweep_request.h"
#include "text_file.h"
#include "time_stamp.h"
#include "usage_checks.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <iostream>
#include <memory>
#include <optional>

using nlohmann::json;

namespace {

struct TSweepOptions
{
    std::optional<std::string> file;
    bool filter = false;
    std::vector<std::string> sortKeys;
    std::string format = "table";
    std::optional<std::string> timeStamp;
    std::optional<std::string> out;
    int threads = 0; // 0: one per hardware thread
};

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char ch : text) {
        quoted += ch;
        if (ch == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

void PrintCsv(const TCandidateTable &table, TLineOutput &out)
{
    std::string line;
    for (int column = 0; column < CandidateColumn::Count; ++column)
        line += (column ? "," : "") + CsvField(CandidateHeaderText(column));
    out.Line(line);
    TCandidateTextMaker maker(table.context);
    for (std::size_t k = 0; k < table.Size(); ++k) {
        const TCandidateTexts &texts = maker.Texts(table.Row(k));
        line.clear();
        for (int column = 0; column < CandidateColumn::Count; ++column)
            line += (column ? "," : "") + CsvField(texts[column]);
        out.Line(line);
    }
}

void PrintJson(const TCandidateTable &table, bool ok, const std::string &status,
               const std::optional<std::string> &message, TLineOutput &out)
{
    nlohmann::ordered_json head = nlohmann::ordered_json::object();
    head["ok"] = ok;
    head["status"] = status;
    if (message)
        head["message"] = *message;
    std::string text = head.dump();
    text.pop_back(); // the closing brace, reopened for the rows
    out.Line(text + ",\"rows\":[");
    TCandidateTextMaker maker(table.context);
    for (std::size_t k = 0; k < table.Size(); ++k) {
        const TCandidateTexts &texts = maker.Texts(table.Row(k));
        out.Line(json(texts).dump() + (k + 1 < table.Size() ? "," : ""));
    }
    out.Line("]}");
}

int RunSweepCommand(const TSweepOptions &options)
{
    // A line break would split the time-stamp line and with it the line structure of the file.
    if (options.timeStamp && options.timeStamp->find_first_of("\r\n") != std::string::npos)
        throw TUsageError("--timestamp must be a single line");
    RefuseEmptyPath(options.file, "FILE");
    RefuseEmptyPath(options.out, "--out");
    TSweepRequest request;
    if (options.file)
        request = SweepRequestFromJson(
            ParseJsonText(ReadInputText(*options.file), InputName(*options.file)));
    const TOptionTable &table = request.table;
    const TPileInput &base = request.base;

    TSweepResult sweep = RunSweep(table, base, {}, options.threads);
    bool ok = sweep.end == TSweepEnd::Complete;
    std::string status = sweep.status;
    std::optional<std::string> message = sweep.errorBox;
    if (sweep.pageOutcome && !sweep.pageOutcome->ok())
        message = sweep.pageOutcome->failure->message;

    TCandidateTable filtered;
    const TCandidateTable *shown = &sweep.table;
    auto kind = TCandidateFileKind::Raw;
    if (ok && options.filter) {
        TFilterResult filter = FilterCandidates(sweep.table, table);
        if (filter.errorBox) {
            ok = false;
            message = filter.errorBox;
        } else {
            filtered = std::move(filter.filtered);
            status = filter.status;
            shown = &filtered;
            kind = TCandidateFileKind::Filtered;
        }
    }
    if (ok) {
        TSortState state;
        for (const std::string &key : options.sortKeys) {
            const int column = key == "d" ? CandidateColumn::SizeD : CandidateColumn::Ra;
            status = ClickHeader(shown == &filtered ? filtered : sweep.table, state, column).status;
        }
    }

    // A failed run, or one without a candidate on show, leaves the --out file as it was.
    std::optional<std::string> nothingSaved;
    if (!ok)
        nothingSaved = "the sweep failed";
    else if (shown->Empty())
        nothingSaved = "no candidate is on show";
    const bool keepFile = nothingSaved && options.out;
    TLineOutput out(options.out);
    if (keepFile) {
        // No line: the file is not even opened.
    } else if (options.format == "count") {
        out.Line(status);
    } else {
        if (options.format == "json") {
            PrintJson(*shown, ok, status, message, out);
        } else if (options.format == "csv") {
            PrintCsv(*shown, out);
        } else if (!shown->Empty()) {
            TCandidateFile file;
            file.kind = kind;
            file.table = shown;
            file.soilAppendix = WantsSoilAppendix(table);
            file.soilLayers = base.soilLayers;
            file.timeStamp = options.timeStamp ? *options.timeStamp : TimeStampText();
            ForEachCandidateFileLine(file, [&out](std::string_view line) { out.Line(line); });
        }
    }
    // What a file that is kept would have said goes to standard error.
    if ((keepFile && !status.empty()) || (options.format != "json" && options.format != "count"))
        std::cerr << status << '\n';
    if (message && (keepFile || options.format != "json"))
        std::cerr << *message << '\n';
    if (keepFile) {
        ReportNothingSaved(*options.out, *nothingSaved);
        return ok ? 0 : 1;
    }
    if (const auto error = out.Finish()) {
        // Nothing was written: the output of this run is lost, unlike a failed sweep's rows.
        std::cerr << "pilecalc: " << *error << '\n';
        return 2;
    }
    return ok ? 0 : 1;
}

} // namespace

void AddSweepCommand(CLI::App &app, int &exitCode)
{
    auto options = std::make_shared<TSweepOptions>();
    CLI::App *sweep = app.add_subcommand(
        "sweep", "Sweep an options table from a base pile, then filter and sort the candidates");
    sweep->add_option("FILE", options->file,
                      "JSON file {\"options\": {row: [cells]}, \"base\": pile}; - for standard "
                      "input; without FILE the default table and pile");
    sweep->add_flag("--filter", options->filter, "Filter by the Ra window of options row 14");
    sweep
        ->add_option("--sort", options->sortKeys,
                     "Header clicks in order, a comma list of d and ra (d,d: ascending, then "
                     "reversed)")
        ->delimiter(',')
        ->check(CLI::IsMember({"d", "ra"}));
    sweep->add_option("--format", options->format, "Output format")
        ->check(CLI::IsMember({"table", "json", "csv", "count"}))
        ->capture_default_str();
    sweep->add_option("--timestamp", options->timeStamp,
                      "Time stamp text of the table (default: now)");
    sweep->add_option("--out", options->out,
                      "Write the output to this file in the system code page with CR LF");
    sweep
        ->add_option("--threads", options->threads,
                     "Threads of the sweep (default: one per hardware thread); the rows are the "
                     "same for any number")
        ->check(CLI::Range(1, 1024));
    sweep->callback([options, &exitCode] { exitCode = RunSweepCommand(*options); });
}
