#include "ui_test_support.h"

#include "candidate_grid.h"
#include "candidate_model.h"
#include "grid_columns.h"
#include "input_page.h"
#include "layer_grid.h"
#include "optimization_page.h"
#include "options_table.h"
#include "qt_text.h"

#include "candidate_file.h"
#include "candidate_filter.h"
#include "candidate_sort.h"
#include "file_names.h"
#include "text_file.h"

#include <QComboBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <array>
#include <fstream>
#include <sstream>

using namespace GridColumns;

namespace {

constexpr int SizeDColumn = 2;
constexpr int RaColumn = 4;

class OptimizationPage : public MainWindowTest
{
public:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Click("cbt_YouHua");
    }

    TOptimizationPage *Page() const { return Find<TOptimizationPage>("YouHuaFormLayer"); }
    TOptionsGrid *Options() const { return Find<TOptionsGrid>("Grid1_Youhuaxuanxiang"); }
    TCandidateGrid *Raw() const { return Find<TCandidateGrid>("Grid2_Youhuajieguo"); }
    TCandidateGrid *Filtered() const { return Find<TCandidateGrid>("Grid3_Youhuasaixuan"); }
    QPushButton *Button(const char *name) const { return Find<QPushButton>(name); }
    QComboBox *Combo(const char *name) const { return Find<QComboBox>(name); }
    TLayerGrid *Rock() const { return Find<TLayerGrid>("StringGrid_YC1"); }

    // Selects a cell of the options table; an editable one opens its editor, which gets `text`
    // and is closed with Enter.
    QWidget *Select(int row, int column)
    {
        const QModelIndex index = Options()->model()->index(row, column);
        Options()->setCurrentIndex({}); // selecting the current cell again would change nothing
        Options()->setCurrentIndex(index);
        return Options()->indexWidget(index);
    }

    void EditOption(int row, int column, const QString &text)
    {
        auto *editor = qobject_cast<QLineEdit *>(Select(row, column));
        ASSERT_NE(editor, nullptr) << row << ", " << column;
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the item delegate commits and closes on a queued call
    }

    void EditRange(int row, const QString &minimum, const QString &maximum, const QString &step)
    {
        EditOption(row, 1, minimum);
        EditOption(row, 2, maximum);
        EditOption(row, 3, step);
    }

    void Sweep()
    {
        Click("cbt_YHcompute");
        Page()->WaitForWork();
    }

    void Save()
    {
        Click("cbt_YHsave");
        Page()->WaitForWork();
    }

    // "筛选", and the page once the filter has ended.
    void Filter()
    {
        Click("cbt_YHsaixuan");
        Page()->WaitForWork();
    }

    // A cell of the whole list, whether on screen or not.
    static QString Cell(const TCandidateGrid *grid, int row, int column)
    {
        return grid->Model()->Text(row, column);
    }

    // The 20 texts of a row joined by "|".
    static QString Row(const TCandidateGrid *grid, int row)
    {
        QStringList cells;
        for (int column = 0; column < 20; ++column)
            cells.append(Cell(grid, row, column));
        return cells.join('|');
    }

    static int Rows(const TCandidateGrid *grid) { return grid->Model()->Rows(); }

    static QString Header(const TCandidateGrid *grid, int column)
    {
        return grid->model()->headerData(column, Qt::Horizontal).toString();
    }

    // A click on a header, and the page once the sort it started has ended.
    void ClickHeader(TCandidateGrid *grid, int column)
    {
        PressHeader(grid, column);
        Page()->WaitForWork();
    }

