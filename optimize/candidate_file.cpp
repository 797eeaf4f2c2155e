#include "candidate_file.h"

#include "column_cells.h"
#include "file_names.h"
#include "text_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::string_view Header1 =
    " 基    桩  桩身截面  桩身直径  椭圆直段  矩形长边  矩形短边  嵌岩深度  岩石强度  岩石风化  "
    "完整程度  端阻系数  侧阻系数  嵌岩侧阻  嵌岩侧阻  嵌岩端阻  嵌岩端阻  嵌岩阻力  土侧阻力  "
    "土侧阻力  桩承载力 ";
constexpr std::string_view Header2 =
    " 编    号  类    型    d(mm)     c(mm)     a(mm)     b(mm)     hr(m)   frk(MPa)  程    度  "
    "或 指 数     c1        c2      Rsa(kN)  占百分比   Rpa(kN)  占百分比   Rra(kN)   Rsk(kN)  "
    "占百分比   Ra(kN)  ";

// Builds the rows of a file. The rows of a sweep have few distinct sizes, rock data, coefficients
// and shares, so each column keeps its recent texts with their padded cells.
class TRowWriter
{
public:
    // The row of the candidate at `position` (from 1), built from its grid texts; its section
    // chooses the size columns.
    const std::string &Row(TOptSection section, const TCandidateTexts &t, std::size_t position,
                           int digits)
    {
        using namespace CandidateColumn;
        const auto centred = [](std::string_view text) { return CellC(text, 8, 2); };
        const auto right6 = [](std::string_view text) { return CellL(text, 6, 4); };
        const auto right7 = [](std::string_view text) { return CellL(text, 7, 3); };
        m_line = " ";
        AppendLabel(position, digits);
        m_line += Cell(Section, t[Section], centred);
        switch (section) {
        case TOptSection::Circle:
            m_line += Cell(SizeD, t[SizeD], right6);
            m_line += m_dash;
            m_line += m_dash;
            m_line += m_dash;
            break;
        case TOptSection::Ellipse:
            m_line += Cell(SizeD, t[SizeD], right6);
            m_line += Cell(SizeC, t[SizeC], right6);
            m_line += m_dash;
            m_line += m_dash;
            break;
        case TOptSection::Rectangle:
        case TOptSection::Square:
            m_line += m_dash;
            m_line += m_dash;
            m_line += Cell(SizeD, t[SizeD], right6);
            m_line += Cell(SizeC, t[SizeC], right6);
            break;
        }
        m_line += Cell(Hr, t[Hr], right6);
        m_line += Cell(Frk, t[Frk], right6);
        m_line += Cell(Weathering, t[Weathering], right7);
        m_line += Cell(Integrity, t[Integrity], centred);
        m_line += Cell(C1, t[C1], centred);
        m_line += Cell(C2, t[C2], centred);
        AppendRight(t[Qsr], 7, 3);
        m_line += Cell(SideShare, t[SideShare], right6);
        AppendRight(t[Qpr], 7, 3);
        m_line += Cell(TipShare, t[TipShare], right6);
        AppendRight(t[Qrk], 7, 3);
        if (t[Rsk] == "-") {
            m_line += m_dash;
            m_line += Cell(Rsk, t[SoilShare], centred); // the Rsk column has no cell of its own
        } else {
            AppendRight(t[Rsk], 7, 3);
            m_line += Cell(SoilShare, t[SoilShare], right6);
        }
        AppendRight(t[Ra], 7, 2);
        return m_line;
    }

private:
    // The centred cell of "ZH-" and the position padded with zeros to `digits`.
    void AppendLabel(std::size_t position, int digits)
    {
        char number[24];
        const auto end = std::to_chars(number, number + sizeof number, position).ptr;
        const int length = static_cast<int>(end - number);
        const int zeros = std::max(digits - length, 0);
        const int missing = 8 - (3 + zeros + length);
        const int right = missing > 0 ? missing / 2 : 0;
        const int left = missing > 0 ? missing - right : 0;
        m_line.append(static_cast<std::size_t>(left), ' ');
        m_line += "ZH-";
        m_line.append(static_cast<std::size_t>(zeros), '0');
        m_line.append(number, end);
        m_line.append(static_cast<std::size_t>(right + 2), ' ');
    }

    // CellL of a figure: its digits are one column each.
    void AppendRight(const std::string &text, int width, int blanks)
    {
        if (static_cast<int>(text.size()) < width)
            m_line.append(static_cast<std::size_t>(width) - text.size(), ' ');
        m_line += text;
        m_line.append(static_cast<std::size_t>(blanks), ' ');
    }

