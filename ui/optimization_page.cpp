#include "optimization_page.h"

#include "background_task.h"
#include "candidate_grid.h"
#include "candidate_model.h"
#include "colours.h"
#include "options_table.h"
#include "qt_text.h"
#include "saved_file_note.h"
#include "sweep_runner.h"

#include "candidate_file.h"
#include "candidate_filter.h"
#include "file_names.h"
#include "messages.h"
#include "pick_back.h"
#include "sweep.h"
#include "text_file.h"

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

// A sweep shorter than this ends before its progress bar would be worth showing.
constexpr int ProgressDelay = 200; // ms
constexpr int ProgressPeriod = 50; // ms

// What an action that the running work would contradict is answered with.
QString WaitingText(bool sweep, bool save, bool sort)
{
    if (sweep)
        return "正在计算，请稍候";
    if (save)
        return "正在存盘，请稍候";
    return sort ? "正在排序，请稍候" : "正在筛选，请稍候";
}

} // namespace

TOptimizationPage::TOptimizationPage(QWidget *parent)
    : TScaledLayer("YouHuaFormLayer", QSize(380, 800), parent)
    , m_runner(new TSweepRunner(this))
    , m_saver(new TBackgroundTask(this))
    , m_arranger(new TBackgroundTask(this))
    , m_progressTimer(new QTimer(this))
{
    lb_youhuabiaoti = new QLabel("嵌岩桩优化设计", this);
    lb_youhuabiaoti->setObjectName("lb_youhuabiaoti");
    lb_youhuabiaoti->setAlignment(Qt::AlignCenter);
    QPalette palette = lb_youhuabiaoti->palette();
    palette.setColor(QPalette::WindowText, QColor(0x8A, 0x2B, 0xE2));
    lb_youhuabiaoti->setPalette(palette);
    Place(lb_youhuabiaoti, 48, 2, 280, 33);
    SetFontPixels(lb_youhuabiaoti, 24);

    Grid1_Youhuaxuanxiang = new TOptionsGrid(this);
    Place(Grid1_Youhuaxuanxiang, 5, 40, 370, 400);
    Grid2_Youhuajieguo = new TCandidateGrid("Grid2_Youhuajieguo", this);
    Grid3_Youhuasaixuan = new TCandidateGrid("Grid3_Youhuasaixuan", this);
    for (TCandidateGrid *grid : {Grid2_Youhuajieguo, Grid3_Youhuasaixuan}) {
        Place(grid, 5, 444, 370, 260);
        OnScale([grid](double scale) { grid->SetScale(scale); });
    }
    OnScale([this](double scale) { Grid1_Youhuaxuanxiang->SetScale(scale); });
    // The load filter stands over the Ra row's empty step cell, beside the Ra window; it is no
    // cell widget of the table, whose cells stay as they are.
    cbt_manzuhezai = new QPushButton("满足荷载", Grid1_Youhuaxuanxiang->viewport());
    cbt_manzuhezai->setObjectName("cbt_manzuhezai");
    cbt_manzuhezai->setCheckable(true);
    cbt_manzuhezai->setProperty("small", true);
    cbt_manzuhezai->setToolTip("筛选时只保留 γR·Ra 满足输入页桩顶轴力N 的桩");
    SetFontPixels(cbt_manzuhezai, 10);
    const auto placeLoadFilter = [this] {
        cbt_manzuhezai->setGeometry(Grid1_Youhuaxuanxiang->visualRect(
            Grid1_Youhuaxuanxiang->model()->index(OptionRow::RaWindow, 3)));
    };
    OnScale([placeLoadFilter](double) { placeLoadFilter(); });
    for (QHeaderView *header :
         {Grid1_Youhuaxuanxiang->horizontalHeader(), Grid1_Youhuaxuanxiang->verticalHeader()}) {
        connect(header, &QHeaderView::sectionResized, this, placeLoadFilter);
        connect(header, &QHeaderView::geometriesChanged, this, placeLoadFilter);
    }
    placeLoadFilter();
    Grid3_Youhuasaixuan->hide();

    pb_YH_jingdu = new QProgressBar(this);
    pb_YH_jingdu->setObjectName("pb_YH_jingdu");
    pb_YH_jingdu->setRange(0, 100);
    pb_YH_jingdu->setValue(0);
    pb_YH_jingdu->setTextVisible(false);
    Place(pb_YH_jingdu, 28, 648, 280, 10);
    pb_YH_jingdu->hide();

    lb_huzhu = new QLabel("1、点击表头排序   2、双击获取数据", this);
    lb_huzhu->setObjectName("lb_huzhu");
    Place(lb_huzhu, 18, 704, 260, 25);

    cbt_zhangkai = AddButton(this, "cbt_zhangkai", "展开", 318, 704, 40, 25);
    cbt_zhangkai->setProperty("small", true);
    cbt_YHcompute = AddButton(this, "cbt_YHcompute", "计算", 32, 732, 70, 33);
    cbt_YHsaixuan = AddButton(this, "cbt_YHsaixuan", "筛选", 112, 732, 70, 33);
    cbt_YHsaixuan->setEnabled(false);
    cbt_YHsave = AddButton(this, "cbt_YHsave", "存盘", 192, 732, 70, 33);
    cbt_YHsave->setEnabled(false);
    cbt_YHfanhui = AddButton(this, "cbt_YHfanhui", "返回", 272, 732, 70, 33);

    lb_YHxingxi = new QLabel(this);
    lb_YHxingxi->setObjectName("lb_YHxingxi");
    Place(lb_YHxingxi, 10, 770, 360, 25);

    connect(cbt_YHcompute, &QPushButton::clicked, this, &TOptimizationPage::cbt_YHcomputeClick);
    connect(cbt_YHsaixuan, &QPushButton::clicked, this, &TOptimizationPage::cbt_YHsaixuanClick);
    // The load filter changes what "筛选" keeps, as an edit of the Ra row does.
    connect(cbt_manzuhezai, &QPushButton::toggled, this,
            [this] { cbt_YHsaixuan->setEnabled(true); });
    connect(cbt_YHsave, &QPushButton::clicked, this, &TOptimizationPage::SaveRequested);
    connect(cbt_YHfanhui, &QPushButton::clicked, this, &TOptimizationPage::BackRequested);
    connect(cbt_zhangkai, &QPushButton::clicked, this, &TOptimizationPage::cbt_zhangkaiClick);
    connect(Grid1_Youhuaxuanxiang, &TOptionsGrid::EditingDone, this,
            &TOptimizationPage::Grid1_YouhuaxuanxiangEditingDone);
    for (const TCandidateList list : {TCandidateList::Raw, TCandidateList::Filtered}) {
        // While work runs the grids are not to be sorted or picked from.
        connect(Grid(list), &TCandidateGrid::HeaderClicked, this, [this, list](int column) {
            if (Busy())
                ReportBlocked();
            else
                Grid_YouhuaHeaderClick(list, column);
        });
        connect(Grid(list), &TCandidateGrid::RowDoubleClicked, this, [this, list](int row) {
            if (Busy())
                ReportBlocked();
            else
                Grid_YouhuaCellDblClick(list, row);
        });
    }
    connect(m_runner, &TSweepRunner::Finished, this, &TOptimizationPage::EndRun);
    connect(m_saver, &TBackgroundTask::Finished, this, &TOptimizationPage::EndSave);
    connect(m_arranger, &TBackgroundTask::Finished, this, [this] {
        ReleaseControls();
        const std::function<void()> end = std::move(m_arrangedEnd);
        end();
    });
    connect(m_progressTimer, &QTimer::timeout, this, &TOptimizationPage::ShowProgress);
}

