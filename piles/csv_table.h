#pragma once

#include <string>
#include <string_view>
#include <vector>

// One record of a CSV text and the row it stands on as a spreadsheet shows it (1-based; a blank
// line is a row of its own, a line break inside a quoted cell is not).
struct TCsvRecord
{
    int row = 0;
    std::vector<std::string> cells;
};

// The records of a UTF-8 CSV text, blank lines left out. Cells keep their texts exactly, blanks
// included; quoted cells lose their quotes. Throws TPileFileError naming the row of a quote out of
// place.
std::vector<TCsvRecord> ReadCsvRecords(std::string_view text);

// The records as a CSV text that Excel opens correctly: UTF-8 with a byte-order mark, cells
// quoted where they must be, CR LF after every record.
std::string ExcelCsvText(const std::vector<std::vector<std::string>> &records);