    static void PressHeader(TCandidateGrid *grid, int column)
    {
        QHeaderView *header = grid->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // A double click as the window system delivers it: press, release, press, double click,
    // release.
    // `layOut` lets the view lay out new rows first; a click while work runs in the background
    // must not let its end be delivered before the click.
    static void DoubleClickRow(TCandidateGrid *grid, int row, bool layOut = true)
    {
        if (layOut)
            QApplication::processEvents();
        grid->ScrollToRow(row);
        const QModelIndex index = grid->model()->index(row - grid->TopRow(), 0);
        const QPoint centre = grid->visualRect(index).center();
        QWidget *viewport = grid->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
        QTest::mousePress(viewport, Qt::LeftButton, {}, centre);
        QMouseEvent event(QEvent::MouseButtonDblClick, centre, viewport->mapToGlobal(centre),
                          Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &event);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
    }

    // Circles only: 3 diameters, 3 depths, 2 strengths, 2 weatherings and 8 integrity values.
    void CirclesOnly() { EditRange(0, "1", "1", "1"); }

    // Every section once (two rectangles) under both bases: the ten candidates of the stored
    // candidate files.
    void MixedSections()
    {
        const std::vector<std::array<const char *, 4>> ranges {
            {"1", "4", "1"},        {"1000", "1000", "0"},   {"500", "500", "0"},
            {"2000", "2000", "0"},  {"1000", "1500", "500"}, {"1200", "1200", "0"},
            {"1.0d", "1.0d", "0d"}, {"35", "35", "0"},       {"2", "2", "0"},
            {"1", "2", "1"},        {"2", "2", "0"},         {"0.75", "0.75", "0"},
        };
        for (std::size_t row = 0; row < ranges.size(); ++row)
            EditRange(static_cast<int>(row), ranges[row][0], ranges[row][1], ranges[row][2]);
    }

    static std::string ReadFile(const std::filesystem::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // The candidate file the optimization layer writes for the grid, with the time stamp of the
    // file the page saved.
    std::string ExpectedFile(TCandidateFileKind kind, const TCandidateTable &table,
                             const std::string &saved)
    {
        const std::string label = ToSystemCodePage("计算时间：");
        const std::size_t at = saved.find(label);
        EXPECT_NE(at, std::string::npos);
        const std::size_t from = at + label.size();
        TCandidateFile file;
        file.kind = kind;
        file.table = &table;
        file.timeStamp = saved.substr(from, saved.find("\r\n", from) - from);
        const auto folder = m_folder / "expected";
        std::filesystem::create_directories(folder);
        EXPECT_FALSE(SaveCandidateFile(folder, file));
        return ReadFile(FilePath(folder,
                                 kind == TCandidateFileKind::Raw ? FileNames::RawCandidates
                                                                 : FileNames::FilteredCandidates));
    }
};

TEST_F(OptimizationPage, ShowsTheDesignedPage)
{
    EXPECT_EQ(m_window->OptimizationMode(), 1);
    EXPECT_FALSE(Find("MainFormLayer")->isVisible());
    EXPECT_EQ(Text("lb_youhuabiaoti"), "嵌岩桩优化设计");
    const std::vector<std::pair<const char *, QRect>> places {
        {"lb_youhuabiaoti", {48, 2, 280, 33}},      {"Grid1_Youhuaxuanxiang", {5, 40, 370, 400}},
        {"Grid2_Youhuajieguo", {5, 444, 370, 260}}, {"Grid3_Youhuasaixuan", {5, 444, 370, 260}},
        {"pb_YH_jingdu", {28, 648, 280, 10}},       {"lb_huzhu", {18, 704, 260, 25}},
        {"cbt_zhangkai", {318, 704, 40, 25}},       {"cbt_YHcompute", {32, 732, 70, 33}},
        {"cbt_YHsaixuan", {112, 732, 70, 33}},      {"cbt_YHsave", {192, 732, 70, 33}},
        {"cbt_YHfanhui", {272, 732, 70, 33}},       {"lb_YHxingxi", {10, 770, 360, 25}},
    };
    for (const auto &[name, place] : places)
        EXPECT_EQ(Find(name)->geometry(), place) << name;
    EXPECT_EQ(Text("lb_huzhu"), "1、点击表头排序   2、双击获取数据");
    EXPECT_TRUE(Raw()->isVisible());
    EXPECT_FALSE(Filtered()->isVisible());
    EXPECT_FALSE(Find("pb_YH_jingdu")->isVisible());
    EXPECT_TRUE(Button("cbt_YHcompute")->isEnabled());
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_FALSE(Button("cbt_YHsave")->isEnabled());
    EXPECT_EQ(Text("lb_YHxingxi"), "");

    const QAbstractItemModel *options = Options()->model();
    ASSERT_EQ(options->rowCount(), 15);
    EXPECT_EQ(options->index(6, 1).data().toString() + options->index(6, 2).data().toString()
                  + options->index(6, 3).data().toString(),
              "1.0d3.0d1.0d");
    EXPECT_EQ(options->index(14, 0).data().toString(), "筛选 Ra(kN)");
    EXPECT_EQ(options->index(13, 0).data().toString(), "");
    EXPECT_EQ(options->headerData(4, Qt::Horizontal).toString(), "说  明");

    for (const TCandidateGrid *grid : {Raw(), Filtered()}) {
        EXPECT_EQ(Rows(grid), 0);
        EXPECT_EQ(Header(grid, 0), "  桩编号");
        EXPECT_EQ(Header(grid, 2), " d|a(mm)");
        EXPECT_EQ(Header(grid, 4), "  Ra(kN)");
        EXPECT_EQ(Header(grid, 5), "   hr(m)");
        EXPECT_EQ(Header(grid, 19), "    备注");
        EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal, Qt::UserRole).toString(),
                  grid == Raw() ? "Grid2_05_Str_YHRa" : "Grid3_05_Str_YHRa");
        for (int column = 0; column < 20; ++column)
            EXPECT_EQ(grid->isColumnHidden(column), column >= 5) << column;
        EXPECT_EQ(grid->columnWidth(2), 80);
        EXPECT_EQ(grid->columnWidth(4), 70);
    }
}

TEST_F(OptimizationPage, OpensTheEditorOnlyOnEditableCellsAndEnablesByTheEditedRow)
{
    struct TCase
    {
        int row, column;
        bool editable;
    };
    for (const TCase &cell : {TCase {0, 1, true},
                              {11, 3, true},
                              {6, 2, true},
                              {12, 1, true},
                              {12, 2, false},
                              {13, 1, false},
                              {14, 1, true},
                              {14, 2, true},
                              {14, 3, false},
                              {3, 0, false},
                              {3, 4, false}}) {
        EXPECT_EQ(Select(cell.row, cell.column) != nullptr, cell.editable)
            << cell.row << ", " << cell.column;
    }

    Sweep(); // leaves "计算" disabled
    ASSERT_FALSE(Button("cbt_YHcompute")->isEnabled());
    EditOption(14, 1, "0"); // the Ra window: "筛选" only
    Filter();
    ASSERT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EditOption(14, 2, "20000");
    EXPECT_TRUE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_FALSE(Button("cbt_YHcompute")->isEnabled());
    EditOption(12, 1, "0"); // the same text still ends an edit
    EXPECT_TRUE(Button("cbt_YHcompute")->isEnabled());
    EXPECT_EQ(Options()->model()->index(14, 2).data().toString(), "20000");
}

