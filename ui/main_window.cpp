#include "main_window.h"

#include "about_box.h"
#include "design_units.h"
#include "documents_folder.h"
#include "input_page.h"
#include "optimization_page.h"
#include "pile_files.h"
#include "print_file.h"
#include "program_title.h"
#include "project_dialog.h"
#include "qt_text.h"
#include "results_page.h"

#include "report_pages.h"
#include "report_printing.h"

#include "calculation.h"
#include "decimal_reader.h"
#include "file_names.h"
#include "page_texts.h"
#include "text_file.h"
#include "time_stamp.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int DesignWidth = 380;
constexpr int DesignHeight = 800;
constexpr int TitleBarAllowance = 40; // the window frame's caption, not known before showing

const char *ButtonStyle = R"(
QPushButton { border: 1px solid #5B8DB8; border-radius: 8px; padding: 0px;
              background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #D6E8FA); }
QPushButton:pressed { background: #BFD9F2; }
QPushButton:disabled { color: #9A9A9A; border-color: #B0B0B0; }
QPushButton[small="true"] { border-radius: 4px; }
QPushButton[round="true"] { border-radius: 10px; color: #FF0000; }
)";

} // namespace

double FittingScale(const QSize &available)
{
    return std::max(std::min((available.height() - TitleBarAllowance) / double(DesignHeight),
                             available.width() / double(DesignWidth)),
                    0.3);
}

namespace {

double ScreenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? FittingScale(screen->availableGeometry().size()) : 1;
}

} // namespace

TVXR_FRM_MDLF1::TVXR_FRM_MDLF1(double scale)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , m_scale(scale > 0 ? scale : ScreenScale())
    , m_documentsFolder(DocumentsFolder)
    , m_clock(std::chrono::system_clock::now)
    , m_printDialog([this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        ProposePrintFile(dialog, m_printFile);
        return dialog.exec() == QDialog::Accepted;
    })
{
    setObjectName("VXR_FRM_MDLF1");
    setWindowTitle(QString::fromUtf8(ProgramTitle) + QString::fromUtf8(CaptionSuffix));
    setFixedSize(Scaled(DesignWidth, m_scale), Scaled(DesignHeight, m_scale));
    setStyleSheet(ButtonStyle);

    MainFormLayer = new TInputPage(this);
    JieGuo_DocLayer = new TResultsPage(m_unsavedReports, this);
    YouHuaFormLayer = new TOptimizationPage(this);
    ComFormLayer = new TScaledLayer("ComFormLayer", QSize(331, 621), this);
    m_pileFiles = new TPileFiles(this, [this] { return m_documentsFolder(); });
    JieGuo_DocLayer->hide();
    YouHuaFormLayer->hide();
    ComFormLayer->hide();

    connect(MainFormLayer, &TInputPage::ComputeRequested, this, &TVXR_FRM_MDLF1::cbt_computeClick);
    connect(MainFormLayer, &TInputPage::ViewRequested, this, &TVXR_FRM_MDLF1::cbt_ViewClick);
    connect(MainFormLayer, &TInputPage::OptimizationRequested, this,
            &TVXR_FRM_MDLF1::cbt_YouHuaClick);
    connect(MainFormLayer, &TInputPage::ExitRequested, this, &QWidget::close);
    connect(MainFormLayer, &TInputPage::CopyRightRequested, this,
            &TVXR_FRM_MDLF1::cbt_CopyRightClick);
    connect(JieGuo_DocLayer, &TResultsPage::BackRequested, this, &TVXR_FRM_MDLF1::cbt_ExitClick);
    connect(JieGuo_DocLayer, &TResultsPage::SaveRequested, this, &TVXR_FRM_MDLF1::cbt_SaveClick);
    connect(JieGuo_DocLayer, &TResultsPage::PdfRequested, this, &TVXR_FRM_MDLF1::cbt_PdfClick);
    connect(JieGuo_DocLayer, &TResultsPage::ProjectRequested, this,
            &TVXR_FRM_MDLF1::cbt_xiangmuClick);
    connect(JieGuo_DocLayer, &TResultsPage::PrintRequested, this,
            &TVXR_FRM_MDLF1::act_PrintTriggered);
    connect(JieGuo_DocLayer, &TResultsPage::DeleteLastRequested, this,
            &TVXR_FRM_MDLF1::cbt_sanchuClick);
    connect(YouHuaFormLayer, &TOptimizationPage::BackRequested, this,
            &TVXR_FRM_MDLF1::cbt_YHfanhuiClick);
    connect(YouHuaFormLayer, &TOptimizationPage::CandidateCalculated, this,
            &TVXR_FRM_MDLF1::ShowSweepCandidate);
    connect(YouHuaFormLayer, &TOptimizationPage::CandidatePicked, this,
            &TVXR_FRM_MDLF1::ShowPickedCandidate);
    connect(YouHuaFormLayer, &TOptimizationPage::MessageRaised, this, &TVXR_FRM_MDLF1::ShowMessage);
    connect(YouHuaFormLayer, &TOptimizationPage::ErrorRaised, this, &TVXR_FRM_MDLF1::ShowError);
    YouHuaFormLayer->SetInputReader([this] { return MainFormLayer->ReadSweepBase(); });
    // "存盘" asks for the same permission as "保存"; SaveResults tells them apart by the mode.
    connect(YouHuaFormLayer, &TOptimizationPage::SaveRequested, this,
            &TVXR_FRM_MDLF1::cbt_SaveClick);

    connect(MainFormLayer, &TInputPage::OpenRequested, this, &TVXR_FRM_MDLF1::cbt_dakaiClick);
    connect(MainFormLayer, &TInputPage::SaveDataRequested, this,
            &TVXR_FRM_MDLF1::cbt_baocunshujuClick);
    // A pile file dropped onto a field or a grid opens too, rather than becoming its text.
    setAcceptDrops(true);
    for (QWidget *child : findChildren<QWidget *>()) {
        if (child->acceptDrops())
            child->installEventFilter(this);
    }

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TVXR_FRM_MDLF1::~TVXR_FRM_MDLF1()
{
    delete m_aboutBox; // made without an owner, it lives as long as the main window
}

void TVXR_FRM_MDLF1::SetDocumentsFolder(std::function<std::filesystem::path()> folder)
{
    m_documentsFolder = std::move(folder);
}

void TVXR_FRM_MDLF1::SetMessageSink(std::function<void(const QString &)> sink)
{
    m_showMessage = sink;
    m_pileFiles->SetMessageSink(std::move(sink));
}

void TVXR_FRM_MDLF1::SetClock(TClock clock)
{
    m_clock = std::move(clock);
}

void TVXR_FRM_MDLF1::SetFileChooser(TFileChooser chooser)
{
    m_pileFiles->SetFileChooser(std::move(chooser));
}

std::string TVXR_FRM_MDLF1::TimeStamp() const
{
    return TimeStampText(m_clock());
}

void TVXR_FRM_MDLF1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0x00, 0xBF, 0xFF));
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(rect(), gradient);
}

