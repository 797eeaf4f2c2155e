#include "calculation_book.h"
#include "coefficient_block.h"
#include "number_format.h"
#include "page_flow.h"
#include "pdf_text_map.h"
#include "pdf_tools.h"
#include "report_font.h"
#include "report_pages.h"
#include "report_printing.h"
#include "sample_piles.h"
#include "summary_table.h"

#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QThread>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using PdfTools::Words;

struct TPdfLine
{
    std::size_t page; // from 0
    std::string words;
};

// The words of a line; a blank that text extraction puts after a full-width "，" or "：" (drawn
// whole over the column after it) does not count.
std::string LineWords(const std::string &line)
{
    std::string words = Words(line);
    for (const std::string mark : {"， ", "： "})
        for (std::size_t at; (at = words.find(mark)) != std::string::npos;)
            words.erase(at + mark.size() - 1, 1);
    return words;
}

// A page header: the project, then the pile the page belongs to.
bool IsHeader(const std::string &words)
{
    const std::string mark = "基桩ZH";
    const std::size_t at = words.rfind(mark);
    if (at == std::string::npos || (at > 0 && words[at - 1] != ' '))
        return false;
    const std::string number = words.substr(at + mark.size());
    return !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
}

// The lines of the document with their words, without blank lines, headers and footers, and
// from `firstPage` on (the book's cover is page 0).
std::vector<TPdfLine> DocumentLines(const std::filesystem::path &pdf, std::size_t firstPage = 0)
{
    const std::string footer = Words(ReportFooterTitle);
    std::vector<TPdfLine> lines;
    const auto pages = PdfTools::PageLines(pdf);
    for (std::size_t p = firstPage; p < pages.size(); ++p)
        for (const std::string &line : pages[p]) {
            const std::string words = LineWords(line);
            if (!words.empty() && words.find(footer) == std::string::npos && !IsHeader(words))
                lines.push_back({p, words});
        }
    return lines;
}

bool IsRule(const std::string &line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string::npos && line.find_first_not_of('-', first) == std::string::npos;
}

// Finds the report's lines in the document in order; between them only the lines that `skippable`
// allows after the report line before. Gives the page of each report line.
std::vector<std::size_t>
PagesOfLines(const std::vector<std::string> &report, const std::vector<TPdfLine> &document,
             const std::function<bool(std::size_t, const TPdfLine &)> &skippable)
{
    std::vector<std::size_t> pages(report.size(), 0);
    std::size_t at = 0;
    for (std::size_t i = 0; i < report.size(); ++i) {
        const std::string words = LineWords(report[i]);
        if (words.empty()) {
            pages[i] = i > 0 ? pages[i - 1] : 0;
            continue;
        }
        const std::size_t from = at;
        while (at < document.size() && document[at].words != words)
            ++at;
        if (at == document.size()) {
            ADD_FAILURE() << "line " << i + 1 << " missing: " << report[i];
            return pages;
        }
        for (std::size_t k = from; k < at; ++k)
            if (!(i > 0 && skippable(i - 1, document[k])))
                ADD_FAILURE() << "line " << i + 1 << " follows other text: " << document[k].words;
        pages[i] = document[at].page;
        ++at;
    }
    return pages;
}

