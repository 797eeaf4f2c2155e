#pragma once

#include <QLabel>

// A label that reports the mouse moving over it, leaving it and clicking it, so that it can act as
// a link.
class THoverLabel : public QLabel
{
    Q_OBJECT

public:
    THoverLabel(const QString &name, const QString &text, QWidget *parent);

signals:
    void MouseMoved();
    void MouseLeft();
    void Clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Bold and underline on or off, the other style flags as they were, and the text colour.
void SetLinkLook(QLabel *label, bool hovered, const QColor &colour);
