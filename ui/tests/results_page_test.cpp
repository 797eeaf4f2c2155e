#include "ui_test_support.h"

#include "about_box.h"
#include "documents_folder.h"
#include "hover_label.h"

#include "file_names.h"
#include "text_file.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include <fstream>

namespace {

std::string Joined(const std::vector<std::string> &lines, const char *end)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + end;
    return text;
}

class ResultsPage : public MainWindowTest
{
public:
    QPlainTextEdit *Book() const { return Find<QPlainTextEdit>("meo_jisuanjieguo_Doc"); }
    QPlainTextEdit *Table() const { return Find<QPlainTextEdit>("meo_jisuanjieguo_Xls"); }
    bool SaveEnabled() const { return Find("cbt_Save")->isEnabled(); }
    QString Caption() const { return Find<QPushButton>("cbt_PageBook")->text(); }

    // The memo shows exactly the report's lines.
    static std::string Shown(const QPlainTextEdit *memo)
    {
        return memo->toPlainText().toStdString() + "\n";
    }
};

TEST_F(ResultsPage, ShowsTheReportsAndSwitchesBetweenThem)
{
    Click("cbt_compute");
    Click("cbt_View");
    EXPECT_FALSE(Find("MainFormLayer")->isVisible());
    EXPECT_TRUE(Find("JieGuo_DocLayer")->isVisible());
    EXPECT_TRUE(Book()->isVisible());
    EXPECT_FALSE(Table()->isVisible());
    EXPECT_EQ(Caption(), "1");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_TRUE(Find("cbt_sanchu")->isEnabled());
    EXPECT_TRUE(Book()->isReadOnly());
    EXPECT_EQ(Book()->font().pixelSize(), 14);
    EXPECT_TRUE(Book()->font().family() == "SimHei"
                || Book()->font().family() == "Noto Sans Mono CJK SC");
    EXPECT_EQ(Shown(Book()), Joined(m_window->Reports().BookLines(), "\n"));
    EXPECT_EQ(Shown(Table()), Joined(m_window->Reports().TableLines(), "\n"));

    Click("cbt_PageBook");
    EXPECT_EQ(Caption(), "2");
    EXPECT_TRUE(Table()->isVisible());
    EXPECT_FALSE(Book()->isVisible());

    Find<QSlider>("tcb_meoFontSize")->setValue(20);
    EXPECT_EQ(Book()->font().pixelSize(), 20);
    EXPECT_EQ(Table()->font().pixelSize(), 20);

    // Leaving with the table shown and calculating again comes back to the table.
    Click("cbt_Exit");
    EXPECT_TRUE(Find("MainFormLayer")->isVisible());
    Find<QComboBox>("cbe_dd")->setEditText("1200");
    Click("cbt_compute");
    Click("cbt_View");
    EXPECT_EQ(Caption(), "2");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(Shown(Table()), Joined(m_window->Reports().TableLines(), "\n"));
}

TEST_F(ResultsPage, MemosFollowTheReportsThroughCalculationsAndDeletes)
{
    for (const char *d : {"1000", "1100", "1200"}) {
        Find<QComboBox>("cbe_dd")->setEditText(d);
        Click("cbt_compute");
    }
    Click("cbt_View");
    EXPECT_EQ(Book()->verticalScrollBar()->value(), 0);
    Click("cbt_sanchu");
    EXPECT_EQ(m_window->PileCount(), 2);
    EXPECT_EQ(Shown(Book()), Joined(m_window->Reports().BookLines(), "\n"));
    EXPECT_EQ(Shown(Table()), Joined(m_window->Reports().TableLines(), "\n"));
    EXPECT_TRUE(SaveEnabled());

    Click("cbt_sanchu");
    Click("cbt_sanchu");
    EXPECT_EQ(m_window->PileCount(), 0);
    EXPECT_EQ(Book()->toPlainText(), "");
    EXPECT_EQ(Table()->toPlainText(), "");
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(Find("cbt_sanchu")->isEnabled());
    EXPECT_TRUE(Find("JieGuo_DocLayer")->isVisible());
    EXPECT_EQ(m_window->UnsavedReports(), 0);

    Find<QComboBox>("cbe_dd")->setEditText("1000");
    m_window->cbt_computeClick();
    EXPECT_EQ(m_window->Reports().BookLines().at(1), "1.基桩编号: ZH1");
}

TEST_F(ResultsPage, SavesTheBookAsGbkWithCrLf)
{
    Click("cbt_compute");
    Click("cbt_View");
    Click("cbt_Save");
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join("; ").toStdString();
    const std::string bytes = ReadBytes(FilePath(m_folder, FileNames::Book));
    EXPECT_EQ(bytes.substr(0, 52),
              "================== \xC7\xB6\xD1\xD2\xD7\xAE\xBC\xC6\xCB\xE3\xCA\xE9"
              " ==================\r\n");
    EXPECT_NE(bytes.find("1.\xBB\xF9\xD7\xAE\xB1\xE0\xBA\xC5: ZH1\r\n"), std::string::npos);
    EXPECT_EQ(bytes, ToSystemCodePage(Joined(m_window->Reports().BookLines(), "\r\n")));
    EXPECT_FALSE(std::filesystem::exists(FilePath(m_folder, FileNames::Table)));

    // The save rule: each page can be saved once per change.
    EXPECT_EQ(m_window->UnsavedReports(), 2);
    EXPECT_FALSE(SaveEnabled());
    Click("cbt_PageBook");
    EXPECT_TRUE(SaveEnabled());
    Click("cbt_Save");
    EXPECT_TRUE(std::filesystem::exists(FilePath(m_folder, FileNames::Table)));
    EXPECT_EQ(m_window->UnsavedReports(), 0);
    EXPECT_FALSE(SaveEnabled());
    Click("cbt_PageBook");
    EXPECT_FALSE(SaveEnabled());
}

