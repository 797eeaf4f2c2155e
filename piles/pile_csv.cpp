#include "pile_csv.h"

#include "csv_table.h"
#include "pile_file_error.h"
#include "pile_items.h"
#include "text_encoding.h"

#include <algorithm>
#include <array>
#include <map>
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
    Load,
    GammaR
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
        list.push_back({"桩顶轴力N(kN)", TField::Load});
        list.push_back({"抗力系数γR", TField::GammaR});
        return list;
    }();
    return columns;
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

// The column's letters as a spreadsheet shows them: A … Z, AA, AB, …
std::string ColumnLetters(std::size_t index)
{
    std::string letters;
    for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

[[noreturn]] void Reject(int row, std::size_t column, std::string_view name,
                         const std::string &what)
{
    std::string place = "row " + std::to_string(row) + ", column " + ColumnLetters(column);
    if (!name.empty())
        place += " (" + std::string(name) + ")";
    throw TPileFileError(place + ": " + what);
}

template<std::size_t N>
std::string ItemList(const std::array<std::string_view, N> &items)
{
    std::string list;
    for (std::size_t i = 0; i < N; ++i)
        list += (i ? ", \"" : "\"") + std::string(items[i]) + "\"";
    return list;
}

// The header: for each column of the file its column of the pile table, nothing for a column
// without a name.
std::vector<std::optional<TColumn>> ReadHeader(const TCsvRecord &header)
{
    std::map<std::string, const TColumn *> known;
    for (const TColumn &column : Columns())
        known.emplace(MatchedName(column.name), &column);
    std::vector<std::optional<TColumn>> columns;
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < header.cells.size(); ++i) {
        const std::string &name = header.cells[i];
        const std::string matched = MatchedName(name);
        if (matched.empty()) {
            columns.emplace_back();
            continue;
        }
        const auto found = known.find(matched);
        if (found == known.end())
            Reject(header.row, i, {}, "unknown column \"" + name + "\"");
        const auto [previous, fresh] = seen.emplace(matched, i);
        if (!fresh) {
            Reject(header.row, i, {},
                   "column \"" + name + "\" stands already in column "
                       + ColumnLetters(previous->second));
        }
        columns.emplace_back(*found->second);
    }
    return columns;
}

// The cells of one row by column of the pile table, with the column of the file each came from.
class TPileRow
{
public:
    TPileRow(const TCsvRecord &record, const std::vector<std::optional<TColumn>> &header)
        : m_row(record.row)
    {
        for (std::size_t i = 0; i < record.cells.size(); ++i) {
            const std::string &cell = record.cells[i];
            if (i >= header.size()) {
                Reject(m_row, i, {},
                       "a cell beyond the last column of the header (column "
                           + ColumnLetters(header.size() - 1) + ")");
            }
            if (!header[i]) {
                if (!cell.empty())
                    Reject(m_row, i, {}, "a filled cell under a column without a name");
                continue;
            }
            m_cells.emplace(header[i]->name, std::make_pair(i, &cell));
        }
    }

    // The cell of a column; nothing when the file has no such column.
    const std::string *Cell(const TColumn &column) const
    {
        const auto found = m_cells.find(column.name);
        return found == m_cells.end() ? nullptr : found->second.second;
    }

    // The item index of a combo box column; nothing for a missing column or an empty cell.
    template<std::size_t N>
    std::optional<int> Item(TField field, const std::array<std::string_view, N> &items) const
    {
        const TColumn &column = ColumnOf(field);
        const auto found = m_cells.find(column.name);
        if (found == m_cells.end() || found->second.second->empty())
            return std::nullopt;
        const std::string &text = *found->second.second;
        for (std::size_t i = 0; i < N; ++i) {
            if (items[i] == text)
                return static_cast<int>(i);
        }
        Reject(m_row, found->second.first, column.name,
               "\"" + text + "\" is not one of " + ItemList(items));
    }

