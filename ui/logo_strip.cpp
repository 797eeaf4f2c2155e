#include "logo_strip.h"

#include "program_title.h"

#include <QPainter>
#include <QRadialGradient>

void PaintPileEmblem(QPainter &painter, const QRectF &area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = area.width();
    const double h = area.height();
    const QRectF soil(area.left(), area.top() + h * 0.35, w, h * 0.35);
    const QRectF rock(area.left(), soil.bottom(), w, area.bottom() - soil.bottom());
    painter.fillRect(soil, QColor(0xD9, 0xB3, 0x82));
    painter.fillRect(rock, QColor(0x8C, 0x8C, 0x99));
    painter.setPen(QPen(QColor(0x5A, 0x5A, 0x66), std::max(1.0, w / 60)));
    for (double x = rock.left() - rock.height(); x < rock.right(); x += w / 6)
        painter.drawLine(QPointF(x, rock.bottom()), QPointF(x + rock.height(), rock.top()));
    const QRectF pile(area.left() + w * 0.4, area.top() + h * 0.08, w * 0.2, h * 0.8);
    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), std::max(1.0, w / 80)));
    painter.setBrush(QColor(0xE8, 0xE8, 0xE8));
    painter.drawRect(pile);
    painter.restore();
}

TLogoStrip::TLogoStrip(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("img_logo");
}

void TLogoStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRadialGradient gradient(rect().center(), width() / 2.0);
    gradient.setColorAt(0, QColor(0xF5, 0xBD, 0xBD));
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(rect(), gradient);
    const double side = height() * 0.8;
    const QRectF emblem(width() * 0.25 - side, (height() - side) / 2, side, side);
    PaintPileEmblem(painter, emblem);
    painter.setPen(QColor(0x8A, 0x2B, 0xE2));
    painter.drawText(QRectF(emblem.right() + side / 2, 0, width(), height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(ProgramTitle) + QString::fromUtf8(CaptionSuffix));
}