TEST(BookPdf, HoldsEveryLineInOrderWithEachProfileAfterItsSectionAndNoTableSplit)
{
    const TPileReports reports = SamplePiles::AllSections();
    const std::vector<std::string> &book = reports.BookLines();
    const auto pdf = PdfTools::Save(BookPdf(reports), "book.pdf");
    const std::vector<TPdfLine> document = DocumentLines(pdf, 1);

    // Between two book lines only the derivation of the coefficients and a profile may stand,
    // after a section's closing line; the time-stamp line follows the last profile.
    const std::vector<std::size_t> pages = PagesOfLines(
        book, document, [&](std::size_t i, const TPdfLine &) { return book[i] == BookSectionEnd; });
    ASSERT_FALSE(testing::Test::HasFailure());

    const std::vector<TBreak> breaks = TableBreaks(book);
    for (std::size_t i = 1; i < book.size(); ++i) {
        if (pages[i] == pages[i - 1])
            continue;
        EXPECT_FALSE(IsRule(book[i])) << "page starts with a rule at line " << i + 1;
        EXPECT_NE(breaks[i], TBreak::Never) << "table split before line " << i + 1;
    }
    const std::vector<TPileRecord> &piles = reports.Piles();
    for (std::size_t k = 0; k < piles.size(); ++k) {
        const std::size_t first = piles[k].firstBookLine;
        if (k > 0) {
            EXPECT_GT(pages[first], pages[first - 1]) << "ZH" << k + 1 << " starts a page";
        }
        // The profile's title follows the section, before the next section.
        const std::size_t end = k + 1 < piles.size() ? piles[k + 1].firstBookLine : book.size();
        const std::string title = "基桩ZH" + std::to_string(k + 1) + " 剖面图";
        std::size_t found = document.size();
        for (std::size_t j = 0; j < document.size(); ++j)
            if (document[j].words == title)
                found = j;
        ASSERT_LT(found, document.size()) << title;
        const std::size_t closing = k + 1 < piles.size() ? end - 1 : book.size() - 2;
        EXPECT_GE(document[found].page, pages[closing]) << title;
        EXPECT_LE(document[found].page, pages[end < book.size() ? end : book.size() - 1]) << title;
    }
    // The time-stamp line is the document's last.
    EXPECT_EQ(document.back().words, Words(book.back()));
    // The results from the tip resistance to the verdict stand on one page.
    for (std::size_t i = 0; i < book.size(); ++i) {
        if (!book[i].starts_with("  4.4 "))
            continue;
        std::size_t k = i;
        while (!book[k].starts_with("      计算结果合规性判定"))
            ++k;
        EXPECT_EQ(pages[i], pages[k]) << "results split at line " << i + 1;
    }
}

struct TWord
{
    double left, right, top;
    std::string text;
};

// The words of a page with their boxes, as pdftotext -bbox gives them.
std::vector<TWord> PageWords(const std::filesystem::path &pdf, int page)
{
    const std::string html = PdfTools::Run("pdftotext -bbox -f " + std::to_string(page) + " -l "
                                           + std::to_string(page) + " '" + pdf.string() + "' -");
    std::vector<TWord> words;
    const auto number = [&](std::size_t at, const char *key) {
        const std::size_t found = html.find(key, at) + std::strlen(key);
        return std::stod(html.substr(found, html.find('"', found) - found));
    };
    for (std::size_t at = html.find("<word "); at != std::string::npos;
         at = html.find("<word ", at + 1)) {
        const std::size_t open = html.find('>', at) + 1;
        words.push_back({number(at, "xMin=\""), number(at, "xMax=\""), number(at, "yMin=\""),
                         html.substr(open, html.find('<', open) - open)});
    }
    return words;
}

// Forces of 100,000 kN and more stay in their columns: every word of a table row ends left of
// where the next begins and inside the table's rules.
TEST(BookPdf, ForcesOfAHundredThousandKilonewtonsStayInTheirColumns)
{
    TPileInput input = SamplePiles::Circle();
    input.d = "2500";
    input.soilLayers = {{"12.00", "180"}, {"8.00", "250"}};
    input.rockLayers = {SamplePiles::Rock("5.00", "微风化", "完整", "0.8", "100")};
    input.boredPile = false;
    input.rounding = TRoundingMode::TwoDecimals;
    TPileReports reports;
    SamplePiles::Add(reports, input);
    ASSERT_GE(reports.Piles()[0].result.socketTotal, 100000);
    const auto pdf = PdfTools::Save(BookPdf(reports), "book.pdf");
    const std::string total = FormatFixed(reports.Piles()[0].result.socketTotal, 8, 2);
    int checked = 0;
    for (int page = 2; page <= 4; ++page) {
        const std::vector<TWord> words = PageWords(pdf, page);
        double ruleLeft = 1e9, ruleRight = 0;
        for (const TWord &word : words)
            if (word.text.find_first_not_of('-') == std::string::npos && word.text.size() == 39) {
                ruleLeft = std::min(ruleLeft, word.left);
                ruleRight = std::max(ruleRight, word.right);
            }
        for (std::size_t k = 0; k < words.size(); ++k) {
            if (words[k].text.size() < 9 || words[k].text.find('.') == std::string::npos
                || words[k].text.find_first_not_of("0123456789.%") != std::string::npos
                || std::stod(words[k].text) < 100000)
                continue;
            if (words[k].left < ruleLeft || words[k].left > ruleRight)
                continue; // the profile's figures
            ++checked;
            EXPECT_LE(words[k].right, ruleRight + 0.5) << words[k].text << " page " << page;
            // The next word of the same line starts clear of it.
            for (std::size_t n = k + 1; n < words.size(); ++n)
                if (std::abs(words[n].top - words[k].top) < 1 && words[n].left > words[k].left) {
                    EXPECT_GT(words[n].left - words[k].right, 1.0) << words[k].text;
                    break;
                }
        }
    }
    EXPECT_GE(checked, 4) << "the table rows with their forces, " << total;
}

