#pragma once

#include <QWidget>

class QPainter;

// The program's emblem: a pile standing in soil with its foot socketed in rock.
void PaintPileEmblem(QPainter &painter, const QRectF &area);

// The logo strip img_logo at the foot of the input page: the emblem and the title on a radial
// pink-to-white background.
class TLogoStrip : public QWidget
{
    Q_OBJECT

public:
    explicit TLogoStrip(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
