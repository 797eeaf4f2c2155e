#include "results_page.h"

#include "profile_view.h"
#include "report_memo.h"
#include "saved_file_note.h"

#include "pile_reports.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

TResultsPage::TResultsPage(const int &unsavedReports, QWidget *parent)
    : TScaledLayer("JieGuo_DocLayer", QSize(380, 800), parent)
    , m_unsavedReports(unsavedReports)
{
    lb_jisuanjieguo = new QLabel("计算结果", this);
    lb_jisuanjieguo->setObjectName("lb_jisuanjieguo");
    lb_jisuanjieguo->setAlignment(Qt::AlignCenter);
    QPalette palette = lb_jisuanjieguo->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    lb_jisuanjieguo->setPalette(palette);
    Place(lb_jisuanjieguo, 88, 2, 192, 33);
    SetFontPixels(lb_jisuanjieguo, 24);

    cbt_PageBook = AddButton(this, "cbt_PageBook", "1", 336, 6, 21, 21);
    cbt_PageBook->setToolTip("切换计算书");
    cbt_PageBook->setProperty("small", true);

    meo_jisuanjieguo_Doc = new TReportMemo("meo_jisuanjieguo_Doc", this);
    meo_jisuanjieguo_Xls = new TReportMemo("meo_jisuanjieguo_Xls", this);
    for (TReportMemo *memo : {meo_jisuanjieguo_Doc, meo_jisuanjieguo_Xls}) {
        Place(memo, 5, 40, 370, 689);
        SetFontPixels(memo, 14);
    }
    meo_jisuanjieguo_Xls->hide();

    cbt_Exit = AddButton(this, "cbt_Exit", "返回", 40, 732, 100, 33);
    cbt_Save = AddButton(this, "cbt_Save", "保存", 224, 732, 100, 33);
    cbt_sanchu = AddButton(this, "cbt_sanchu", "x", 350, 730, 16, 16);
    cbt_sanchu->setToolTip("删除最末数据");
    cbt_sanchu->setProperty("small", true);
    cbt_sanchu->setEnabled(false);

    tcb_meoFontSize = new QSlider(Qt::Horizontal, this);
    tcb_meoFontSize->setObjectName("tcb_meoFontSize");
    tcb_meoFontSize->setToolTip("调整字体大小");
    tcb_meoFontSize->setRange(4, 24);
    tcb_meoFontSize->setValue(14);
    Place(tcb_meoFontSize, 40, 770, 278, 32);

    // The printed forms of the reports, in the corners the page leaves free.
    cbt_Pdf = AddButton(this, "cbt_Pdf", "PDF", 8, 6, 36, 21);
    cbt_Pdf->setToolTip("存为PDF文件 (右键或Ctrl+P: 打印)");
    cbt_Pdf->setProperty("small", true);
    cbt_Pdf->setEnabled(false);
    act_Print = new QAction("打印", this);
    act_Print->setObjectName("act_Print");
    act_Print->setShortcut(QKeySequence::Print);
    act_Print->setShortcutContext(Qt::WindowShortcut); // while the page is shown
    act_Print->setEnabled(false);
    addAction(act_Print);
    cbt_Pdf->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cbt_Pdf, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu::exec({act_Print}, cbt_Pdf->mapToGlobal(at), nullptr, cbt_Pdf);
    });
    cbt_Profile = AddButton(this, "cbt_Profile", "剖面", 296, 6, 34, 21);
    cbt_Profile->setToolTip("查看最末基桩的剖面图");
    cbt_Profile->setProperty("small", true);
    cbt_Profile->setEnabled(false);
    m_profileView = new TProfileView(this);
    lb_JGxingxi = AddLabel(this, "lb_JGxingxi", QString(), 5, 709, 370, 20);
    lb_JGxingxi->setAutoFillBackground(true);
    lb_JGxingxi->setStyleSheet("QLabel { background: #FFFFE1; color: #000000; padding-left: 4px; "
                               "border-top: 1px solid #B0B0B0; }");
    lb_JGxingxi->hide();
    // The project of the printed book's cover, beside the PDF button.
    cbt_xiangmu = AddButton(this, "cbt_xiangmu", "项目", 48, 6, 34, 21);
    cbt_xiangmu->setToolTip("项目信息 (PDF计算书的封面和页眉)");
    cbt_xiangmu->setProperty("small", true);

    connect(cbt_PageBook, &QPushButton::clicked, this, &TResultsPage::cbt_PageBookClick);
    connect(cbt_Pdf, &QPushButton::clicked, this, &TResultsPage::PdfRequested);
    connect(cbt_xiangmu, &QPushButton::clicked, this, &TResultsPage::ProjectRequested);
    connect(act_Print, &QAction::triggered, this, &TResultsPage::PrintRequested);
    connect(cbt_Profile, &QPushButton::clicked, this, &TResultsPage::cbt_ProfileClick);
    connect(tcb_meoFontSize, &QSlider::valueChanged, this, &TResultsPage::tcb_meoFontSizeChange);
    connect(cbt_Save, &QPushButton::clicked, this, &TResultsPage::SaveRequested);
    connect(cbt_sanchu, &QPushButton::clicked, this, &TResultsPage::DeleteLastRequested);
    connect(cbt_Exit, &QPushButton::clicked, this, &TResultsPage::BackRequested);
    connect(cbt_Exit, &QPushButton::clicked, lb_JGxingxi, &QWidget::hide);
}

void TResultsPage::ShowSavedFile(const QString &path)
{
    lb_JGxingxi->show();
    lb_JGxingxi->raise();
    ::ShowSavedFile(lb_JGxingxi, "已保存：", path);
}

void TResultsPage::ShowReports(const TPileReports &reports, bool fromTop)
{
    meo_jisuanjieguo_Doc->ShowLines(reports.BookLines());
    meo_jisuanjieguo_Xls->ShowLines(reports.TableLines());
    if (fromTop) {
        for (TReportMemo *memo : {meo_jisuanjieguo_Doc, meo_jisuanjieguo_Xls}) {
            memo->moveCursor(QTextCursor::Start);
            memo->verticalScrollBar()->setValue(0);
            memo->horizontalScrollBar()->setValue(0);
        }
    }
    UpdateSaveButton();
    cbt_sanchu->setEnabled(reports.PileCount() > 0);
    m_reports = &reports;
    cbt_Pdf->setEnabled(reports.PileCount() > 0);
    act_Print->setEnabled(reports.PileCount() > 0);
    cbt_Profile->setEnabled(reports.PileCount() > 0);
    m_profileView->hide(); // it showed a pile of the reports as they were
    lb_JGxingxi->hide();
}

void TResultsPage::UpdateSaveButton()
{
    cbt_Save->setEnabled(m_unsavedReports & (m_tableShown ? UnsavedTable : UnsavedBook));
}

void TResultsPage::cbt_PageBookClick()
{
    m_tableShown = !m_tableShown;
    meo_jisuanjieguo_Doc->setVisible(!m_tableShown);
    meo_jisuanjieguo_Xls->setVisible(m_tableShown);
    cbt_PageBook->setText(m_tableShown ? "2" : "1");
    lb_JGxingxi->hide();
    UpdateSaveButton();
}

void TResultsPage::tcb_meoFontSizeChange(int size)
{
    SetFontPixels(meo_jisuanjieguo_Doc, size);
    SetFontPixels(meo_jisuanjieguo_Xls, size);
}

void TResultsPage::cbt_ProfileClick()
{
    if (m_reports && !m_reports->Piles().empty())
        m_profileView->ShowPile(m_reports->Piles().back(), m_reports->PileCount());
}