TOptimizationPage::~TOptimizationPage()
{
    // Their workers write into this page's members, which must outlive them.
    delete m_runner;
    delete m_saver;
    delete m_arranger;
}

const TOptionTable &TOptimizationPage::Options() const
{
    return Grid1_Youhuaxuanxiang->Table();
}

TCandidateGrid *TOptimizationPage::Grid(TCandidateList list) const
{
    return list == TCandidateList::Raw ? Grid2_Youhuajieguo : Grid3_Youhuasaixuan;
}

const TCandidateTable &TOptimizationPage::Table(TCandidateList list) const
{
    return Grid(list)->Model()->Table();
}

bool TOptimizationPage::Shown(TCandidateList list) const
{
    return !Grid(list)->isHidden();
}

void TOptimizationPage::SetStatus(const QString &text, const QColor &colour)
{
    QPalette palette = lb_YHxingxi->palette();
    palette.setColor(QPalette::WindowText, colour);
    lb_YHxingxi->setPalette(palette);
    lb_YHxingxi->setText(text);
    lb_YHxingxi->setToolTip({});
}

void TOptimizationPage::ShowAbortNotice()
{
    SetStatus(ToQ(Messages::AbortNotice), Colours::Error);
}

void TOptimizationPage::ResetRaHeaders()
{
    const QString header = ToQ(CandidateHeader(CandidateColumn::Ra));
    Grid2_Youhuajieguo->Model()->SetHeader(CandidateColumn::Ra, header);
    Grid3_Youhuasaixuan->Model()->SetHeader(CandidateColumn::Ra, header);
}

