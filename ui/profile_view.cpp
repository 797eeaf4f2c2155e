#include "profile_view.h"

#include "pile_profile.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TProfileView::TProfileView(QWidget *page)
    : QWidget(page)
{
    setObjectName("ProfileView");
    setFocusPolicy(Qt::StrongFocus);
    setToolTip("点击关闭");
    hide();
}

void TProfileView::ShowPile(const TPileRecord &pile, int n)
{
    m_pile = pile;
    m_n = n;
    setGeometry(parentWidget()->rect());
    raise();
    show();
    setFocus();
    update();
}

void TProfileView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_pile)
        DrawPileProfile(painter, QRectF(rect()).adjusted(4, 4, -4, -4), *m_pile, m_n);
}

void TProfileView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    hide();
}

void TProfileView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}
