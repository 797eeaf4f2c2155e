#include "pile_files.h"

#include "qt_text.h"
#include "results_page.h"

#include "pile_file.h"
#include "pile_file_error.h"
#include "text_file.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPromise>
#include <QPushButton>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool IsPileFileName(const QString &path)
{
    return PileFileFormatOf(ToStd(path)) == TPileFileFormat::Csv
        || path.endsWith(".json", Qt::CaseInsensitive);
}

constexpr const char *NotARegularFile = "：不是普通文件（管道、设备或文件夹不能打开）";

std::string SystemMessage(int error)
{
    return std::generic_category().message(error);
}

// The bytes of a pile file that is a regular file. A pipe or a device is refused before anything
// is read from it (opening one waits for a writer); the file is opened without waiting and checked
// again once open, so that nothing put in its place meanwhile blocks either. Null for anything but
// a regular file.
std::optional<std::string> ReadRegularFile(const std::string &path)
{
#ifdef _WIN32
    std::error_code error;
    const auto status = std::filesystem::status(FilePath({}, path), error);
    if (!error && status.type() != std::filesystem::file_type::regular)
        return std::nullopt;
    return ReadInputText(path);
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw TPileFileError(path + ": cannot be opened: " + SystemMessage(errno));
    struct CloseOnExit
    {
        int fd;
        ~CloseOnExit() { ::close(fd); }
    } closer {fd};
    struct stat info
    { };
    if (::fstat(fd, &info) != 0)
        throw TPileFileError(path + ": cannot be read: " + SystemMessage(errno));
    if (!S_ISREG(info.st_mode))
        return std::nullopt;
    std::string text;
    char chunk[1 << 16];
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw TPileFileError(path + ": cannot be read: " + SystemMessage(errno));
        if (got == 0)
            break;
        if (text.size() + std::size_t(got) > MaxInputBytes) {
            throw TPileFileError(path + ": larger than " + std::to_string(MaxInputBytes >> 20)
                                 + " MB, the limit of an input file");
        }
        text.append(chunk, std::size_t(got));
    }
    return text;
#endif
}

// Holds the user's input to the window while the piles of an open are calculated, so that nothing
// changes the page or the reports under the open; the progress dialog stays usable.
class TInputHold : public QObject
{
public:
    TInputHold(QWidget *window, const QWidget *dialog)
        : m_window(window)
        , m_dialog(dialog)
    {
        qApp->installEventFilter(this);
    }
    ~TInputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride: {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && !m_dialog->isAncestorOf(widget) && widget != m_dialog
                && (widget == m_window || m_window->isAncestorOf(widget)))
                return true;
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    QWidget *m_window;
    const QWidget *m_dialog;
};

} // namespace

TPileFiles::TPileFiles(QWidget *window, std::function<std::filesystem::path()> documentsFolder)
    : QObject(window)
    , m_window(window)
    , m_documentsFolder(std::move(documentsFolder))
{
    setObjectName("pileFiles");
}

TPileFiles::~TPileFiles() = default;

QString TPileFiles::ChooseOpenFile()
{
    const QString proposed = PathToQ(m_documentsFolder());
    if (m_chooseFile)
        return m_chooseFile(false, proposed);
    return QFileDialog::getOpenFileName(
        m_window, "打开", proposed, "桩数据文件 (*.json *.csv);;JSON (*.json);;CSV 表格 (*.csv)");
}

QString TPileFiles::ChooseSaveFile()
{
    const QString proposed = PathToQ(FilePath(m_documentsFolder(), "嵌岩桩数据.json"));
    if (m_chooseFile)
        return m_chooseFile(true, proposed);
    QString selected;
    QString path = QFileDialog::getSaveFileName(m_window, "保存数据", proposed,
                                                "JSON (*.json);;CSV 表格 (*.csv)", &selected);
    // A name without its extension takes that of the chosen type.
    if (!path.isEmpty() && !IsPileFileName(path))
        path += selected.startsWith("CSV") ? ".csv" : ".json";
    return path;
}