void TOptimizationPage::cbt_YHcomputeClick()
{
    if (SweepRunning())
        m_runner->Cancel(); // the button reads "取消" while a sweep runs
    else
        StartSweep();
}

void TOptimizationPage::HoldControls(TWork work)
{
    m_work = work;
    m_statusBefore = lb_YHxingxi->text();
    m_statusColourBefore = lb_YHxingxi->palette().color(QPalette::WindowText);
    m_computeWasEnabled = cbt_YHcompute->isEnabled();
    m_filterWasEnabled = cbt_YHsaixuan->isEnabled();
    m_saveWasEnabled = cbt_YHsave->isEnabled();
    cbt_YHcompute->setEnabled(work == TWork::Sweep); // "取消"
    cbt_YHsaixuan->setEnabled(false);
    cbt_YHsave->setEnabled(false);
    cbt_YHfanhui->setEnabled(false);
    Grid1_Youhuaxuanxiang->setEnabled(false);

    pb_YH_jingdu->hide();
    m_runClock.start();
    m_progressTimer->start(ProgressPeriod);
}

void TOptimizationPage::ReleaseControls()
{
    m_progressTimer->stop();
    pb_YH_jingdu->hide();
    cbt_YHcompute->setEnabled(m_computeWasEnabled);
    cbt_YHsaixuan->setEnabled(m_filterWasEnabled);
    cbt_YHsave->setEnabled(m_saveWasEnabled);
    cbt_YHfanhui->setEnabled(true);
    Grid1_Youhuaxuanxiang->setEnabled(true);
    SetStatus(m_statusBefore, m_statusColourBefore);
    m_work = TWork::None;
}

void TOptimizationPage::ReportBlocked()
{
    SetStatus(WaitingText(m_work == TWork::Sweep, m_work == TWork::Save, m_work == TWork::Sort),
              Colours::Note);
}

void TOptimizationPage::StartArranging(TWork work, std::function<void()> job,
                                       std::function<void()> end)
{
    HoldControls(work);
    pb_YH_jingdu->setRange(0, 0); // the bar only moves
    m_arrangedEnd = std::move(end);
    m_arranger->Start(std::move(job));
}

void TOptimizationPage::StartSweep()
{
    if (Busy())
        return;
    const TPileInput base = m_readInput ? m_readInput() : TPileInput {};
    // Both grids are emptied first, which also gives back the memory of the last sweep.
    Grid2_Youhuajieguo->Model()->Clear();
    Grid3_Youhuasaixuan->Model()->Clear();
    Grid2_Youhuajieguo->show();
    Grid3_Youhuasaixuan->hide();
    SetStatus(QString(), Colours::Note);

    // Nothing else of the page may run until the sweep has ended; "计算" offers to cancel it.
    HoldControls(TWork::Sweep);
    cbt_YHcompute->setText("取消");
    pb_YH_jingdu->setRange(0, 100);
    pb_YH_jingdu->setValue(0);
    m_runner->Start(Options(), base);
}

bool TOptimizationPage::SweepRunning() const
{
    return m_runner->Running();
}

void TOptimizationPage::StartSave(TSaveJob job)
{
    if (Busy())
        return;
    HoldControls(TWork::Save);
    pb_YH_jingdu->setRange(0, 0); // no measure of a file's progress: the bar only moves
    m_saveError.reset();
    m_saver->Start([this, job = std::move(job)] { m_saveError = job(); });
}

bool TOptimizationPage::Busy() const
{
    return m_runner->Running() || m_saver->Running() || m_arranger->Running();
}

void TOptimizationPage::WaitForWork()
{
    m_runner->Wait();
    m_saver->Wait();
    m_arranger->Wait();
}

void TOptimizationPage::ShowProgress()
{
    if (m_runClock.elapsed() < ProgressDelay)
        return;
    if (SweepRunning()) {
        const std::int64_t total = m_runner->Total();
        pb_YH_jingdu->setValue(total > 0 ? static_cast<int>(m_runner->Done() * 100 / total) : 0);
    }
    pb_YH_jingdu->show();
}

