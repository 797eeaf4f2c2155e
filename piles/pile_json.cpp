#include "pile_json.h"

#include "number_format.h"
#include "pile_file_error.h"
#include "pile_items.h"

#include <array>
#include <bitset>
#include <optional>
#include <span>
#include <unordered_set>

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

// Piles nest four deep (array, pile, layers, layer); a sweep file five.
constexpr int MaxDepth = 32;

// The keys of a pile, in the order they are written. A key of a new field is one line here.
enum class TKeyKind { Text, Item, Flag, SoilLayers, RockLayers };

struct TPileKey
{
    std::string_view name;
    TKeyKind kind = TKeyKind::Text;
    std::string TPileInput::*text = nullptr;
    std::span<const std::string_view> items {};
    int (*item)(const TPileInput &) = nullptr;
    void (*setItem)(TPileInput &, int) = nullptr;
    bool TPileInput::*flag = nullptr;
};

const std::array<TPileKey, 9> PileKeys {{
    {.name = "section",
     .kind = TKeyKind::Item,
     .items = PileItems::Sections,
     // A square is entered on the page as a rectangle.
     .item =
         [](const TPileInput &p) { return IsRectangular(p.sectionType) ? 2 : int(p.sectionType); },
     .setItem = [](TPileInput &p, int i) { p.sectionType = static_cast<TSectionType>(i); }},
    {.name = "d", .kind = TKeyKind::Text, .text = &TPileInput::d},
    {.name = "c", .kind = TKeyKind::Text, .text = &TPileInput::c},
    {.name = "soil", .kind = TKeyKind::SoilLayers},
    {.name = "rock", .kind = TKeyKind::RockLayers},
    {.name = "coefMode",
     .kind = TKeyKind::Item,
     .items = PileItems::CoefModes,
     .item = [](const TPileInput &p) { return int(p.coefMode); },
     .setItem = [](TPileInput &p, int i) { p.coefMode = static_cast<TCoefMode>(i); }},
    {.name = "basis",
     .kind = TKeyKind::Item,
     .items = PileItems::Bases,
     .item = [](const TPileInput &p) { return int(p.interpBasis); },
     .setItem = [](TPileInput &p, int i) { p.interpBasis = static_cast<TInterpBasis>(i); }},
    {.name = "boredPile", .kind = TKeyKind::Flag, .flag = &TPileInput::boredPile},
    {.name = "rounding",
     .kind = TKeyKind::Item,
     .items = PileItems::Roundings,
     .item = [](const TPileInput &p) { return int(p.rounding); },
     .setItem = [](TPileInput &p, int i) { p.rounding = static_cast<TRoundingMode>(i); }},
}};

constexpr std::size_t SectionKey = 0;
constexpr std::size_t CKey = 2;

template<typename TLayer>
struct TLayerKey
{
    std::string_view name;
    std::string TLayer::*member;
};

constexpr std::array<TLayerKey<TSoilLayer>, 2> SoilKeys {
    {{"li", &TSoilLayer::li}, {"qik", &TSoilLayer::qik}}};

constexpr std::array<TLayerKey<TRockLayer>, 7> RockKeys {{{"hi", &TRockLayer::hi},
                                                          {"weathering", &TRockLayer::weathering},
                                                          {"grade", &TRockLayer::integrityGrade},
                                                          {"kv", &TRockLayer::integrityIndex},
                                                          {"frk", &TRockLayer::frk},
                                                          {"c1", &TRockLayer::c1Specified},
                                                          {"c2", &TRockLayer::c2Specified}}};

// A place in the file, in English and in Chinese.
struct TWhere
{
    std::string english;
    std::string chinese;
};

TWhere PileWhere(std::size_t number)
{
    return {"pile " + std::to_string(number), "第 " + std::to_string(number) + " 根桩"};
}

TPileFileError Refusal(const TWhere &where, const std::string &english, const std::string &chinese)
{
    return TPileFileError(where.english + ": " + english, where.chinese + "：" + chinese);
}

// A value of the file where a key expects one.
struct TScalar
{
    enum class TType { Text, Integer, Number, Flag, Null, Structure };

