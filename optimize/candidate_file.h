#pragma once

#include "candidate.h"
#include "opt_options.h"
#include "pile_input.h"
#include "text_file.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TCandidateFileKind { Raw, Filtered };

// Everything a candidate file prints.
struct TCandidateFile
{
    TCandidateFileKind kind = TCandidateFileKind::Raw;
    const TCandidateTable *table = nullptr; // the grid on show, in its present order
    // The soil appendix is printed when the overburden cell of the options table is exactly "1";
    // it lists these layers as the input page shows them.
    bool soilAppendix = false;
    std::vector<TSoilLayer> soilLayers;
    std::string timeStamp;
};

// Whether the options table asks for the soil appendix.
bool WantsSoilAppendix(const TOptionTable &options);

// The lines of the file, one call each, without line ends; rows are produced one at a time.
void ForEachCandidateFileLine(const TCandidateFile &file,
                              const std::function<void(std::string_view)> &line);

// Takes the bytes of the lines, already encoded and ended, in large blocks.
using TByteSink = std::function<void(std::string_view)>;

// The lines of ForEachCandidateFileLine, encoded and ended, in blocks.
void WriteCandidateFile(const TCandidateFile &file, TLineEncoding encoding, const TByteSink &sink);

// A table as CSV: the header texts, then the twenty texts of each row; a cell is quoted when it
// holds a comma, a quote or a line break, and one a spreadsheet would run as a formula (it begins
// with = + - @, a tab or a CR and is no plain number, or is such a text behind apostrophes) gets an
// apostrophe in front.
void WriteCandidateCsv(const TCandidateTable &table, TLineEncoding encoding, const TByteSink &sink);
std::string CandidateCsvCell(std::string_view text);

// The rows of a table as JSON arrays of their twenty texts, one line each, a comma after every
// line but the last.
void WriteCandidateJsonRows(const TCandidateTable &table, TLineEncoding encoding,
                            const TByteSink &sink);

// Writes the raw or filtered candidate file into `folder` under its fixed name, replacing an older
// one only when everything was written; gives the operating system's message on failure.
std::optional<std::string> SaveCandidateFile(const std::filesystem::path &folder,
                                             const TCandidateFile &file);