const TProjectInfo SampleProject {
    "沿江高速公路二期", "K12+300大桥 3#墩", "JS-2024-017", "张明", "李华", "王强"};

// The cover holds the project and the sign-off block, or blanks for the pen; every later page
// is headed by the project and the pile it belongs to.
TEST(BookPdf, CoverWithTheProjectAndHeadersNamingThePileOfEveryPage)
{
    const TPileReports reports = SamplePiles::AllSections();
    for (const bool withProject : {true, false}) {
        const TProjectInfo project = withProject ? SampleProject : TProjectInfo {};
        const auto pdf = PdfTools::Save(BookPdf(reports, project), "book.pdf");
        const auto pages = PdfTools::PageLines(pdf);
        ASSERT_GT(pages.size(), 1u);
        std::string cover;
        for (const std::string &line : pages[0])
            cover += Words(line) + "\n";
        for (const char *text :
             {"嵌岩桩承载力计算书", "项目名称：", "结构物/墩台：", "计算书编号：",
              "计算日期： 2024/3/5", "计算", "复核", "审核", "姓名", "签字"}) {
            EXPECT_NE(cover.find(text), std::string::npos) << text << "\n" << cover;
        }
        for (const std::string &field : {project.name, project.structure, project.bookNo,
                                         project.designer, project.checker, project.reviewer}) {
            if (withProject) {
                EXPECT_NE(cover.find(Words(field)), std::string::npos) << field << "\n" << cover;
            }
        }
        // Pages of pile k: from the page of its first line to the page before the next pile's.
        const std::vector<TPileRecord> &piles = reports.Piles();
        std::size_t pile = 0;
        for (std::size_t p = 1; p < pages.size(); ++p) {
            std::string header;
            for (const std::string &line : pages[p])
                if (!Words(line).empty()) {
                    header = Words(line);
                    break;
                }
            for (const std::string &line : pages[p])
                if (Words(line) == "1.基桩编号: ZH" + std::to_string(pile + 2))
                    ++pile;
            std::string expected = "基桩ZH" + std::to_string(pile + 1);
            if (withProject)
                expected = Words(project.name + " " + project.structure + " " + project.bookNo + " "
                                 + expected);
            EXPECT_EQ(header, expected) << "page " << p + 1;
        }
        EXPECT_EQ(pile + 1, piles.size());
    }
}

// The derivation of the coefficients stands after each pile's section, before its profile.
TEST(BookPdf, TheCoefficientBlockFollowsEachSection)
{
    const TPileReports reports = SamplePiles::ThreePiles();
    const auto pdf = PdfTools::Save(BookPdf(reports), "book.pdf");
    const std::vector<TPdfLine> document = DocumentLines(pdf, 1);
    std::size_t at = 0;
    for (std::size_t k = 0; k < reports.Piles().size(); ++k) {
        const TPileRecord &pile = reports.Piles()[k];
        const std::string closing = "5.基桩主要数据汇总";
        while (at < document.size() && document[at].words != Words(closing))
            ++at;
        // The layout of the text extraction may part a line's words anywhere.
        const auto solid = [](std::string text) {
            std::erase(text, ' ');
            return text;
        };
        for (const std::string &line : CoefficientBlockLines(pile.input, pile.result)) {
            while (at < document.size() && solid(document[at].words) != solid(line))
                ++at;
            ASSERT_LT(at, document.size()) << "ZH" << k + 1 << ": " << line;
        }
        const std::string title = "基桩ZH" + std::to_string(k + 1) + " 剖面图";
        while (at < document.size() && document[at].words != title)
            ++at;
        ASSERT_LT(at, document.size()) << title;
    }
}

// Two runs a second apart give the same bytes: the dates and identifiers come from the time
// stamp; another time stamp gives another creation date.
TEST(BookPdf, TheSameTimeStampGivesTheSameBytes)
{
    const TPileReports reports = SamplePiles::ThreePiles();
    const QByteArray first = BookPdf(reports, SampleProject);
    QThread::msleep(1100);
    EXPECT_EQ(BookPdf(reports, SampleProject), first);
    EXPECT_TRUE(first.contains("/CreationDate (D:20240305140709Z")) << "creation date";
    QThread::msleep(1100);
    EXPECT_EQ(TablePdf(reports), TablePdf(reports));
    TPileReports later;
    SamplePiles::Add(later, SamplePiles::Circle(), "2025/12/31 23:59:58");
    EXPECT_TRUE(BookPdf(later).contains("/CreationDate (D:20251231235958Z"));
}

