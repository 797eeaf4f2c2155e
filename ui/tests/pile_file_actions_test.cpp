#include "ui_test_support.h"

#include "input_page.h"
#include "pilecalc_runner.h"
#include "sample_piles.h"

#include "calculation.h"
#include "pile_file.h"
#include "time_stamp.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

// Three piles as an engineer keeps them: the second fails its check of frk, the third is a
// rectangle entered with its short side first.
std::vector<TPileInput> ThreePiles()
{
    TPileInput first;
    first.d = "1200";
    TPileInput failing;
    failing.rockLayers[0].frk = "1.5";
    TPileInput rectangle;
    rectangle.sectionType = TSectionType::Rectangle;
    rectangle.d = "1000";
    rectangle.c = "1500";
    rectangle.rounding = TRoundingMode::Tens;
    rectangle.soilLayers.clear();
    return {first, failing, rectangle};
}

std::string Joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    return text;
}

QString PathText(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}

class PileFileActions : public MainWindowTest
{
public:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->SetClock(StoredMoment);
    }

    TInputPage *Page() const { return Find<TInputPage>("MainFormLayer"); }

    std::filesystem::path Write(const std::string &name, const std::vector<TPileInput> &piles)
    {
        const std::filesystem::path path = m_folder / name;
        std::ofstream(path, std::ios::binary) << PileFileBytes(piles, PileFileFormatOf(name));
        return path;
    }

    // "打开" and "保存数据" take this file.
    void UseFile(const std::filesystem::path &path)
    {
        m_window->SetFileChooser([path](bool, const QString &) { return PathText(path); });
    }

    // What `pilecalc calc FILE --format book` prints, with the window's time stamp.
    static std::string BatchBook(const std::filesystem::path &path)
    {
        const TRun run = RunPilecalc("calc " + path.string() + " --format book --timestamp \""
                                     + TimeStampText(StoredMoment()) + "\"");
        EXPECT_EQ(run.exitCode, 1) << run.err; // one pile failed
        return run.out;
    }

    // The window's reports and failure list after a file of ThreePiles was opened.
    void ExpectThreePilesOpened(const std::filesystem::path &path)
    {
        const std::vector<TPileInput> piles = ThreePiles();
        EXPECT_EQ(m_window->PileCount(), 2);
        EXPECT_EQ(m_window->ReportedInputs(), (std::vector<TPileInput> {piles[0], piles[2]}));
        EXPECT_EQ(Joined(m_window->Reports().BookLines()), BatchBook(path));
        const std::string table = Joined(m_window->Reports().TableLines());
        EXPECT_NE(table.find("ZH1"), std::string::npos);
        EXPECT_NE(table.find("ZH2"), std::string::npos);
        EXPECT_EQ(table.find("ZH3"), std::string::npos);
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_EQ(m_messages[0],
                  "第2根桩：" + QString::fromStdString(Calculate(piles[1]).failure->message));
        // The page shows the last pile with its result, the rectangle's sides exchanged.
        TPileInput shown = piles[2];
        shown.d = "1500";
        shown.c = "1000";
        EXPECT_EQ(Page()->ReadPileInput(), shown);
        EXPECT_FALSE(Text("edt_ra").isEmpty());
        EXPECT_TRUE(Find("cbt_View")->isVisible());
    }
};

TEST_F(PileFileActions, OpeningCalculatesEveryPileAsAPressOfCompute)
{
    const std::filesystem::path file = Write("piles.json", ThreePiles());
    UseFile(file);
    Click("cbt_dakai");
    ExpectThreePilesOpened(file);

    // After a deletion "保存数据" writes the piles left in the reports; a fresh program opening
    // the file gives the same book and table.
    Click("cbt_View");
    Click("cbt_sanchu");
    Click("cbt_Exit");
    const std::filesystem::path saved = m_folder / "saved.csv";
    UseFile(saved);
    Click("cbt_baocunshuju");
    EXPECT_EQ(ReadPileFile(saved.string()), std::vector<TPileInput> {ThreePiles()[0]});
    TVXR_FRM_MDLF1 fresh(1.0);
    fresh.SetClock(StoredMoment);
    EXPECT_TRUE(fresh.OpenPileFile(PathText(saved)));
    EXPECT_EQ(fresh.Reports().BookLines(), m_window->Reports().BookLines());
    EXPECT_EQ(fresh.Reports().TableLines(), m_window->Reports().TableLines());
}

