#include "golden_piles.h"
#include "ui_test_support.h"

#include "grid_columns.h"
#include "grid_delegate.h"
#include "input_page.h"
#include "layer_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

using namespace GridColumns;

namespace {

class InputPage : public MainWindowTest
{
public:
    TLayerGrid *Soil() const { return Find<TLayerGrid>("StringGrid_TC1"); }
    TLayerGrid *Rock() const { return Find<TLayerGrid>("StringGrid_YC1"); }
    QComboBox *Combo(const char *name) const { return Find<QComboBox>(name); }
    bool Shown(const char *name) const { return Find(name)->isVisible(); }

    std::vector<int> ShownColumns(const TLayerGrid *grid) const
    {
        std::vector<int> shown;
        for (int column = 0; column < grid->ColumnCount(); ++column) {
            if (grid->ColumnShown(column))
                shown.push_back(column);
        }
        return shown;
    }

    // Rock layer `row` with hi, weathering, grade and frk; the rest as the first row has it.
    void SetRock(int row, const QString &hi, const QString &frk)
    {
        const QStringList cells {hi, "微风化", "完整", "0.75", frk, "0.50", "0.04"};
        for (int i = 0; i < cells.size(); ++i)
            Rock()->SetCell(row, strgrd01_Flo_lr + i, cells[i]);
    }
};

TEST_F(InputPage, StartsWithTheDesignTimeState)
{
    EXPECT_EQ(m_window->size(), QSize(380, 800));
    EXPECT_TRUE(m_window->windowTitle().endsWith(" (JTG3363-2019)"));
    EXPECT_FALSE(m_window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(m_window->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_TRUE(Shown("MainFormLayer"));
    EXPECT_FALSE(Shown("JieGuo_DocLayer"));
    EXPECT_FALSE(Shown("YouHuaFormLayer"));
    EXPECT_FALSE(Shown("ComFormLayer"));
    EXPECT_TRUE(Shown("cbt_compute"));
    EXPECT_FALSE(Shown("cbt_View"));
    EXPECT_TRUE(Shown("img_logo"));
    EXPECT_FALSE(Shown("lb_shuoming"));
    EXPECT_FALSE(Shown("popbox_jingdu"));
    EXPECT_EQ(m_window->PileCount(), 0);
    EXPECT_EQ(m_window->UnsavedReports(), 0);
    EXPECT_EQ(m_window->OptimizationMode(), 0);

    EXPECT_EQ(Combo("cbb_jmlx")->currentText(), "圆桩");
    EXPECT_EQ(Combo("cbe_dd")->currentText(), "1000");
    EXPECT_EQ(Combo("cbe_dd")->count(), 11);
    EXPECT_EQ(Combo("cbe_tyzd")->currentText(), "0");
    EXPECT_FALSE(Combo("cbe_tyzd")->isEnabled());
    EXPECT_EQ(Combo("cbb_tuchengshu")->currentText(), "1");
    EXPECT_EQ(Combo("cbb_yanchengshu")->currentText(), "1");
    EXPECT_EQ(Combo("cbb_chezhuxishu")->currentText(), "程序自动插值");
    EXPECT_EQ(Combo("cbb_chazhiyiju")->currentText(), "岩体完整程度");
    EXPECT_TRUE(Find<QCheckBox>("ckb_zhuankongzhuang")->isChecked());
    EXPECT_EQ(Find<QPushButton>("cbt_kuozhanbiaoge")->text(), "展开");
    EXPECT_EQ(Find<QListWidget>("popbox_jingdu")->currentItem()->text(), "个位取整");

    ASSERT_EQ(Soil()->RowCount(), 1);
    EXPECT_EQ(Soil()->Cell(0, 0) + " " + Soil()->Cell(0, 1) + " " + Soil()->Cell(0, 2),
              "1 5.00 200.00");
    ASSERT_EQ(Rock()->RowCount(), 1);
    QStringList rockRow;
    for (int column = 0; column <= strgrd07_Flo_c2; ++column)
        rockRow << Rock()->Cell(0, column);
    EXPECT_EQ(rockRow.join(" "), "1 1.00 中风化 较完整 0.75 25.00 0.50 0.04");
    EXPECT_EQ(ShownColumns(Soil()), (std::vector<int> {0, 1, 2}));
    EXPECT_EQ(ShownColumns(Rock()), (std::vector<int> {0, 1, 2, 3, 5}));
}

TEST_F(InputPage, FreshPageReadsBackAsANewPileInput)
{
    EXPECT_EQ(Find<TInputPage>("MainFormLayer")->ReadPileInput(), TPileInput {});
}

// A pile input shown on the page reads back as it was and, calculated, gives the stored book.
TEST_F(InputPage, ShowsAPileInputThatCalculatesToTheStoredBook)
{
    for (const TPileCase &c : Piles) {
        const std::string book = std::string("reports/book_") + c.name + ".txt";
        SCOPED_TRACE(book);
        TearDown();
        SetUp();
        m_window->SetClock(StoredMoment);
        TPileInput input;
        c.edit(input);
        auto *page = Find<TInputPage>("MainFormLayer");
        page->ShowPileInput(input);
        EXPECT_EQ(page->ReadPileInput(), input);
        ASSERT_TRUE(m_window->cbt_computeClick());
        std::string shown;
        for (const std::string &line : m_window->Reports().BookLines())
            shown += line + "\n";
        EXPECT_EQ(shown, Golden(book));
    }
}

TEST_F(InputPage, DefaultPileShowsRaInGreenAndGoesToTheReports)
{
    Click("cbt_compute");
    EXPECT_EQ(Text("edt_ra"), "10367");
    EXPECT_EQ(Text("edt_Quk"), "10367");
    EXPECT_EQ(Text("edt_percent"), "68%");
    EXPECT_EQ(TextColour(Find("edt_ra")), QColor("#008000"));
    EXPECT_EQ(TextColour(Find("edt_percent")), QColor("#008000"));
    EXPECT_FALSE(Shown("cbt_compute"));
    EXPECT_TRUE(Shown("cbt_View"));
    EXPECT_EQ(m_window->PileCount(), 1);
    EXPECT_EQ(m_window->UnsavedReports(), 3);
    EXPECT_TRUE(m_window->Reports().BookLines().at(1) == "1.基桩编号: ZH1");

    // The result columns hold the figures in general form and show the column's decimals.
    EXPECT_EQ(Rock()->Cell(0, strgrd08_Flo_xishuC1), "0.36");
    EXPECT_EQ(Rock()->Cell(0, strgrd10_Flo_qpk), "9000");
    EXPECT_EQ(Rock()->Cell(0, strgrd15_Flo_Qsrik), "2356.19449019235");
    EXPECT_EQ(ShownNumber(Rock()->Cell(0, strgrd15_Flo_Qsrik), 2), "2356.19");
    EXPECT_EQ(Rock()->Cell(0, strgrd16_Str_percent), "22.73%");
    EXPECT_EQ(Rock()->Cell(0, strgrd18_Str_beizhu), "较软岩,岩体较完整");
    EXPECT_EQ(Rock()->Cell(0, strgrd19_Str_Ysjycd), "较软岩");
    EXPECT_EQ(Soil()->Cell(0, strgrd_t03_Flo_Kesais), "0.6");
    EXPECT_EQ(Soil()->Cell(0, strgrd_t06_Str_percent), "9.09%");

    // Any input change brings "计算" back and keeps the pile in the reports.
    Find<QCheckBox>("ckb_zhuankongzhuang")->setChecked(false);
    EXPECT_TRUE(Shown("cbt_compute"));
    EXPECT_FALSE(Shown("cbt_View"));
    EXPECT_EQ(Text("edt_ra"), "");
    EXPECT_EQ(Text("edt_percent"), "");
    EXPECT_EQ(m_window->PileCount(), 1);
}

TEST_F(InputPage, SpecifiedCoefficientsTurnTheResultMagenta)
{
    Combo("cbb_chezhuxishu")->setCurrentIndex(0);
    Click("cbt_compute");
    EXPECT_EQ(Text("edt_ra"), "13902");
    EXPECT_EQ(TextColour(Find("edt_ra")), QColor("#FF00FF"));
    EXPECT_TRUE(Shown("lb_shuoming"));
    EXPECT_EQ(Text("lb_shuoming"), "");
    EXPECT_EQ(TextColour(Find("lb_shuoming")), QColor("#FF00FF"));
    EXPECT_EQ(Rock()->Cell(0, strgrd18_Str_beizhu), "");
}

TEST_F(InputPage, RectangleSidesAreExchangedAndTheResultStays)
{
    Combo("cbb_jmlx")->setCurrentIndex(2);
    Combo("cbe_tyzd")->setEditText("1500");
    Click("cbt_compute");
    EXPECT_EQ(Combo("cbe_dd")->currentText(), "1500");
    EXPECT_EQ(Combo("cbe_tyzd")->currentText(), "1000");
    EXPECT_FALSE(Text("edt_ra").isEmpty());
    EXPECT_TRUE(Shown("cbt_View"));
    EXPECT_EQ(m_window->Reports().BookLines().at(5),
              "      矩形长边尺寸a:                     1500 mm");
}

// Each failure stops with its message in red, marks a failing size field, leaves the result
// fields empty and the reports untouched, and shows the columns as far as the run got.
TEST_F(InputPage, FailuresShowTheirMessageAndThePartialColumns)
{
    struct TCase
    {
        const char *name;
        std::function<void(InputPage &)> setUp;
        QString message;
        std::function<void(InputPage &)> check;
    };
    const std::vector<TCase> cases = {
        {"ellipse without straight part",
         [](InputPage &t) {
             t.Combo("cbb_jmlx")->setCurrentIndex(1);
             t.Combo("cbe_tyzd")->setEditText("0");
         },
         "椭圆直段长度数据有错",
         [](InputPage &t) {
             EXPECT_EQ(TextColour(t.Find("cbe_tyzd")), QColor("#FF0000"));
             EXPECT_EQ(TextColour(t.Find("cbe_dd")), QColor("#000000"));
         }},
        {"rectangle without long side",
         [](InputPage &t) {
             t.Combo("cbb_jmlx")->setCurrentIndex(2);
             t.Combo("cbe_dd")->setEditText("0");
             t.Combo("cbe_tyzd")->setEditText("1500");
         },
         "矩形长边尺寸数据有错",
         [](InputPage &t) {
             EXPECT_EQ(TextColour(t.Find("cbe_dd")), QColor("#FF0000"));
             EXPECT_EQ(t.Combo("cbe_tyzd")->currentText(), "1500"); // no exchange
         }},
        {"frk below 2 MPa in layer 2 of 3",
         [](InputPage &t) {
             t.Combo("cbb_yanchengshu")->setCurrentIndex(2);
             t.SetRock(1, "1.00", "1.99");
             t.SetRock(2, "1.00", "40");
         },
         "第2层岩石单轴抗压强度值小于2MPa",
         [](InputPage &t) {
             EXPECT_EQ(t.Rock()->Cell(0, strgrd08_Flo_xishuC1), "0.36");
             EXPECT_EQ(t.Rock()->Cell(0, strgrd14_Flo_SegemaQsrik), "2356.19449019235");
             EXPECT_EQ(t.Rock()->Cell(0, strgrd16_Str_percent), "");
             EXPECT_EQ(t.Rock()->Cell(1, strgrd08_Flo_xishuC1), "");
             EXPECT_EQ(t.Rock()->Cell(2, strgrd19_Str_Ysjycd), "");
         }},
        {"unclear grade: hardness class of the failing layer",
         [](InputPage &t) { t.Rock()->SetCell(0, strgrd03_Str_wanzhengchengdu, ""); },
         "第1层岩体完整程度未明确",
         [](InputPage &t) {
             EXPECT_EQ(t.Rock()->Cell(0, strgrd19_Str_Ysjycd), "较软岩");
             EXPECT_EQ(t.Rock()->Cell(0, strgrd08_Flo_xishuC1), "");
         }},
        {"negative soil thickness",
         [](InputPage &t) { t.Soil()->SetCell(0, strgrd_t01_Flo_li, "-1"); }, "第1层土厚度错",
         [](InputPage &t) {
             EXPECT_EQ(t.Rock()->Cell(0, strgrd12_Flo_Quk), "9424.77796076938");
             EXPECT_EQ(t.Rock()->Cell(0, strgrd16_Str_percent), "");
             EXPECT_EQ(t.Soil()->Cell(0, strgrd_t03_Flo_Kesais), "");
         }},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        // A successful run first fills every column, so that the failure shows what it clears.
        TearDown();
        SetUp();
        Click("cbt_compute");
        Click("cbt_View");
        Click("cbt_Exit");
        c.setUp(*this);
        Click("cbt_compute");
        EXPECT_EQ(Text("lb_shuoming"), c.message);
        EXPECT_EQ(TextColour(Find("lb_shuoming")), QColor("#FF0000"));
        EXPECT_EQ(Text("edt_ra"), "");
        EXPECT_EQ(Text("edt_percent"), "");
        EXPECT_TRUE(Shown("cbt_compute"));
        EXPECT_EQ(m_window->PileCount(), 1);
        EXPECT_EQ(Text("lb_YHxingxi"), "运行中止，主界面可查看中止位置、原因");
        EXPECT_EQ(TextColour(Find("lb_YHxingxi")), QColor("#FF0000"));
        c.check(*this);
    }
}

TEST_F(InputPage, SectionTypeSetsLabelsAndTheSecondSize)
{
    QComboBox *type = Combo("cbb_jmlx");
    QComboBox *c = Combo("cbe_tyzd");
    type->setCurrentIndex(1);
    EXPECT_TRUE(c->isEnabled());
    EXPECT_EQ(c->currentText(), "500");
    EXPECT_EQ(c->count(), 12);
    type->setCurrentIndex(0);
    EXPECT_FALSE(c->isEnabled());
    EXPECT_EQ(c->currentText(), "0");
    type->setCurrentIndex(2);
    EXPECT_EQ(Text("lb_dd"), "矩形长边尺寸    a (mm)");
    EXPECT_EQ(Text("lb_tyzd"), "矩形短边尺寸    b (mm)");
    EXPECT_EQ(c->currentText(), "1000");
    EXPECT_EQ(c->count(), 11);
    EXPECT_EQ(c->itemText(10), "2000");
    EXPECT_EQ(Combo("cbe_dd")->currentText(), "1000");
}

TEST_F(InputPage, LiveChecksOfTheSizes)
{
    QComboBox *d = Combo("cbe_dd");
    QTest::keyClick(d->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d->lineEdit(), "abc");
    EXPECT_EQ(Text("lb_shuoming"), "桩身直径数据有错");
    EXPECT_EQ(TextColour(Find("lb_shuoming")), QColor("#FF0000"));
    EXPECT_EQ(TextColour(d), QColor("#FF0000"));
    EXPECT_FALSE(Shown("img_logo"));
    d->setEditText("1200");
    EXPECT_EQ(Text("lb_shuoming"), "");
    EXPECT_TRUE(Shown("lb_shuoming")); // the logo does not come back
    EXPECT_FALSE(Shown("img_logo"));
    EXPECT_EQ(TextColour(d), QColor("#000000"));

    QComboBox *c = Combo("cbe_tyzd");
    c->setEditText("-1");
    EXPECT_EQ(Text("lb_shuoming"), "椭圆直段长度数据有错");
    EXPECT_EQ(TextColour(c), QColor("#FF0000"));
    c->setEditText("0");
    EXPECT_EQ(Text("lb_shuoming"), "");
    EXPECT_EQ(TextColour(c), QColor("#000000"));
}

TEST_F(InputPage, LayerCountsSetTheGridRows)
{
    QComboBox *rocks = Combo("cbb_yanchengshu");
    rocks->setCurrentIndex(2);
    SetRock(2, "2.00", "30");
    rocks->setCurrentIndex(1);
    rocks->setCurrentIndex(2);
    ASSERT_EQ(Rock()->RowCount(), 3);
    EXPECT_EQ(Rock()->Cell(2, 0), "3");
    EXPECT_EQ(Rock()->Cell(2, strgrd01_Flo_lr), "");
    EXPECT_EQ(Rock()->Cell(2, strgrd05_Flo_frk), "");
    rocks->setCurrentIndex(0);

    QComboBox *soils = Combo("cbb_tuchengshu");
    TScaledLayer *page = Find<TScaledLayer>("MainFormLayer");
    soils->setCurrentIndex(0);
    EXPECT_FALSE(Soil()->isVisible());
    EXPECT_FALSE(Soil()->isEnabled());
    EXPECT_EQ(page->DesignRect(Rock()), QRect(8, 184, 352, 202));
    EXPECT_EQ(Rock()->geometry(), QRect(8, 184, 352, 202));
    Click("cbt_compute"); // without soil layers the soil grid is not touched
    EXPECT_EQ(Text("edt_ra"), "9425");
    soils->setCurrentIndex(1);
    EXPECT_TRUE(Soil()->isVisible());
    EXPECT_EQ(Rock()->geometry(), QRect(8, 286, 352, 100));
    EXPECT_EQ(Soil()->Cell(0, strgrd_t01_Flo_li), "5.00");
    soils->setCurrentIndex(3);
    EXPECT_EQ(Soil()->RowCount(), 3);
    EXPECT_EQ(Soil()->Cell(2, 0), "3");
}

TEST_F(InputPage, CoefficientModeBasisAndExpandSetTheColumns)
{
    QComboBox *mode = Combo("cbb_chezhuxishu");
    mode->setCurrentIndex(0);
    EXPECT_EQ(ShownColumns(Rock()), (std::vector<int> {0, 1, 5, 6, 7}));
    EXPECT_FALSE(Combo("cbb_chazhiyiju")->isEnabled());
    EXPECT_FALSE(Find("lb_chazhiyiju")->isEnabled());
    EXPECT_FALSE(Find("ckb_zhuankongzhuang")->isEnabled());
    EXPECT_EQ(TextColour(Find("lb_chezhuxishu")), QColor("#FF00FF"));
    EXPECT_EQ(Text("lb_shuoming"), "提示：指定的系数需自行确定其合理性");
    EXPECT_EQ(TextColour(Find("lb_shuoming")), QColor("#FF00FF"));

    mode->setCurrentIndex(1);
    EXPECT_EQ(ShownColumns(Rock()), (std::vector<int> {0, 1, 2, 3, 5}));
    EXPECT_TRUE(Combo("cbb_chazhiyiju")->isEnabled());
    EXPECT_TRUE(Find("ckb_zhuankongzhuang")->isEnabled());
    EXPECT_EQ(TextColour(Find("lb_chezhuxishu")), QColor("#000000"));
    EXPECT_EQ(Text("lb_shuoming"), "");

    Combo("cbb_chazhiyiju")->setCurrentIndex(1);
    EXPECT_EQ(ShownColumns(Rock()), (std::vector<int> {0, 1, 2, 4, 5}));

    Click("cbt_kuozhanbiaoge");
    EXPECT_EQ(Find<QPushButton>("cbt_kuozhanbiaoge")->text(), "折叠");
    EXPECT_EQ(ShownColumns(Soil()), (std::vector<int> {0, 1, 2, 3, 4, 5, 6, 7, 8}));
    mode->setCurrentIndex(3); // the mode keeps the expanded columns
    EXPECT_EQ(ShownColumns(Rock()),
              (std::vector<int> {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
    Click("cbt_kuozhanbiaoge");
    EXPECT_EQ(ShownColumns(Rock()), (std::vector<int> {0, 1, 2, 4, 5, 6, 7}));
    EXPECT_EQ(ShownColumns(Soil()), (std::vector<int> {0, 1, 2}));
}

TEST_F(InputPage, OnlyInputColumnsAreEditableAndAnEditClearsTheResult)
{
    for (int column = 0; column < Rock()->ColumnCount(); ++column) {
        const bool editable =
            Rock()->model()->flags(Rock()->model()->index(0, column)) & Qt::ItemIsEditable;
        EXPECT_EQ(editable, column >= strgrd01_Flo_lr && column <= strgrd07_Flo_c2) << column;
    }
    Click("cbt_compute");
    ASSERT_TRUE(Shown("cbt_View"));
    const QModelIndex frk = Rock()->model()->index(0, strgrd05_Flo_frk);
    Rock()->setCurrentIndex(frk);
    Rock()->edit(frk);
    QWidget *editor = Rock()->indexWidget(frk);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "30");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the view commits an edit after the key has been handled
    EXPECT_EQ(Rock()->Cell(0, strgrd05_Flo_frk), "30");
    EXPECT_TRUE(Shown("cbt_compute"));
    EXPECT_EQ(Text("edt_ra"), "");

    // A pick-list cell offers its items and takes the one picked.
    const QModelIndex weathering = Rock()->model()->index(0, strgrd02_Str_fenghuachengdu);
    Rock()->setCurrentIndex(weathering);
    Rock()->edit(weathering);
    auto *pick = qobject_cast<QComboBox *>(Rock()->indexWidget(weathering));
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(pick->count(), 2);
    EXPECT_EQ(pick->currentText(), "中风化");
    QTest::keyClick(pick, Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_EQ(Rock()->Cell(0, strgrd02_Str_fenghuachengdu), "微风化");
}

// Tab goes from cell to cell of a layer grid and leaves it after the last cell (Shift+Tab before
// the first), while a cell is edited too; Ctrl+Tab leaves it from any cell.
TEST_F(InputPage, TabLeavesALayerGridAtItsEnds)
{
    Combo("cbb_yanchengshu")->setCurrentIndex(1); // two rock layers
    for (TLayerGrid *grid : {Soil(), Rock()}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        const std::vector<int> shown = ShownColumns(grid);
        const int lastRow = grid->RowCount() - 1;
        const struct
        {
            int row, column;
            Qt::KeyboardModifiers modifiers;
            bool stays;
        } cases[] = {
            {0, shown[1], Qt::NoModifier, true},
            {0, shown.back(), Qt::NoModifier, lastRow > 0}, // on to the next row
            {lastRow, shown.back(), Qt::NoModifier, false},
            {lastRow, shown.back(), Qt::ShiftModifier, true},
            {0, shown.front(), Qt::ShiftModifier, false},
            {0, shown[1], Qt::ControlModifier, false},
            {0, shown[1], Qt::ControlModifier | Qt::ShiftModifier, false},
        };
        for (const auto &c : cases) {
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(c.row, c.column));
            QTest::keyClick(grid, Qt::Key_Tab, c.modifiers);
            EXPECT_EQ(m_window->focusWidget() == grid, c.stays)
                << c.row << ", " << c.column << ", " << c.modifiers.toInt();
        }
    }
    // The soil grid's last cell is an edited qik: Tab ends the edit and leaves the grid.
    const QModelIndex qik = Soil()->model()->index(0, strgrd_t02_Flo_qik);
    ASSERT_EQ(ShownColumns(Soil()).back(), strgrd_t02_Flo_qik);
    Soil()->setFocus();
    Soil()->setCurrentIndex(qik);
    Soil()->edit(qik);
    QWidget *editor = Soil()->indexWidget(qik);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "150");
    QTest::keyClick(editor, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(Soil()->Cell(0, strgrd_t02_Flo_qik), "150");
    EXPECT_EQ(Soil()->indexWidget(qik), nullptr);
    EXPECT_NE(m_window->focusWidget(), Soil());
    EXPECT_FALSE(Soil()->isAncestorOf(m_window->focusWidget()));
}

TEST_F(InputPage, PrecisionListRecalculatesOnlyWhileOpen)
{
    Click("cbt_compute");
    auto *precision = Find<QListWidget>("popbox_jingdu");
    precision->setCurrentRow(3); // closed: nothing runs
    EXPECT_EQ(Text("edt_ra"), "10367");
    EXPECT_EQ(m_window->PileCount(), 1);

    Click("cbt_JingDu");
    ASSERT_TRUE(precision->isVisible());
    precision->setCurrentRow(0);
    EXPECT_EQ(Text("edt_ra"), "10367.26");
    EXPECT_EQ(Text("edt_percent"), "68.18%");
    EXPECT_EQ(m_window->PileCount(), 2);
    EXPECT_FALSE(precision->isVisible());
}

TEST_F(InputPage, OptimizationModeKeepsCalculationsOutOfTheReports)
{
    Click("cbt_YouHua");
    EXPECT_EQ(m_window->OptimizationMode(), 1);
    EXPECT_TRUE(Shown("YouHuaFormLayer"));
    EXPECT_FALSE(Shown("MainFormLayer"));
    EXPECT_TRUE(m_window->cbt_computeClick());
    EXPECT_EQ(m_window->PileCount(), 0);
    EXPECT_EQ(Text("edt_ra"), "10367");
    EXPECT_FALSE(Find("cbt_compute")->isHidden());
    Click("cbt_YHfanhui");
    EXPECT_EQ(m_window->OptimizationMode(), 0);
    EXPECT_TRUE(Shown("MainFormLayer"));
}

TEST_F(InputPage, ExitClosesTheWindow)
{
    Click("cbt_tuichu");
    EXPECT_FALSE(m_window->isVisible());
}

TEST(MainWindowScale, FitsAShorterScreenUniformly)
{
    TVXR_FRM_MDLF1 window; // the offscreen screen is shorter than the design
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (screen.height() >= 840)
        GTEST_SKIP() << "the screen is tall enough for the full size";
    EXPECT_LT(window.height(), screen.height());
    EXPECT_NEAR(window.width() / double(window.height()), 380.0 / 800.0, 0.01);
    window.show();
    auto *grid = window.findChild<TLayerGrid *>("StringGrid_YC1");
    EXPECT_NEAR(grid->width(), 352 * window.Scale(), 1);
    EXPECT_NEAR(grid->columnWidth(0), 40 * window.Scale(), 1);
}

} // namespace
