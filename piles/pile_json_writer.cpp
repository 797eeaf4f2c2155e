#include "pile_json_writer.h"

#include "pile_items.h"

using nlohmann::ordered_json;

namespace {

template<std::size_t N, typename TEnum>
std::string ItemText(const std::array<std::string_view, N> &items, TEnum value)
{
    return std::string(items[static_cast<std::size_t>(value)]);
}

} // namespace

ordered_json PileToJson(const TPileInput &input)
{
    ordered_json soil = ordered_json::array();
    for (const TSoilLayer &layer : input.soilLayers)
        soil.push_back(ordered_json {{"li", layer.li}, {"qik", layer.qik}});
    ordered_json rock = ordered_json::array();
    for (const TRockLayer &layer : input.rockLayers) {
        rock.push_back(ordered_json {{"hi", layer.hi},
                                     {"weathering", layer.weathering},
                                     {"grade", layer.integrityGrade},
                                     {"kv", layer.integrityIndex},
                                     {"frk", layer.frk},
                                     {"c1", layer.c1Specified},
                                     {"c2", layer.c2Specified}});
    }
    // A square is entered on the page as a rectangle.
    const auto section =
        IsRectangular(input.sectionType) ? TSectionType::Rectangle : input.sectionType;
    return ordered_json {{"section", ItemText(PileItems::Sections, section)},
                         {"d", input.d},
                         {"c", input.c},
                         {"soil", soil},
                         {"rock", rock},
                         {"coefMode", ItemText(PileItems::CoefModes, input.coefMode)},
                         {"basis", ItemText(PileItems::Bases, input.interpBasis)},
                         {"boredPile", input.boredPile},
                         {"rounding", ItemText(PileItems::Roundings, input.rounding)},
                         {"load", input.load},
                         {"gammaR", input.gammaR}};
}

std::string PilesToJsonText(const std::vector<TPileInput> &piles)
{
    ordered_json document = ordered_json::array();
    for (const TPileInput &input : piles)
        document.push_back(PileToJson(input));
    // Texts that are not UTF-8 become U+FFFD rather than stopping the save.
    return document.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

std::string PileDocumentToJsonText(const TProjectInfo &project,
                                   const std::vector<TPileInput> &piles)
{
    ordered_json list = ordered_json::array();
    for (const TPileInput &input : piles)
        list.push_back(PileToJson(input));
    const ordered_json document {{"project",
                                  {{"name", project.name},
                                   {"structure", project.structure},
                                   {"bookNo", project.bookNo},
                                   {"designer", project.designer},
                                   {"checker", project.checker},
                                   {"reviewer", project.reviewer}}},
                                 {"piles", list}};
    return document.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}
