#include "ui_test_support.h"

#include "input_page.h"
#include "pilecalc_runner.h"
#include "sample_piles.h"

#include "calculation.h"
#include "pile_file.h"
#include "time_stamp.h"

#include "layer_grid.h"
#include "pile_files.h"
#include "qt_translations.h"
#include "results_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <sys/stat.h>
#include <thread>

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

// A pile whose check of frk fails.
TPileInput FailingPile()
{
    TPileInput pile;
    pile.rockLayers[0].frk = "1.5";
    return pile;
}

// Everything a user can see of a page, control by control: shown or not, enabled or not, texts,
// colours of texts, the cells of the grids and which of their columns are shown.
QStringList PageSnapshot(const QWidget *page)
{
    QStringList lines;
    for (const QWidget *widget : page->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty())
            continue;
        QString line = widget->objectName() + (widget->isVisibleTo(page) ? " shown" : " hidden")
            + (widget->isEnabled() ? "" : " disabled");
        const auto withText = [&](const QString &text) {
            line += " [" + text + "]";
            if (!text.isEmpty())
                line += " " + TextColour(widget).name();
        };
        if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
            withText(edit->text());
        } else if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            withText(label->text());
        } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
            withText(combo->currentText());
            line += QString(" %1 items").arg(combo->count());
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            line += " [" + button->text() + "]" + (button->isChecked() ? " checked" : "");
        } else if (const auto *list = qobject_cast<const QListWidget *>(widget)) {
            line += QString(" row %1").arg(list->currentRow());
        } else if (const auto *grid = qobject_cast<const TLayerGrid *>(widget)) {
            for (int column = 0; column < grid->ColumnCount(); ++column)
                line += grid->isColumnHidden(column) ? " -" : " +";
            for (int row = 0; row < grid->RowCount(); ++row) {
                line += "\n ";
                for (int column = 0; column < grid->ColumnCount(); ++column)
                    line += " |" + grid->Cell(row, column);
            }
        }
        lines.append(line);
    }
    return lines;
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
    TPileFiles *Files() const { return Find<TPileFiles>("pileFiles"); }

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
    // The failing pile leaves the optimization page as no sweep has touched it.
    EXPECT_EQ(Text("lb_YHxingxi"), "");

    // After a deletion "保存数据" writes the piles left in the reports; a fresh program opening
    // the file gives the same book and table.
    Click("cbt_View");
    Click("cbt_sanchu");
    Click("cbt_Exit");
    const std::filesystem::path saved = m_folder / "saved.csv";
    UseFile(saved);
    Click("cbt_baocunshuju");
    EXPECT_EQ(ReadPileFile(saved.string()), std::vector<TPileInput> {ThreePiles()[0]});
    // The status line names the file, the whole path in its tooltip.
    EXPECT_EQ(Text("lb_shuoming"), "已保存：saved.csv");
    EXPECT_EQ(Find("lb_shuoming")->toolTip(), PathText(saved));
    EXPECT_EQ(TextColour(Find("lb_shuoming")), QColor(Qt::black));
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
        {table, ": row 1, column B: unknown column \"直径\""},
        {m_folder / "missing.json", ": cannot be opened: No such file or directory"},
        {Write("empty.json", {}), ": holds no pile"},
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

