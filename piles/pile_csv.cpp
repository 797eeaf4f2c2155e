#include "pile_csv.h"

#include "csv_table.h"
#include "messages.h"
#include "pile_file_error.h"
#include "pile_items.h"
#include "text_encoding.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

enum class TField {
    Name,
    Section,
    D,
    C,
    CoefMode,
    Basis,
    BoredPile,
    Rounding,
    Soil,
    Rock,
    SoilCount,
    RockCount
};

struct TColumn
{
    std::string name;
    TField field = TField::Name;
    int layer = 0; // 0-based, for the soil and rock cells
    int cell = 0; // the cell of the layer
};

struct TSoilCell
{
    std::string_view name;
    std::string TSoilLayer::*member;
};

struct TRockCell
{
    std::string_view name;
    std::string TRockLayer::*member;
};

constexpr std::array<TSoilCell, 2> SoilCells {
    {{"厚度 li", &TSoilLayer::li}, {"侧阻 qik", &TSoilLayer::qik}}};

constexpr std::array<TRockCell, 7> RockCells {{{"嵌岩厚度 hi", &TRockLayer::hi},
                                               {"风化程度", &TRockLayer::weathering},
                                               {"完整程度", &TRockLayer::integrityGrade},
                                               {"完整性指数 Kv", &TRockLayer::integrityIndex},
                                               {" frk", &TRockLayer::frk},
                                               {" c1", &TRockLayer::c1Specified},
                                               {" c2", &TRockLayer::c2Specified}}};

constexpr std::array<std::string_view, 2> BoredPileItems {"是", "否"};

const std::vector<TColumn> &Columns()
{
    static const std::vector<TColumn> columns = [] {
        std::vector<TColumn> list {{"桩号", TField::Name},
                                   {"截面类型", TField::Section},
                                   {"d", TField::D},
                                   {"c", TField::C},
                                   {"侧阻端阻系数", TField::CoefMode},
                                   {"系数插值依据", TField::Basis},
                                   {"钻孔桩", TField::BoredPile},
                                   {"精度", TField::Rounding}};
        for (int j = 0; j < MaxSoilLayers; ++j) {
            for (int k = 0; k < static_cast<int>(SoilCells.size()); ++k) {
                list.push_back({"土层" + std::to_string(j + 1) + std::string(SoilCells[k].name),
                                TField::Soil, j, k});
            }
        }
        for (int i = 0; i < MaxRockLayers; ++i) {
            for (int k = 0; k < static_cast<int>(RockCells.size()); ++k) {
                list.push_back({"岩层" + std::to_string(i + 1) + std::string(RockCells[k].name),
                                TField::Rock, i, k});
            }
        }
        list.push_back({"土层数", TField::SoilCount});
        list.push_back({"岩层数", TField::RockCount});
        return list;
    }();
    return columns;
}

const TColumn &ColumnOf(TField field)
{
    return *std::find_if(Columns().begin(), Columns().end(),
                         [field](const TColumn &column) { return column.field == field; });
}

const TColumn *LayerColumn(TField field, int layer, int cell)
{
    for (const TColumn &column : Columns()) {
        if (column.field == field && column.layer == layer && column.cell == cell)
            return &column;
    }
    return nullptr;
}

// A column name as it is matched: without blanks, Latin letters in lower case.
std::string MatchedName(std::string_view name)
{
    std::string matched;
    for (const char ch : name) {
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n')
            continue;
        matched += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
    }
    return matched;
}

std::string EnglishPlace(int row, std::size_t column, std::string_view name)
{
    std::string place = "row " + std::to_string(row) + ", column " + ColumnLetters(column);
    if (!name.empty())
        place += " (" + std::string(name) + ")";
    return place;
}

std::string ChinesePlace(int row, std::size_t column, std::string_view name)
{
    std::string place = "第 " + std::to_string(row) + " 行第 " + ColumnLetters(column) + " 列";
    if (!name.empty())
        place += "（" + std::string(name) + "）";
    return place;
}

[[noreturn]] void Reject(int row, std::size_t column, std::string_view name,
                         const std::string &english, const std::string &chinese)
{
    throw TPileFileError(EnglishPlace(row, column, name) + ": " + english,
                         ChinesePlace(row, column, name) + "：" + chinese);
}

// The items as a message lists them: "a", "b" or “a”、“b”.
template<std::size_t N>
std::pair<std::string, std::string> ItemList(const std::array<std::string_view, N> &items)
{
    std::string english;
    std::string chinese;
    for (std::size_t i = 0; i < N; ++i) {
        english += (i ? ", \"" : "\"") + std::string(items[i]) + "\"";
        chinese += (i ? "、“" : "“") + std::string(items[i]) + "”";
    }
    return {english, chinese};
}