TEST_F(OptimizationPage, DefaultSweepListsEveryCandidateAndLeavesTheReportsAlone)
{
    Click("cbt_YHfanhui");
    Click("cbt_compute"); // one pile in the reports
    ASSERT_EQ(m_window->PileCount(), 1);
    const std::vector<std::string> book = m_window->Reports().BookLines();
    const std::vector<std::string> table = m_window->Reports().TableLines();
    Click("cbt_YouHua");

    Click("cbt_YHcompute");
    // While it runs: "取消" in place of "计算", the other buttons and the table waiting.
    EXPECT_TRUE(Page()->SweepRunning());
    EXPECT_EQ(Button("cbt_YHcompute")->text(), "取消");
    EXPECT_FALSE(Button("cbt_YHfanhui")->isEnabled());
    EXPECT_FALSE(Options()->isEnabled());
    Page()->WaitForWork();

    ASSERT_EQ(Rows(Raw()), 2304);
    EXPECT_EQ(Text("lb_YHxingxi"), "计算完成，桩数：2304 根");
    EXPECT_EQ(TextColour(Find("lb_YHxingxi")), QColor(Qt::black));
    EXPECT_EQ(Row(Raw(), 0),
              "ZH-0001|圆  桩|1000|-|17593|1.00|35.00|微风化|1|完整|0.480|0.040|4398|25%|13195|75%|"
              "17593|-|-|");
    EXPECT_EQ(Cell(Raw(), 1, 9) + Cell(Raw(), 2, 9), "较完整较破碎");
    EXPECT_EQ(Row(Raw(), 2303),
              "ZH-2304|方  桩|2000|2000|115200|6.00|40.00|中风化|2|0.80|0.360|0.030|57600|50%|"
              "57600|50%|115200|-|-|");
    EXPECT_EQ(Button("cbt_YHcompute")->text(), "计算");
    EXPECT_FALSE(Button("cbt_YHcompute")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHfanhui")->isEnabled());
    EXPECT_FALSE(Find("pb_YH_jingdu")->isVisible());

    // The input page holds the last candidate and its result; nothing went to the reports.
    EXPECT_EQ(m_window->PileCount(), 1);
    EXPECT_EQ(m_window->Reports().BookLines(), book);
    EXPECT_EQ(m_window->Reports().TableLines(), table);
    EXPECT_EQ(m_window->UnsavedReports(), 3);
    EXPECT_EQ(Combo("cbb_jmlx")->currentText(), "矩形桩");
    EXPECT_EQ(Combo("cbe_dd")->currentText(), "2000");
    EXPECT_EQ(Combo("cbe_tyzd")->currentText(), "2000");
    EXPECT_EQ(Combo("cbb_yanchengshu")->currentText(), "1");
    EXPECT_EQ(Combo("cbb_chezhuxishu")->currentText(), "程序自动插值");
    EXPECT_EQ(Combo("cbb_chazhiyiju")->currentText(), "岩体完整性指数");
    EXPECT_EQ(Combo("cbb_tuchengshu")->currentText(), "0");
    EXPECT_EQ(Rock()->RowCount(), 1);
    EXPECT_EQ(Rock()->Cell(0, strgrd01_Flo_lr) + " " + Rock()->Cell(0, strgrd02_Str_fenghuachengdu)
                  + " " + Rock()->Cell(0, strgrd04_Flo_wangzhengzhishu) + " "
                  + Rock()->Cell(0, strgrd05_Flo_frk),
              "6.00 中风化 0.80 40.00");
    EXPECT_EQ(Text("edt_ra"), "115200");
    EXPECT_TRUE(Find("lb_shuoming")->isVisibleTo(Find("MainFormLayer")));
    EXPECT_FALSE(Find("img_logo")->isVisibleTo(Find("MainFormLayer")));
    EXPECT_FALSE(Find("cbt_View")->isVisibleTo(Find("MainFormLayer")));

    // Leaving and coming back keeps the page as it was.
    Click("cbt_YHfanhui");
    EXPECT_EQ(m_window->OptimizationMode(), 0);
    Click("cbt_YouHua");
    EXPECT_EQ(Rows(Raw()), 2304);
    EXPECT_EQ(Text("lb_YHxingxi"), "计算完成，桩数：2304 根");
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());
}

TEST_F(OptimizationPage, OptionFailuresStopBeforeAnyCandidate)
{
    CirclesOnly();
    Sweep();
    ASSERT_EQ(Rows(Raw()), 288);
    EXPECT_EQ(Cell(Raw(), 0, 0), "ZH-001");
    const QString section = Combo("cbb_jmlx")->currentText();
    const QString ra = Text("edt_ra");

    EditOption(1, 1, "-1000"); // and a negative frk, which is read later
    EditOption(7, 1, "-5");
    Sweep();
    EXPECT_EQ(Rows(Raw()), 0);
    EXPECT_EQ(Text("lb_YHxingxi"), "桩径不能为负值");
    EXPECT_EQ(TextColour(Find("lb_YHxingxi")), QColor(Qt::red));
    EXPECT_TRUE(m_messages.isEmpty());

    // A step far too small for its range: refused before anything is calculated.
    EditOption(1, 1, "1000");
    EditOption(7, 1, "35");
    EditOption(1, 3, "0.0001");
    Sweep();
    EXPECT_EQ(Text("lb_YHxingxi"), "候选桩数超过10000000根，请调整优化项");
    EXPECT_EQ(Rows(Raw()), 0);

    EditOption(1, 3, "500");
    EditOption(7, 1, "abc");
    Sweep();
    EXPECT_EQ(m_messages, QStringList {"'abc' is not a valid floating point value."});
    EXPECT_EQ(Text("lb_YHxingxi"), "");
    EXPECT_EQ(Rows(Raw()), 0);
    EXPECT_TRUE(Button("cbt_YHcompute")->isEnabled());
    // The input page still shows the last candidate of the run that worked.
    EXPECT_EQ(Combo("cbb_jmlx")->currentText(), section);
    EXPECT_EQ(Text("edt_ra"), ra);
}

