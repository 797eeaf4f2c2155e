#pragma once

#include "scaled_layer.h"

#include "calculation.h"
#include "candidate.h"
#include "candidate_filter.h"
#include "candidate_sort.h"
#include "opt_options.h"
#include "pile_input.h"

#include <QElapsedTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class TBackgroundTask;
class TCandidateGrid;
class TOptionsGrid;
class TSweepRunner;

// The two candidate grids: the raw candidates of the last sweep and those the filter kept.
enum class TCandidateList { Raw, Filtered };

struct TSweepResult;

// The optimization page YouHuaFormLayer: the options table, the two candidate grids in one place
// (one shown at a time), the progress of a running sweep, its buttons and its status line. The page
// runs its own workflow against the optimization layer: the sweep, the filter, the sort with the
// sort state SortStateD and SortStateRa, the pick-back and the candidate files. What it needs of
// the input page comes through the reader it is handed; what it gives the input page goes out as
// CandidateCalculated and CandidatePicked, and its messages as MessageRaised and ErrorRaised.
class TOptimizationPage : public TScaledLayer
{
    Q_OBJECT

public:
    explicit TOptimizationPage(QWidget *parent);
    ~TOptimizationPage() override; // waits for a running sweep (cancelled) or save

    // The input page as a sweep starts from it: with every row its soil grid holds.
    void SetInputReader(std::function<TPileInput()> reader) { m_readInput = std::move(reader); }

    // The options table as typed.
    const TOptionTable &Options() const;

    bool SweepRunning() const;
    // Writes the grid on show to its file in `folder` on a worker thread while the page waits,
    // with the soil layers of the input page for the appendix; nothing when no grid on show has
    // rows. Once the file is written "存盘" is disabled and the status line names the file; a
    // failure raises the system's message and changes nothing.
    void SaveCandidates(const std::filesystem::path &folder, const std::string &timeStamp,
                        const std::vector<TSoilLayer> &soilLayers);
    // A sweep, a save, a sort or a filter is running.
    bool Busy() const;
    // Blocks until running work has ended and the page has shown its end (tests, measurements).
    void WaitForWork();

    const TCandidateTable &Table(TCandidateList list) const;
    bool Shown(TCandidateList list) const;
    const TSortState &SortState() const { return m_sortState; }

    // The notice that a calculation run from this page stopped; the input page shows why.
    void ShowAbortNotice();

signals:
    void SaveRequested();
    void BackRequested();
    // The input page is to show the last candidate a sweep calculated, or the one that failed,
    // and its calculation.
    void CandidateCalculated(const TPileInput &input, const TCalcOutcome &outcome);
    // The input page is to show this picked candidate, and the page is left.
    void CandidatePicked(const TPileInput &input);
    void MessageRaised(const QString &text); // a message box
    void ErrorRaised(const QString &text); // an error box

private:
    TCandidateGrid *Grid(TCandidateList list) const;
    void SetStatus(const QString &text, const QColor &colour);
    void ResetRaHeaders();
    void StartSweep();
    void ShowSweep(TSweepResult sweep);
    void cbt_YHcomputeClick();
    void cbt_YHsaixuanClick();
    void Grid_YouhuaHeaderClick(TCandidateList list, int column);
    void Grid_YouhuaCellDblClick(TCandidateList list, int row);
    void cbt_zhangkaiClick();
    void Grid1_YouhuaxuanxiangEditingDone(int row, int column);
    // The work that runs on a worker thread while the page waits.
    enum class TWork { None, Sweep, Save, Sort, Filter };
    void HoldControls(TWork work);
    void ReleaseControls();
    // An action the running work would contradict: it is not carried out, and the status line
    // says what the page is waiting for until the work ends.
    void ReportBlocked();
    // Sorts and filters run on a worker thread; `end` shows their result once it has ended.
    void StartArranging(TWork work, std::function<void()> job, std::function<void()> end);
    void ShowSortClick(TCandidateList list, const TSortClick &click);
    void ShowFilter(TFilterResult filter);
    void ShowProgress();
    void EndRun();
    void EndSave();
    using TSaveJob = std::function<std::optional<std::string>()>;
    void StartSave(TSaveJob job);

    QLabel *lb_youhuabiaoti;
    TOptionsGrid *Grid1_Youhuaxuanxiang;
    TCandidateGrid *Grid2_Youhuajieguo;
    TCandidateGrid *Grid3_Youhuasaixuan;
    QProgressBar *pb_YH_jingdu;
    QLabel *lb_huzhu;
    QPushButton *cbt_zhangkai;
    QPushButton *cbt_YHcompute;
    QPushButton *cbt_YHsaixuan;
    QPushButton *cbt_manzuhezai; // pressed: the filter keeps only what carries the page's N
    QPushButton *cbt_YHsave;
    QPushButton *cbt_YHfanhui;
    QLabel *lb_YHxingxi;

    std::function<TPileInput()> m_readInput;
    TSortState m_sortState; // shared by both grids
    bool m_detailsShown = false; // cbt_zhangkai shows "折叠" while the detail columns are shown
    TSweepRunner *m_runner;
    TBackgroundTask *m_saver;
    TBackgroundTask *m_arranger; // sorts and filters
    std::function<void()> m_arrangedEnd;
    // What the sort or filter on the worker gives, read once it has ended.
    struct TSorted
    {
        TCandidateTable table;
        TSortState state;
        TSortClick click;
    };
    std::unique_ptr<TSorted> m_sorted;
    std::unique_ptr<TFilterResult> m_filtered;
    TWork m_work = TWork::None;
    std::optional<std::string> m_saveError;
    QString m_savePath; // of the file being saved
    QTimer *m_progressTimer;
    QElapsedTimer m_runClock;
    // The status line and the enabled states of the buttons before the work, given back when it
    // ends.
    QString m_statusBefore;
    QColor m_statusColourBefore;
    bool m_computeWasEnabled = true;
    bool m_filterWasEnabled = false;
    bool m_saveWasEnabled = false;
};