// The header: the file's column of every named column, and the number of the header's cells.
struct THeader
{
    std::vector<std::pair<std::size_t, const TColumn *>> named; // by file column
    std::map<std::string, std::size_t> columnOf; // the file column of a column name
    std::size_t width = 0;

    const TColumn *At(std::size_t fileColumn) const
    {
        const auto found = std::lower_bound(
            named.begin(), named.end(), fileColumn,
            [](const auto &entry, std::size_t column) { return entry.first < column; });
        return found != named.end() && found->first == fileColumn ? found->second : nullptr;
    }
};

THeader ReadHeader(const TCsvRecord &record)
{
    static const std::map<std::string, const TColumn *> known = [] {
        std::map<std::string, const TColumn *> names;
        for (const TColumn &column : Columns())
            names.emplace(MatchedName(column.name), &column);
        return names;
    }();
    THeader header;
    header.width = record.count;
    std::map<std::string, std::size_t> seen;
    for (const auto &[i, name] : record.filled) {
        const std::string matched = MatchedName(name);
        if (matched.empty())
            continue;
        const auto found = known.find(matched);
        if (found == known.end()) {
            Reject(record.row, i, {}, "unknown column \"" + ShownText(name) + "\"",
                   "未知的列名“" + ShownText(name) + "”");
        }
        const auto [previous, fresh] = seen.emplace(matched, i);
        if (!fresh) {
            Reject(record.row, i, {},
                   "column \"" + ShownText(name) + "\" stands already in column "
                       + ColumnLetters(previous->second),
                   "列名“" + ShownText(name) + "”已在第 " + ColumnLetters(previous->second)
                       + " 列出现");
        }
        header.named.emplace_back(i, found->second);
        header.columnOf.emplace(found->second->name, i);
    }
    return header;
}

// The cells of one row by column of the pile table, with the column of the file each came from.
class TPileRow
{
public:
    TPileRow(const TCsvRecord &record, const THeader &header)
        : m_row(record.row)
    {
        for (const auto &[i, text] : record.filled) {
            if (!header.At(i)) {
                Reject(m_row, i, {}, "a filled cell under a column without a name",
                       "没有列名的列下填写了内容");
            }
        }
        m_cells.resize(Columns().size());
        std::size_t next = 0; // the next filled cell
        for (const auto &[i, column] : header.named) {
            if (i >= record.count)
                break;
            while (next < record.filled.size() && record.filled[next].first < i)
                ++next;
            const bool filled = next < record.filled.size() && record.filled[next].first == i;
            m_cells[Index(*column)].emplace(i, filled ? record.filled[next].second : std::string());
        }
    }

    int Row() const { return m_row; }

    // The cell of a column; nothing when the file has no such column or the row ends before it.
    const std::string *Cell(const TColumn &column) const
    {
        const auto &cell = m_cells[Index(column)];
        return cell ? &cell->second : nullptr;
    }

    std::size_t FileColumn(const TColumn &column) const { return m_cells[Index(column)]->first; }

    // The item index of a combo box column; nothing for a missing column or an empty cell.
    template<std::size_t N>
    std::optional<int> Item(TField field, const std::array<std::string_view, N> &items) const
    {
        const TColumn &column = ColumnOf(field);
        const std::string *text = Cell(column);
        if (!text || text->empty())
            return std::nullopt;
        for (std::size_t i = 0; i < N; ++i) {
            if (items[i] == *text)
                return static_cast<int>(i);
        }
        const auto [english, chinese] = ItemList(items);
        Reject(m_row, FileColumn(column), column.name,
               "\"" + ShownText(*text) + "\" is not one of " + english,
               "“" + ShownText(*text) + "”不是" + chinese + "之一");
    }

private:
    static std::size_t Index(const TColumn &column)
    {
        return static_cast<std::size_t>(&column - Columns().data());
    }

    int m_row;
    // By column of the pile table: the file's column and the cell's text.
    std::vector<std::optional<std::pair<std::size_t, std::string>>> m_cells;
};

// The number of layers a count column gives; nothing for a missing column or an empty cell.
std::optional<std::size_t> LayerCount(const TPileRow &row, TField field, std::size_t minimum,
                                      std::size_t maximum)
{
    const TColumn &column = ColumnOf(field);
    const std::string *text = row.Cell(column);
    if (!text || text->empty())
        return std::nullopt;
    if (text->size() == 1 && (*text)[0] >= '0' && (*text)[0] <= '9') {
        const auto count = static_cast<std::size_t>((*text)[0] - '0');
        if (count >= minimum && count <= maximum)
            return count;
    }
    const std::string range = std::to_string(minimum) + " to " + std::to_string(maximum);
    Reject(row.Row(), row.FileColumn(column), column.name,
           "\"" + ShownText(*text) + "\" is not a number of layers from " + range,
           "“" + ShownText(*text) + "”不是 " + std::to_string(minimum) + " 到 "
               + std::to_string(maximum) + " 之间的层数");
}