TEST_F(OptimizationPage, CandidateFailureKeepsTheRowsBeforeItUnnumbered)
{
    CirclesOnly();
    Sweep();
    ClickHeader(Raw(), RaColumn);
    ASSERT_EQ(Header(Raw(), RaColumn), "Ra(kN)▲");

    EditRange(0, "1", "2", "1"); // circles, then ellipses whose straight length starts at 0
    EditOption(2, 1, "0");
    Sweep();
    ASSERT_EQ(Rows(Raw()), 288);
    EXPECT_EQ(Cell(Raw(), 0, 0), "1");
    EXPECT_EQ(Cell(Raw(), 287, 0), "288");
    EXPECT_EQ(Text("lb_YHxingxi"), "运行中止，主界面可查看中止位置、原因");
    EXPECT_EQ(TextColour(Find("lb_YHxingxi")), QColor(Qt::red));
    EXPECT_TRUE(Button("cbt_YHcompute")->isEnabled());
    EXPECT_EQ(Text("lb_shuoming"), "椭圆直段长度数据有错");
    EXPECT_EQ(Combo("cbb_jmlx")->currentText(), "椭圆桩");
    EXPECT_EQ(Combo("cbe_tyzd")->currentText(), "0");
    EXPECT_EQ(Text("edt_ra"), "");
    EXPECT_EQ(m_window->PileCount(), 0);

    // The new rows are unsorted, and the Ra header says so: the next click sorts afresh.
    EXPECT_EQ(Header(Raw(), RaColumn), "  Ra(kN)");
    ClickHeader(Raw(), RaColumn);
    EXPECT_EQ(Text("lb_YHxingxi"), "Ra升序排列完成");
}

TEST_F(OptimizationPage, FiltersByTheRaWindow)
{
    Sweep();
    Filter();
    ASSERT_TRUE(Filtered()->isVisible());
    EXPECT_FALSE(Raw()->isVisible());
    ASSERT_EQ(Rows(Filtered()), 3);
    EXPECT_EQ(Text("lb_YHxingxi"), "筛选完成，桩数：3 根");
    EXPECT_EQ(Cell(Filtered(), 0, 0) + " " + Cell(Filtered(), 0, RaColumn), "ZH-0011 10886");
    EXPECT_EQ(Cell(Filtered(), 2, 0) + " " + Cell(Filtered(), 2, RaColumn), "ZH-0028 10462");
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());
    EXPECT_EQ(m_window->OptimizationMode(), 1);

    EditOption(14, 1, "x");
    Filter();
    EXPECT_EQ(m_messages, QStringList {"'x' is not a valid floating point value."});
    EXPECT_EQ(Rows(Filtered()), 3);
    EXPECT_EQ(Text("lb_YHxingxi"), "筛选完成，桩数：3 根");

    // A lower bound above the upper one keeps only that very Ra: none here.
    EditOption(14, 1, "1");
    EditOption(14, 2, "0.5");
    Filter();
    EXPECT_TRUE(Filtered()->isVisible());
    EXPECT_EQ(Rows(Filtered()), 0);
    EXPECT_EQ(Text("lb_YHxingxi"), "无满足条件桩，调整区间再筛选");
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_FALSE(Button("cbt_YHsave")->isEnabled());

    // Bounds of 0 keep everything.
    EditOption(14, 1, "0");
    EditOption(14, 2, "0");
    Filter();
    EXPECT_EQ(Rows(Filtered()), 2304);
    EXPECT_EQ(Text("lb_YHxingxi"), "筛选完成，桩数：2304 根");
}

TEST_F(OptimizationPage, LoadFilterBesideTheRaWindowKeepsWhatCarriesTheInputPagesN)
{
    Sweep();
    EditOption(14, 1, "0");
    EditOption(14, 2, "0");
    QPushButton *load = Button("cbt_manzuhezai");
    EXPECT_FALSE(load->isChecked());
    EXPECT_EQ(load->geometry(), Options()->visualRect(Options()->model()->index(14, 3)));
    load->click();
    Filter(); // the input page's pile has no N yet
    EXPECT_EQ(m_messages, QStringList {"未给出桩顶轴力N，无法按荷载筛选"});
    EXPECT_FALSE(Filtered()->isVisible());

    auto *input = Find<TInputPage>("MainFormLayer");
    TPileInput pile = input->ReadPileInput();
    pile.load = "10500";
    pile.gammaR = "1.0";
    input->ShowPileInput(pile);
    Filter();
    const TFilterResult expected = FilterCandidates(Page()->Table(TCandidateList::Raw),
                                                    Page()->Options(), TDesignLoad {10500, 1});
    const TCandidateTable &kept = Page()->Table(TCandidateList::Filtered);
    EXPECT_EQ(kept.order, expected.filtered.order);
    ASSERT_GT(kept.Size(), 0u);
    ASSERT_LT(kept.Size(), 2304u);
    for (const std::uint32_t index : kept.order)
        EXPECT_GE(kept.store->Ra(index), 10500);
    EXPECT_EQ(Text("lb_YHxingxi"), ToQ(expected.status));

    // Released, the filter is the Ra window's alone again; the toggle enables "筛选" as an edit of
    // the Ra row does.
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    load->click();
    EXPECT_TRUE(Button("cbt_YHsaixuan")->isEnabled());
    Filter();
    EXPECT_EQ(Rows(Filtered()), 2304);
}

