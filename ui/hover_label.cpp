#include "hover_label.h"

#include <QMouseEvent>

THoverLabel::THoverLabel(const QString &name, const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setObjectName(name);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void THoverLabel::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);
    emit MouseMoved();
}

void THoverLabel::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    emit MouseLeft();
}

void THoverLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}

void SetLinkLook(QLabel *label, bool hovered, const QColor &colour)
{
    QFont font = label->font();
    font.setBold(hovered);
    font.setUnderline(hovered);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