// The layers of one kind: as many as the count column gives, else up to the last one with a
// filled cell; their cells from the file, a missing column from the default layer (or empty
// beyond the default layers). Without any column of the kind, the default layers.
template<typename TLayer, typename TCells>
std::vector<TLayer> ReadLayers(const TPileRow &row, TField field, TField countField,
                               const TCells &cells, const std::vector<TLayer> &defaults,
                               std::size_t minimum, std::size_t maximum)
{
    const std::optional<std::size_t> given = LayerCount(row, countField, minimum, maximum);
    bool anyColumn = given.has_value();
    std::size_t count = 0;
    for (const TColumn &column : Columns()) {
        if (column.field != field)
            continue;
        if (const std::string *cell = row.Cell(column)) {
            anyColumn = true;
            if (cell->empty())
                continue;
            if (given && static_cast<std::size_t>(column.layer) >= *given) {
                const TColumn &countColumn = ColumnOf(countField);
                Reject(row.Row(), row.FileColumn(column), column.name,
                       "a filled cell beyond the " + std::to_string(*given) + " layers of "
                           + countColumn.name + " (column "
                           + ColumnLetters(row.FileColumn(countColumn)) + ")",
                       "已填写，但" + countColumn.name + "（第 "
                           + ColumnLetters(row.FileColumn(countColumn)) + " 列）只有 "
                           + std::to_string(*given) + " 层");
            }
            count = std::max(count, static_cast<std::size_t>(column.layer) + 1);
        }
    }
    if (!anyColumn)
        return defaults;
    std::vector<TLayer> layers(given ? *given : std::max(count, minimum));
    for (std::size_t j = 0; j < layers.size(); ++j) {
        if (j < defaults.size())
            layers[j] = defaults[j];
    }
    for (const TColumn &column : Columns()) {
        if (column.field != field || static_cast<std::size_t>(column.layer) >= layers.size())
            continue;
        std::string &target = layers[column.layer].*(cells[column.cell].member);
        if (const std::string *cell = row.Cell(column))
            target = *cell;
        else if (static_cast<std::size_t>(column.layer) >= defaults.size())
            target.clear();
    }
    return layers;
}

TPileInput PileFromRow(const TPileRow &row)
{
    const TPileInput defaults;
    TPileInput input;
    const int section = row.Item(TField::Section, PileItems::Sections).value_or(0);
    input.sectionType = static_cast<TSectionType>(section);
    if (const std::string *d = row.Cell(ColumnOf(TField::D)))
        input.d = *d;
    const std::string *c = row.Cell(ColumnOf(TField::C));
    input.c = c ? *c : std::string(PileItems::SectionDefaultC[section]);
    input.coefMode = static_cast<TCoefMode>(row.Item(TField::CoefMode, PileItems::CoefModes)
                                                .value_or(static_cast<int>(input.coefMode)));
    input.interpBasis = static_cast<TInterpBasis>(
        row.Item(TField::Basis, PileItems::Bases).value_or(static_cast<int>(input.interpBasis)));
    input.boredPile =
        row.Item(TField::BoredPile, BoredPileItems).value_or(input.boredPile ? 0 : 1) == 0;
    input.rounding = static_cast<TRoundingMode>(row.Item(TField::Rounding, PileItems::Roundings)
                                                    .value_or(static_cast<int>(input.rounding)));
    input.soilLayers = ReadLayers(row, TField::Soil, TField::SoilCount, SoilCells,
                                  defaults.soilLayers, 0, MaxSoilLayers);
    input.rockLayers = ReadLayers(row, TField::Rock, TField::RockCount, RockCells,
                                  defaults.rockLayers, 1, MaxRockLayers);
    return input;
}

std::vector<std::string> PileCells(const TPileInput &input, int number)
{
    // A square is entered on the page as a rectangle.
    const int section = IsRectangular(input.sectionType) ? 2 : static_cast<int>(input.sectionType);
    std::vector<std::string> cells {
        "ZH" + std::to_string(number),
        std::string(PileItems::Sections[section]),
        input.d,
        input.c,
        std::string(PileItems::CoefModes[static_cast<int>(input.coefMode)]),
        std::string(PileItems::Bases[static_cast<int>(input.interpBasis)]),
        std::string(BoredPileItems[input.boredPile ? 0 : 1]),
        std::string(PileItems::Roundings[static_cast<int>(input.rounding)])};
    for (int j = 0; j < MaxSoilLayers; ++j) {
        for (const TSoilCell &cell : SoilCells) {
            cells.push_back(j < static_cast<int>(input.soilLayers.size())
                                ? input.soilLayers[j].*(cell.member)
                                : std::string());
        }
    }
    for (int i = 0; i < MaxRockLayers; ++i) {
        for (const TRockCell &cell : RockCells) {
            cells.push_back(i < static_cast<int>(input.rockLayers.size())
                                ? input.rockLayers[i].*(cell.member)
                                : std::string());
        }
    }
    cells.push_back(std::to_string(input.soilLayers.size()));
    cells.push_back(std::to_string(input.rockLayers.size()));
    return cells;
}

