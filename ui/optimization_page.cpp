#include "optimization_page.h"

#include "input_page.h"
#include "qt_text.h"

#include "messages.h"

#include <QLabel>
#include <QPushButton>

TOptimizationPage::TOptimizationPage(QWidget *parent)
    : TScaledLayer("YouHuaFormLayer", QSize(380, 800), parent)
{
    auto *title = new QLabel("优化设计", this);
    title->setObjectName("lb_youhua");
    title->setAlignment(Qt::AlignCenter);
    QPalette palette = title->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    title->setPalette(palette);
    Place(title, 88, 2, 204, 33);
    SetFontPixels(title, 24);

    lb_YHxingxi = new QLabel(this);
    lb_YHxingxi->setObjectName("lb_YHxingxi");
    Place(lb_YHxingxi, 10, 768, 360, 30);

    cbt_YHfanhui = new QPushButton("返回", this);
    cbt_YHfanhui->setObjectName("cbt_YHfanhui");
    Place(cbt_YHfanhui, 40, 732, 100, 33);
    connect(cbt_YHfanhui, &QPushButton::clicked, this, &TOptimizationPage::BackRequested);
}

void TOptimizationPage::ShowAbortNotice()
{
    QPalette palette = lb_YHxingxi->palette();
    palette.setColor(QPalette::WindowText, Colours::Error);
    lb_YHxingxi->setPalette(palette);
    lb_YHxingxi->setText(ToQ(Messages::AbortNotice));
}