void TVXR_FRM_MDLF1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (QWidget *page :
         {static_cast<QWidget *>(MainFormLayer), static_cast<QWidget *>(JieGuo_DocLayer),
          static_cast<QWidget *>(YouHuaFormLayer), static_cast<QWidget *>(ComFormLayer)})
        page->setGeometry(rect());
}

bool TVXR_FRM_MDLF1::cbt_computeClick()
{
    return ComputeOnPage().ok();
}

TCalcOutcome TVXR_FRM_MDLF1::ComputeOnPage(bool abortNotice)
{
    MainFormLayer->ResetResultDisplay();
    const TPileInput input = MainFormLayer->ReadPileInput();
    const TCalcOutcome outcome = Calculate(input);
    MainFormLayer->ShowCalculation(input, outcome);
    if (!outcome.ok()) {
        if (abortNotice)
            YouHuaFormLayer->ShowAbortNotice();
        return outcome;
    }
    if (m_optimizationMode == 0) {
        // The page shows the input as the reports print it: a rectangle's sides exchanged.
        m_reports.WriteReports(input, outcome.result, PageTextsOf(input, outcome.result),
                               TimeStamp());
        m_unsavedReports = UnsavedBook | UnsavedTable;
        JieGuo_DocLayer->ShowReports(m_reports, true);
        MainFormLayer->ShowResultsButton();
    }
    return outcome;
}

void TVXR_FRM_MDLF1::cbt_ViewClick()
{
    MainFormLayer->hide();
    JieGuo_DocLayer->show();
}