TEST_F(OptimizationPage, HeaderClicksSortAndReverseWithTheirMarks)
{
    ClickHeader(Raw(), SizeDColumn);
    EXPECT_EQ(Text("lb_YHxingxi"), "无需排序");

    CirclesOnly();
    Sweep();
    Save(); // disables "存盘", which a sort enables again
    ASSERT_FALSE(Button("cbt_YHsave")->isEnabled());
    const auto values = [this](int column) {
        std::vector<double> values;
        for (int row = 0; row < Rows(Raw()); ++row)
            values.push_back(Cell(Raw(), row, column).toDouble());
        return values;
    };
    const auto labels = [this] {
        QStringList labels;
        for (int row = 0; row < Rows(Raw()); ++row)
            labels.append(Cell(Raw(), row, 0));
        return labels;
    };

    struct TStep
    {
        int column;
        const char *status, *dHeader, *raHeader;
        bool ascending; // of the clicked column
    };
    const TStep steps[] = {
        {SizeDColumn, "d升序排列完成", "d|a(mm)▲", "  Ra(kN)", true},
        {SizeDColumn, "d降序排列完成", "d|a(mm)▼", "  Ra(kN)", false},
        {SizeDColumn, "d升序排列完成", "d|a(mm)▲", "  Ra(kN)", true},
        {RaColumn, "Ra升序排列完成", " d|a(mm)", "Ra(kN)▲", true},
        {RaColumn, "Ra降序排列完成", " d|a(mm)", "Ra(kN)▼", false},
        {SizeDColumn, "d升序排列完成", "d|a(mm)▲", "  Ra(kN)", true},
    };
    std::vector<QStringList> orders;
    for (const TStep &step : steps) {
        ClickHeader(Raw(), step.column);
        orders.push_back(labels());
        EXPECT_EQ(Text("lb_YHxingxi"), step.status);
        EXPECT_EQ(Header(Raw(), SizeDColumn), step.dHeader);
        EXPECT_EQ(Header(Raw(), RaColumn), step.raHeader);
        const std::vector<double> keys = values(step.column);
        EXPECT_TRUE(step.ascending ? std::is_sorted(keys.begin(), keys.end())
                                   : std::is_sorted(keys.rbegin(), keys.rend()))
            << step.status;
        EXPECT_EQ(Raw()->selectionModel()->selectedRows(),
                  QModelIndexList {Raw()->model()->index(0, 0)});
    }
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());
    // A second click gives the exact reverse, ties included, and a third the first order again.
    QStringList reversed = orders[0];
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(orders[1], reversed);
    EXPECT_EQ(orders[2], orders[0]);

    ClickHeader(Raw(), 1);
    EXPECT_EQ(Text("lb_YHxingxi"), "仅支持d、Ra排序");
    EXPECT_EQ(labels(), orders.back());
    EXPECT_EQ(Header(Raw(), SizeDColumn), "d|a(mm)▲");
}

TEST_F(OptimizationPage, DetailColumnsAndTheNoteColumnFollowTheButton)
{
    EXPECT_FALSE(Options()->isColumnHidden(4));
    Click("cbt_zhangkai");
    EXPECT_EQ(Button("cbt_zhangkai")->text(), "折叠");
    EXPECT_FALSE(Options()->isColumnHidden(4));
    for (const TCandidateGrid *grid : {Raw(), Filtered()}) {
        for (int column = 0; column < 20; ++column)
            EXPECT_FALSE(grid->isColumnHidden(column)) << column;
    }
    Click("cbt_zhangkai");
    EXPECT_EQ(Button("cbt_zhangkai")->text(), "展开");
    EXPECT_TRUE(Options()->isColumnHidden(4));
    EXPECT_TRUE(Raw()->isColumnHidden(5));
    EXPECT_TRUE(Filtered()->isColumnHidden(19));
    EXPECT_FALSE(Filtered()->isColumnHidden(4));
}

TEST_F(OptimizationPage, DoubleClickWritesTheCandidateBackWithoutCalculating)
{
    Sweep();
    DoubleClickRow(Raw(), 2303); // 方  桩, side 2000, Kv 0.80, no overburden
    EXPECT_TRUE(Find("MainFormLayer")->isVisible());
    EXPECT_FALSE(Page()->isVisible());
    EXPECT_EQ(m_window->OptimizationMode(), 0);
    EXPECT_EQ(Combo("cbb_jmlx")->currentText(), "矩形桩");
    EXPECT_EQ(Combo("cbe_dd")->currentText(), "2000");
    EXPECT_EQ(Combo("cbe_tyzd")->currentText(), "2000");
    EXPECT_EQ(Combo("cbb_chazhiyiju")->currentText(), "岩体完整性指数");
    EXPECT_EQ(Combo("cbb_tuchengshu")->currentText(), "0");
    EXPECT_FALSE(Find("StringGrid_TC1")->isVisible());
    EXPECT_EQ(Text("edt_ra"), "");
    EXPECT_TRUE(Find("cbt_compute")->isVisible());

    // An ellipse: the section's change runs before d and c replace its defaults; calculated, the
    // candidate gives its row's Ra.
    Click("cbt_YouHua");
    const QString ra = Cell(Raw(), 300, RaColumn);
    DoubleClickRow(Raw(), 300);
    EXPECT_EQ(Combo("cbb_jmlx")->currentText(), "椭圆桩");
    EXPECT_EQ(Combo("cbe_dd")->currentText() + " " + Combo("cbe_tyzd")->currentText(), "1000 1000");
    EXPECT_EQ(Combo("cbb_yanchengshu")->currentText(), "1");
    EXPECT_EQ(Combo("cbb_chezhuxishu")->currentText(), "程序自动插值");
    Click("cbt_compute");
    EXPECT_EQ(Text("edt_ra"), ra);
    EXPECT_EQ(m_window->PileCount(), 1);
}

