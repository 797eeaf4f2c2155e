#pragma once

#include "scaled_layer.h"

#include "candidate_filter.h"
#include "candidate_sort.h"
#include "opt_options.h"
#include "pile_input.h"
#include "sweep.h"

#include <QElapsedTimer>

#include <functional>
#include <optional>
#include <string>

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

// The optimization page YouHuaFormLayer: the options table, the two candidate grids in one place
// (one shown at a time), the progress of a running sweep, its buttons and its status line. The page
// keeps its own controls; what touches the program-wide state or the input page (the sweep's start
// and end, the filter, a sort, a pick-back, saving) it asks of the main window.
class TOptimizationPage : public TScaledLayer
{
    Q_OBJECT

public:
    explicit TOptimizationPage(QWidget *parent);
    ~TOptimizationPage() override; // waits for a running sweep (cancelled) or save

    // The options table as typed.
    const TOptionTable &Options() const;

    // Empties both grids, shows the raw one and starts the sweep from `base` on a worker thread;
    // "计算" reads "取消" and the other buttons wait until SweepFinished.
    void StartSweep(const TPileInput &base);
    bool SweepRunning() const;
    // Writes a candidate file on a worker thread while the page waits; the job gives the system's
    // message on failure. SaveFinished follows.
    using TSaveJob = std::function<std::optional<std::string>()>;
    void StartSave(TSaveJob job);
    const std::optional<std::string> &SaveError() const { return m_saveError; }
    // A sweep or a save is running.
    bool Busy() const;
    // Blocks until a running sweep or save has ended and its signal was emitted (tests,
    // measurements).
    void WaitForWork();
    // The ended sweep, once, for the main window to show with ShowSweep.
    TSweepResult TakeSweepResult();
    // The candidates, the status line and the buttons as the sweep left them.
    void ShowSweep(TSweepResult sweep);

    void ShowFilter(TFilterResult filter);
    // Sorts or reverses the grid by the clicked header, with its status, headers and selection.
    void ClickHeader(TCandidateList list, TSortState &state, int column);

    const TCandidateTable &Table(TCandidateList list) const;
    bool Shown(TCandidateList list) const;
    void EnableSave(bool enabled);

    // The notice that a calculation run from this page stopped; the input page shows why.
    void ShowAbortNotice();

signals:
    void ComputeRequested();
    void FilterRequested();
    void SaveRequested();
    void BackRequested();
    void SweepFinished();
    void SaveFinished();
    void HeaderClicked(TCandidateList list, int column);
    void RowDoubleClicked(TCandidateList list, int row);

private:
    TCandidateGrid *Grid(TCandidateList list) const;
    void SetStatus(const QString &text, const QColor &colour);
    void ResetRaHeaders();
    void cbt_YHcomputeClick();
    void cbt_zhangkaiClick();
    void Grid1_YouhuaxuanxiangEditingDone(int row, int column);
    void HoldControls(bool keepCompute);
    void ReleaseControls();
    void ShowProgress();
    void EndRun();
    void EndSave();

    QLabel *lb_youhuabiaoti;
    TOptionsGrid *Grid1_Youhuaxuanxiang;
    TCandidateGrid *Grid2_Youhuajieguo;
    TCandidateGrid *Grid3_Youhuasaixuan;
    QProgressBar *pb_YH_jingdu;
    QLabel *lb_huzhu;
    QPushButton *cbt_zhangkai;
    QPushButton *cbt_YHcompute;
    QPushButton *cbt_YHsaixuan;
    QPushButton *cbt_YHsave;
    QPushButton *cbt_YHfanhui;
    QLabel *lb_YHxingxi;

    TSweepRunner *m_runner;
    TBackgroundTask *m_saver;
    std::optional<std::string> m_saveError;
    QTimer *m_progressTimer;
    QElapsedTimer m_runClock;
    // The enabled states of the buttons before a sweep or a save, given back when it ends.
    bool m_computeWasEnabled = true;
    bool m_filterWasEnabled = false;
    bool m_saveWasEnabled = false;
};