void TVXR_FRM_MDLF1::cbt_ExitClick()
{
    MainFormLayer->show();
    JieGuo_DocLayer->hide();
}

void TVXR_FRM_MDLF1::cbt_YouHuaClick()
{
    MainFormLayer->hide();
    YouHuaFormLayer->show();
    m_optimizationMode = 1;
}

void TVXR_FRM_MDLF1::cbt_YHfanhuiClick()
{
    MainFormLayer->show();
    YouHuaFormLayer->hide();
    m_optimizationMode = 0;
}

void TVXR_FRM_MDLF1::cbt_CopyRightClick()
{
    if (!m_aboutBox)
        m_aboutBox = new TVXR_CZL_FRM_CopyRight(m_scale);
    m_aboutBox->show();
    m_aboutBox->raise();
}

void TVXR_FRM_MDLF1::cbt_SaveClick()
{
    RequestStorage(&TVXR_FRM_MDLF1::SaveResults);
}

void TVXR_FRM_MDLF1::RequestStorage(TGrantHandler save)
{
    StoragePermission::Request(
        {StoragePermission::FPermissionWriteExternalStorage},
        [this](const QStringList &permissions, std::function<void()> next) {
            DisplayRationale(permissions, next);
        },
        [this, save](const QStringList &permissions,
                     const std::vector<StoragePermission::TGrant> &grants) {
            (this->*save)(permissions, grants);
        });
}

void TVXR_FRM_MDLF1::DisplayRationale(const QStringList &permissions,
                                      const std::function<void()> &next)
{
    QString text;
    for (const QString &permission : permissions) {
        if (permission == StoragePermission::FPermissionWriteExternalStorage)
            text += "需要存贮权限，否则计算结果不能存盘";
    }
    ShowMessage(text);
    next(); // the platform asks the user once the message is closed
}

void TVXR_FRM_MDLF1::SaveResults(const QStringList &,
                                 const std::vector<StoragePermission::TGrant> &grants)
{
    if (grants.size() != 1 || grants.front() != StoragePermission::TGrant::Granted) {
        ShowMessage("无权存盘");
        return;
    }
    if (m_optimizationMode != 0) {
        YouHuaFormLayer->SaveCandidates(m_documentsFolder(), TimeStamp(),
                                        MainFormLayer->ReadPileInput().soilLayers);
        return;
    }
    const bool book = JieGuo_DocLayer->BookShown();
    if (!book && !JieGuo_DocLayer->TableShown())
        return;
    const auto error = SaveTextFile(m_documentsFolder(), book ? FileNames::Book : FileNames::Table,
                                    book ? m_reports.BookLines() : m_reports.TableLines());
    if (error) {
        // The state changes only after the file was written, so the page can be saved again.
        ShowMessage(ToQ(*error));
        return;
    }
    m_unsavedReports &= ~(book ? UnsavedBook : UnsavedTable);
    JieGuo_DocLayer->UpdateSaveButton();
}

void TVXR_FRM_MDLF1::SetPrintDialog(TPrintDialog dialog)
{
    m_printDialog = std::move(dialog);
}

void TVXR_FRM_MDLF1::cbt_PdfClick()
{
    RequestStorage(&TVXR_FRM_MDLF1::SavePdf);
}

void TVXR_FRM_MDLF1::SavePdf(const QStringList &,
                             const std::vector<StoragePermission::TGrant> &grants)
{
    if (grants.size() != 1 || grants.front() != StoragePermission::TGrant::Granted) {
        ShowMessage("无权存盘");
        return;
    }
    // The PDF is a printed form beside the text files: it leaves UnsavedReports as it is.
    const bool book = JieGuo_DocLayer->BookShown();
    const QByteArray pdf = book ? BookPdf(m_reports, m_project) : TablePdf(m_reports);
    const std::filesystem::path folder = m_documentsFolder();
    const std::string_view name = book ? FileNames::BookPdf : FileNames::TablePdf;
    const auto error =
        SaveBinaryFile(folder, name, std::string_view(pdf.constData(), std::size_t(pdf.size())));
    if (error)
        ShowMessage(ToQ(*error));
    else
        JieGuo_DocLayer->ShowSavedFile(PathToQ(FilePath(folder, name)));
}

