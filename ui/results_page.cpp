#include "results_page.h"

#include "report_memo.h"

#include "pile_reports.h"

#include <QLabel>
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

    connect(cbt_PageBook, &QPushButton::clicked, this, &TResultsPage::cbt_PageBookClick);
    connect(tcb_meoFontSize, &QSlider::valueChanged, this, &TResultsPage::tcb_meoFontSizeChange);
    connect(cbt_Save, &QPushButton::clicked, this, &TResultsPage::SaveRequested);
    connect(cbt_sanchu, &QPushButton::clicked, this, &TResultsPage::DeleteLastRequested);
    connect(cbt_Exit, &QPushButton::clicked, this, &TResultsPage::BackRequested);
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
    UpdateSaveButton();
}

void TResultsPage::tcb_meoFontSizeChange(int size)
{
    SetFontPixels(meo_jisuanjieguo_Doc, size);
    SetFontPixels(meo_jisuanjieguo_Xls, size);
}