namespace {

TEST_F(PileFileActions, ASecondOpenAsksWhetherToAppendOrReplace)
{
    const std::filesystem::path file = Write("piles.json", ThreePiles());
    QStringList questions;
    TOpenChoice answer = TOpenChoice::Append;
    Files()->SetOpenQuestion([&](const QString &question) {
        questions.append(question);
        return answer;
    });
    ASSERT_TRUE(m_window->OpenPileFile(PathText(file)));
    EXPECT_TRUE(questions.isEmpty()); // nothing to meet yet
    const std::vector<std::string> book = m_window->Reports().BookLines();

    struct TCase
    {
        TOpenChoice answer;
        int piles;
        const char *lastNumber;
    };
    for (const TCase &c :
         {TCase {TOpenChoice::Cancel, 2, "ZH2"}, TCase {TOpenChoice::Replace, 2, "ZH2"},
          TCase {TOpenChoice::Append, 4, "ZH4"}}) {
        SCOPED_TRACE(c.piles);
        questions.clear();
        m_messages.clear();
        answer = c.answer;
        EXPECT_EQ(m_window->OpenPileFile(PathText(file)), c.answer != TOpenChoice::Cancel);
        ASSERT_EQ(questions.size(), 1);
        EXPECT_EQ(questions[0], OpenQuestionText(2, UnsavedBook | UnsavedTable));
        EXPECT_EQ(m_window->PileCount(), c.piles);
        const std::string table = Joined(m_window->Reports().TableLines());
        EXPECT_NE(table.find(c.lastNumber), std::string::npos);
        EXPECT_EQ(table.find(c.piles == 2 ? "ZH3" : "ZH5"), std::string::npos);
        // Replacing numbers from ZH1 again: the same book as the first open.
        if (c.answer != TOpenChoice::Append) {
            EXPECT_EQ(m_window->Reports().BookLines(), book);
        }
        EXPECT_EQ(m_messages.size(), c.answer == TOpenChoice::Cancel ? 0 : 1);
    }
}

TEST_F(PileFileActions, TheQuestionSaysWhatIsUnsaved)
{
    const QString start = "结果中已有2根桩（ZH1～ZH2）。打开的桩追加在其后（从ZH3编号），"
                          "还是替换现有的结果（从ZH1编号）？";
    EXPECT_EQ(OpenQuestionText(2, 0), start);
    EXPECT_EQ(OpenQuestionText(2, 3), start + "\n\n现有的计算书和汇总表尚未保存，替换后将丢失。");
    EXPECT_EQ(OpenQuestionText(2, 2), start + "\n\n现有的汇总表尚未保存，替换后将丢失。");

    const auto box = OpenQuestionBox(m_window.get(), "t", start);
    QStringList buttons;
    for (QAbstractButton *button : box->buttons())
        buttons.append(button->text());
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList {"取消", "替换", "追加"}));
    EXPECT_EQ(box->defaultButton()->text(), "追加");
    EXPECT_EQ(box->escapeButton()->text(), "取消");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
}

