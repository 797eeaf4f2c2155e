#pragma once

// The program in one window. TVXR_FRM_MDLF1 holds three full-size pages, one shown at a time:
//   TInputPage (MainFormLayer)         - the pile's input, "计算", the result display, status line
//   TResultsPage (JieGuo_DocLayer)     - the calculation book and the summary table, save, delete
//   TOptimizationPage (YouHuaFormLayer)- the optimization design: options table, candidate grids,
//                                        sweep, filter, sort, pick-back; sweeps and candidate files
//                                        run on a worker thread
// and the program-wide state: UnsavedReports and OptimizationMode, with PileCount kept by the
// reports object and SortStateD and SortStateRa by the optimization page, the only one that reads
// them. The window hosts: it switches the pages, carries what one page gives another and holds the
// reports. cbt_computeClick is the single entry of a calculation: it reads the input page into a
// TPileInput, runs Calculate (core/), shows the outcome on the input page and, outside the
// optimization, adds the pile to TPileReports (reports/). The about box TVXR_CZL_FRM_CopyRight is
// made on first use and kept. "打开" and "保存数据" beside "©" open a pile file (piles/) as presses
// of "计算" and save the inputs of the piles in the reports; TPileFiles does the file work (the
// dialogs, reading, the calculation of an open on a worker thread, the failure list), the window
// applies what an open gives to the reports and the page.

#include "storage_permission.h"

#include "pile_reports.h"
#include "project_info.h"

#include <QWidget>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TCalcOutcome;
class QMimeData;
class TInputPage;
class TOptimizationPage;
class TPileFiles;
struct TOpenedPiles;
class TResultsPage;
class TScaledLayer;
class TVXR_CZL_FRM_CopyRight;
class QPrinter;

// The scale at which the window's design fits a screen area of `available` logical pixels with
// its title bar: smaller where the area is small, larger where it allows.
double FittingScale(const QSize &available);

class TVXR_FRM_MDLF1 : public QWidget
{
    Q_OBJECT

public:
    // With `scale` 0 the window fits itself to the screen (FittingScale): uniformly larger or
    // smaller than its design as the screen allows.
    explicit TVXR_FRM_MDLF1(double scale = 0);
    ~TVXR_FRM_MDLF1() override;

    // The compute command on the input page as it stands; true when the calculation succeeded.
    // Outside the optimization a success adds the pile to the reports.
    bool cbt_computeClick();

    // Opens a pile file as "打开" does, as consecutive presses of "计算" for its piles in order:
    // they are calculated on a worker thread (a progress dialog with "取消" past a moment), go to
    // the reports, and the page shows the last one through its own controls; the failures, if
    // any, are listed as 第N根桩：message. While the reports hold piles the user is asked first
    // whether to append, replace them or cancel. A cancel of the calculation keeps the piles
    // calculated before it, as if the file had ended there. A file that cannot be read, or is no
    // regular file, changes nothing and says why; false then, and when the user cancels.
    bool OpenPileFile(const QString &path);
    // Several files as one open: their piles in order, one question, one failure list (each
    // failure with its file's name); nothing opens unless every file can be read.
    bool OpenPileFiles(const QStringList &paths);
    // What "保存数据" writes to `path`: the inputs of the piles in the reports, or the input
    // page's pile when there are none; JSON or, for a name ending in .csv, a table. Gives the
    // system's message when the file could not be written (an older file then stays).
    std::optional<std::string> SavePileFile(const QString &path);
    // The program's arguments: the files given after the program's name open as one.
    void OpenStartArguments(const QStringList &arguments);
    // The inputs of the piles in the reports, ZH1 first.
    std::vector<TPileInput> ReportedInputs() const;

    // The project of the printed book's cover and headers: edited with "项目" on the results page,
    // saved by "保存数据" into a JSON file and read back by "打开" (a file with a project replaces
    // it, one without leaves it).
    const TProjectInfo &Project() const { return m_project; }
    void SetProject(const TProjectInfo &project) { m_project = project; }

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
    // Where the time stamps of the reports and the saved files come from: the system clock unless
    // replaced (a fixed moment makes the reports comparable with stored ones). It is asked at each
    // calculation that goes to the reports and at each save of a candidate list.
    using TClock = std::function<std::chrono::system_clock::time_point()>;
    void SetClock(TClock clock);
    // Which file "打开" (save false) or "保存数据" (save true) takes, from a proposed path; an
    // empty text when the user cancels. A file dialog in the documents folder unless replaced.
    using TFileChooser = std::function<QString(bool save, const QString &proposed)>;
    void SetFileChooser(TFileChooser chooser);

    // The result handler of the storage permission: writes the page on show to its file.
    void SaveResults(const QStringList &permissions,
                     const std::vector<StoragePermission::TGrant> &grants);
    // The same for the PDF button: the report on show as a PDF beside the text files.
    void SavePdf(const QStringList &permissions,
                 const std::vector<StoragePermission::TGrant> &grants);
    // How printing asks for a printer: the system's print dialog unless replaced; true to print.
    using TPrintDialog = std::function<bool(QPrinter &printer)>;
    void SetPrintDialog(TPrintDialog dialog);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Pile files dropped onto the window while the input page is shown are opened as one.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cbt_ViewClick();
    void cbt_ExitClick();
    void cbt_YouHuaClick();
    void cbt_YHfanhuiClick();
    void cbt_CopyRightClick();
    void cbt_SaveClick();
    void cbt_sanchuClick();
    void cbt_dakaiClick();
    void cbt_baocunshujuClick();
    // A failure also sets the optimization page's abort notice, unless `abortNotice` is false.
    TCalcOutcome ComputeOnPage(bool abortNotice = true);
    QStringList DroppedPileFiles(const QMimeData *data) const;
    void ShowOpenedOnPage(const TOpenedPiles &opened, const std::vector<TCalcOutcome> &outcomes);
    void cbt_PdfClick();
    void cbt_xiangmuClick();
    void act_PrintTriggered();
    void ShowSweepCandidate(const TPileInput &input, const TCalcOutcome &outcome);
    void ShowPickedCandidate(const TPileInput &input);
    std::string TimeStamp() const;
    void DisplayRationale(const QStringList &permissions, const std::function<void()> &next);
    // Asks for the storage permission, then hands its answer to `save` (a text or PDF save).
    using TGrantHandler = void (TVXR_FRM_MDLF1::*)(const QStringList &,
                                                   const std::vector<StoragePermission::TGrant> &);
    void RequestStorage(TGrantHandler save);
    void ShowMessage(const QString &text);
    void ShowError(const QString &text);

    // The program-wide state; PileCount lives in the reports, the sort state on the optimization
    // page.
    int m_unsavedReports = 0;
    int m_optimizationMode = 0;

    double m_scale = 1;
    TPileReports m_reports;
    TProjectInfo m_project;
    TInputPage *MainFormLayer;
    TResultsPage *JieGuo_DocLayer;
    TOptimizationPage *YouHuaFormLayer;
    TScaledLayer *ComFormLayer;
    TPileFiles *m_pileFiles; // opening and saving pile files
    TVXR_CZL_FRM_CopyRight *m_aboutBox = nullptr; // made on first use
    std::function<std::filesystem::path()> m_documentsFolder;
    std::function<void(const QString &)> m_showMessage;
    TClock m_clock;
    TPrintDialog m_printDialog;
    QString m_printFile; // what the print dialog proposes for "Print to File"
};