TEST_F(OptimizationPage, OverburdenCandidatesBringTheSoilLayersBack)
{
    Click("cbt_YHfanhui");
    Combo("cbb_tuchengshu")->setCurrentIndex(2);
    Find<TLayerGrid>("StringGrid_TC1")->SetCell(1, strgrd_t01_Flo_li, "3.00");
    Find<TLayerGrid>("StringGrid_TC1")->SetCell(1, strgrd_t02_Flo_qik, "100.00");
    Combo("cbb_tuchengshu")->setCurrentIndex(0); // hidden, the rows kept
    Click("cbt_YouHua");
    CirclesOnly();
    EditOption(12, 1, "1");
    Sweep();
    EXPECT_EQ(Combo("cbb_tuchengshu")->currentText(), "2");
    EXPECT_NE(Cell(Raw(), 0, 17), "-");

    Save();
    const std::string saved = ReadFile(FilePath(m_folder, FileNames::RawCandidates));
    EXPECT_NE(saved.find(ToSystemCodePage("*  附录：桩侧土体侧阻力参数")), std::string::npos);
    EXPECT_NE(saved.find("*          2       2        3.00      100.00     *\r\n"),
              std::string::npos);

    Click("cbt_YHfanhui");
    Combo("cbb_tuchengshu")->setCurrentIndex(0);
    Click("cbt_YouHua");
    DoubleClickRow(Raw(), 0);
    EXPECT_EQ(Combo("cbb_tuchengshu")->currentText(), "2");
    EXPECT_TRUE(Find("StringGrid_TC1")->isVisible());
}

TEST_F(OptimizationPage, SavesTheListOnShow)
{
    Sweep();
    Click("cbt_YHsave");
    // The file is written on a worker thread while the page waits.
    EXPECT_TRUE(Page()->Busy());
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_FALSE(Button("cbt_YHfanhui")->isEnabled());
    Page()->WaitForWork();
    EXPECT_TRUE(Button("cbt_YHsaixuan")->isEnabled());
    const auto rawPath = FilePath(m_folder, FileNames::RawCandidates);
    const std::string raw = ReadFile(rawPath);
    EXPECT_EQ(raw, ExpectedFile(TCandidateFileKind::Raw, Page()->Table(TCandidateList::Raw), raw));
    EXPECT_EQ(raw.substr(0, 87), std::string(87, '='));
    EXPECT_NE(raw.find(" ZH-2304 "), std::string::npos);
    EXPECT_FALSE(Button("cbt_YHsave")->isEnabled());
    EXPECT_TRUE(m_messages.isEmpty());

    Filter();
    ClickHeader(Filtered(), RaColumn);
    Save();
    const std::string filtered = ReadFile(FilePath(m_folder, FileNames::FilteredCandidates));
    EXPECT_EQ(filtered,
              ExpectedFile(TCandidateFileKind::Filtered, Page()->Table(TCandidateList::Filtered),
                           filtered));
    EXPECT_NE(filtered.find(" ZH-1 "), std::string::npos);
    EXPECT_EQ(ReadFile(rawPath), raw);

    // A folder that cannot take the file: the system's message, the old state kept.
    ClickHeader(Filtered(), RaColumn);
    ASSERT_TRUE(Button("cbt_YHsave")->isEnabled());
    m_window->SetDocumentsFolder([this] { return m_folder / "missing" / "folder"; });
    Save();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());
}

// What the desktop program saves is the stored candidate file, byte for byte.
TEST_F(OptimizationPage, SavesTheStoredRawCandidateFile)
{
    m_window->SetClock(StoredMoment);
    MixedSections();
    Sweep();
    ASSERT_EQ(Rows(Raw()), 10);
    Save();
    EXPECT_EQ(ReadFile(FilePath(m_folder, FileNames::RawCandidates)),
              SavedForm(Golden("optimize/raw_candidates.txt")));
}

TEST_F(OptimizationPage, SavesTheStoredFilteredCandidateFileWithTheSoilLayers)
{
    m_window->SetClock(StoredMoment);
    Click("cbt_YHfanhui");
    Combo("cbb_tuchengshu")->setCurrentIndex(2);
    Find<TLayerGrid>("StringGrid_TC1")->SetCell(1, strgrd_t01_Flo_li, "3.50");
    Find<TLayerGrid>("StringGrid_TC1")->SetCell(1, strgrd_t02_Flo_qik, "120");
    Click("cbt_YouHua");
    MixedSections();
    EditOption(12, 1, "1");
    EditOption(14, 1, "10000");
    EditOption(14, 2, "30000");
    Sweep();
    Filter();
    ASSERT_EQ(Text("lb_YHxingxi"), "筛选完成，桩数：6 根");
    Save();
    EXPECT_EQ(ReadFile(FilePath(m_folder, FileNames::FilteredCandidates)),
              SavedForm(Golden("optimize/filtered_candidates.txt")));
}

// A long save runs in the background: a click on a header or a row is answered in the status line
// and does nothing, and at the end the status line names the file, not what it showed before.
TEST_F(OptimizationPage, SaveNamesItsFileAndAnswersClicksWhileItRuns)
{
    EditRange(0, "1", "1", "1");
    EditRange(1, "1000", "1999", "1"); // 96,000 candidates
    Sweep();
    ClickHeader(Raw(), SizeDColumn);
    ASSERT_EQ(Text("lb_YHxingxi"), "d升序排列完成");
    const auto order = Page()->Table(TCandidateList::Raw).order;

    Click("cbt_YHsave");
    ASSERT_TRUE(Page()->Busy());
    PressHeader(Raw(), RaColumn);
    EXPECT_EQ(Text("lb_YHxingxi"), "正在存盘，请稍候");
    Find<QLabel>("lb_YHxingxi")->clear();
    DoubleClickRow(Raw(), 3, false);
    EXPECT_EQ(Text("lb_YHxingxi"), "正在存盘，请稍候");
    EXPECT_TRUE(Page()->isVisible()); // no pick-back
    Page()->WaitForWork();

    const std::filesystem::path path = FilePath(m_folder, FileNames::RawCandidates);
    ASSERT_TRUE(std::filesystem::exists(path));
    auto *status = Find<QLabel>("lb_YHxingxi");
    EXPECT_EQ(ShownText(status), "已存盘：" + ToQ(FileNames::RawCandidates));
    EXPECT_LE(ShownWidth(status), status->contentsRect().width());
    EXPECT_EQ(status->toolTip(), QString::fromStdString(path.string()));
    EXPECT_EQ(TextColour(status), QColor(Qt::black));
    EXPECT_EQ(Page()->Table(TCandidateList::Raw).order, order); // the blocked sort did nothing
    EXPECT_EQ(Page()->SortState().sortStateRa, 0);

    // The next message replaces the name; a failed save keeps the status line as it was.
    ClickHeader(Raw(), SizeDColumn);
    EXPECT_EQ(status->text(), "d降序排列完成");
    EXPECT_TRUE(status->toolTip().isEmpty());
    m_window->SetDocumentsFolder([this] { return m_folder / "missing" / "folder"; });
    Save();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(status->text(), "d降序排列完成");
}

