#include "csv_table.h"

#include "pile_file_error.h"
#include "text_encoding.h"

#include <csv.h>

#include <memory>

namespace {

// What the callbacks of the parser collect.
struct TCollector
{
    std::vector<TCsvRecord> records;
    TCsvRecord current;
    int row = 1; // the row the current record begins on
    int lineBreaks = 0; // line breaks inside quoted cells of the current record
    bool afterCarriageReturn = false;
};

void EndCell(void *data, std::size_t length, void *collector)
{
    auto &c = *static_cast<TCollector *>(collector);
    const char *text = static_cast<const char *>(data);
    std::string cell = text ? std::string(text, length) : std::string();
    for (std::size_t i = 0; i < cell.size(); ++i) {
        // A CR LF inside a quoted cell is one line break, as is a lone CR or LF.
        if (cell[i] == '\n' || (cell[i] == '\r' && (i + 1 == cell.size() || cell[i + 1] != '\n')))
            ++c.lineBreaks;
    }
    c.current.cells.push_back(std::move(cell));
    c.afterCarriageReturn = false;
}

// Called at every CR and LF outside a cell (the parser reports them all), and at the end.
void EndRecord(int terminator, void *collector)
{
    auto &c = *static_cast<TCollector *>(collector);
    const bool empty = c.current.cells.empty();
    if (empty && terminator == '\n' && c.afterCarriageReturn) {
        c.afterCarriageReturn = false; // the LF of a CR LF
        return;
    }
    c.afterCarriageReturn = terminator == '\r';
    if (!empty) {
        c.current.row = c.row;
        c.records.push_back(std::move(c.current));
        c.current = {};
    }
    c.row += 1 + c.lineBreaks;
    c.lineBreaks = 0;
}

// Blanks are part of a cell's text.
int NoSpace(unsigned char)
{
    return 0;
}

bool NeedsQuotes(std::string_view cell)
{
    return cell.find_first_of(",\"\r\n") != std::string_view::npos
        || (!cell.empty() && (cell.front() == ' ' || cell.front() == '\t'))
        || (!cell.empty() && (cell.back() == ' ' || cell.back() == '\t'));
}

} // namespace

std::vector<TCsvRecord> ReadCsvRecords(std::string_view text)
{
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0)
        throw TPileFileError("the CSV reader could not start");
    const std::unique_ptr<csv_parser, void (*)(csv_parser *)> guard(&parser, csv_free);
    csv_set_space_func(&parser, NoSpace);
    TCollector collector;
    const bool parsed =
        csv_parse(&parser, text.data(), text.size(), EndCell, EndRecord, &collector) == text.size()
        && csv_fini(&parser, EndCell, EndRecord, &collector) == 0
        && csv_error(&parser) == CSV_SUCCESS;
    if (!parsed) {
        const int error = csv_error(&parser);
        if (error == CSV_EPARSE) {
            throw TPileFileError("row " + std::to_string(collector.row + collector.lineBreaks)
                                 + ": a quote out of place (a quoted cell must be closed and "
                                   "stand alone between commas, a quote inside it doubled)");
        }
        throw TPileFileError(std::string("the CSV text cannot be read: ") + csv_strerror(error));
    }
    return std::move(collector.records);
}

std::string ExcelCsvText(const std::vector<std::vector<std::string>> &records)
{
    std::string text(Utf8ByteOrderMark);
    for (const std::vector<std::string> &record : records) {
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i > 0)
                text += ',';
            const std::string &cell = record[i];
            if (!NeedsQuotes(cell)) {
                text += cell;
                continue;
            }
            const std::size_t start = text.size();
            text.resize(start + csv_write(nullptr, 0, cell.data(), cell.size()));
            csv_write(text.data() + start, text.size() - start, cell.data(), cell.size());
        }
        text += "\r\n";
    }
    return text;
}