    explicit TScalar(TType of)
        : type(of)
    { }

    TType type;
    std::string text;
    double number = 0;
    std::optional<long long> index; // an integer in the range of an index
    bool flag = false;
};

std::string Quoted(std::string_view key)
{
    return "\"" + std::string(key) + "\"";
}

std::string ChineseQuoted(std::string_view key)
{
    return "“" + std::string(key) + "”";
}

// A text field: a string as it stands, a number in its shortest general form.
std::string TextValue(const TScalar &value, const TWhere &where, std::string_view key)
{
    if (value.type == TScalar::TType::Text)
        return value.text;
    if (value.type == TScalar::TType::Integer || value.type == TScalar::TType::Number)
        return GeneralText(value.number);
    if (value.type == TScalar::TType::Null)
        throw Refusal(where, Quoted(key) + " is null", ChineseQuoted(key) + "的值为 null");
    throw Refusal(where, Quoted(key) + " must be a text or a number",
                  ChineseQuoted(key) + "须为文本或数");
}

// An item of a combo box: its index or its exact text.
int ItemValue(const TScalar &value, std::span<const std::string_view> items, const TWhere &where,
              std::string_view key)
{
    if (value.type == TScalar::TType::Integer && value.index && *value.index >= 0
        && *value.index < static_cast<long long>(items.size()))
        return static_cast<int>(*value.index);
    if (value.type == TScalar::TType::Text) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == value.text)
                return static_cast<int>(i);
        }
    }
    if (value.type == TScalar::TType::Null)
        throw Refusal(where, Quoted(key) + " is null", ChineseQuoted(key) + "的值为 null");
    std::string english;
    std::string chinese;
    for (std::size_t i = 0; i < items.size(); ++i) {
        english += (i ? ", \"" : "\"") + std::string(items[i]) + "\"";
        chinese += (i ? "、“" : "“") + std::string(items[i]) + "”";
    }
    const std::string last = std::to_string(items.size() - 1);
    throw Refusal(where, Quoted(key) + " must be 0 to " + last + " or one of " + english,
                  ChineseQuoted(key) + "须为 0 到 " + last + " 或" + chinese + "之一");
}