// The column a failure message of the calculation names.
const TColumn *FailureColumn(const TCalcFailure &failure)
{
    const int layer = failure.layer;
    const int index = layer - 1;
    if (failure.stage == TFailureStage::Section) {
        if (failure.field == TInputField::D)
            return &ColumnOf(TField::D);
        if (failure.field == TInputField::C)
            return &ColumnOf(TField::C);
        return nullptr;
    }
    if (layer < 1)
        return nullptr;
    const std::string &message = failure.message;
    if (failure.stage == TFailureStage::SoilLayer) {
        if (message == Messages::SoilThicknessError(layer))
            return LayerColumn(TField::Soil, index, 0);
        if (message == Messages::SoilResistanceError(layer))
            return LayerColumn(TField::Soil, index, 1);
        return nullptr;
    }
    const std::pair<std::string, int> rockMessages[] = {{Messages::SocketThicknessError(layer), 0},
                                                        {Messages::GradeUnclear(layer), 2},
                                                        {Messages::IndexError(layer), 3},
                                                        {Messages::FrkError(layer), 4},
                                                        {Messages::FrkBelowTwo(layer), 4},
                                                        {Messages::C1Error(layer), 5},
                                                        {Messages::C2Error(layer), 6}};
    for (const auto &[text, cell] : rockMessages) {
        if (message == text)
            return LayerColumn(TField::Rock, index, cell);
    }
    return nullptr;
}

} // namespace

std::vector<std::string> PileCsvColumns()
{
    std::vector<std::string> names;
    for (const TColumn &column : Columns())
        names.push_back(column.name);
    return names;
}

std::size_t ReadCsvPiles(std::string_view bytes, const TPileSink &take)
{
    std::string converted;
    std::string_view text;
    char delimiter = ',';
    if (std::optional<std::string> utf16 = Utf16AsUtf8(bytes)) {
        converted = *std::move(utf16);
        text = converted;
        delimiter = '\t'; // Excel's "Unicode text"
    } else {
        text = Utf8TextOf(bytes, converted);
    }
    TCsvReader reader(delimiter);
    std::optional<THeader> header;
    std::size_t count = 0;
    reader.Read(text, [&](const TCsvRecord &record) {
        if (!header) {
            header = ReadHeader(record);
            reader.SetWidth(header->width);
            return;
        }
        const TPileRow row(record, *header);
        if (record.filled.empty())
            return;
        const TPileInput pile = PileFromRow(row);
        ++count;
        take(pile, TPileOrigin {record.row, &header->columnOf});
    });
    if (!header)
        throw TPileFileError("the table has no header row", "表格没有表头行");
    return count;
}

std::vector<TPileInput> PilesFromCsv(std::string_view bytes)
{
    std::vector<TPileInput> piles;
    ReadCsvPiles(bytes,
                 [&piles](const TPileInput &pile, const TPileOrigin &) { piles.push_back(pile); });
    return piles;
}

std::string PileCsvHead()
{
    return std::string(Utf8ByteOrderMark) + ExcelCsvLine(PileCsvColumns());
}

std::string PileCsvLine(const TPileInput &input, int number)
{
    return ExcelCsvLine(PileCells(input, number));
}

std::string PilesToCsv(const std::vector<TPileInput> &piles)
{
    std::string text = PileCsvHead();
    for (std::size_t i = 0; i < piles.size(); ++i)
        text += PileCsvLine(piles[i], static_cast<int>(i) + 1);
    return text;
}

std::pair<std::string, std::string> FailurePlace(const TPileOrigin &origin,
                                                 const TCalcFailure &failure)
{
    if (origin.row == 0 || !origin.columns)
        return {};
    const std::string row = std::to_string(origin.row);
    const TColumn *column = FailureColumn(failure);
    const auto found = column ? origin.columns->find(column->name) : origin.columns->end();
    if (found == origin.columns->end())
        return {"row " + row, "第 " + row + " 行"};
    return {EnglishPlace(origin.row, found->second, column->name),
            ChinesePlace(origin.row, found->second, column->name)};
}
