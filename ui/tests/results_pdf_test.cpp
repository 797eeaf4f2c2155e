#include "ui_test_support.h"

#include "profile_view.h"
#include "results_page.h"

#include "file_names.h"
#include "text_file.h"

#include <QPrinter>
#include <QPushButton>
#include <QSlider>

#include <cstdio>
#include <fstream>

namespace {

// pdftotext, a tool of the Linux machine, reads the PDFs back; a Windows build checks only that
// they are PDFs. A file in place of the documents folder is "not a directory" to POSIX and a path
// not found to Windows.
#ifdef _WIN32
constexpr bool PdfTextReadable = false;
constexpr const char *NoFolderReason = "No such file or directory";
#else
constexpr bool PdfTextReadable = true;
constexpr const char *NoFolderReason = "Not a directory";
#endif

// What pdftotext reads from a PDF, its words joined by single blanks.
std::string PdfWords(const std::filesystem::path &pdf)
{
    std::string text;
    if (FILE *pipe =
            popen(("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    std::string words;
    bool blank = false;
    for (const char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\f';
        if (space && !words.empty())
            blank = true;
        if (!space) {
            if (blank)
                words += ' ';
            words += c;
            blank = false;
        }
    }
    return words;
}

class ResultsPdf : public MainWindowTest
{
public:
    void Calculate()
    {
        Click("cbt_compute");
        Click("cbt_View");
    }
};

TEST_F(ResultsPdf, PdfButtonWritesTheReportOnShowAndLeavesTheTextSavesAsTheyWere)
{
    EXPECT_FALSE(Find("cbt_Pdf")->isEnabled());
    Calculate();
    ASSERT_TRUE(Find("cbt_Pdf")->isEnabled());
    Click("cbt_Pdf");
    const std::filesystem::path book = FilePath(m_folder, FileNames::BookPdf);
    ASSERT_TRUE(std::filesystem::exists(book));
    EXPECT_EQ(ReadBytes(book).substr(0, 5), "%PDF-");
    if (PdfTextReadable) {
        const std::string words = PdfWords(book);
        EXPECT_NE(words.find("1.基桩编号: ZH1"), std::string::npos) << words;
        EXPECT_NE(words.find("基桩ZH1 剖面图"), std::string::npos);
    }

    Click("cbt_PageBook");
    Click("cbt_Pdf");
    const std::filesystem::path table = FilePath(m_folder, FileNames::TablePdf);
    EXPECT_EQ(ReadBytes(table).substr(0, 5), "%PDF-");
    if (PdfTextReadable) {
        EXPECT_NE(PdfWords(table).find("ZH1 圆 桩 1000"), std::string::npos);
    }
    // The text files are the Parts' saves: neither written nor marked saved.
    EXPECT_EQ(m_window->UnsavedReports(), 3);
    EXPECT_TRUE(Find("cbt_Save")->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(FilePath(m_folder, FileNames::Book)));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join("|").toStdString();
}

TEST_F(ResultsPdf, FailedOrRefusedPdfSaveKeepsThePreviousFile)
{
    Calculate();
    m_window->SavePdf({""}, {StoragePermission::TGrant::Denied});
    EXPECT_EQ(m_messages, QStringList {"无权存盘"});
    EXPECT_FALSE(std::filesystem::exists(FilePath(m_folder, FileNames::BookPdf)));

    // What stands in the file's place stays as it was when the new file cannot replace it.
    m_messages.clear();
    const std::filesystem::path previous = FilePath(m_folder, FileNames::BookPdf);
    std::filesystem::create_directories(previous);
    std::ofstream(previous / "kept") << "kept";
    Click("cbt_Pdf");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_FALSE(m_messages.front().isEmpty());
    EXPECT_EQ(ReadBytes(previous / "kept"), "kept");

    // No documents folder: the system's message, nothing written.
    m_messages.clear();
    MakeDocumentsFolderAFile();
    Click("cbt_Pdf");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_NE(m_messages.front().indexOf(NoFolderReason), -1) << m_messages.front().toStdString();
}

TEST_F(ResultsPdf, CtrlPPrintsTheReportOnShowThroughThePrintDialog)
{
    const std::filesystem::path printed = m_folder / "printed.pdf";
    int asked = 0;
    bool accept = false;
    m_window->SetPrintDialog([&](QPrinter &printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed.string()));
        return accept;
    });
    Click("cbt_compute");
    QTest::keyClick(m_window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(asked, 0) << "no printing from the input page";
    Click("cbt_View");
    QWidget *page = Find("JieGuo_DocLayer");
    // The input page is hidden: its shortcut is the results page's only.
    QTest::keyClick(m_window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(std::filesystem::exists(printed)) << "the dialog was cancelled";

    accept = true;
    Click("cbt_PageBook");
    QTest::keyClick(page, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(ReadBytes(printed).substr(0, 5), "%PDF-");
    if (PdfTextReadable) {
        const std::string words = PdfWords(printed);
        EXPECT_NE(words.find("ZH1 圆 桩 1000"), std::string::npos) << words;
        EXPECT_EQ(words.find("1.基桩编号"), std::string::npos) << "the table, not the book";
    }
}

TEST_F(ResultsPdf, ProfileOfTheLastPileCoversThePageUntilClicked)
{
    EXPECT_FALSE(Find("cbt_Profile")->isEnabled());
    Calculate();
    Click("cbt_compute");
    Click("cbt_View");
    Click("cbt_Profile");
    auto *view = Find<TProfileView>("ProfileView");
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->PileNumber(), 2);
    EXPECT_EQ(view->geometry(), Find("JieGuo_DocLayer")->rect());
    // Drawn: black strokes on white.
    const QImage image = view->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 500);

    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
    Click("cbt_Profile");
    ASSERT_TRUE(view->isVisible());
    // Deleting piles takes the sheet away; with none left there is nothing to show or print.
    Click("cbt_sanchu");
    EXPECT_FALSE(view->isVisible());
    Click("cbt_sanchu");
    for (const char *name : {"cbt_Pdf", "cbt_Profile"})
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
}

// The added buttons sit in the page's free corners, clear of every control of the page.
TEST_F(ResultsPdf, AddedButtonsOverlapNoControlOfThePage)
{
    QWidget *page = Find("JieGuo_DocLayer");
    for (const char *added : {"cbt_Pdf", "cbt_Profile"}) {
        const QRect rect = Find(added)->geometry();
        for (QWidget *control : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->objectName() == added || control->objectName() == "ProfileView"
                || !control->isVisibleTo(page))
                continue;
            EXPECT_FALSE(rect.intersects(control->geometry()))
                << added << " over " << control->objectName().toStdString();
        }
    }
}

} // namespace
