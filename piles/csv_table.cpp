#include "csv_table.h"

#include "pile_file_error.h"

#include <csv.h>

#include <exception>
#include <memory>
#include <new>

namespace {

// What the callbacks of the parser collect. They never throw (the parser is C): the first failure
// is kept and ends the reading after the piece being parsed.
struct TCollector
{
    const std::function<void(const TCsvRecord &)> *take = nullptr;
    const std::size_t *width = nullptr;
    TCsvRecord current;
    int row = 1; // the row of the current record
    bool afterCarriageReturn = false;
    std::exception_ptr failure;
};

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// A number as a spreadsheet takes it: a sign, digits with a decimal point, an exponent.
bool IsPlainNumber(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t start = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) { }
        if (i == start)
            return false;
    }
    return i == text.size();
}

// Whether a text gets a protecting apostrophe when it is written.
bool NeedsApostrophe(std::string_view text)
{
    std::size_t quotes = 0;
    while (quotes < text.size() && text[quotes] == '\'')
        ++quotes;
    const std::string_view rest = text.substr(quotes);
    if (rest.empty())
        return false;
    const char first = rest.front();
    const bool formula = first == '=' || first == '+' || first == '-' || first == '@'
        || first == '\t' || first == '\r';
    return formula && !IsPlainNumber(rest);
}

void EndCell(void *data, std::size_t length, void *collector)
{
    auto &c = *static_cast<TCollector *>(collector);
    if (c.failure)
        return;
    c.afterCarriageReturn = false;
    try {
        const std::size_t column = c.current.count;
        std::string_view text(static_cast<const char *>(data), data ? length : 0);
        if (column >= *c.width) {
            if (text.empty())
                return;
            throw TPileFileError(
                "row " + std::to_string(c.row) + ", column " + ColumnLetters(column)
                    + ": a cell beyond the last column of the header (column "
                    + ColumnLetters(*c.width - 1) + ")",
                "第 " + std::to_string(c.row) + " 行第 " + ColumnLetters(column)
                    + " 列：超出表头最后一列（第 " + ColumnLetters(*c.width - 1) + " 列）的单元格");
        }
        ++c.current.count;
        if (text.size() > 1 && text.front() == '\'' && NeedsApostrophe(text.substr(1)))
            text.remove_prefix(1);
        if (!text.empty())
            c.current.filled.emplace_back(column, std::string(text));
    } catch (...) {
        c.failure = std::current_exception();
    }
}

// Called at every CR and LF outside a cell (the parser reports them all), and at the end.
void EndRecord(int terminator, void *collector)
{
    auto &c = *static_cast<TCollector *>(collector);
    if (c.failure)
        return;
    const bool empty = c.current.count == 0;
    if (empty && terminator == '\n' && c.afterCarriageReturn) {
        c.afterCarriageReturn = false; // the LF of a CR LF
        return;
    }
    c.afterCarriageReturn = terminator == '\r';
    if (!empty) {
        c.current.row = c.row;
        try {
            (*c.take)(c.current);
        } catch (...) {
            c.failure = std::current_exception();
        }
        c.current.count = 0;
        c.current.filled.clear();
    }
    ++c.row;
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

std::string ColumnLetters(std::size_t index)
{
    std::string letters;
    for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

void TCsvReader::Read(std::string_view text, const std::function<void(const TCsvRecord &)> &take)
{
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0)
        throw std::bad_alloc();
    const std::unique_ptr<csv_parser, void (*)(csv_parser *)> guard(&parser, csv_free);
    csv_set_space_func(&parser, NoSpace);
    csv_set_delim(&parser, static_cast<unsigned char>(m_delimiter));
    TCollector collector;
    collector.take = &take;
    collector.width = &m_width;
    // In pieces, so that a failure in a callback ends the reading soon.
    constexpr std::size_t Piece = std::size_t {1} << 16;
    bool parsed = true;
    for (std::size_t at = 0; at < text.size() && parsed && !collector.failure; at += Piece) {
        const std::size_t length = std::min(Piece, text.size() - at);
        parsed =
            csv_parse(&parser, text.data() + at, length, EndCell, EndRecord, &collector) == length;
    }
    if (parsed && !collector.failure)
        parsed = csv_fini(&parser, EndCell, EndRecord, &collector) == 0;
    if (collector.failure)
        std::rethrow_exception(collector.failure);
    const int error = csv_error(&parser);
    if (parsed && error == CSV_SUCCESS)
        return;
    if (error == CSV_EPARSE) {
        const std::string row = std::to_string(collector.row);
        throw TPileFileError("row " + row
                                 + ": a quote out of place (a quoted cell must be closed and "
                                   "stand alone between commas, a quote inside it doubled)",
                             "第 " + row
                                 + " 行：引号位置不对（带引号的单元格须有结束引号，并单独位于两个"
                                   "逗号之间，其中的引号须写两遍）");
    }
    if (error == CSV_ETOOBIG) {
        const std::string row = std::to_string(collector.row);
        throw TPileFileError("row " + row + ": a cell too large to be read",
                             "第 " + row + " 行：单元格过大，无法读取");
    }
    throw std::bad_alloc(); // the parser's only other failure: no memory for a cell
}

std::string CsvCellText(std::string_view text)
{
    return NeedsApostrophe(text) ? "'" + std::string(text) : std::string(text);
}

std::string ExcelCsvLine(const std::vector<std::string> &record)
{
    std::string line;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string cell = CsvCellText(record[i]);
        if (!NeedsQuotes(cell)) {
            line += cell;
            continue;
        }
        const std::size_t start = line.size();
        line.resize(start + csv_write(nullptr, 0, cell.data(), cell.size()));
        csv_write(line.data() + start, line.size() - start, cell.data(), cell.size());
    }
    return line + "\r\n";
}
