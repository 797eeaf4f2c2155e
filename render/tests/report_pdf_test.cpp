#include "calculation_book.h"
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

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using PdfTools::Words;

struct TPdfLine
{
    std::size_t page; // from 0
    std::string words;
};

// The lines of the document with their words, without blank lines and footers.
std::vector<TPdfLine> DocumentLines(const std::filesystem::path &pdf)
{
    const std::string footer = Words(ReportFooterTitle);
    std::vector<TPdfLine> lines;
    const auto pages = PdfTools::PageLines(pdf);
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (const std::string &line : pages[p]) {
            const std::string words = Words(line);
            if (!words.empty() && words.find(footer) == std::string::npos)
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
        const std::string words = Words(report[i]);
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
    const std::vector<TPdfLine> document = DocumentLines(pdf);

    // Between two book lines only a profile may stand, after a section's closing line or the
    // time-stamp line at the end.
    const std::vector<std::size_t> pages =
        PagesOfLines(book, document, [&](std::size_t i, const TPdfLine &) {
            return book[i] == BookSectionEnd || i + 1 == book.size();
        });
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
        EXPECT_GE(document[found].page, pages[end - 1]) << title;
        if (k + 1 < piles.size()) {
            EXPECT_LE(document[found].page, pages[end]) << title;
        }
    }
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
    const std::vector<std::string> &table = reports.TableLines();
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
