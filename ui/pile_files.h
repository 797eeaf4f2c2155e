#pragma once

#include "calculation.h"
#include "pile_input.h"
#include "pile_json.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMessageBox;
class QMimeData;
class QWidget;

// How a second open meets the piles already in the reports.
enum class TOpenChoice { Append, Replace, Cancel };

// The piles of the files an open reads, in order, with where each came from for the failure list.
struct TOpenedPiles
{
    std::vector<TPileInput> piles;
    std::vector<QString> origins; // per pile: "第N根桩" or, for several files, "a.json 第N根桩"
    TProjectInfo project; // of the last file that has one
};

// The pile files of the desktop program: choosing a file to open or save, reading only regular
// files (a pipe or a device would block), asking how an open meets the reports, calculating the
// piles of an open on a worker thread with a progress dialog and cancel, listing the failures, and
// writing the inputs of piles. It holds no reports and no page: the window applies what it gives.
class TPileFiles : public QObject
{
    Q_OBJECT

public:
    TPileFiles(QWidget *window, std::function<std::filesystem::path()> documentsFolder);
    ~TPileFiles() override;

    // Which file "打开" (save false) or "保存数据" (save true) takes, from a proposed path; an
    // empty text when the user cancels. A file dialog in the documents folder unless replaced.
    using TFileChooser = std::function<QString(bool save, const QString &proposed)>;
    void SetFileChooser(TFileChooser chooser) { m_chooseFile = std::move(chooser); }
    QString ChooseOpenFile();
    QString ChooseSaveFile();

    // Where messages go: message boxes on the window unless replaced (the failure list's box
    // gives its main text).
    void SetMessageSink(std::function<void(const QString &)> sink) { m_sink = std::move(sink); }

    // The piles of the files, in order; nothing and one message per file that cannot be read.
    std::optional<TOpenedPiles> Read(const QStringList &paths);

    // Asked before an open while the reports hold piles. A message box unless replaced; it is
    // given the question's text.
    using TOpenQuestion = std::function<TOpenChoice(const QString &question)>;
    void SetOpenQuestion(TOpenQuestion question) { m_ask = std::move(question); }
    TOpenChoice AskHowToOpen(int pileCount, int unsavedReports);

    // Calculates the piles in order on a worker thread while the window keeps painting; past
    // ProgressDelay a progress dialog with "取消" shows. Returns the outcomes of the piles
    // calculated: all of them, or after a cancel those before it (a prefix of `piles`). Input
    // to the window waits until it returns.
    std::vector<TCalcOutcome> CalculateAll(const std::vector<TPileInput> &piles);
    // The worker's step before each pile (tests): called on the worker thread with the pile's
    // index.
    void SetWorkerStep(std::function<void(std::size_t index)> step) { m_step = std::move(step); }
    // Stops a running CalculateAll after the pile in progress, as "取消" does.
    void CancelCalculation();
    static constexpr int ProgressDelay = 200; // ms

    // The failures of an open, `第N根桩：message` a line: the first MaxListedFailures and the
    // count in the box, the whole list in its detail.
    void ShowFailures(const QStringList &failures);
    static constexpr int MaxListedFailures = 20;

    // The project and the inputs of the piles as a pile file at `path`, JSON or, for a name
    // ending in .csv, a table (which has no project); the system's message when the file could not
    // be written (an older file then stays).
    static std::optional<std::string> Save(const QString &path, const TPileDocument &document);

    // The pile files of a drag, every one named .json or .csv; empty for anything else.
    static QStringList DroppedFiles(const QMimeData *data);

private:
    void ShowError(const QString &text);

    QWidget *m_window;
    std::function<std::filesystem::path()> m_documentsFolder;
    TFileChooser m_chooseFile;
    std::function<void(const QString &)> m_sink;
    TOpenQuestion m_ask;
    std::function<void(std::size_t)> m_step;
    std::shared_ptr<std::atomic_bool> m_stop;
};

// Of the piles before the last one, those whose calculation on the input page would still show
// there after the rest of `outcomes` had followed: the rows and result cells of the layer grids
// that later piles leave as they are (a pile without soil layers leaves the soil grid alone, a
// failure leaves the cells the run did not reach). Ascending, the pile before the last always
// among them, so that showing these and then the last through the page gives the page that
// pressing every pile through it gives.
std::vector<std::size_t> PilesShapingThePage(const std::vector<TPileInput> &piles,
                                             const std::vector<TCalcOutcome> &outcomes);

// The failure list's box, not yet shown.
std::unique_ptr<QMessageBox> FailureBox(QWidget *parent, const QString &title,
                                        const QStringList &failures);
// The question before an open: "追加" (the default), "替换" and "取消" (also Esc).
std::unique_ptr<QMessageBox> OpenQuestionBox(QWidget *parent, const QString &title,
                                             const QString &question);
// The question's text for the reports as they stand.
QString OpenQuestionText(int pileCount, int unsavedReports);