TEST_F(PileFileActions, AFileGivenAtStartIsOpened)
{
    const std::filesystem::path file = Write("piles.csv", ThreePiles());
    m_window->OpenStartArguments({"pilecalc-gui", PathText(file)});
    ExpectThreePilesOpened(file);
}

TEST_F(PileFileActions, AFileThatCannotBeReadChangesNothing)
{
    Find<QComboBox>("cbe_dd")->setEditText("1300");
    const TPileInput before = Page()->ReadPileInput();
    const std::filesystem::path table = m_folder / "bad.csv";
    std::ofstream(table, std::ios::binary) << "d,直径\r\n1000,1\r\n";
    const std::pair<std::filesystem::path, QString> cases[] = {
        {table, "：第 1 行第 B 列：未知的列名“直径”"},
        {m_folder / "missing.json", "：无法打开：文件或文件夹不存在"},
        {Write("empty.json", {}), "：文件中没有桩"},
        {m_folder, "：无法读取：这是一个文件夹，不是文件"},
    };
    for (const auto &[path, reason] : cases) {
        m_messages.clear();
        EXPECT_FALSE(m_window->OpenPileFile(PathText(path)));
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_EQ(m_messages[0], "无法打开桩数据文件：" + PathText(path) + reason);
    }
    EXPECT_EQ(m_window->PileCount(), 0);
    EXPECT_EQ(Page()->ReadPileInput(), before);
    EXPECT_TRUE(Find("cbt_compute")->isVisible());
}

TEST_F(PileFileActions, EveryControlComesBackFromAFile)
{
    std::vector<TPileInput> piles = SamplePiles();
    piles[2].c = "500"; // a rectangle given long side first keeps its sides
    TPileInput square;
    square.sectionType = TSectionType::Rectangle;
    square.d = "1300";
    square.c = "1200";
    piles.push_back(square);
    for (const char *name : {"page.json", "page.csv"}) {
        for (std::size_t i = 0; i < piles.size(); ++i) {
            SCOPED_TRACE(std::string(name) + ", pile " + std::to_string(i + 1));
            Page()->ShowPileInput(piles[i]);
            ASSERT_EQ(Page()->ReadPileInput(), piles[i]);
            // Without piles in the reports the page's pile is saved.
            const std::filesystem::path path = m_folder / name;
            ASSERT_EQ(m_window->SavePileFile(PathText(path)), std::nullopt);
            TVXR_FRM_MDLF1 fresh(1.0);
            fresh.SetMessageSink([](const QString &) {});
            ASSERT_TRUE(fresh.OpenPileFile(PathText(path)));
            EXPECT_EQ(fresh.findChild<TInputPage *>("MainFormLayer")->ReadPileInput(), piles[i]);
        }
    }
}

TEST_F(PileFileActions, APileFileDroppedOntoTheWindowOpens)
{
    const std::filesystem::path file = Write("dropped.json", ThreePiles());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(PathText(file))});
    QLineEdit *field = Find<QComboBox>("cbe_dd")->lineEdit();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop); // onto a field: opened, not typed in
    EXPECT_EQ(m_window->PileCount(), 2);
    EXPECT_EQ(field->text(), "1500");

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(PathText(m_folder / "notes.txt"))});
    QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &other);
    EXPECT_FALSE(other.isAccepted());
}

} // namespace
