#include "main_window.h"

#include "about_box.h"
#include "design_units.h"
#include "documents_folder.h"
#include "input_page.h"
#include "optimization_page.h"
#include "program_title.h"
#include "qt_text.h"
#include "results_page.h"

#include "calculation.h"
#include "file_names.h"
#include "page_texts.h"
#include "text_file.h"
#include "time_stamp.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
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

} // namespace

TVXR_FRM_MDLF1::TVXR_FRM_MDLF1(double scale)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , m_scale(scale > 0 ? scale : ScreenScale())
    , m_documentsFolder(DocumentsFolder)
    , m_clock(std::chrono::system_clock::now)
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
    MainFormLayer->ResetResultDisplay();
    const TPileInput input = MainFormLayer->ReadPileInput();
    const TCalcOutcome outcome = Calculate(input);
    MainFormLayer->ShowCalculation(input, outcome);
    if (!outcome.ok()) {
        YouHuaFormLayer->ShowAbortNotice();
        return false;
    }
    if (m_optimizationMode == 0) {
        // The page shows the input as the reports print it: a rectangle's sides exchanged.
        m_reports.WriteReports(input, outcome.result, PageTextsOf(input, outcome.result),
                               TimeStamp());
        m_unsavedReports = UnsavedBook | UnsavedTable;
        JieGuo_DocLayer->ShowReports(m_reports, true);
        MainFormLayer->ShowResultsButton();
    }
    return true;
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
    StoragePermission::Request(
        {StoragePermission::FPermissionWriteExternalStorage},
        [this](const QStringList &permissions, std::function<void()> next) {
            DisplayRationale(permissions, next);
        },
        [this](const QStringList &permissions,
               const std::vector<StoragePermission::TGrant> &grants) {
            SaveResults(permissions, grants);
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
