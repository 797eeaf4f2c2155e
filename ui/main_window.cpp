#include "main_window.h"

#include "about_box.h"
#include "design_units.h"
#include "documents_folder.h"
#include "input_page.h"
#include "optimization_page.h"
#include "program_title.h"
#include "qt_text.h"
#include "results_page.h"

#include "report_pages.h"
#include "report_printing.h"

#include "calculation.h"
#include "file_names.h"
#include "page_texts.h"
#include "pile_file.h"
#include "pile_file_error.h"
#include "text_file.h"
#include "time_stamp.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMessageBox>
#include <QMimeData>
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

double ScreenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const QRect available = screen->availableGeometry();
    return std::clamp(std::min((available.height() - TitleBarAllowance) / double(DesignHeight),
                               available.width() / double(DesignWidth)),
                      0.3, 1.0);
}

QString PathText(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char *>(text.data()),
                             static_cast<qsizetype>(text.size()));
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
    m_showMessage = std::move(sink);
}

void TVXR_FRM_MDLF1::SetClock(TClock clock)
{
    m_clock = std::move(clock);
}

void TVXR_FRM_MDLF1::SetFileChooser(TFileChooser chooser)
{
    m_chooseFile = std::move(chooser);
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

TCalcOutcome TVXR_FRM_MDLF1::ComputeOnPage()
{
    MainFormLayer->ResetResultDisplay();
    const TPileInput input = MainFormLayer->ReadPileInput();
    const TCalcOutcome outcome = Calculate(input);
    MainFormLayer->ShowCalculation(input, outcome);
    if (!outcome.ok()) {
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
    const QByteArray pdf = book ? BookPdf(m_reports) : TablePdf(m_reports);
    const auto error =
        SaveBinaryFile(m_documentsFolder(), book ? FileNames::BookPdf : FileNames::TablePdf,
                       std::string_view(pdf.constData(), std::size_t(pdf.size())));
    if (error)
        ShowMessage(ToQ(*error));
}

void TVXR_FRM_MDLF1::act_PrintTriggered()
{
    if (m_reports.PileCount() == 0)
        return;
    const TReportKind kind = JieGuo_DocLayer->BookShown() ? TReportKind::Book : TReportKind::Table;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, kind);
    if (m_printDialog(printer))
        PrintReport(printer, m_reports, kind);
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
    std::vector<TPileInput> piles;
    try {
        piles = ReadPileFile(ToStd(path));
    } catch (const TPileFileError &error) {
        ShowError("无法打开桩数据文件：" + ToQ(error.Chinese()));
        return false;
    } catch (const std::exception &error) {
        ShowError("无法打开桩数据文件：" + ToQ(error.what()));
        return false;
    }
    if (piles.empty()) {
        ShowError("无法打开桩数据文件：" + path + ": holds no pile");
        return false;
    }
    QStringList failures;
    for (std::size_t i = 0; i < piles.size(); ++i) {
        MainFormLayer->ShowPileInput(piles[i]);
        const TCalcOutcome outcome = ComputeOnPage();
        if (!outcome.ok())
            failures.append(QString("第%1根桩：").arg(i + 1) + ToQ(outcome.failure->message));
    }
    if (!failures.isEmpty())
        ShowMessage(failures.join("\n"));
    return true;
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
    const std::string name = ToStd(path);
    return SaveBinaryFile({}, name, PileFileBytes(piles, PileFileFormatOf(name)));
}

void TVXR_FRM_MDLF1::OpenStartArguments(const QStringList &arguments)
{
    if (arguments.size() > 1)
        OpenPileFile(arguments.at(1));
}

QString TVXR_FRM_MDLF1::ChooseFile(bool save, const QString &proposed)
{
    if (m_chooseFile)
        return m_chooseFile(save, proposed);
    const QString filter = "桩数据文件 (*.json *.csv);;JSON (*.json);;CSV 表格 (*.csv)";
    if (!save)
        return QFileDialog::getOpenFileName(this, "打开", proposed, filter);
    QString selected;
    QString path = QFileDialog::getSaveFileName(this, "保存数据", proposed,
                                                "JSON (*.json);;CSV 表格 (*.csv)", &selected);
    // A name without its extension takes that of the chosen type.
    if (!path.isEmpty() && !path.endsWith(".json", Qt::CaseInsensitive)
        && !path.endsWith(".csv", Qt::CaseInsensitive))
        path += selected.startsWith("CSV") ? ".csv" : ".json";
    return path;
}

void TVXR_FRM_MDLF1::cbt_dakaiClick()
{
    const QString path = ChooseFile(false, PathText(m_documentsFolder()));
    if (!path.isEmpty())
        OpenPileFile(path);
}

void TVXR_FRM_MDLF1::cbt_baocunshujuClick()
{
    const std::filesystem::path proposed = FilePath(m_documentsFolder(), "嵌岩桩数据.json");
    const QString path = ChooseFile(true, PathText(proposed));
    if (path.isEmpty())
        return;
    if (const auto error = SavePileFile(path))
        ShowError("保存数据失败：" + ToQ(*error));
}

QString TVXR_FRM_MDLF1::DroppedPileFile(const QMimeData *data) const
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !MainFormLayer->isVisible())
        return {};
    const QString path = data->urls().front().toLocalFile();
    return path.endsWith(".json", Qt::CaseInsensitive) || path.endsWith(".csv", Qt::CaseInsensitive)
        ? path
        : QString();
}

void TVXR_FRM_MDLF1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedPileFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TVXR_FRM_MDLF1::dropEvent(QDropEvent *event)
{
    const QString path = DroppedPileFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenPileFile(path);
}

bool TVXR_FRM_MDLF1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (DroppedPileFile(drag->mimeData()).isEmpty())
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (DroppedPileFile(drop->mimeData()).isEmpty())
            break;
        dropEvent(drop);
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