// The columns always shown are as wide as their texts and headers need, the sort mark included,
// and stay within the grid's width: a list of millions has labels of seven digits.
TEST_F(OptimizationPage, ShownColumnsFitTheirTextsWithinTheGrid)
{
    Sweep();
    TCandidateTable table = Page()->Table(TCandidateList::Raw);
    table.context.labelDigits = 7; // "ZH-0000001", as a sweep of a million candidates has them
    Raw()->Model()->SetTable(table);
    ClickHeader(Raw(), RaColumn);
    ClickHeader(Raw(), RaColumn);
    ASSERT_TRUE(Header(Raw(), RaColumn).endsWith("Ra(kN)▼"));
    QApplication::processEvents();
    TCandidateGrid *grid = Raw();
    const QFontMetrics cells = grid->fontMetrics();
    const QFontMetrics headers = grid->horizontalHeader()->fontMetrics();
    for (int column = 0; column <= RaColumn; ++column) {
        const int width = grid->columnWidth(column);
        int widest = headers.horizontalAdvance(Header(grid, column));
        for (int row = 0; row < Rows(grid); row += 97)
            widest = std::max(widest, cells.horizontalAdvance(Cell(grid, row, column)));
        EXPECT_GE(width, widest + 4) << column;
    }
    EXPECT_EQ(Cell(grid, 0, 0).size(), 10);
    EXPECT_LE(grid->columnViewportPosition(RaColumn) + grid->columnWidth(RaColumn),
              grid->viewport()->width());
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
}

TEST_F(OptimizationPage, CancelStopsTheSweepWithTheRowsSoFar)
{
    EditRange(0, "1", "1", "1");
    EditRange(1, "1000", "1999", "1"); // 1000 diameters
    EditRange(7, "20", "60", "0.5"); // and 81 strengths: 3,888,000 candidates, too many to finish
                                     // before the second click
    Click("cbt_YHcompute");
    Click("cbt_YHcompute"); // "取消"
    Page()->WaitForWork();
    const int rows = Rows(Raw());
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, 3888000);
    // The rows kept carry the labels of the complete run.
    EXPECT_EQ(Cell(Raw(), 0, 0), "ZH-0000001");
    EXPECT_EQ(Cell(Raw(), rows - 1, 0), QString("ZH-%1").arg(rows, 7, 10, QChar('0')));
    EXPECT_EQ(Text("lb_YHxingxi"), "计算已取消，已算桩数：" + QString::number(rows) + " 根");
    EXPECT_EQ(Button("cbt_YHcompute")->text(), "计算");
    EXPECT_TRUE(Button("cbt_YHcompute")->isEnabled());
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHfanhui")->isEnabled());
    EXPECT_EQ(m_window->PileCount(), 0);
}