// What a JSON parse error says, without the library's text in Chinese.
TPileFileError JsonError(std::string_view text, std::size_t position, const std::string &token,
                         const nlohmann::detail::exception &error, const std::string &source)
{
    position = std::min(position, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < position; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    // The column counts characters, not the bytes of a UTF-8 sequence.
    std::size_t column = 0;
    for (std::size_t i = lineStart; i < position; ++i)
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    const std::string at = "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
    // What the parser read of the token, from its last line on (it writes a line break as
    // <U+000A>), and at most 40 bytes of it.
    std::string_view read = token;
    if (const std::size_t lineBreak = read.rfind("<U+000A>"); lineBreak != std::string_view::npos)
        read.remove_prefix(lineBreak + 8);
    read = read.substr(read.rfind('\n') + 1);
    std::string near(read.substr(0, 40));
    while (!near.empty() && near.size() < read.size()
           && (static_cast<unsigned char>(read[near.size()]) & 0xC0) == 0x80)
        near.pop_back(); // no cut UTF-8 sequence
    near = ShownText(near) + (near.size() < read.size() ? "…" : "");
    const std::string what = ShownText(error.what());
    if (error.id == 406) {
        return TPileFileError(source + ": not usable JSON: " + what,
                              source + "：" + at + "的数“" + near + "”超出双精度数的范围");
    }
    if (std::string_view(error.what()).find("unexpected end of input") != std::string_view::npos) {
        return TPileFileError(source + ": not valid JSON: " + what,
                              source + "：不是有效的 JSON：内容在" + at + "意外结束");
    }
    return TPileFileError(source + ": not valid JSON: " + what,
                          source + "：不是有效的 JSON：" + at + "有误（“" + near + "”处）");
}

TPileFileError DuplicateKey(const std::string &source, const std::string &key)
{
    return TPileFileError(source + ": the key \"" + ShownText(key)
                              + "\" is given twice in one object",
                          source + "：同一对象中键“" + ShownText(key) + "”出现了两次");
}

TPileFileError TooDeep(const std::string &source)
{
    return TPileFileError(source + ": nested deeper than " + std::to_string(MaxDepth) + " levels",
                          source + "：嵌套超过 " + std::to_string(MaxDepth) + " 层");
}

// Reads piles from the events of the JSON parser: no document is built, so what is kept is one
// pile, and nothing that is destroyed allocates.
class TPileReader
{
public:
    TPileReader(std::string_view text, std::string source, const TPileSink &take,
                std::optional<TWhere> single)
        : m_text(text)
        , m_source(std::move(source))
        , m_take(take)
        , m_single(std::move(single))
    { }

    std::size_t Count() const { return m_count; }

    bool null() { return Scalar(TScalar(TScalar::TType::Null)); }
    bool boolean(bool value)
    {
        TScalar scalar(TScalar::TType::Flag);
        scalar.flag = value;
        return Scalar(scalar);
    }
    bool number_integer(json::number_integer_t value)
    {
        TScalar scalar(TScalar::TType::Integer);
        scalar.number = static_cast<double>(value);
        scalar.index = static_cast<long long>(value);
        return Scalar(scalar);
    }
    bool number_unsigned(json::number_unsigned_t value)
    {
        TScalar scalar(TScalar::TType::Integer);
        scalar.number = static_cast<double>(value);
        if (value <= static_cast<json::number_unsigned_t>(1) << 62)
            scalar.index = static_cast<long long>(value);
        return Scalar(scalar);
    }
    bool number_float(json::number_float_t value, const std::string &)
    {
        TScalar scalar(TScalar::TType::Number);
        scalar.number = value;
        return Scalar(scalar);
    }
    bool string(std::string &value)
    {
        TScalar scalar(TScalar::TType::Text);
        scalar.text = std::move(value);
        return Scalar(scalar);
    }
    bool binary(json::binary_t &) { return Scalar(TScalar(TScalar::TType::Structure)); }

    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool key(std::string &name)
    {
        if (m_skipDepth > 0) {
            return true;
        }
        TFrame &frame = m_frames.back();
        if (frame.kind == TFrameKind::Pile) {
            std::size_t index = 0;
            while (index < PileKeys.size() && PileKeys[index].name != name)
                ++index;
            if (index == PileKeys.size()) {
                if (!frame.keys.insert(name).second)
                    throw DuplicateKey(m_source, name);
                m_pending = Refusal(m_pileWhere, "unknown key \"" + ShownText(name) + "\"",
                                    "未知的键“" + ShownText(name) + "”");
                return true;
            }
            if (m_pileKeys.test(index))
                throw DuplicateKey(m_source, name);
            m_pileKeys.set(index);
            m_key = index;
            return true;
        }
        // A layer.
        const auto find = [&name](const auto &keys) {
            std::size_t index = 0;
            while (index < keys.size() && keys[index].name != name)
                ++index;
            return index;
        };
        const std::size_t index = m_rockLayers ? find(RockKeys) : find(SoilKeys);
        const std::size_t size = m_rockLayers ? RockKeys.size() : SoilKeys.size();
        if (index == size) {
            if (!frame.keys.insert(name).second)
                throw DuplicateKey(m_source, name);
            m_pending = Refusal(m_layerWhere, "unknown key \"" + ShownText(name) + "\"",
                                "未知的键“" + ShownText(name) + "”");
            return true;
        }
        if (m_layerKeys.test(index))
            throw DuplicateKey(m_source, name);
        m_layerKeys.set(index);
        m_key = index;
        return true;
    }

    bool parse_error(std::size_t position, const std::string &token,
                     const nlohmann::detail::exception &error)
    {
        throw JsonError(m_text, position, token, error, m_source);
    }

private:
    enum class TFrameKind { PileList, Pile, Layers, Layer };

    struct TFrame
    {
        TFrameKind kind;
        std::unordered_set<std::string> keys {}; // unknown keys, refused once their value is read
    };

    // A value that is no object or array.
    bool Scalar(const TScalar &value)
    {
        if (m_skipDepth > 0)
            return true;
        if (m_pending)
            throw *m_pending;
        if (m_frames.empty()) {
            throw Refusal(m_single ? *m_single : PileWhere(1), "must be a JSON object",
                          "须为 JSON 对象");
        }
        switch (m_frames.back().kind) {
        case TFrameKind::PileList:
            throw Refusal(PileWhere(m_count + 1), "must be a JSON object", "须为 JSON 对象");
        case TFrameKind::Layers:
            if (m_layerCount >= 9) {
                ++m_layerCount; // beyond the ninth, only counted
                return true;
            }
            throw Refusal(LayerWhere(), "must be a JSON object", "须为 JSON 对象");
        case TFrameKind::Pile:
            PileValue(value);
            return true;
        case TFrameKind::Layer:
            LayerValue(value);
            return true;
        }
        return true;
    }

    void PileValue(const TScalar &value)
    {
        const TPileKey &key = PileKeys[m_key];
        switch (key.kind) {
        case TKeyKind::Text:
            m_pile.*key.text = TextValue(value, m_pileWhere, key.name);
            break;
        case TKeyKind::Item:
            key.setItem(m_pile, ItemValue(value, key.items, m_pileWhere, key.name));
            break;
        case TKeyKind::Flag:
            if (value.type == TScalar::TType::Null) {
                throw Refusal(m_pileWhere, Quoted(key.name) + " is null",
                              ChineseQuoted(key.name) + "的值为 null");
            }
            if (value.type != TScalar::TType::Flag) {
                throw Refusal(m_pileWhere, Quoted(key.name) + " must be true or false",
                              ChineseQuoted(key.name) + "须为 true 或 false");
            }
            m_pile.*key.flag = value.flag;
            break;
        case TKeyKind::SoilLayers:
        case TKeyKind::RockLayers:
            if (value.type == TScalar::TType::Null) {
                throw Refusal(m_pileWhere, Quoted(key.name) + " is null",
                              ChineseQuoted(key.name) + "的值为 null");
            }
            throw Refusal(m_pileWhere, Quoted(key.name) + " must be an array",
                          ChineseQuoted(key.name) + "须为数组");
        }
    }

    void LayerValue(const TScalar &value)
    {
        if (m_rockLayers) {
            const auto &key = RockKeys[m_key];
            m_rock.*key.member = TextValue(value, m_layerWhere, key.name);
        } else {
            const auto &key = SoilKeys[m_key];
            m_soil.*key.member = TextValue(value, m_layerWhere, key.name);
        }
    }

    TWhere LayerWhere() const
    {
        const std::string number = std::to_string(m_layerCount + 1);
        return {m_pileWhere.english + (m_rockLayers ? ", rock layer " : ", soil layer ") + number,
                m_pileWhere.chinese + "第 " + number + (m_rockLayers ? " 个岩层" : " 个土层")};
    }

    // An object or an array begins: what the place expects, or a value that is skipped to its end
    // and then refused.
    bool Open(bool object)
    {
        if (++m_depth > MaxDepth)
            throw TooDeep(m_source);
        if (m_skipDepth > 0) {
            ++m_skipDepth;
            return true;
        }
        const auto skip = [this](TPileFileError refusal) {
            if (!m_pending)
                m_pending = std::move(refusal);
            m_skipDepth = 1;
            return true;
        };
        if (m_pending)
            return skip(*m_pending);
        if (m_frames.empty()) {
            if (object)
                return OpenPile(m_single ? *m_single : PileWhere(1));
            if (m_single)
                return skip(Refusal(*m_single, "must be a JSON object", "须为 JSON 对象"));
            m_frames.push_back({TFrameKind::PileList});
            return true;
        }
        switch (m_frames.back().kind) {
        case TFrameKind::PileList:
            if (!object)
                return skip(
                    Refusal(PileWhere(m_count + 1), "must be a JSON object", "须为 JSON 对象"));
            return OpenPile(PileWhere(m_count + 1));
        case TFrameKind::Pile: {
            const TPileKey &key = PileKeys[m_key];
            const bool layers =
                key.kind == TKeyKind::SoilLayers || key.kind == TKeyKind::RockLayers;
            if (!layers || object) {
                try {
                    PileValue(TScalar(TScalar::TType::Structure));
                } catch (TPileFileError &refusal) {
                    return skip(std::move(refusal));
                }
            }
            m_rockLayers = key.kind == TKeyKind::RockLayers;
            if (m_rockLayers)
                m_pile.rockLayers.clear();
            else
                m_pile.soilLayers.clear();
            m_layerCount = 0;
            m_frames.push_back({TFrameKind::Layers});
            return true;
        }
        case TFrameKind::Layers:
            if (m_layerCount >= 9) {
                m_extraLayer = true; // only counted
                return skip(LayerCountRefusal(m_layerCount + 1));
            }
            if (!object)
                return skip(Refusal(LayerWhere(), "must be a JSON object", "须为 JSON 对象"));
            m_layerWhere = LayerWhere();
            m_layerKeys.reset();
            m_soil = {};
            m_rock = {};
            m_frames.push_back({TFrameKind::Layer});
            return true;
        case TFrameKind::Layer:
            try {
                LayerValue(TScalar(TScalar::TType::Structure));
            } catch (TPileFileError &refusal) {
                return skip(std::move(refusal));
            }
            return true;
        }
        return true;
    }

    bool OpenPile(TWhere where)
    {
        m_pileWhere = std::move(where);
        m_pile = {};
        m_pileKeys.reset();
        m_frames.push_back({TFrameKind::Pile});
        return true;
    }

    TPileFileError LayerCountRefusal(std::size_t count) const
    {
        const std::string name = m_rockLayers ? "rock" : "soil";
        const std::string minimum = m_rockLayers ? "1" : "0";
        return Refusal(m_pileWhere,
                       Quoted(name) + " must hold " + minimum + " to 9 layers, not "
                           + std::to_string(count),
                       ChineseQuoted(name) + "须有 " + minimum + " 到 9 层，而不是 "
                           + std::to_string(count) + " 层");
    }

    bool Close()
    {
        --m_depth;
        if (m_skipDepth > 0) {
            if (--m_skipDepth == 0) {
                // The refused value is complete: a too long layer list counts its elements first.
                if (m_extraLayer) {
                    m_extraLayer = false;
                    ++m_layerCount;
                    m_pending.reset();
                    return true;
                }
                throw *m_pending;
            }
            return true;
        }
        if (m_pending)
            throw *m_pending;
        const TFrameKind kind = m_frames.back().kind;
        m_frames.pop_back();
        switch (kind) {
        case TFrameKind::PileList:
            break;
        case TFrameKind::Pile:
            if (!m_pileKeys.test(CKey)) {
                const int section = PileKeys[SectionKey].item(m_pile);
                m_pile.c = std::string(PileItems::SectionDefaultC[section]);
            }
            ++m_count;
            m_take(m_pile, TPileOrigin {});
            break;
        case TFrameKind::Layers: {
            const std::size_t minimum = m_rockLayers ? 1 : 0;
            if (m_layerCount < minimum || m_layerCount > 9)
                throw LayerCountRefusal(m_layerCount);
            break;
        }
        case TFrameKind::Layer:
            if (m_rockLayers)
                m_pile.rockLayers.push_back(std::move(m_rock));
            else
                m_pile.soilLayers.push_back(std::move(m_soil));
            ++m_layerCount;
            break;
        }
        return true;
    }

    std::string_view m_text;
    std::string m_source;
    const TPileSink &m_take;
    std::optional<TWhere> m_single; // the one pile of an object that is not a file
    std::vector<TFrame> m_frames;
    int m_depth = 0;
    int m_skipDepth = 0; // of a value being skipped before it is refused
    bool m_extraLayer = false; // the value skipped is a layer beyond the ninth
    std::optional<TPileFileError> m_pending; // the refusal of the value being skipped
    std::size_t m_count = 0;
    TPileInput m_pile;
    TWhere m_pileWhere;
    std::bitset<32> m_pileKeys;
    std::size_t m_key = 0;
    bool m_rockLayers = false;
    std::size_t m_layerCount = 0;
    TWhere m_layerWhere;
    std::bitset<32> m_layerKeys;
    TSoilLayer m_soil;
    TRockLayer m_rock;
};

std::size_t ReadPiles(std::string_view text, const std::string &source, const TPileSink &take,
                      std::optional<TWhere> single)
{
    TPileReader reader(text, source, take, std::move(single));
    json::sax_parse(text.begin(), text.end(), &reader);
    return reader.Count();
}

} // namespace