void TVXR_FRM_MDLF1::cbt_xiangmuClick()
{
    // Window-modal and not waited for: the fields go to the window when "确定" closes it.
    auto *dialog = new TProjectDialog(m_project, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { m_project = dialog->Project(); });
    dialog->open();
}

void TVXR_FRM_MDLF1::act_PrintTriggered()
{
    if (m_reports.PileCount() == 0)
        return;
    const TReportKind kind = JieGuo_DocLayer->BookShown() ? TReportKind::Book : TReportKind::Table;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, kind);
    // "Print to File" proposes the PDF button's file of the report.
    m_printFile = PathToQ(FilePath(
        m_documentsFolder(), kind == TReportKind::Book ? FileNames::BookPdf : FileNames::TablePdf));
    if (m_printDialog(printer))
        PrintReport(printer, m_reports, kind, m_project);
}

void TVXR_FRM_MDLF1::cbt_sanchuClick()
{
    m_reports.DeleteLastPile();
    // With piles left both reports changed: a file saved before the deletion still holds the
    // deleted pile, so each page can be saved again.
    m_unsavedReports = m_reports.PileCount() == 0 ? 0 : UnsavedBook | UnsavedTable;
    JieGuo_DocLayer->ShowReports(m_reports, false);
}

void TVXR_FRM_MDLF1::ShowSweepCandidate(const TPileInput &input, const TCalcOutcome &outcome)
{
    // As if the sweep had run the candidate through "计算": the reports stay as they are.
    MainFormLayer->ShowPileInput(input);
    MainFormLayer->ResetResultDisplay();
    MainFormLayer->ShowStatusStrip();
    MainFormLayer->ShowCalculation(input, outcome);
}

void TVXR_FRM_MDLF1::ShowPickedCandidate(const TPileInput &input)
{
    MainFormLayer->ShowPileInput(input);
    cbt_YHfanhuiClick();
    MainFormLayer->ResetResultDisplay();
}

void TVXR_FRM_MDLF1::ShowError(const QString &text)
{
    if (m_showMessage)
        m_showMessage(text);
    else
        QMessageBox::critical(this, windowTitle(), text);
}

void TVXR_FRM_MDLF1::ShowMessage(const QString &text)
{
    if (m_showMessage)
        m_showMessage(text);
    else
        QMessageBox::information(this, windowTitle(), text);
}

bool TVXR_FRM_MDLF1::OpenPileFile(const QString &path)
{
    return OpenPileFiles({path});
}

bool TVXR_FRM_MDLF1::OpenPileFiles(const QStringList &paths)
{
    const std::optional<TOpenedPiles> opened = m_pileFiles->Read(paths);
    if (!opened)
        return false;
    bool replace = false;
    if (m_reports.PileCount() > 0) {
        switch (m_pileFiles->AskHowToOpen(m_reports.PileCount(), m_unsavedReports)) {
        case TOpenChoice::Append:
            break;
        case TOpenChoice::Replace:
            replace = true;
            break;
        case TOpenChoice::Cancel:
            return false;
        }
    }
    const std::vector<TCalcOutcome> outcomes = m_pileFiles->CalculateAll(opened->piles);
    if (outcomes.empty())
        return true; // cancelled before the first pile: nothing changes
    const int pileCountBefore = m_reports.PileCount();
    if (replace) {
        m_reports = TPileReports();
        m_unsavedReports = 0;
    }
    if (!opened->project.Empty())
        m_project = opened->project;
    QStringList failures;
    const auto listFailure = [&](std::size_t i, const TCalcOutcome &outcome) {
        failures.append(opened->origins[i] + "：" + ToQ(outcome.failure->message));
    };
    // Every pile but the last goes to the reports as its press of "计算" would have sent it; the
    // last one is calculated through the page, which then looks as after the whole file was
    // pressed through it.
    const std::size_t last = outcomes.size() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        const TPileInput &pile = opened->piles[i];
        const TCalcOutcome &outcome = outcomes[i];
        if (!outcome.ok()) {
            listFailure(i, outcome);
            continue;
        }
        m_reports.WriteReports(pile, outcome.result, PageTextsOf(pile, outcome.result),
                               TimeStamp());
        m_unsavedReports = UnsavedBook | UnsavedTable;
    }
    ShowOpenedOnPage(*opened, outcomes);
    // The optimization page stays as its last sweep left it.
    const TCalcOutcome lastOutcome = ComputeOnPage(false);
    if (!lastOutcome.ok()) {
        listFailure(last, lastOutcome);
        // The piles that went to the reports stay reachable.
        if (m_reports.PileCount() > 0)
            MainFormLayer->ShowResultsButton();
    }
    if (replace || m_reports.PileCount() != pileCountBefore)
        JieGuo_DocLayer->ShowReports(m_reports, true);
    if (!failures.isEmpty())
        m_pileFiles->ShowFailures(failures);
    return true;
}