    struct TMemo
    {
        bool filled = false;
        std::string text;
        std::string cell;
    };

    template<typename Pad>
    const std::string &Cell(int column, const std::string &text, Pad &&pad)
    {
        // A few recent texts of each column, a slot each by a hash of the text.
        const std::size_t slot = std::hash<std::string_view> {}(text) % MemoSlots;
        TMemo &memo = m_memos[static_cast<std::size_t>(column) * MemoSlots + slot];
        if (!memo.filled || memo.text != text) {
            memo.filled = true;
            memo.text = text;
            memo.cell = pad(text);
        }
        return memo.cell;
    }

    const std::string m_dash = CellC("-", 8, 2);
    static constexpr std::size_t MemoSlots = 16;
    std::array<TMemo, CandidateColumn::Count * MemoSlots> m_memos;
    std::string m_line;
};

// The lines of a candidate file before its rows.
void HeadLines(const TCandidateFile &file, const std::function<void(std::string_view)> &line)
{
    const std::string dashes(200, '-');
    const char *title = file.kind == TCandidateFileKind::Raw ? " 嵌岩桩优化计算原始结果 "
                                                             : " 嵌岩桩优化计算筛选结果 ";
    line(std::string(87, '=') + title + std::string(89, '='));
    line(dashes);
    line(Header1);
    line(Header2);
    line(dashes);
}

// The lines after the rows.
void TailLines(const TCandidateFile &file, const std::function<void(std::string_view)> &line)
{
    line(std::string(200, '-'));
    line(" 注: 采用《公路桥涵地基与基础设计规范》(JTG 3363-2019)公式计算");
    line(std::string(200, '='));
    line("计算时间：" + file.timeStamp);
    line("");
    if (!file.soilAppendix)
        return;
    const std::string stars(50, '*');
    const std::string rule = "*        -------------------------------------   *";
    line(stars);
    line("*  附录：桩侧土体侧阻力参数                      *");
    line(rule);
    line("*        土层    土层    土层厚度    土层侧阻    *");
    line("*        数 n    序号      li(m)      qik(kPa)   *");
    line(rule);
    const std::string count = std::to_string(file.soilLayers.size());
    for (std::size_t j = 0; j < file.soilLayers.size(); ++j) {
        const TSoilLayer &layer = file.soilLayers[j];
        line("*" + Spaces(8) + CellL(count, 3, 5) + CellL(std::to_string(j + 1), 3, 5)
             + CellL(layer.li, 7, 5) + CellL(layer.qik, 7, 5) + "*");
    }
    line(rule);
    line(stars);
}

// Lines encoded and ended for their destination.
class TLineEncoder
{
public:
    explicit TLineEncoder(TLineEncoding encoding)
        : m_encoding(encoding)
    { }

    // Any line, encoded as one text.
    void Line(std::string &out, std::string_view utf8) const
    {
        if (m_encoding == TLineEncoding::Utf8)
            out += utf8;
        else
            out += ToSystemCodePage(utf8);
        End(out);
    }

    // A line of the rows, valid UTF-8 of the program's own texts: its runs of non-ASCII
    // characters, of which the rows have few distinct ones, are encoded once each.
    void Row(std::string &out, std::string_view utf8)
    {
        if (m_encoding == TLineEncoding::Utf8) {
            out += utf8;
        } else {
            std::size_t i = 0;
            while (i < utf8.size()) {
                std::size_t next = i;
                // Eight bytes at a time while none of them has its high bit.
                for (std::uint64_t word = 0; next + 8 <= utf8.size(); next += 8) {
                    std::memcpy(&word, utf8.data() + next, 8);
                    if (word & 0x8080808080808080ull)
                        break;
                }
                while (next < utf8.size() && static_cast<unsigned char>(utf8[next]) < 0x80)
                    ++next;
                out.append(utf8.data() + i, next - i);
                i = next;
                while (next < utf8.size() && static_cast<unsigned char>(utf8[next]) >= 0x80)
                    ++next;
                if (next > i)
                    out += EncodedRun(utf8.substr(i, next - i));
                i = next;
            }
        }
        End(out);
    }

private:
    void End(std::string &out) const { out += m_encoding == TLineEncoding::Utf8 ? "\n" : "\r\n"; }

    const std::string &EncodedRun(std::string_view run)
    {
        if (m_lastRun.has_value() && *m_lastRun == run)
            return m_lastEncoded->second;
        auto it = m_runs.find(run);
        if (it == m_runs.end())
            it = m_runs.emplace(std::string(run), ToSystemCodePage(run)).first;
        m_lastRun = it->first;
        m_lastEncoded = it;
        return it->second;
    }

