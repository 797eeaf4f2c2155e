#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One record of a CSV text and the row it stands on as a spreadsheet shows it (1-based: every
// record is a row, a blank line too, a line break inside a quoted cell is none). Only the filled
// cells are kept, with their 0-based column; `count` is the number of cells of the record.
struct TCsvRecord
{
    int row = 0;
    std::size_t count = 0;
    std::vector<std::pair<std::size_t, std::string>> filled;
};

// The column's letters as a spreadsheet shows them: A … Z, AA, AB, … for 0, 1, …
std::string ColumnLetters(std::size_t index);

// Reads a UTF-8 CSV text record by record, blank lines left out, without holding more than one
// record. Cells keep their texts exactly, blanks included; quoted cells lose their quotes and a
// cell written with a protecting apostrophe (CsvCellText) loses the apostrophe again.
class TCsvReader
{
public:
    explicit TCsvReader(char delimiter = ',')
        : m_delimiter(delimiter)
    { }

    // From now on a record holds at most `width` cells: an empty cell beyond them is dropped, a
    // filled one refused as beyond the last column of the header.
    void SetWidth(std::size_t width) { m_width = width; }

    // Gives every record to `take` in turn. Throws TPileFileError naming the row of a quote out of
    // place or the row and column of a cell beyond the width; what `take` throws ends the reading.
    void Read(std::string_view text, const std::function<void(const TCsvRecord &)> &take);

private:
    char m_delimiter;
    std::size_t m_width = static_cast<std::size_t>(-1);
};

// A cell as it is written: a text a spreadsheet would run as a formula (one that begins with = + -
// @, a tab or a CR and is no plain number, or such a text behind apostrophes) gets an apostrophe in
// front, which the reader removes again.
std::string CsvCellText(std::string_view text);

// A record as one line of CSV that Excel opens correctly: cells protected as CsvCellText does and
// quoted where they must be, CR LF at the end.
std::string ExcelCsvLine(const std::vector<std::string> &record);