void TOptimizationPage::EndRun()
{
    ReleaseControls();
    cbt_YHcompute->setText("计算");
    TSweepResult sweep = m_runner->TakeResult();
    if (sweep.pageInput && sweep.pageOutcome) {
        // The input page shows the last candidate calculated, or the one that failed, and its
        // calculation, as if the sweep had run each one through "计算".
        emit CandidateCalculated(*sweep.pageInput, *sweep.pageOutcome);
    }
    if (sweep.end != TSweepEnd::OptionFailure && sweep.end != TSweepEnd::TooManyCandidates) {
        // The grid holds new rows in the order they were calculated, whether the sweep ended
        // or stopped.
        m_sortState = {};
    }
    const std::optional<std::string> errorBox = sweep.errorBox;
    ShowSweep(std::move(sweep));
    if (errorBox)
        emit ErrorRaised(ToQ(*errorBox));
}

void TOptimizationPage::SaveCandidates(const std::filesystem::path &folder,
                                       const std::string &timeStamp,
                                       const std::vector<TSoilLayer> &soilLayers)
{
    TCandidateFile file;
    if (Shown(TCandidateList::Raw) && !Table(TCandidateList::Raw).Empty())
        file.kind = TCandidateFileKind::Raw;
    else if (Shown(TCandidateList::Filtered) && !Table(TCandidateList::Filtered).Empty())
        file.kind = TCandidateFileKind::Filtered;
    else
        return;
    file.soilAppendix = WantsSoilAppendix(Options());
    file.soilLayers = soilLayers;
    file.timeStamp = timeStamp;
    // A list of a million rows takes seconds to write: the worker writes the rows as they stand,
    // which nothing changes while the page waits.
    file.table = &Table(file.kind == TCandidateFileKind::Raw ? TCandidateList::Raw
                                                             : TCandidateList::Filtered);
    m_savePath =
        PathToQ(FilePath(folder,
                         file.kind == TCandidateFileKind::Raw ? FileNames::RawCandidates
                                                              : FileNames::FilteredCandidates));
    StartSave([file = std::move(file), folder] { return SaveCandidateFile(folder, file); });
}

void TOptimizationPage::EndSave()
{
    ReleaseControls();
    if (m_saveError) {
        // "存盘" stays as it was, so the list can be saved again.
        emit MessageRaised(ToQ(*m_saveError));
        return;
    }
    cbt_YHsave->setEnabled(false);
    // However long the save took, the status line then says where the file went.
    SetStatus({}, Colours::Note);
    ShowSavedFile(lb_YHxingxi, "已存盘：", m_savePath);
}

void TOptimizationPage::ShowSweep(TSweepResult sweep)
{
    const std::size_t count = sweep.table.Size();
    Grid2_Youhuajieguo->Model()->SetTable(std::move(sweep.table));
    const QColor &colour = sweep.statusRed ? Colours::Error : Colours::Note;
    switch (sweep.end) {
    case TSweepEnd::Complete:
        SetStatus(ToQ(sweep.status), colour);
        cbt_YHcompute->setEnabled(false);
        if (count > 0) {
            cbt_YHsaixuan->setEnabled(true);
            cbt_YHsave->setEnabled(true);
        }
        ResetRaHeaders();
        break;
    case TSweepEnd::OptionFailure:
    case TSweepEnd::TooManyCandidates:
        SetStatus(ToQ(sweep.status), colour);
        break;
    case TSweepEnd::CandidateFailure:
        SetStatus(ToQ(sweep.status), colour);
        // The rows are new and unsorted: no sort mark may claim otherwise.
        ResetRaHeaders();
        break;
    case TSweepEnd::Cancelled:
        SetStatus("计算已取消，已算桩数：" + QString::number(count) + " 根", Colours::Note);
        ResetRaHeaders();
        break;
    }
}

