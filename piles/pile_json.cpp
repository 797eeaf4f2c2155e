#include "pile_json.h"

#include "number_format.h"
#include "pile_file_error.h"
#include "pile_items.h"

#include <unordered_set>

using nlohmann::json;

namespace {

void Reject(const std::string &where, const std::string &what)
{
    throw TPileFileError(where + ": " + what);
}

// A text field: a string as it stands, a number in its shortest general form.
std::string TextField(const json &value, const std::string &where, const std::string &key)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number())
        return GeneralText(value.get<double>());
    Reject(where, "\"" + key + "\" must be a text or a number");
    return {};
}

// An item of a combo box: its index or its exact text.
template<std::size_t N>
int ItemField(const json &value, const std::array<std::string_view, N> &items,
              const std::string &where, const std::string &key)
{
    if (value.is_number_integer()) {
        const auto index = value.get<long long>();
        if (index >= 0 && index < static_cast<long long>(N))
            return static_cast<int>(index);
    } else if (value.is_string()) {
        const std::string text = value.get<std::string>();
        for (std::size_t i = 0; i < N; ++i) {
            if (items[i] == text)
                return static_cast<int>(i);
        }
    }
    std::string expected;
    for (std::size_t i = 0; i < N; ++i)
        expected += (i ? ", \"" : "\"") + std::string(items[i]) + "\"";
    Reject(where,
           "\"" + key + "\" must be 0 to " + std::to_string(N - 1) + " or one of " + expected);
    return 0;
}

// Checks that every key of an object is known and none is null.
void CheckKeys(const json &object, std::initializer_list<const char *> known,
               const std::string &where)
{
    if (!object.is_object())
        Reject(where, "must be a JSON object");
    for (const auto &[key, value] : object.items()) {
        bool found = false;
        for (const char *name : known)
            found = found || key == name;
        if (!found)
            Reject(where, "unknown key \"" + key + "\"");
        if (value.is_null())
            Reject(where, "\"" + key + "\" is null");
    }
}

// A text of a layer object; a missing key is an empty cell, as in a row added to the grid.
std::string LayerText(const json &layer, const char *key, const std::string &where)
{
    const auto found = layer.find(key);
    return found == layer.end() ? std::string() : TextField(*found, where, key);
}

const json &LayerArray(const json &object, const char *key, const std::string &where,
                       std::size_t minimum)
{
    const json &layers = object.at(key);
    if (!layers.is_array())
        Reject(where, std::string("\"") + key + "\" must be an array");
    if (layers.size() < minimum || layers.size() > 9) {
        Reject(where,
               std::string("\"") + key + "\" must hold " + std::to_string(minimum)
                   + " to 9 layers, not " + std::to_string(layers.size()));
    }
    return layers;
}

} // namespace

TPileInput PileFromJson(const json &object, const std::string &where)
{
    CheckKeys(object,
              {"section", "d", "c", "soil", "rock", "coefMode", "basis", "boredPile", "rounding",
               "load", "gammaR"},
              where);
    TPileInput input;
    int section = 0;
    if (object.contains("section"))
        section = ItemField(object["section"], PileItems::Sections, where, "section");
    input.sectionType = static_cast<TSectionType>(section);
    if (object.contains("d"))
        input.d = TextField(object["d"], where, "d");
    input.c = object.contains("c") ? TextField(object["c"], where, "c")
                                   : std::string(PileItems::SectionDefaultC[section]);
    if (object.contains("soil")) {
        input.soilLayers.clear();
        int number = 0;
        for (const json &layer : LayerArray(object, "soil", where, 0)) {
            const std::string layerWhere = where + ", soil layer " + std::to_string(++number);
            CheckKeys(layer, {"li", "qik"}, layerWhere);
            input.soilLayers.push_back(
                {LayerText(layer, "li", layerWhere), LayerText(layer, "qik", layerWhere)});
        }
    }
    if (object.contains("rock")) {
        input.rockLayers.clear();
        int number = 0;
        for (const json &layer : LayerArray(object, "rock", where, 1)) {
            const std::string layerWhere = where + ", rock layer " + std::to_string(++number);
            CheckKeys(layer, {"hi", "weathering", "grade", "kv", "frk", "c1", "c2"}, layerWhere);
            input.rockLayers.push_back(
                {LayerText(layer, "hi", layerWhere), LayerText(layer, "weathering", layerWhere),
                 LayerText(layer, "grade", layerWhere), LayerText(layer, "kv", layerWhere),
                 LayerText(layer, "frk", layerWhere), LayerText(layer, "c1", layerWhere),
                 LayerText(layer, "c2", layerWhere)});
        }
    }
    if (object.contains("coefMode")) {
        input.coefMode = static_cast<TCoefMode>(
            ItemField(object["coefMode"], PileItems::CoefModes, where, "coefMode"));
    }
    if (object.contains("basis")) {
        input.interpBasis =
            static_cast<TInterpBasis>(ItemField(object["basis"], PileItems::Bases, where, "basis"));
    }
    if (object.contains("boredPile")) {
        if (!object["boredPile"].is_boolean())
            Reject(where, "\"boredPile\" must be true or false");
        input.boredPile = object["boredPile"].get<bool>();
    }
    if (object.contains("rounding")) {
        input.rounding = static_cast<TRoundingMode>(
            ItemField(object["rounding"], PileItems::Roundings, where, "rounding"));
    }
    if (object.contains("load"))
        input.load = TextField(object["load"], where, "load");
    if (object.contains("gammaR"))
        input.gammaR = TextField(object["gammaR"], where, "gammaR");
    return input;
}