// However long the list, the view of a grid holds only the rows on screen: the scroll bar spans the
// whole list, the keys, the wheel, the selection and a sort count in its rows, and a new list
// starts at its top.
TEST_F(OptimizationPage, LongListsScrollAWindowOfRows)
{
    EditRange(0, "1", "1", "1");
    EditRange(1, "1000", "1999", "1"); // 96,000 candidates
    Sweep();
    TCandidateGrid *grid = Raw();
    QApplication::processEvents();
    QScrollBar *bar = grid->verticalScrollBar();
    const int page = bar->pageStep();
    ASSERT_GT(page, 5);
    EXPECT_EQ(grid->model()->rowCount(), page + 1); // the rows on screen, one cut at the bottom
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 96000 - page);
    // The labels on screen, those of the list from `top` on that fit, and the row selected.
    const auto shown = [](const TCandidateGrid *grid) {
        QStringList labels;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            labels.append(grid->model()->index(row, 0).data().toString());
        return labels;
    };
    const auto expected = [page](const TCandidateGrid *grid, int top) {
        QStringList labels;
        for (int row = top; row < std::min(top + page + 1, Rows(grid)); ++row)
            labels.append(Cell(grid, row, 0));
        return labels;
    };
    const auto selected = [grid] {
        const QModelIndexList rows = grid->selectionModel()->selectedRows();
        return rows.size() == 1 ? grid->TopRow() + rows.front().row() : -1;
    };

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedRow(), 95999);
    EXPECT_EQ(selected(), 95999);
    EXPECT_EQ(grid->TopRow(), 96000 - page);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(shown(grid), expected(grid, 96000 - page));
    EXPECT_EQ(shown(grid).back(), "ZH-96000");

    QTest::keyClick(grid, Qt::Key_PageUp);
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(selected(), 95999 - page - 1);
    EXPECT_EQ(grid->TopRow(), 95999 - page - 1); // scrolled as little as shows it whole

    // The wheel scrolls the rows; the selected row leaves the view and comes back selected.
    const int top = grid->TopRow();
    const QPoint centre = grid->viewport()->rect().center();
    QWheelEvent wheel(centre, grid->viewport()->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    EXPECT_EQ(grid->TopRow(), top - QApplication::wheelScrollLines());
    EXPECT_EQ(shown(grid), expected(grid, grid->TopRow()));
    bar->setValue(1000);
    EXPECT_EQ(shown(grid), expected(grid, 1000));
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(grid->SelectedRow(), top);
    bar->setValue(top - 2);
    EXPECT_EQ(selected(), top);

    // A sort shows the first row at the top, selected.
    ClickHeader(grid, RaColumn);
    EXPECT_EQ(grid->TopRow(), 0);
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(shown(grid), expected(grid, 0));

    // A new filtered list starts at its top, wherever the last one was scrolled to.
    EditOption(14, 1, "0");
    EditOption(14, 2, "0");
    Filter();
    ASSERT_EQ(Rows(Filtered()), 96000);
    Filtered()->verticalScrollBar()->setValue(90000);
    EditOption(14, 1, "20000");
    Filter();
    ASSERT_GT(Rows(Filtered()), page);
    EXPECT_EQ(Filtered()->TopRow(), 0);
    EXPECT_EQ(Filtered()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(shown(Filtered()), expected(Filtered(), 0));

    bar->setValue(50000);
    EditRange(1, "1000", "1009", "1"); // 960 candidates
    Sweep();
    EXPECT_EQ(grid->TopRow(), 0);
    EXPECT_EQ(grid->SelectedRow(), -1);
    EXPECT_EQ(bar->maximum(), 960 - page);
    EXPECT_EQ(shown(grid), expected(grid, 0));
}

// Sorts and filters run on a worker thread: until they end the grid is not sorted, filtered or
// picked from again, which the status line says, and at the end the rows, marks, selection,
// buttons and status are those the optimization layer gives for the same clicks.
TEST_F(OptimizationPage, SortAndFilterWorkInTheBackgroundAndBlockWhatContradictsThem)
{
    Sweep();
    const TCandidateTable raw = Page()->Table(TCandidateList::Raw);
    Click("cbt_YHfanhui");
    const TPileInput inputBefore = Find<TInputPage>("MainFormLayer")->ReadPileInput();
    Click("cbt_YouHua");

    PressHeader(Raw(), RaColumn);
    ASSERT_TRUE(Page()->Busy());
    for (const char *button : {"cbt_YHcompute", "cbt_YHsaixuan", "cbt_YHsave", "cbt_YHfanhui"})
        EXPECT_FALSE(Button(button)->isEnabled()) << button;
    EXPECT_FALSE(Options()->isEnabled());
    EXPECT_FALSE(Find("pb_YH_jingdu")->isVisible()); // shown only after 200 ms
    EXPECT_EQ(Find<QProgressBar>("pb_YH_jingdu")->maximum(), 0); // busy, no measure
    PressHeader(Raw(), SizeDColumn);
    EXPECT_EQ(Text("lb_YHxingxi"), "正在排序，请稍候");
    DoubleClickRow(Raw(), 5, false);
    EXPECT_TRUE(Page()->isVisible()); // no pick-back
    Page()->WaitForWork();

    TCandidateTable expected = raw;
    TSortState state;
    const TSortClick click = ::ClickHeader(expected, state, CandidateColumn::Ra);
    EXPECT_EQ(Page()->Table(TCandidateList::Raw).order, expected.order);
    EXPECT_EQ(Page()->SortState().sortStateRa, 1);
    EXPECT_EQ(Page()->SortState().sortStateD, 0); // the blocked click did nothing
    EXPECT_EQ(Text("lb_YHxingxi"), ToQ(click.status));
    EXPECT_EQ(Header(Raw(), RaColumn), ToQ(click.raHeader));
    EXPECT_EQ(Header(Raw(), SizeDColumn), ToQ(click.dHeader));
    EXPECT_EQ(Raw()->selectionModel()->selectedRows(),
              QModelIndexList {Raw()->model()->index(0, 0)});
    EXPECT_FALSE(Button("cbt_YHcompute")->isEnabled()); // as the sweep left it
    EXPECT_TRUE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHfanhui")->isEnabled());
    EXPECT_TRUE(Options()->isEnabled());
    EXPECT_FALSE(Find("pb_YH_jingdu")->isVisible());

    EditOption(14, 1, "20000");
    EditOption(14, 2, "0");
    Click("cbt_YHsaixuan");
    ASSERT_TRUE(Page()->Busy());
    PressHeader(Raw(), RaColumn);
    EXPECT_EQ(Text("lb_YHxingxi"), "正在筛选，请稍候");
    Page()->WaitForWork();
    const TFilterResult filter = FilterCandidates(expected, Page()->Options());
    ASSERT_FALSE(filter.filtered.Empty());
    EXPECT_TRUE(Filtered()->isVisible());
    EXPECT_EQ(Page()->Table(TCandidateList::Filtered).order, filter.filtered.order);
    EXPECT_EQ(Text("lb_YHxingxi"), ToQ(filter.status));
    EXPECT_EQ(Page()->SortState().sortStateRa, 0);
    EXPECT_EQ(Header(Filtered(), RaColumn), "  Ra(kN)");
    EXPECT_FALSE(Button("cbt_YHsaixuan")->isEnabled());
    EXPECT_TRUE(Button("cbt_YHsave")->isEnabled());

    // Nothing reached the input page meanwhile.
    Click("cbt_YHfanhui");
    EXPECT_EQ(Find<TInputPage>("MainFormLayer")->ReadPileInput(), inputBefore);
}

} // namespace