// A file opened now leaves the reports, the messages and the page exactly as pressing "计算" for
// each of its piles in turn did, with two differences: after a last pile that fails, "结果" stays
// where "计算" was while the reports hold piles, and the optimization page keeps what its last
// sweep showed.
TEST_F(PileFileActions, AnOpenLooksAsConsecutivePressesOfCompute)
{
    TPileInput specified;
    specified.coefMode = TCoefMode::Specified;
    specified.soilLayers.push_back({"2.00", "80"});
    TPileInput twoRocks;
    twoRocks.soilLayers.clear();
    twoRocks.rockLayers.push_back({"0.80", "微风化", "完整", "0.80", "x", "", ""});
    TPileInput noSoil;
    noSoil.soilLayers.clear();
    TPileInput badSize;
    badSize.d = "-5";
    TPileInput ellipse;
    ellipse.sectionType = TSectionType::Ellipse;
    ellipse.c = "600";
    ellipse.rounding = TRoundingMode::Hundreds;
    const TPileInput plain;
    TPileInput twoRocksOk = plain;
    twoRocksOk.rockLayers.push_back({"0.50", "微风化", "较破碎", "0.40", "40", "", ""});
    TPileInput threeSoils = plain;
    threeSoils.soilLayers = {{"1.0", "50"}, {"2.0", "60"}, {"3.0", "70"}};
    // Later piles leave grid rows and result cells of earlier ones where they do not reach.
    const std::vector<std::vector<TPileInput>> files = {
        {twoRocksOk, plain, twoRocks},
        {twoRocksOk, badSize, twoRocks},
        {twoRocksOk, twoRocks, badSize},
        {threeSoils, FailingPile(), noSoil},
        {threeSoils, plain, noSoil, badSize},
        ThreePiles(),
        {specified, twoRocks},
        {specified, noSoil, noSoil, ellipse, noSoil},
        {badSize, plain},
        {plain},
        {FailingPile()},
        {ellipse, specified, FailingPile(), plain},
        {twoRocks, specified, noSoil, badSize},
    };
    for (std::size_t f = 0; f < files.size(); ++f) {
        SCOPED_TRACE("file " + std::to_string(f + 1));
        const std::filesystem::path path = Write("file.json", files[f]);
        TVXR_FRM_MDLF1 opened(1.0);
        TVXR_FRM_MDLF1 pressed(1.0);
        TVXR_FRM_MDLF1 untouched(1.0); // an open leaves the optimization page as it was
        QStringList openedMessages;
        QStringList pressedFailures;
        for (TVXR_FRM_MDLF1 *window : {&opened, &pressed, &untouched}) {
            window->SetClock(StoredMoment);
            window->show();
        }
        opened.SetMessageSink([&](const QString &text) { openedMessages.append(text); });
        ASSERT_TRUE(opened.OpenPileFile(PathText(path)));

        auto *page = pressed.findChild<TInputPage *>("MainFormLayer");
        for (std::size_t i = 0; i < files[f].size(); ++i) {
            page->ShowPileInput(files[f][i]);
            if (!pressed.cbt_computeClick())
                pressedFailures.append(
                    QString("第%1根桩：").arg(i + 1)
                    + QString::fromStdString(Calculate(files[f][i]).failure->message));
        }
        if (!Calculate(files[f].back()).ok() && pressed.PileCount() > 0)
            page->ShowResultsButton();

        EXPECT_EQ(opened.Reports().BookLines(), pressed.Reports().BookLines());
        EXPECT_EQ(opened.Reports().TableLines(), pressed.Reports().TableLines());
        EXPECT_EQ(opened.UnsavedReports(), pressed.UnsavedReports());
        EXPECT_EQ(openedMessages,
                  pressedFailures.isEmpty() ? QStringList()
                                            : QStringList {pressedFailures.join("\n")});
        for (const char *name : {"MainFormLayer", "JieGuo_DocLayer", "YouHuaFormLayer"}) {
            SCOPED_TRACE(name);
            const QStringList got = PageSnapshot(opened.findChild<QWidget *>(name));
            const TVXR_FRM_MDLF1 &reference =
                std::string_view(name) == "YouHuaFormLayer" ? untouched : pressed;
            const QStringList want = PageSnapshot(reference.findChild<QWidget *>(name));
            ASSERT_EQ(got.size(), want.size());
            for (qsizetype i = 0; i < got.size(); ++i)
                EXPECT_EQ(got[i], want[i]);
        }
    }
}

TEST_F(PileFileActions, ResultsStayReachableWhenTheLastPileFails)
{
    const std::filesystem::path file = Write("piles.json", {TPileInput {}, FailingPile()});
    ASSERT_TRUE(m_window->OpenPileFile(PathText(file)));
    EXPECT_EQ(m_window->PileCount(), 1);
    EXPECT_TRUE(Find("cbt_View")->isVisible());
    EXPECT_FALSE(Find("cbt_compute")->isVisible());
    Click("cbt_View");
    EXPECT_TRUE(Find("JieGuo_DocLayer")->isVisible());
    // A file of failures only leaves "计算".
    Click("cbt_Exit");
    TVXR_FRM_MDLF1 fresh(1.0);
    fresh.SetMessageSink([](const QString &) {});
    fresh.show();
    ASSERT_TRUE(fresh.OpenPileFile(PathText(Write("failing.json", {FailingPile()}))));
    EXPECT_TRUE(fresh.findChild<QWidget *>("cbt_compute")->isVisible());
    EXPECT_FALSE(fresh.findChild<QWidget *>("cbt_View")->isVisible());
}