std::optional<TOpenedPiles> TPileFiles::Read(const QStringList &paths)
{
    TOpenedPiles opened;
    bool readable = true;
    for (const QString &path : paths) {
        TPileDocument document;
        try {
            const std::string name = ToStd(path);
            const std::optional<std::string> bytes = ReadRegularFile(name);
            if (!bytes) {
                ShowError("无法打开桩数据文件：" + path + NotARegularFile);
                readable = false;
                continue;
            }
            document = PileDocumentFromFileText(*bytes, PileFileFormatOf(name), InputName(name));
        } catch (const std::exception &error) {
            ShowError("无法打开桩数据文件：" + ToQ(error.what()));
            readable = false;
            continue;
        }
        std::vector<TPileInput> &piles = document.piles;
        if (piles.empty()) {
            ShowError("无法打开桩数据文件：" + path + ": holds no pile");
            readable = false;
            continue;
        }
        if (!document.project.Empty())
            opened.project = std::move(document.project);
        const QString file = paths.size() > 1 ? QFileInfo(path).fileName() + " " : QString();
        for (std::size_t i = 0; i < piles.size(); ++i) {
            opened.origins.push_back(file + QString("第%1根桩").arg(i + 1));
            opened.piles.push_back(std::move(piles[i]));
        }
    }
    // Several files open as one append only when every one can be read.
    if (!readable)
        return std::nullopt;
    return opened;
}

QString OpenQuestionText(int pileCount, int unsavedReports)
{
    QString text = QString("结果中已有%1根桩（ZH1～ZH%1）。打开的桩追加在其后（从ZH%2编号），"
                           "还是替换现有的结果（从ZH1编号）？")
                       .arg(pileCount)
                       .arg(pileCount + 1);
    QStringList unsaved;
    if (unsavedReports & UnsavedBook)
        unsaved << "计算书";
    if (unsavedReports & UnsavedTable)
        unsaved << "汇总表";
    if (!unsaved.isEmpty())
        text += "\n\n现有的" + unsaved.join("和") + "尚未保存，替换后将丢失。";
    return text;
}

std::unique_ptr<QMessageBox> OpenQuestionBox(QWidget *parent, const QString &title,
                                             const QString &question)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title, question,
                                             QMessageBox::NoButton, parent);
    box->setObjectName("msg_dakai");
    QPushButton *append = box->addButton("追加", QMessageBox::AcceptRole);
    append->setObjectName("cbt_zhuijia");
    box->addButton("替换", QMessageBox::DestructiveRole)->setObjectName("cbt_tihuan");
    QPushButton *cancel = box->addButton("取消", QMessageBox::RejectRole);
    cancel->setObjectName("cbt_quxiao");
    box->setDefaultButton(append);
    box->setEscapeButton(cancel);
    return box;
}

TOpenChoice TPileFiles::AskHowToOpen(int pileCount, int unsavedReports)
{
    const QString question = OpenQuestionText(pileCount, unsavedReports);
    if (m_ask)
        return m_ask(question);
    const std::unique_ptr<QMessageBox> box =
        OpenQuestionBox(m_window, m_window->windowTitle(), question);
    box->exec();
    const QString clicked = box->clickedButton() ? box->clickedButton()->objectName() : QString();
    if (clicked == "cbt_zhuijia")
        return TOpenChoice::Append;
    if (clicked == "cbt_tihuan")
        return TOpenChoice::Replace;
    return TOpenChoice::Cancel;
}

std::vector<TCalcOutcome> TPileFiles::CalculateAll(const std::vector<TPileInput> &piles)
{
    using TOutcomes = std::vector<TCalcOutcome>;
    const auto stop = std::make_shared<std::atomic_bool>(false);
    m_stop = stop;
    const int count = static_cast<int>(piles.size());

    QProgressDialog progress("正在计算桩数据文件中的桩……", "取消", 0, count, m_window);
    progress.setObjectName("pb_dakai");
    progress.setWindowTitle(m_window->windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(ProgressDelay);
    progress.setValue(0); // shows the dialog once ProgressDelay has passed
    connect(&progress, &QProgressDialog::canceled, this, &TPileFiles::CancelCalculation);
    const TInputHold hold(m_window, &progress);

    QFutureWatcher<TOutcomes> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcher<TOutcomes>::progressValueChanged, &progress,
            [&progress](int value) {
                if (progress.isVisible())
                    progress.setValue(value);
            });
    connect(&watcher, &QFutureWatcher<TOutcomes>::finished, &loop, &QEventLoop::quit);
    // The piles stay alive: this function returns only once the work has ended.
    watcher.setFuture(
        QtConcurrent::run([&piles, stop, step = m_step](QPromise<TOutcomes> &promise) {
            TOutcomes outcomes;
            outcomes.reserve(piles.size());
            promise.setProgressRange(0, static_cast<int>(piles.size()));
            for (std::size_t i = 0; i < piles.size(); ++i) {
                if (step)
                    step(i);
                if (*stop)
                    break;
                outcomes.push_back(Calculate(piles[i]));
                promise.setProgressValue(static_cast<int>(i + 1));
            }
            promise.addResult(std::move(outcomes));
        }));
    if (!watcher.isFinished())
        loop.exec();
    watcher.waitForFinished();
    m_stop.reset();
    return watcher.future().takeResult();
}

