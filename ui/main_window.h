#pragma once

// The program in one window. TVXR_FRM_MDLF1 holds three full-size pages, one shown at a time:
//   TInputPage (MainFormLayer)         - the pile's input, "计算", the result display, status line
//   TResultsPage (JieGuo_DocLayer)     - the calculation book and the summary table, save, delete
//   TOptimizationPage (YouHuaFormLayer)- the optimization design: options table, candidate grids;
//                                        sweeps and candidate files run on a worker thread
// and the program-wide state: UnsavedReports, OptimizationMode, SortStateD, SortStateRa, with
// PileCount kept by the reports object. cbt_computeClick is the single entry of a calculation: it
// reads the input page into a TPileInput, runs Calculate (core/), shows the outcome on the input
// page and, outside the optimization, adds the pile to TPileReports (reports/). The about box
// TVXR_CZL_FRM_CopyRight is made on first use and kept.

#include "optimization_page.h"
#include "storage_permission.h"

#include "pile_reports.h"

#include <QWidget>

#include <filesystem>
#include <functional>

class TInputPage;
class TResultsPage;
class TScaledLayer;
class TVXR_CZL_FRM_CopyRight;

class TVXR_FRM_MDLF1 : public QWidget
{
    Q_OBJECT

public:
    // With `scale` 0 the window fits itself to the screen: full size where the screen is tall
    // enough, uniformly smaller where it is not.
    explicit TVXR_FRM_MDLF1(double scale = 0);
    ~TVXR_FRM_MDLF1() override;

    // The compute command; true when the calculation succeeded.
    bool cbt_computeClick();

    int PileCount() const { return m_reports.PileCount(); }
    int UnsavedReports() const { return m_unsavedReports; }
    int OptimizationMode() const { return m_optimizationMode; }
    const TPileReports &Reports() const { return m_reports; }
    double Scale() const { return m_scale; }
    TVXR_CZL_FRM_CopyRight *AboutBox() const { return m_aboutBox; }

    // Where saved files go and how messages are shown; the documents folder and a message box
    // (an error box for a text that is not a number) unless replaced.
    void SetDocumentsFolder(std::function<std::filesystem::path()> folder);
    void SetMessageSink(std::function<void(const QString &)> sink);

    // The result handler of the storage permission: writes the page on show to its file.
    void SaveResults(const QStringList &permissions,
                     const std::vector<StoragePermission::TGrant> &grants);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void cbt_ViewClick();
    void cbt_ExitClick();
    void cbt_YouHuaClick();
    void cbt_YHfanhuiClick();
    void cbt_CopyRightClick();
    void cbt_SaveClick();
    void cbt_sanchuClick();
    void cbt_YHcomputeClick();
    void SweepFinished();
    void cbt_YHsaixuanClick();
    void Grid_YouhuaHeaderClick(TCandidateList list, int column);
    void Grid_YouhuaCellDblClick(TCandidateList list, int row);
    void SaveCandidates();
    void CandidatesSaved();
    void DisplayRationale(const QStringList &permissions, const std::function<void()> &next);
    void ShowMessage(const QString &text);
    void ShowError(const QString &text);

    // The program-wide state; PileCount lives in the reports.
    int m_unsavedReports = 0;
    int m_optimizationMode = 0;
    int m_sortStateD = 0;
    int m_sortStateRa = 0;

    double m_scale = 1;
    TPileReports m_reports;
    TInputPage *MainFormLayer;
    TResultsPage *JieGuo_DocLayer;
    TOptimizationPage *YouHuaFormLayer;
    TScaledLayer *ComFormLayer;
    TVXR_CZL_FRM_CopyRight *m_aboutBox = nullptr; // made on first use
    std::function<std::filesystem::path()> m_documentsFolder;
    std::function<void(const QString &)> m_showMessage;
};
