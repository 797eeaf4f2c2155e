#include "ui_test_support.h"

#include "pile_files.h"
#include "print_file.h"
#include "profile_view.h"
#include "qt_text.h"
#include "results_page.h"

#include "file_names.h"
#include "text_file.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSlider>

#include <cstdio>
#include <fstream>

namespace {

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
    const std::string words = PdfWords(book);
    EXPECT_NE(words.find("1.基桩编号: ZH1"), std::string::npos) << words;
    EXPECT_NE(words.find("基桩ZH1 剖面图"), std::string::npos);

    // The note over the report names the file, until the report on show changes.
    auto *note = Find<QLabel>("lb_JGxingxi");
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(ShownText(note), "已保存：" + ToQ(FileNames::BookPdf));
    EXPECT_LE(ShownWidth(note), note->contentsRect().width());
    EXPECT_EQ(note->toolTip(), QString::fromStdString(book.string()));

    Click("cbt_PageBook");
    EXPECT_FALSE(note->isVisible());
    Click("cbt_Pdf");
    const std::filesystem::path table = FilePath(m_folder, FileNames::TablePdf);
    EXPECT_NE(PdfWords(table).find("ZH1 圆 桩 1000"), std::string::npos);
    EXPECT_EQ(ShownText(note), "已保存：" + ToQ(FileNames::TablePdf));
    Click("cbt_Exit");
    Click("cbt_View");
    EXPECT_FALSE(note->isVisible());
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
    EXPECT_NE(m_messages.front().indexOf("Not a directory"), -1)
        << m_messages.front().toStdString();
    EXPECT_FALSE(Find("lb_JGxingxi")->isVisible()); // no note of a file saved
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
    const std::string words = PdfWords(printed);
    EXPECT_NE(words.find("ZH1 圆 桩 1000"), std::string::npos) << words;
    EXPECT_EQ(words.find("1.基桩编号"), std::string::npos) << "the table, not the book";
    // The printed file reads as the PDF button's: ideographs, not the radicals that share their
    // glyphs ("⾝" U+2F9D for "身").
    EXPECT_NE(words.find("桩身截面"), std::string::npos) << words;
    EXPECT_EQ(words.find("⾝"), std::string::npos);
}

// The print dialog's "Print to File" proposes the PDF button's file in the documents folder and
// is not chosen by that.
TEST_F(ResultsPdf, PrintToFileProposesTheDocumentsFolder)
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    const QPrinter::OutputFormat format = printer.outputFormat(); // the dialog's default printer
    const QString path = QString::fromStdString(FilePath(m_folder, FileNames::BookPdf).string());
    ProposePrintFile(dialog, path);
    auto *field = dialog.findChild<QLineEdit *>("filename");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), path);
    EXPECT_EQ(printer.outputFormat(), format);
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

// "项目" edits the project of the cover; "确定" keeps it for the PDF and "保存数据", "取消" does
// not, and "打开" reads it back from the file.
TEST_F(ResultsPdf, TheProjectDialogFillsTheCoverAndTravelsWithThePileFile)
{
    Calculate();
    const auto fill = [&](const char *button) {
        Click("cbt_xiangmu");
        QWidget *dialog = Find("frm_Project");
        EXPECT_TRUE(dialog->isVisible());
        const std::pair<const char *, const char *> fields[] = {
            {"edt_ProjectName", "沿江高速公路二期"},
            {"edt_Structure", "3#墩"},
            {"edt_BookNo", "JS-2024-017"},
            {"edt_Designer", "张明"},
            {"edt_Checker", "李华"},
            {"edt_Reviewer", "王强"}};
        for (const auto &[name, text] : fields) {
            auto *edit = Find<QLineEdit>(name);
            edit->clear();
            // Typed through the input method, as Chinese is.
            QInputMethodEvent typed;
            typed.setCommitString(QString::fromUtf8(text));
            QCoreApplication::sendEvent(edit, &typed);
        }
        Click(button);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(m_window->findChild<QWidget *>("frm_Project"), nullptr) << "closed";
    };
    fill("cbt_ProjectCancel");
    EXPECT_TRUE(m_window->Project().Empty());
    fill("cbt_ProjectOk");
    const TProjectInfo expected {"沿江高速公路二期", "3#墩", "JS-2024-017", "张明", "李华", "王强"};
    EXPECT_EQ(m_window->Project(), expected);

    Click("cbt_Pdf");
    const std::string words = PdfWords(FilePath(m_folder, FileNames::BookPdf));
    for (const char *text : {"沿江高速公路二期", "JS-2024-017", "张明", "李华", "王强", "系数取值"})
        EXPECT_NE(words.find(text), std::string::npos) << text;

    // The pile file keeps the project; opening it brings it back.
    const std::filesystem::path file = m_folder / "piles.json";
    ASSERT_FALSE(m_window->SavePileFile(QString::fromStdString(file.string())).has_value());
    EXPECT_NE(ReadBytes(file).find("\"checker\": \"李华\""), std::string::npos);
    m_window->SetProject({});
    // The reports hold the pile calculated above: the opened piles replace it.
    Find<TPileFiles>("pileFiles")->SetOpenQuestion([](const QString &) {
        return TOpenChoice::Replace;
    });
    ASSERT_TRUE(m_window->OpenPileFile(QString::fromStdString(file.string())));
    EXPECT_EQ(m_window->Project(), expected);
    // A table has no project and leaves the window's as it is.
    const std::filesystem::path table = m_folder / "piles.csv";
    ASSERT_FALSE(m_window->SavePileFile(QString::fromStdString(table.string())).has_value());
    ASSERT_TRUE(m_window->OpenPileFile(QString::fromStdString(table.string())));
    EXPECT_EQ(m_window->Project(), expected);
}

// The added buttons sit in the page's free corners, clear of every control of the page.
TEST_F(ResultsPdf, AddedButtonsOverlapNoControlOfThePage)
{
    QWidget *page = Find("JieGuo_DocLayer");
    for (const char *added : {"cbt_Pdf", "cbt_Profile", "cbt_xiangmu"}) {
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