TEST_F(PileFileActions, SeveralFilesOpenInOrderAsOneAppend)
{
    const std::filesystem::path a = Write("a.json", {TPileInput {}, FailingPile()});
    const std::filesystem::path b = Write("b.csv", ThreePiles());
    int questions = 0;
    Files()->SetOpenQuestion([&](const QString &) {
        ++questions;
        return TOpenChoice::Append;
    });
    m_window->OpenStartArguments({"pilecalc-gui", PathText(a), PathText(b)});
    EXPECT_EQ(questions, 0);
    std::vector<TPileInput> expected = {TPileInput {}, ThreePiles()[0], ThreePiles()[2]};
    EXPECT_EQ(m_window->ReportedInputs(), expected);
    const QString message = QString::fromStdString(Calculate(FailingPile()).failure->message);
    EXPECT_EQ(m_messages,
              QStringList {"a.json 第2根桩：" + message + "\nb.csv 第2根桩：" + message});

    // One file that cannot be read opens none of them.
    m_messages.clear();
    EXPECT_FALSE(m_window->OpenPileFiles({PathText(a), PathText(m_folder / "missing.json")}));
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(m_window->PileCount(), 3);
}

TEST_F(PileFileActions, OnlyRegularFilesAreOpened)
{
    const std::filesystem::path fifo = m_folder / "fifo.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::filesystem::path folder = m_folder / "folder.json";
    std::filesystem::create_directory(folder);
    const TPileInput before = Page()->ReadPileInput();
    for (const std::filesystem::path &path :
         {fifo, folder, std::filesystem::path("/dev/zero"), std::filesystem::path("/dev/null")}) {
        SCOPED_TRACE(path.string());
        m_messages.clear();
        // A pipe without a writer would block here for good.
        EXPECT_FALSE(m_window->OpenPileFile(PathText(path)));
        EXPECT_EQ(m_messages,
                  QStringList {"无法打开桩数据文件：" + PathText(path)
                               + "：不是普通文件（管道、设备或文件夹不能打开）"});
    }
    EXPECT_EQ(m_window->PileCount(), 0);
    EXPECT_EQ(Page()->ReadPileInput(), before);
}

TEST_F(PileFileActions, ManyFailuresAreListedInShortWithTheWholeListInTheDetail)
{
    QStringList failures;
    for (int i = 1; i <= 25; ++i)
        failures.append(QString("第%1根桩：x").arg(i));
    const auto box = FailureBox(m_window.get(), "t", failures);
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->text(),
              QStringList(failures.mid(0, 20)).join("\n")
                  + "\n……\n共25根桩计算失败，以上是前20根，全部见详情。");
    EXPECT_EQ(box->detailedText(), failures.join("\n"));
    const auto few = FailureBox(m_window.get(), "t", failures.mid(0, 20));
    EXPECT_EQ(few->text(), QStringList(failures.mid(0, 20)).join("\n"));
    EXPECT_TRUE(few->detailedText().isEmpty());
    EXPECT_EQ(few->icon(), QMessageBox::Warning);

    // 10,000 failing piles through the window give the short list.
    std::vector<TPileInput> piles(10000, FailingPile());
    ASSERT_TRUE(m_window->OpenPileFile(PathText(Write("failing.json", piles))));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_messages[0].count('\n'), 21);
    EXPECT_TRUE(m_messages[0].endsWith("共10000根桩计算失败，以上是前20根，全部见详情。"));
}