std::size_t ReadJsonPiles(std::string_view text, const std::string &source, const TPileSink &take)
{
    return ReadPiles(text, source, take, std::nullopt);
}

std::vector<TPileInput> PilesFromText(std::string_view text, const std::string &source)
{
    std::vector<TPileInput> piles;
    ReadJsonPiles(text, source,
                  [&piles](const TPileInput &pile, const TPileOrigin &) { piles.push_back(pile); });
    return piles;
}

TPileInput PileFromJson(const json &object, const std::string &where)
{
    TPileInput pile;
    const std::string text = object.dump(-1, ' ', false, json::error_handler_t::replace);
    ReadPiles(
        text, where, [&pile](const TPileInput &read, const TPileOrigin &) { pile = read; },
        TWhere {where, where});
    return pile;
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

ordered_json PileToJson(const TPileInput &input)
{
    const auto layers = [](const auto &list, const auto &keys) {
        ordered_json array = ordered_json::array();
        for (const auto &layer : list) {
            ordered_json object = ordered_json::object();
            for (const auto &key : keys)
                object[std::string(key.name)] = layer.*key.member;
            array.push_back(std::move(object));
        }
        return array;
    };
    ordered_json pile = ordered_json::object();
    for (const TPileKey &key : PileKeys) {
        ordered_json &value = pile[std::string(key.name)];
        switch (key.kind) {
        case TKeyKind::Text:
            value = input.*key.text;
            break;
        case TKeyKind::Item:
            value = std::string(key.items[static_cast<std::size_t>(key.item(input))]);
            break;
        case TKeyKind::Flag:
            value = input.*key.flag;
            break;
        case TKeyKind::SoilLayers:
            value = layers(input.soilLayers, SoilKeys);
            break;
        case TKeyKind::RockLayers:
            value = layers(input.rockLayers, RockKeys);
            break;
        }
    }
    return pile;
}

json ParseJsonText(std::string_view text, const std::string &source)
{
    std::vector<std::unordered_set<std::string>> keys; // of the objects being read
    const json::parser_callback_t callback = [&](int depth, json::parse_event_t event,
                                                 json &parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            if (depth >= MaxDepth)
                throw TooDeep(source);
            if (event == json::parse_event_t::object_start)
                keys.emplace_back();
            return true;
        case json::parse_event_t::key:
            // An object with a key given twice is ambiguous: which value did the engineer mean?
            if (!keys.back().insert(parsed.get<std::string>()).second)
                throw DuplicateKey(source, parsed.get<std::string>());
            return true;
        case json::parse_event_t::object_end:
            keys.pop_back();
            return true;
        default:
            return true;
        }
    };
    try {
        return json::parse(text.begin(), text.end(), callback);
    } catch (const json::exception &error) {
        // A parse error, or a number too large for a double.
        std::size_t position = text.size();
        std::string token;
        if (error.id < 200) {
            position = static_cast<const json::parse_error &>(error).byte;
            const std::size_t end = std::min(position, text.size());
            std::size_t start = end;
            while (start > 0 && end - start < 20 && text[start - 1] != '\n')
                --start;
            token = text.substr(start, end - start);
        } else {
            // "number overflow parsing '…'"
            const std::string_view what = error.what();
            const std::size_t open = what.find('\'');
            const std::size_t close = what.rfind('\'');
            if (open != std::string_view::npos && close > open)
                token = what.substr(open + 1, close - open - 1);
        }
        throw JsonError(text, position, token, error, source);
    }
}
