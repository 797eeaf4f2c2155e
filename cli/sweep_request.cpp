#include "sweep_request.h"

#include "pile_json.h"

using nlohmann::json;

namespace {

// The cells a row of the options table takes from the file: minimum, maximum, step; the
// overburden row its value; the Ra row its two bounds.
std::size_t CellCount(int row)
{
    if (row == OptionRow::Overburden)
        return 1;
    if (row == OptionRow::RaWindow)
        return 2;
    return 3;
}

TOptionTable OptionsFromJson(const json &options)
{
    TOptionTable table = DefaultOptionTable();
    if (!options.is_object())
        throw TUsageError("\"options\" must be a JSON object");
    for (const auto &[key, cells] : options.items()) {
        int row = -1;
        for (int r = 0; r < OptionRowCount; ++r) {
            if (key == std::to_string(r) && IsEditableOptionCell(r, 1))
                row = r;
        }
        const std::string where = "options row \"" + key + "\"";
        if (row < 0)
            throw TUsageError(where + ": not a row of the options table (0 to 12, 14)");
        if (!cells.is_array() || cells.size() != CellCount(row))
            throw TUsageError(where + ": must be an array of " + std::to_string(CellCount(row))
                              + " texts");
        std::string *targets[] = {&table[row].minimum, &table[row].maximum, &table[row].step};
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (!cells[i].is_string())
                throw TUsageError(where + ": cells are texts, as typed into the table");
            *targets[i] = cells[i].get<std::string>();
        }
    }
    return table;
}

} // namespace

TSweepRequest SweepRequestFromJson(const json &document)
{
    if (!document.is_object())
        throw TUsageError("the sweep file must be a JSON object");
    for (const auto &[key, value] : document.items()) {
        if (key != "options" && key != "base")
            throw TUsageError("unknown key \"" + key + "\" (expected \"options\", \"base\")");
    }
    TSweepRequest request;
    if (document.contains("options"))
        request.table = OptionsFromJson(document["options"]);
    if (document.contains("base"))
        request.base = PileFromJson(document["base"], "base");
    return request;
}