void TVXR_FRM_MDLF1::ShowOpenedOnPage(const TOpenedPiles &opened,
                                      const std::vector<TCalcOutcome> &outcomes)
{
    const std::size_t last = outcomes.size() - 1;
    const auto showCalculated = [&](std::size_t i) {
        MainFormLayer->ShowPileInput(opened.piles[i]);
        MainFormLayer->ResetResultDisplay();
        MainFormLayer->ShowCalculation(opened.piles[i], outcomes[i]);
        if (outcomes[i].ok())
            MainFormLayer->ShowResultsButton();
    };
    // What earlier piles leave on the page: the status line in place of the logo once any of
    // them showed a message, and what PilesShapingThePage names.
    TCoefMode mode = MainFormLayer->ReadPileInput().coefMode;
    bool statusShown = false;
    for (std::size_t i = 0; i < last; ++i) {
        const TPileInput &pile = opened.piles[i];
        const auto positive = [](const std::string &text, bool zeroToo) {
            const auto value = ReadDecimal(text);
            return value && (*value > 0 || (zeroToo && *value == 0));
        };
        statusShown = statusShown || !outcomes[i].ok()
            || outcomes[i].result.statusKind != TStatusKind::None || pile.coefMode != mode
            || !positive(pile.d, false) || !positive(pile.c, true);
        mode = pile.coefMode;
    }
    if (statusShown)
        MainFormLayer->ShowStatusStrip();
    for (const std::size_t pile : PilesShapingThePage(opened.piles, outcomes))
        showCalculated(pile);
    MainFormLayer->ShowPileInput(opened.piles[last]);
}

std::vector<TPileInput> TVXR_FRM_MDLF1::ReportedInputs() const
{
    std::vector<TPileInput> inputs;
    for (const TPileRecord &pile : m_reports.Piles())
        inputs.push_back(pile.input);
    return inputs;
}

std::optional<std::string> TVXR_FRM_MDLF1::SavePileFile(const QString &path)
{
    std::vector<TPileInput> piles = ReportedInputs();
    if (piles.empty())
        piles.push_back(MainFormLayer->ReadPileInput());
    return TPileFiles::Save(path, {m_project, std::move(piles)});
}

void TVXR_FRM_MDLF1::OpenStartArguments(const QStringList &arguments)
{
    if (arguments.size() > 1)
        OpenPileFiles(arguments.mid(1));
}

void TVXR_FRM_MDLF1::cbt_dakaiClick()
{
    const QString path = m_pileFiles->ChooseOpenFile();
    if (!path.isEmpty())
        OpenPileFile(path);
}

void TVXR_FRM_MDLF1::cbt_baocunshujuClick()
{
    const QString path = m_pileFiles->ChooseSaveFile();
    if (path.isEmpty())
        return;
    if (const auto error = SavePileFile(path))
        ShowError("保存数据失败：" + ToQ(*error));
    else
        MainFormLayer->ShowSavedFile(path);
}

QStringList TVXR_FRM_MDLF1::DroppedPileFiles(const QMimeData *data) const
{
    return MainFormLayer->isVisible() ? TPileFiles::DroppedFiles(data) : QStringList();
}

void TVXR_FRM_MDLF1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedPileFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TVXR_FRM_MDLF1::dropEvent(QDropEvent *event)
{
    const QStringList paths = DroppedPileFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    OpenPileFiles(paths);
}

bool TVXR_FRM_MDLF1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (DroppedPileFiles(drag->mimeData()).isEmpty())
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (DroppedPileFiles(drop->mimeData()).isEmpty())
            break;
        dropEvent(drop);
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
