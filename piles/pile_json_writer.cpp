#include "pile_json_writer.h"

using nlohmann::ordered_json;

std::string PileJsonPart(const TPileInput &input, std::size_t count)
{
    // Texts that are not UTF-8 become U+FFFD rather than stopping the save.
    const std::string object =
        PileToJson(input).dump(2, ' ', false, ordered_json::error_handler_t::replace);
    std::string part = count == 0 ? "[\n  " : ",\n  ";
    part.reserve(part.size() + object.size() + object.size() / 8);
    for (const char ch : object) {
        part += ch;
        if (ch == '\n')
            part += "  "; // one level deeper, in the array
    }
    return part;
}

std::string PileJsonEnd(std::size_t count)
{
    return count == 0 ? "[]\n" : "\n]\n";
}

std::string PilesToJsonText(const std::vector<TPileInput> &piles)
{
    std::string text;
    for (std::size_t i = 0; i < piles.size(); ++i)
        text += PileJsonPart(piles[i], i);
    return text + PileJsonEnd(piles.size());
}