    static const TColumn &ColumnOf(TField field)
    {
        return *std::find_if(Columns().begin(), Columns().end(),
                             [field](const TColumn &column) { return column.field == field; });
    }

private:
    int m_row;
    std::map<std::string, std::pair<std::size_t, const std::string *>> m_cells;
};

// The layers of one kind: up to the last one with a filled cell, their cells from the file, a
// missing column from the default layer (or empty beyond the default layers). Without any column of
// the kind, the default layers.
template<typename TLayer, typename TCells>
std::vector<TLayer> ReadLayers(const TPileRow &row, TField field, const TCells &cells,
                               const std::vector<TLayer> &defaults, std::size_t minimum)
{
    bool anyColumn = false;
    std::size_t count = 0;
    for (const TColumn &column : Columns()) {
        if (column.field != field)
            continue;
        if (const std::string *cell = row.Cell(column)) {
            anyColumn = true;
            if (!cell->empty())
                count = std::max(count, static_cast<std::size_t>(column.layer) + 1);
        }
    }
    if (!anyColumn)
        return defaults;
    std::vector<TLayer> layers(std::max(count, minimum));
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
    if (const std::string *d = row.Cell(TPileRow::ColumnOf(TField::D)))
        input.d = *d;
    const std::string *c = row.Cell(TPileRow::ColumnOf(TField::C));
    input.c = c ? *c : std::string(PileItems::SectionDefaultC[section]);
    input.coefMode = static_cast<TCoefMode>(row.Item(TField::CoefMode, PileItems::CoefModes)
                                                .value_or(static_cast<int>(input.coefMode)));
    input.interpBasis = static_cast<TInterpBasis>(
        row.Item(TField::Basis, PileItems::Bases).value_or(static_cast<int>(input.interpBasis)));
    input.boredPile =
        row.Item(TField::BoredPile, BoredPileItems).value_or(input.boredPile ? 0 : 1) == 0;
    input.rounding = static_cast<TRoundingMode>(row.Item(TField::Rounding, PileItems::Roundings)
                                                    .value_or(static_cast<int>(input.rounding)));
    input.soilLayers = ReadLayers(row, TField::Soil, SoilCells, defaults.soilLayers, 0);
    input.rockLayers = ReadLayers(row, TField::Rock, RockCells, defaults.rockLayers, 1);
    if (const std::string *load = row.Cell(TPileRow::ColumnOf(TField::Load)))
        input.load = *load;
    if (const std::string *gammaR = row.Cell(TPileRow::ColumnOf(TField::GammaR)))
        input.gammaR = *gammaR;
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
    cells.push_back(input.load);
    cells.push_back(input.gammaR);
    return cells;
}

} // namespace

std::vector<std::string> PileCsvColumns()
{
    std::vector<std::string> names;
    for (const TColumn &column : Columns())
        names.push_back(column.name);
    return names;
}

std::vector<TPileInput> PilesFromCsv(std::string_view bytes)
{
    const std::vector<TCsvRecord> records = ReadCsvRecords(TextAsUtf8(bytes));
    if (records.empty())
        throw TPileFileError("the table has no header row");
    const std::vector<std::optional<TColumn>> header = ReadHeader(records.front());
    std::vector<TPileInput> piles;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const TCsvRecord &record = records[r];
        const TPileRow row(record, header);
        if (std::all_of(record.cells.begin(), record.cells.end(),
                        [](const std::string &cell) { return cell.empty(); }))
            continue;
        piles.push_back(PileFromRow(row));
    }
    return piles;
}

std::string PilesToCsv(const std::vector<TPileInput> &piles)
{
    std::vector<std::vector<std::string>> records {PileCsvColumns()};
    for (std::size_t i = 0; i < piles.size(); ++i)
        records.push_back(PileCells(piles[i], static_cast<int>(i) + 1));
    return ExcelCsvText(records);
}