// A long description of the rock is wrapped or shrunk, never cut, and its strength always shown.
TEST(BookPdf, TheProfileShowsALongRockDescriptionWholeWithItsStrength)
{
    const std::string description = "微风化泥质粉砂岩夹砂砾岩薄层与炭质页岩";
    TPileInput input = SamplePiles::Circle();
    input.rockLayers = {SamplePiles::Rock("1.00", description.c_str(), "较完整", "0.6", "20"),
                        SamplePiles::Rock("0.80", "中风化", "较破碎", "0.4", "12")};
    TPileReports reports;
    SamplePiles::Add(reports, input);
    const auto pdf = PdfTools::Save(BookPdf(reports), "book.pdf");
    const auto pages = PdfTools::PageLines(pdf);
    // The profile's page, its text without blanks.
    std::string text;
    for (const auto &page : pages) {
        std::string joined;
        for (const std::string &line : page)
            for (const char ch : line)
                if (ch != ' ')
                    joined += ch;
        if (joined.find("基桩ZH1剖面图") != std::string::npos)
            text = joined;
    }
    ASSERT_FALSE(text.empty());
    for (const std::string &shown : {description + "较完整", std::string("frk=20MPa"),
                                     std::string("frk=12MPa"), std::string("桩端以下")})
        EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
}

TEST(BookPdf, EmbedsTheReportFont)
{
    const auto pdf = PdfTools::Save(BookPdf(SamplePiles::ThreePiles()), "book.pdf");
    const std::string fonts = PdfTools::Run("pdffonts '" + pdf.string() + "'");
    std::istringstream rows(fonts);
    std::string row;
    std::getline(rows, row);
    std::getline(rows, row); // the header and its rule
    int count = 0;
    while (std::getline(rows, row)) {
        if (Words(row).empty())
            continue;
        ++count;
        // name, type words, encoding, then emb sub uni and the object number.
        std::istringstream cells(row);
        std::vector<std::string> words;
        for (std::string word; cells >> word;)
            words.push_back(word);
        ASSERT_GE(words.size(), 6u) << row;
        EXPECT_EQ(words[words.size() - 5], "yes") << "not embedded: " << row;
        EXPECT_EQ(words[words.size() - 3], "yes") << "no Unicode map: " << row;
    }
    EXPECT_GE(count, 1) << fonts;
    EXPECT_NE(fonts.find("CJK"), std::string::npos) << fonts;
}