// What the desktop program shows and saves is the stored report, byte for byte, the GBK book too.
TEST_F(ResultsPage, ShowsAndSavesTheStoredReports)
{
    m_window->SetClock(StoredMoment);
    Click("cbt_compute");
    Click("cbt_View");
    EXPECT_EQ(Shown(Book()), Golden("reports/book_default.txt"));
    EXPECT_EQ(Shown(Table()), Golden("reports/table_default.txt"));
    Click("cbt_Save");
    EXPECT_EQ(ReadBytes(FilePath(m_folder, FileNames::Book)),
              Golden("reports/book_default_gbk.txt"));
    EXPECT_EQ(ReadBytes(FilePath(m_folder, FileNames::Book)),
              SavedForm(Golden("reports/book_default.txt")));
    Click("cbt_PageBook");
    Click("cbt_Save");
    EXPECT_EQ(ReadBytes(FilePath(m_folder, FileNames::Table)),
              SavedForm(Golden("reports/table_default.txt")));
}

TEST_F(ResultsPage, DeletingAPileAfterASaveAllowsSavingAgain)
{
    Click("cbt_compute");
    Find<QComboBox>("cbe_dd")->setEditText("1200");
    Click("cbt_compute");
    Click("cbt_View");
    Click("cbt_Save");
    EXPECT_FALSE(SaveEnabled());
    Click("cbt_sanchu");
    EXPECT_EQ(m_window->UnsavedReports(), 3);
    EXPECT_TRUE(SaveEnabled());
    Click("cbt_Save");
    const std::string bytes = ReadBytes(FilePath(m_folder, FileNames::Book));
    EXPECT_EQ(bytes, ToSystemCodePage(Joined(m_window->Reports().BookLines(), "\r\n")));
    EXPECT_EQ(bytes.find("ZH2"), std::string::npos);
}

TEST_F(ResultsPage, FailedOrRefusedSaveChangesNothing)
{
    Click("cbt_compute");
    Click("cbt_View");
    m_window->SaveResults({""}, {StoragePermission::TGrant::Denied});
    EXPECT_EQ(m_messages, QStringList {"无权存盘"});
    EXPECT_FALSE(std::filesystem::exists(FilePath(m_folder, FileNames::Book)));

    m_messages.clear();
    MakeDocumentsFolderAFile();
    Click("cbt_Save");
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_FALSE(m_messages.front().isEmpty());
    EXPECT_EQ(m_window->UnsavedReports(), 3);
    EXPECT_TRUE(SaveEnabled());
}

TEST(DocumentsFolder, IsCreatedWhenMissing)
{
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const std::filesystem::path temporary =
        std::filesystem::path(testing::TempDir()) / "ui_documents_home";
    std::filesystem::remove_all(temporary);
    std::filesystem::create_directories(temporary);
    qputenv("HOME", QByteArray::fromStdString(temporary.string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(temporary.string()));
    const std::filesystem::path folder = DocumentsFolder();
    qputenv("HOME", home);
    if (config.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
    EXPECT_EQ(folder, temporary / "Documents");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::filesystem::remove_all(temporary);
}

class AboutBox : public MainWindowTest
{ };

TEST_F(AboutBox, IsMadeOnceAndHandsItsAddressesOn)
{
    EXPECT_EQ(m_window->AboutBox(), nullptr);
    Click("cbt_CopyRight");
    TVXR_CZL_FRM_CopyRight *box = m_window->AboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), "关于");
    EXPECT_EQ(box->size(), QSize(260, 330));
    box->hide();
    Click("cbt_CopyRight");
    EXPECT_EQ(m_window->AboutBox(), box);
    EXPECT_TRUE(box->isVisible());

    QList<QUrl> opened;
    box->SetUrlOpener([&opened](const QUrl &url) { opened.append(url); });
    auto *organization = box->findChild<THoverLabel *>("lb_danwei");
    const QString name = organization->text();
    QTest::mouseMove(organization);
    EXPECT_EQ(organization->text(), TVXR_CZL_FRM_CopyRight::OrganizationAddress.toString());
    EXPECT_TRUE(organization->font().bold());
    EXPECT_TRUE(organization->font().underline());
    EXPECT_EQ(TextColour(organization), QColor("#FF0000"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(organization, &leave);
    EXPECT_EQ(organization->text(), name);
    EXPECT_FALSE(organization->font().bold());
    EXPECT_FALSE(organization->font().underline());
    EXPECT_EQ(TextColour(organization), QColor("#000000"));

    auto *web = box->findChild<THoverLabel *>("lb_wangzhi");
    QTest::mouseMove(web);
    QApplication::sendEvent(web, &leave);
    EXPECT_EQ(TextColour(web), QColor("#0000FF"));
    EXPECT_FALSE(web->font().underline());

    QTest::mouseClick(box->findChild<THoverLabel *>("lb_lianxiUr"), Qt::LeftButton);
    QTest::mouseClick(organization, Qt::LeftButton);
    QTest::mouseClick(box->findChild<QPushButton *>("cbt_update"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0].scheme(), "mailto");
    EXPECT_EQ(opened[1], TVXR_CZL_FRM_CopyRight::OrganizationAddress);
    EXPECT_EQ(opened[2], TVXR_CZL_FRM_CopyRight::DownloadAddress);
}

} // namespace