    struct THash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view> {}(text);
        }
    };
    using TRuns = std::unordered_map<std::string, std::string, THash, std::equal_to<>>;

    TLineEncoding m_encoding;
    TRuns m_runs;
    std::optional<std::string_view> m_lastRun;
    TRuns::iterator m_lastEncoded;
};

// Lines gathered into large blocks of encoded bytes for a sink; the rows of a table are made in
// chunks on every hardware thread and handed on in their order.
class TLineBlocks
{
public:
    TLineBlocks(TLineEncoding encoding, const TByteSink &sink)
        : m_encoder(encoding)
        , m_sink(sink)
    { }

    void Line(std::string_view utf8) { m_encoder.Line(m_block, utf8); }

    // Rows 0 to count - 1, each appended by a formatter of its thread: `make` gives one per
    // thread, whose Append(out, k) adds row k, encoded and ended, to `out`.
    template<typename Make>
    void Rows(std::size_t count, const Make &make)
    {
        const std::size_t threads =
            std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
        std::vector<decltype(make())> formatters;
        for (std::size_t t = 0; t < threads; ++t)
            formatters.push_back(make());
        std::vector<std::string> chunks(threads);
        for (std::size_t first = 0; first < count; first += threads * ChunkRows) {
            for (std::string &chunk : chunks)
                chunk.clear();
            const auto format = [&](std::size_t t) {
                std::string &chunk = chunks[t];
                const std::size_t begin = std::min(count, first + t * ChunkRows);
                const std::size_t end = std::min(count, begin + ChunkRows);
                for (std::size_t k = begin; k < end; ++k)
                    formatters[t]->Append(chunk, k);
            };
            {
                std::vector<std::jthread> helpers;
                for (std::size_t t = 1; t < threads && first + t * ChunkRows < count; ++t)
                    helpers.emplace_back(format, t);
                format(0);
            }
            Flush();
            for (const std::string &chunk : chunks) {
                if (!chunk.empty())
                    m_sink(chunk);
            }
        }
    }

    void Finish() { Flush(); }

private:
    static constexpr std::size_t ChunkRows = 8192;

    void Flush()
    {
        if (!m_block.empty())
            m_sink(m_block);
        m_block.clear();
    }

    TLineEncoder m_encoder;
    const TByteSink &m_sink;
    std::string m_block;
};

// A number as a spreadsheet takes it: a sign, digits with a decimal point, an exponent.
bool IsPlainNumber(std::string_view text)
{
    const auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && digit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && digit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && digit(text[i]))
            ++i;
        if (i == start)
            return false;
    }
    return i == text.size();
}

// Whether a cell gets a protecting apostrophe: a spreadsheet would run it as a formula.
bool NeedsApostrophe(std::string_view text)
{
    const std::size_t quotes = std::min(text.find_first_not_of('\''), text.size());
    const std::string_view rest = text.substr(quotes);
    if (rest.empty())
        return false;
    const char first = rest.front();
    const bool formula = first == '=' || first == '+' || first == '-' || first == '@'
        || first == '\t' || first == '\r';
    return formula && !IsPlainNumber(rest);
}

void AppendCsvCell(std::string &line, std::string_view text)
{
    const bool apostrophe = NeedsApostrophe(text);
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        if (apostrophe)
            line += '\'';
        line += text;
        return;
    }
    line += '"';
    if (apostrophe)
        line += '\'';
    for (const char ch : text) {
        line += ch;
        if (ch == '"')
            line += '"';
    }
    line += '"';
}

// A text as a JSON string: quotes, backslashes and control characters escaped.
void AppendJsonString(std::string &line, std::string_view text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    line += '"';
    for (const char ch : text) {
        switch (ch) {
        case '"':
            line += "\\\"";
            break;
        case '\\':
            line += "\\\\";
            break;
        case '\b':
            line += "\\b";
            break;
        case '\f':
            line += "\\f";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\t':
            line += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                line += "\\u00";
                line += Hex[(ch >> 4) & 0xF];
                line += Hex[ch & 0xF];
            } else {
                line += ch;
            }
        }
    }
    line += '"';
}

} // namespace

bool WantsSoilAppendix(const TOptionTable &options)
{
    return options[OptionRow::Overburden].minimum == "1";
}