std::vector<TPileInput> PilesFromJson(const json &document)
{
    std::vector<TPileInput> piles;
    if (document.is_array()) {
        for (std::size_t i = 0; i < document.size(); ++i)
            piles.push_back(PileFromJson(document[i], "pile " + std::to_string(i + 1)));
    } else {
        piles.push_back(PileFromJson(document, "pile 1"));
    }
    return piles;
}

json ParseJsonText(std::string_view text, const std::string &source,
                   const std::function<void(std::size_t, const json &)> &takeElement)
{
    // Piles nest four deep (array, pile, layers, layer); a sweep file five.
    constexpr int MaxDepth = 32;
    std::vector<std::unordered_set<std::string>> keys; // of the objects being read
    bool topArray = false;
    std::size_t index = 0;
    const json::parser_callback_t callback = [&](int depth, json::parse_event_t event,
                                                 json &parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            if (depth >= MaxDepth)
                throw TPileFileError(source + ": nested deeper than " + std::to_string(MaxDepth)
                                     + " levels");
            if (event == json::parse_event_t::object_start)
                keys.emplace_back();
            else if (depth == 0)
                topArray = true;
            return true;
        case json::parse_event_t::key:
            // An object with a key given twice is ambiguous: which value did the engineer mean?
            if (!keys.back().insert(parsed.get<std::string>()).second) {
                throw TPileFileError(source + ": the key \"" + parsed.get<std::string>()
                                     + "\" is given twice in one object");
            }
            return true;
        case json::parse_event_t::object_end:
            keys.pop_back();
            break;
        default:
            break;
        }
        if (takeElement && topArray && depth == 1) {
            takeElement(index++, parsed);
            return false;
        }
        return true;
    };
    try {
        return json::parse(text.begin(), text.end(), callback);
    } catch (const json::parse_error &error) {
        throw TPileFileError(source + ": not valid JSON: " + error.what());
    } catch (const json::exception &error) {
        // A number too large for a double, the only other failure of the parser.
        throw TPileFileError(source + ": not usable JSON: " + error.what());
    }
}

std::vector<TPileInput> PilesFromText(std::string_view text, const std::string &source)
{
    return PileDocumentFromText(text, source).piles;
}

namespace {

// An object that holds a project and its piles rather than being a pile itself.
bool IsProjectDocument(const json &document)
{
    return document.is_object() && (document.contains("piles") || document.contains("project"));
}

TProjectInfo ProjectFromJson(const json &object)
{
    const std::string where = "project";
    CheckKeys(object, {"name", "structure", "bookNo", "designer", "checker", "reviewer"}, where);
    const auto text = [&](const char *key) {
        const auto found = object.find(key);
        if (found == object.end())
            return std::string();
        if (!found->is_string())
            Reject(where, "\"" + std::string(key) + "\" must be a text");
        return found->get<std::string>();
    };
    return {text("name"),     text("structure"), text("bookNo"),
            text("designer"), text("checker"),   text("reviewer")};
}

} // namespace

TPileDocument PileDocumentFromText(std::string_view text, const std::string &source)
{
    TPileDocument result;
    const json document = ParseJsonText(text, source, [&result](std::size_t i, const json &pile) {
        result.piles.push_back(PileFromJson(pile, "pile " + std::to_string(i + 1)));
    });
    if (document.is_array())
        return result;
    if (!IsProjectDocument(document)) {
        result.piles.push_back(PileFromJson(document, "pile 1"));
        return result;
    }
    CheckKeys(document, {"project", "piles"}, source);
    if (document.contains("project"))
        result.project = ProjectFromJson(document["project"]);
    if (document.contains("piles")) {
        const json &piles = document["piles"];
        if (!piles.is_array())
            Reject(source, "\"piles\" must be an array of piles");
        result.piles = PilesFromJson(piles);
    }
    return result;
}