TEST(TablePdf, HoldsEveryLineInOrderOnLandscapePagesWithHeaderAndClosingKept)
{
    TPileReports reports = SamplePiles::AllSections();
    for (int k = 0; k < 60; ++k)
        SamplePiles::Add(reports, k % 2 ? SamplePiles::Ellipse() : SamplePiles::Circle());
    const std::vector<std::string> table = PrintedTableLines(reports);
    ASSERT_EQ(table.size(), reports.TableLines().size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_TRUE(table[i].starts_with(reports.TableLines()[i])) << "line " << i + 1;
    }
    const auto pdf = PdfTools::Save(TablePdf(reports), "table.pdf");
    const std::string info = PdfTools::Run("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("842 x 595 pts (A4)"), std::string::npos) << info;

    // Pages after the first start with the rule and header lines again.
    const std::vector<TPdfLine> document = DocumentLines(pdf);
    std::vector<std::size_t> repeated;
    const std::vector<std::size_t> pages =
        PagesOfLines(table, document, [&](std::size_t, const TPdfLine &line) {
            const bool header = line.words == Words(table[1]) || line.words == Words(table[2])
                || line.words == Words(table[3]);
            if (header)
                repeated.push_back(line.page);
            return header;
        });
    ASSERT_FALSE(testing::Test::HasFailure());
    EXPECT_GE(pages.back(), 1u) << "the table fills more than a page";
    const std::size_t firstPile = SummaryHeaderLineCount;
    const std::size_t lastPile = table.size() - SummaryClosingLineCount - 1;
    for (std::size_t i = 0; i < firstPile; ++i) {
        EXPECT_EQ(pages[i], pages[firstPile]) << "header line " << i + 1;
    }
    for (std::size_t i = lastPile; i < table.size(); ++i) {
        EXPECT_EQ(pages[i], pages[lastPile]) << "closing line " << i + 1;
    }
    std::vector<std::size_t> expected;
    for (std::size_t p = 1; p <= pages.back(); ++p)
        expected.insert(expected.end(), {p, p, p, p});
    EXPECT_EQ(repeated, expected) << "two rules and two header lines atop each later page";
}

// The book checks each pile against its design load, the table has a column for it; a pile
// without a load says so.
TEST(ReportPdf, TheDesignLoadsVerdictInTheBookAndTheTable)
{
    TPileReports reports;
    TPileInput carried = SamplePiles::Circle();
    carried.load = "9000";
    carried.gammaR = "1.0";
    TPileInput factored = carried;
    factored.load = "12000";
    factored.gammaR = "1.25";
    TPileInput exceeded = carried;
    exceeded.load = "12000";
    SamplePiles::Add(reports, carried);
    SamplePiles::Add(reports, factored);
    SamplePiles::Add(reports, exceeded);
    SamplePiles::Add(reports, SamplePiles::Circle());
    std::string book;
    for (const auto &page : PdfTools::PageLines(PdfTools::Save(BookPdf(reports), "book.pdf")))
        for (const std::string &line : page)
            book += Words(line) + "\n";
    for (const char *text :
         {"桩顶轴力设计值 N = 9000 kN，抗力系数 γR = 1.0", "γR·Ra = 1.0 × 10367.26 = 10367.26 kN",
          "N/(γR·Ra) = 9000 / 10367.26 = 86.8 %", "N ≤ γR·Ra：满足",
          "γR·Ra = 1.25 × 10367.26 = 12959.07 kN", "N/(γR·Ra) = 12000 / 12959.07 = 92.6 %",
          "N/(γR·Ra) = 12000 / 10367.26 = 115.7 %", "N > γR·Ra：不满足",
          "荷载验算：未输入设计荷载"})
        EXPECT_NE(LineWords(book).find(LineWords(text)), std::string::npos) << text << "\n" << book;
    const std::vector<std::string> table = PrintedTableLines(reports);
    const std::size_t first = SummaryHeaderLineCount;
    EXPECT_NE(table[2].find("设计荷载验算"), std::string::npos);
    EXPECT_TRUE(Words(table[first]).ends_with("86.8% 满足")) << table[first];
    EXPECT_TRUE(Words(table[first + 1]).ends_with("92.6% 满足")) << table[first + 1];
    EXPECT_TRUE(Words(table[first + 2]).ends_with("115.7% 不满足")) << table[first + 2];
    EXPECT_TRUE(Words(table[first + 3]).ends_with("未输入设计荷载")) << table[first + 3];
    std::string printed;
    for (const auto &page : PdfTools::PageLines(PdfTools::Save(TablePdf(reports), "table.pdf")))
        for (const std::string &line : page)
            printed += Words(line) + "\n";
    EXPECT_NE(printed.find("未输入设计荷载"), std::string::npos) << printed;
}

// The printing entry paints the pages of the PDF: the same text, page for page.
TEST(PrintReport, PaintsThePagesOfThePdf)
{
    const TPileReports reports = SamplePiles::ThreePiles();
    for (const TReportKind kind : {TReportKind::Book, TReportKind::Table}) {
        const bool book = kind == TReportKind::Book;
        const auto expected = PdfTools::Save(book ? BookPdf(reports) : TablePdf(reports),
                                             book ? "book.pdf" : "table.pdf");
        const auto printed = expected.parent_path() / "printed.pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed.string()));
        SetUpPrinter(printer, kind);
        // The printed file's text layer is mended as the PDF's: the same characters, no radicals.
        const int count = PrintReport(printer, reports, kind);
        const auto expectedPages = PdfTools::PageLines(expected);
        const auto printedPages = PdfTools::PageLines(printed);
        EXPECT_EQ(std::size_t(count), expectedPages.size());
        ASSERT_EQ(printedPages.size(), expectedPages.size());
        for (std::size_t p = 0; p < expectedPages.size(); ++p) {
            std::string a, b;
            for (const std::string &line : expectedPages[p])
                a += Words(line) + "\n";
            for (const std::string &line : printedPages[p])
                b += Words(line) + "\n";
            EXPECT_EQ(b, a) << (book ? "book" : "table") << " page " << p + 1;
        }
    }
}

TEST(BookPdf, EmptyReportsGiveOnePageWithItsFooter)
{
    const auto pdf = PdfTools::Save(BookPdf(TPileReports {}), "empty.pdf");
    const auto pages = PdfTools::PageLines(pdf);
    ASSERT_EQ(pages.size(), 1u);
    std::string text;
    for (const std::string &line : pages[0])
        text += Words(line);
    EXPECT_NE(text.find("第 1 页 共 1 页"), std::string::npos) << text;
}

} // namespace