void TPileFiles::CancelCalculation()
{
    if (m_stop)
        *m_stop = true;
}

std::vector<std::size_t> PilesShapingThePage(const std::vector<TPileInput> &piles,
                                             const std::vector<TCalcOutcome> &outcomes)
{
    // What a calculation on the page decides for each row of the grids: the soil grid's inputs
    // and results, the rock grid's result columns that every run clears and the resistances qpa
    // and qra that a run only overwrites. A grid that loses a row decides all of that row.
    enum TCells { SoilInput, SoilResult, RockCleared, RockResistances, CellsCount };
    constexpr int Rows = std::max(MaxSoilLayers, MaxRockLayers);
    bool decided[CellsCount][Rows] = {};
    const auto decide = [&](std::size_t pile) {
        const TPileInput &input = piles[pile];
        const TCalcOutcome &outcome = outcomes[pile];
        const auto stage = outcome.failure ? std::optional(outcome.failure->stage) : std::nullopt;
        const auto soilRows = static_cast<int>(input.soilLayers.size());
        const auto rockRows = static_cast<int>(input.rockLayers.size());
        const bool reachesSoil =
            !stage || *stage == TFailureStage::SoilLayer || *stage == TFailureStage::Result;
        const bool reachesRock = stage != TFailureStage::Section;
        const auto rockResults = static_cast<int>(outcome.result.rockResults.size());
        bool decides = false;
        const auto mark = [&](TCells part, int row, bool writes) {
            if (writes && !decided[part][row]) {
                decided[part][row] = true;
                decides = true;
            }
        };
        for (int row = 0; row < Rows; ++row) {
            // Soil rows change only with soil layers; rock rows beyond the pile's are removed.
            const bool soilGone = soilRows > 0 && row >= soilRows;
            mark(SoilInput, row, soilGone || row < soilRows);
            mark(SoilResult, row, soilGone || (reachesSoil && row < soilRows));
            mark(RockCleared, row, row >= rockRows || reachesRock);
            mark(RockResistances, row, row >= rockRows || (reachesRock && row < rockResults));
        }
        return decides;
    };
    const std::size_t last = outcomes.size() - 1;
    decide(last);
    std::vector<std::size_t> shaping;
    for (std::size_t pile = last; pile-- > 0;) {
        if (decide(pile) || pile + 1 == last)
            shaping.insert(shaping.begin(), pile);
    }
    return shaping;
}

std::unique_ptr<QMessageBox> FailureBox(QWidget *parent, const QString &title,
                                        const QStringList &failures)
{
    const int listed = TPileFiles::MaxListedFailures;
    QString text;
    if (failures.size() <= listed) {
        text = failures.join("\n");
    } else {
        text = QStringList(failures.mid(0, listed)).join("\n")
            + QString("\n……\n共%1根桩计算失败，以上是前%2根，全部见详情。")
                  .arg(failures.size())
                  .arg(listed);
    }
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setObjectName("msg_shibai");
    if (failures.size() > listed)
        box->setDetailedText(failures.join("\n"));
    return box;
}

void TPileFiles::ShowFailures(const QStringList &failures)
{
    const std::unique_ptr<QMessageBox> box =
        FailureBox(m_window, m_window->windowTitle(), failures);
    if (m_sink)
        m_sink(box->text());
    else
        box->exec();
}

void TPileFiles::ShowError(const QString &text)
{
    if (m_sink)
        m_sink(text);
    else
        QMessageBox::critical(m_window, m_window->windowTitle(), text);
}

std::optional<std::string> TPileFiles::Save(const QString &path, const TPileDocument &document)
{
    const std::string name = ToStd(path);
    return SaveBinaryFile({}, name, PileDocumentBytes(document, PileFileFormatOf(name)));
}

QStringList TPileFiles::DroppedFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || !IsPileFileName(path))
            return {};
        paths.append(path);
    }
    return paths;
}
