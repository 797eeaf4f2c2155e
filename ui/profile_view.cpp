#include "profile_view.h"

#include "pile_profile.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

// The labels' font height below which the profile leaves the page for the screen.
constexpr double LegibleLabelPixels = 10;

// Where the profile is drawn in a view of `size`.
QRectF DrawingArea(const QSize &size)
{
    return QRectF(QPointF(0, 0), QSizeF(size)).adjusted(4, 4, -4, -4);
}

} // namespace

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
    // On a small window the sheet lies over the screen instead, where its labels are larger.
    QWidget *page = parentWidget();
    const double onPage = LayoutPileProfile(DrawingArea(page->size()), pile).labelPixels;
    QRect screenArea;
    if (const QScreen *screen = page->screen(); screen && onPage < LegibleLabelPixels)
        screenArea = screen->availableGeometry();
    const bool overScreen = !screenArea.isEmpty()
        && LayoutPileProfile(DrawingArea(screenArea.size()), pile).labelPixels > onPage;
    hide();
    setWindowFlags(overScreen ? Qt::Popup | Qt::FramelessWindowHint : Qt::Widget);
    setGeometry(overScreen ? screenArea : page->rect());
    raise();
    show();
    if (overScreen)
        activateWindow();
    setFocus();
    update();
}

void TProfileView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_pile)
        DrawPileProfile(painter, DrawingArea(size()), *m_pile, m_n);
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
