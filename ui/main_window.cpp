#include "main_window.h"

#include "about_box.h"
#include "documents_folder.h"
#include "input_page.h"
#include "optimization_page.h"
#include "program_title.h"
#include "qt_text.h"
#include "results_page.h"

#include "calculation.h"
#include "candidate_file.h"
#include "file_names.h"
#include "pick_back.h"
#include "text_file.h"
#include "time_stamp.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

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

// The candidate a sweep leaves on the input page, in the form a pick-back writes it.
TPickBack CandidateOnPage(const TPileInput &input, const TCandidateContext &context)
{
    const TRockLayer &rock = input.rockLayers.front();
    TPickBack candidate;
    candidate.sectionItem = static_cast<int>(input.sectionType);
    candidate.d = input.d;
    candidate.c = input.c;
    candidate.basis = input.interpBasis;
    candidate.hi = rock.hi;
    candidate.weathering = rock.weathering;
    candidate.integrityGrade = rock.integrityGrade;
    candidate.integrityIndex = rock.integrityIndex;
    candidate.frk = rock.frk;
    candidate.noSoilLayers = !context.withOverburden;
    return candidate;
}

} // namespace

TVXR_FRM_MDLF1::TVXR_FRM_MDLF1(double scale)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::MSWindowsFixedSizeDialogHint)
    , m_scale(scale > 0 ? scale : ScreenScale())
    , m_documentsFolder(DocumentsFolder)
{
    setObjectName("VXR_FRM_MDLF1");
    setWindowTitle(QString::fromUtf8(ProgramTitle) + QString::fromUtf8(CaptionSuffix));
    setFixedSize(static_cast<int>(std::lround(DesignWidth * m_scale)),
                 static_cast<int>(std::lround(DesignHeight * m_scale)));
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
    connect(YouHuaFormLayer, &TOptimizationPage::ComputeRequested, this,
            &TVXR_FRM_MDLF1::cbt_YHcomputeClick);
    connect(YouHuaFormLayer, &TOptimizationPage::SweepFinished, this,
            &TVXR_FRM_MDLF1::SweepFinished);
    connect(YouHuaFormLayer, &TOptimizationPage::SaveFinished, this,
            &TVXR_FRM_MDLF1::CandidatesSaved);
    connect(YouHuaFormLayer, &TOptimizationPage::FilterRequested, this,
            &TVXR_FRM_MDLF1::cbt_YHsaixuanClick);
    connect(YouHuaFormLayer, &TOptimizationPage::HeaderClicked, this,
            &TVXR_FRM_MDLF1::Grid_YouhuaHeaderClick);
    connect(YouHuaFormLayer, &TOptimizationPage::RowDoubleClicked, this,
            &TVXR_FRM_MDLF1::Grid_YouhuaCellDblClick);
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
        m_reports.WriteReports(input, outcome.result, MainFormLayer->PageTexts(), TimeStampText());
        JieGuo_DocLayer->ShowReports(m_reports, true);
        MainFormLayer->ShowResultsButton();
        m_unsavedReports = UnsavedBook | UnsavedTable;
        JieGuo_DocLayer->EnableSave(true);
        JieGuo_DocLayer->EnableDelete(true);
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
        SaveCandidates();
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
    JieGuo_DocLayer->EnableSave(false);
}

void TVXR_FRM_MDLF1::cbt_sanchuClick()
{
    m_reports.DeleteLastPile();
    if (m_reports.PileCount() == 0) {
        m_unsavedReports = 0;
        JieGuo_DocLayer->EnableSave(false);
        JieGuo_DocLayer->EnableDelete(false);
    } else {
        // Both reports changed: a file saved before the deletion still holds the deleted pile,
        // so each page can be saved again.
        m_unsavedReports = UnsavedBook | UnsavedTable;
        JieGuo_DocLayer->EnableSave(true);
    }
    JieGuo_DocLayer->ShowReports(m_reports, false);
}