void ForEachCandidateFileLine(const TCandidateFile &file,
                              const std::function<void(std::string_view)> &line)
{
    HeadLines(file, line);
    const TCandidateTable &table = *file.table;
    const int digits = DecimalDigits(static_cast<std::int64_t>(table.Size()));
    TCandidateTextMaker maker(table.context);
    TRowWriter writer;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        const TOptCandidate &row = table.Row(i);
        line(writer.Row(row.section, maker.Texts(row), i + 1, digits));
    }
    TailLines(file, line);
}

namespace {

// The rows of one thread's part of a table: its own text maker and encoder, whose memories of
// recent texts make any row as CandidateTexts would.
class TRowFormatter
{
public:
    TRowFormatter(const TCandidateTable &table, TLineEncoding encoding)
        : m_table(table)
        , m_maker(table.context)
        , m_encoder(encoding)
    { }

protected:
    const TCandidateTable &m_table;
    TCandidateTextMaker m_maker;
    TLineEncoder m_encoder;
    std::string m_line;
};

class TFileRows : public TRowFormatter
{
public:
    TFileRows(const TCandidateTable &table, TLineEncoding encoding)
        : TRowFormatter(table, encoding)
        , m_digits(DecimalDigits(static_cast<std::int64_t>(table.Size())))
    { }

    void Append(std::string &out, std::size_t k)
    {
        const TOptCandidate row = m_table.Row(k);
        m_encoder.Row(out, m_writer.Row(row.section, m_maker.Texts(row), k + 1, m_digits));
    }

private:
    int m_digits;
    TRowWriter m_writer;
};

class TCsvRows : public TRowFormatter
{
public:
    using TRowFormatter::TRowFormatter;

    void Append(std::string &out, std::size_t k)
    {
        const TCandidateTexts &texts = m_maker.Texts(m_table.Row(k));
        m_line.clear();
        for (int column = 0; column < CandidateColumn::Count; ++column) {
            if (column)
                m_line += ',';
            AppendCsvCell(m_line, texts[column]);
        }
        m_encoder.Row(out, m_line);
    }
};

class TJsonRows : public TRowFormatter
{
public:
    using TRowFormatter::TRowFormatter;

    void Append(std::string &out, std::size_t k)
    {
        const TCandidateTexts &texts = m_maker.Texts(m_table.Row(k));
        m_line = "[";
        for (int column = 0; column < CandidateColumn::Count; ++column) {
            if (column)
                m_line += ',';
            AppendJsonString(m_line, texts[column]);
        }
        m_line += k + 1 < m_table.Size() ? "]," : "]";
        m_encoder.Row(out, m_line);
    }
};

template<typename Rows>
auto RowsMaker(const TCandidateTable &table, TLineEncoding encoding)
{
    return [&table, encoding] { return std::make_unique<Rows>(table, encoding); };
}

} // namespace

void WriteCandidateFile(const TCandidateFile &file, TLineEncoding encoding, const TByteSink &sink)
{
    TLineBlocks blocks(encoding, sink);
    const auto line = [&blocks](std::string_view text) { blocks.Line(text); };
    HeadLines(file, line);
    blocks.Rows(file.table->Size(), RowsMaker<TFileRows>(*file.table, encoding));
    TailLines(file, line);
    blocks.Finish();
}

std::string CandidateCsvCell(std::string_view text)
{
    std::string cell;
    AppendCsvCell(cell, text);
    return cell;
}

void WriteCandidateCsv(const TCandidateTable &table, TLineEncoding encoding, const TByteSink &sink)
{
    TLineBlocks blocks(encoding, sink);
    std::string line;
    for (int column = 0; column < CandidateColumn::Count; ++column) {
        if (column)
            line += ',';
        AppendCsvCell(line, CandidateHeaderText(column));
    }
    blocks.Line(line);
    blocks.Rows(table.Size(), RowsMaker<TCsvRows>(table, encoding));
    blocks.Finish();
}

void WriteCandidateJsonRows(const TCandidateTable &table, TLineEncoding encoding,
                            const TByteSink &sink)
{
    TLineBlocks blocks(encoding, sink);
    blocks.Rows(table.Size(), RowsMaker<TJsonRows>(table, encoding));
    blocks.Finish();
}

std::optional<std::string> SaveCandidateFile(const std::filesystem::path &folder,
                                             const TCandidateFile &file)
{
    const std::string_view name = file.kind == TCandidateFileKind::Raw
        ? FileNames::RawCandidates
        : FileNames::FilteredCandidates;
    TTextFileWriter writer(FilePath(folder, name));
    WriteCandidateFile(file, TLineEncoding::SystemCodePage,
                       [&writer](std::string_view bytes) { writer.WriteBytes(bytes); });
    return writer.Commit();
}