// "取消" in the progress dialog keeps the piles calculated before it, as if the file ended there:
// their reports, their failures and the last of them on the page.
TEST_F(PileFileActions, ACancelledOpenKeepsThePilesCalculatedBeforeIt)
{
    std::vector<TPileInput> piles = ThreePiles(); // ok, failing, rectangle
    piles.resize(50, TPileInput {});
    const std::filesystem::path file = Write("long.json", piles);
    std::atomic_bool clicked = false;
    Files()->SetWorkerStep([&](std::size_t index) {
        // The worker waits at the fourth pile until "取消" was clicked.
        for (int wait = 0; index == 3 && !clicked && wait < 2000; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    QTimer poll;
    bool dialogShown = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = m_window->findChild<QProgressDialog *>("pb_dakai");
        if (!dialog || !dialog->isVisible() || clicked)
            return;
        dialogShown = true;
        EXPECT_EQ(dialog->labelText(), "正在计算桩数据文件中的桩……");
        QPushButton *cancel = dialog->findChild<QPushButton *>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "取消");
        QTest::mouseClick(cancel, Qt::LeftButton);
        clicked = true;
    });
    poll.start(20);
    ASSERT_TRUE(m_window->OpenPileFile(PathText(file)));
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(m_window->ReportedInputs(), (std::vector<TPileInput> {piles[0], piles[2]}));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].startsWith("第2根桩："));
    EXPECT_EQ(Find<QComboBox>("cbe_dd")->currentText(), "1500"); // the rectangle, sides exchanged
    EXPECT_FALSE(Text("edt_ra").isEmpty());
}

TEST_F(PileFileActions, SeveralPileFilesDroppedTogetherOpenAsOne)
{
    const std::filesystem::path a = Write("a.json", {TPileInput {}});
    const std::filesystem::path b = Write("b.csv", ThreePiles());
    const auto drop = [&](QWidget *target, const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(target, &dropped);
        return enter.isAccepted();
    };
    const QUrl urlA = QUrl::fromLocalFile(PathText(a));
    const QUrl urlB = QUrl::fromLocalFile(PathText(b));
    // A name that is no pile file among them, or a page other than the input page, takes none.
    EXPECT_FALSE(drop(m_window.get(), {urlA, QUrl::fromLocalFile(PathText(m_folder / "x.txt"))}));
    EXPECT_FALSE(drop(m_window.get(), {QUrl("https://example.com/a.json")}));
    Page()->ShowPileInput(ThreePiles()[0]);
    Click("cbt_compute");
    Click("cbt_View");
    EXPECT_FALSE(drop(m_window.get(), {urlA}));
    Click("cbt_Exit");
    EXPECT_EQ(m_window->PileCount(), 1);

    Files()->SetOpenQuestion([](const QString &) { return TOpenChoice::Append; });
    EXPECT_TRUE(drop(Find<QComboBox>("cbe_dd")->lineEdit(), {urlA, urlB}));
    EXPECT_EQ(m_window->PileCount(), 4);
    EXPECT_EQ(m_window->ReportedInputs().back(), ThreePiles()[2]);
}

TEST_F(PileFileActions, QtsOwnDialogsSpeakChinese)
{
    ASSERT_TRUE(InstallQtTranslations(*qApp));
    QMessageBox box(QMessageBox::Warning, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "取消");
    QFileDialog dialog(nullptr, "打开");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels.append(label->text());
    EXPECT_TRUE(labels.contains("查找范围：")) << labels.join("|").toStdString();
}

// `pilecalc-gui --help` and `--version` answer and end the program before any window.
TEST(DesktopProgram, AnswersHelpAndVersion)
{
    const auto run = [](const std::string &arguments) {
        const std::string command =
            "QT_QPA_PLATFORM=offscreen " + std::string(PILECALC_GUI_EXE) + " " + arguments;
        TRun result;
        FILE *pipe = popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            result.out.append(buffer, got);
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    };
    const TRun help = run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("嵌岩桩承载力计算"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("文件"), std::string::npos) << help.out;
    const TRun version = run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "pilecalc-gui 0.1\n");
    EXPECT_NE(run("--no-such-option 2>/dev/null").exitCode, 0);
}

} // namespace