void TVXR_FRM_MDLF1::SaveCandidates()
{
    TCandidateFile file;
    if (YouHuaFormLayer->Shown(TCandidateList::Raw)
        && !YouHuaFormLayer->Table(TCandidateList::Raw).Empty()) {
        file.kind = TCandidateFileKind::Raw;
        file.table = &YouHuaFormLayer->Table(TCandidateList::Raw);
    } else if (YouHuaFormLayer->Shown(TCandidateList::Filtered)
               && !YouHuaFormLayer->Table(TCandidateList::Filtered).Empty()) {
        file.kind = TCandidateFileKind::Filtered;
        file.table = &YouHuaFormLayer->Table(TCandidateList::Filtered);
    } else {
        return;
    }
    file.soilAppendix = WantsSoilAppendix(YouHuaFormLayer->Options());
    file.soilLayers = MainFormLayer->ReadPileInput().soilLayers;
    file.timeStamp = TimeStampText();
    // A list of a million rows takes seconds to write: the worker writes the rows as they stand
    // now, from its own copy of their order.
    TCandidateTable rows = *file.table;
    YouHuaFormLayer->StartSave(
        [file = std::move(file), rows = std::move(rows), folder = m_documentsFolder()]() mutable {
            file.table = &rows;
            return SaveCandidateFile(folder, file);
        });
}

void TVXR_FRM_MDLF1::CandidatesSaved()
{
    if (const auto &error = YouHuaFormLayer->SaveError()) {
        // "存盘" stays as it was, so the list can be saved again.
        ShowMessage(ToQ(*error));
        return;
    }
    YouHuaFormLayer->EnableSave(false);
}

void TVXR_FRM_MDLF1::cbt_YHcomputeClick()
{
    m_optimizationMode = 1;
    YouHuaFormLayer->StartSweep(MainFormLayer->ReadSweepBase());
}

void TVXR_FRM_MDLF1::SweepFinished()
{
    TSweepResult sweep = YouHuaFormLayer->TakeSweepResult();
    if (sweep.pageInput && sweep.pageOutcome) {
        // The input page shows the last candidate calculated, or the one that failed, and its
        // calculation, as if the sweep had run each one through "计算"; the reports stay as
        // they are.
        const TPileInput &input = *sweep.pageInput;
        MainFormLayer->ShowCandidate(CandidateOnPage(input, sweep.table.context));
        MainFormLayer->ResetResultDisplay();
        MainFormLayer->ShowStatusStrip();
        MainFormLayer->ShowCalculation(input, *sweep.pageOutcome);
    }
    if (sweep.end != TSweepEnd::OptionFailure && sweep.end != TSweepEnd::TooManyCandidates) {
        // The grid holds new rows in the order they were calculated, whether the sweep ended
        // or stopped.
        m_sortStateD = 0;
        m_sortStateRa = 0;
    }
    const std::optional<std::string> errorBox = sweep.errorBox;
    YouHuaFormLayer->ShowSweep(std::move(sweep));
    if (errorBox)
        ShowError(ToQ(*errorBox));
}

void TVXR_FRM_MDLF1::cbt_YHsaixuanClick()
{
    TFilterResult filter =
        FilterCandidates(YouHuaFormLayer->Table(TCandidateList::Raw), YouHuaFormLayer->Options());
    if (filter.errorBox) {
        ShowError(ToQ(*filter.errorBox));
        return;
    }
    m_sortStateD = 0;
    m_sortStateRa = 0;
    if (!filter.filtered.Empty())
        m_optimizationMode = 1;
    YouHuaFormLayer->ShowFilter(std::move(filter));
}

void TVXR_FRM_MDLF1::Grid_YouhuaHeaderClick(TCandidateList list, int column)
{
    TSortState state {m_sortStateD, m_sortStateRa};
    YouHuaFormLayer->ClickHeader(list, state, column);
    m_sortStateD = state.sortStateD;
    m_sortStateRa = state.sortStateRa;
}

void TVXR_FRM_MDLF1::Grid_YouhuaCellDblClick(TCandidateList list, int row)
{
    const TCandidateTable &table = YouHuaFormLayer->Table(list);
    if (row < 0 || static_cast<std::size_t>(row) >= table.Size())
        return;
    MainFormLayer->ShowCandidate(PickBack(table.Row(row), table.context));
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