void TOptimizationPage::cbt_YHsaixuanClick()
{
    if (Busy())
        return;
    // A bound that is not a number is answered at once, and nothing changes.
    const TWindowReading reading = ReadRaWindow(Options());
    if (!reading.window) {
        emit ErrorRaised(ToQ(reading.errorBox));
        return;
    }
    // With "满足荷载" the load of the input page's pile counts too; without one nothing changes.
    std::optional<TDesignLoad> load;
    if (cbt_manzuhezai->isChecked()) {
        const TLoadReading loadReading =
            ReadDesignLoad(m_readInput ? m_readInput() : TPileInput {});
        if (!loadReading.ok() || !loadReading.load) {
            emit ErrorRaised(
                ToQ(loadReading.ok() ? std::string(Messages::NoLoadToFilter) : loadReading.error));
            return;
        }
        load = loadReading.load;
    }
    // The raw rows stay as they are while the page waits.
    StartArranging(
        TWork::Filter,
        [this, options = Options(), raw = &Table(TCandidateList::Raw), load] {
            m_filtered = std::make_unique<TFilterResult>(FilterCandidates(*raw, options, load));
        },
        [this] {
            TFilterResult filter = std::move(*m_filtered);
            m_filtered.reset();
            ShowFilter(std::move(filter));
        });
}

void TOptimizationPage::ShowFilter(TFilterResult filter)
{
    if (filter.errorBox) {
        emit ErrorRaised(ToQ(*filter.errorBox));
        return;
    }
    m_sortState = {};
    const bool kept = !filter.filtered.Empty();
    Grid3_Youhuasaixuan->Model()->SetTable(std::move(filter.filtered));
    Grid3_Youhuasaixuan->show();
    Grid2_Youhuajieguo->hide();
    SetStatus(ToQ(filter.status), Colours::Note);
    cbt_YHsaixuan->setEnabled(false);
    cbt_YHsave->setEnabled(kept);
    Grid3_Youhuasaixuan->Model()->SetHeader(CandidateColumn::Ra,
                                            ToQ(CandidateHeader(CandidateColumn::Ra)));
}

void TOptimizationPage::Grid_YouhuaHeaderClick(TCandidateList list, int column)
{
    TCandidateGrid *grid = Grid(list);
    const TCandidateTable &table = Table(list);
    if (table.Size() < 2 || (column != CandidateColumn::SizeD && column != CandidateColumn::Ra)) {
        // Nothing to sort: answered at once.
        ShowSortClick(list, grid->Model()->ClickHeader(m_sortState, column));
        return;
    }
    // The worker sorts a copy of the rows' order while the grid keeps showing them.
    StartArranging(
        TWork::Sort,
        [this, column, state = m_sortState, source = &table] {
            auto sorted = std::make_unique<TSorted>(TSorted {*source, state, {}});
            sorted->click = ::ClickHeader(sorted->table, sorted->state, column);
            m_sorted = std::move(sorted);
        },
        [this, list] {
            const std::unique_ptr<TSorted> sorted = std::move(m_sorted);
            Grid(list)->Model()->SetOrder(std::move(sorted->table));
            m_sortState = sorted->state;
            ShowSortClick(list, sorted->click);
        });
}

void TOptimizationPage::ShowSortClick(TCandidateList list, const TSortClick &click)
{
    TCandidateGrid *grid = Grid(list);
    SetStatus(ToQ(click.status), Colours::Note);
    if (click.sorted)
        cbt_YHsave->setEnabled(true);
    if (click.setHeaders) {
        grid->Model()->SetHeader(CandidateColumn::SizeD, ToQ(click.dHeader));
        grid->Model()->SetHeader(CandidateColumn::Ra, ToQ(click.raHeader));
    }
    if (click.selectFirstRow)
        grid->SelectFirstRow();
}

void TOptimizationPage::Grid_YouhuaCellDblClick(TCandidateList list, int row)
{
    const TCandidateTable &table = Table(list);
    if (row < 0 || static_cast<std::size_t>(row) >= table.Size())
        return;
    const TPileInput page = m_readInput ? m_readInput() : TPileInput {};
    emit CandidatePicked(PickedInput(PickBack(table.Row(row), table.context), page));
}

void TOptimizationPage::cbt_zhangkaiClick()
{
    m_detailsShown = !m_detailsShown;
    Grid2_Youhuajieguo->ShowDetailColumns(m_detailsShown);
    Grid3_Youhuasaixuan->ShowDetailColumns(m_detailsShown);
    Grid1_Youhuaxuanxiang->ShowNoteColumn(m_detailsShown);
    cbt_zhangkai->setText(m_detailsShown ? "折叠" : "展开");
}

void TOptimizationPage::Grid1_YouhuaxuanxiangEditingDone(int row, int column)
{
    if (!IsEditableOptionCell(row, column))
        return;
    if (row == OptionRow::RaWindow)
        cbt_YHsaixuan->setEnabled(true);
    else
        cbt_YHcompute->setEnabled(true);
}
