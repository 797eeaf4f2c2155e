#include "pile_profile.h"

#include "coefficients.h"
#include "decimal_reader.h"
#include "number_format.h"
#include "pile_figures.h"
#include "report_font.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double Pi = 3.14159265358979323846;

QString Text(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

double ValueOf(const std::string &text)
{
    return std::max(0.0, ReadDecimal(text).value_or(0));
}

std::string Fixed2(double value)
{
    return FormatFixed(value, 10, 2);
}

// A font `pixels` device units high on the painter's device.
QFont FontOf(const QPainter &painter, double pixels)
{
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    QFont font = ReportFont(std::max(1.0, pixels * 72.0 / dpi));
    return font;
}

// Draws the text in the box at the largest size up to `pixels` at which it fits, on one line or,
// where even a small size would not do, wrapped over two; never cut: at the smallest size it is
// drawn whole even where it overflows the box.
void FitText(QPainter &painter, const QRectF &box, const QString &text, double pixels)
{
    const auto fits = [&](double size, int flags) {
        const QFontMetricsF metrics(FontOf(painter, size), painter.device());
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, box.width(), 1e6), flags, text);
        return needed.width() <= box.width() + 0.01 && needed.height() <= box.height() + 0.01;
    };
    const int single = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const int wrapped = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere;
    double size = pixels;
    int flags = single;
    while (size > pixels * 0.6 && !fits(size, single))
        size *= 0.95;
    if (!fits(size, single)) {
        flags = wrapped;
        size = pixels;
        while (size > pixels * 0.35 && !fits(size, wrapped))
            size *= 0.95;
    }
    painter.setFont(FontOf(painter, size));
    painter.drawText(box, flags, text);
}

// The labels of thin layers are spread so that none covers another, each as near its band as the
// others let it be: a pass down keeps them apart, a pass up keeps them inside the column.
std::vector<double> SpreadLabels(const std::vector<double> &wanted, double height, double top,
                                 double bottom)
{
    std::vector<double> tops(wanted.size());
    double next = top;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        tops[i] = std::max(wanted[i] - height / 2, next);
        next = tops[i] + height;
    }
    double limit = bottom;
    for (std::size_t i = wanted.size(); i-- > 0;) {
        tops[i] = std::max(top, std::min(tops[i], limit - height));
        limit = tops[i];
    }
    return tops;
}

// Line hatching of a band: `kind` 0 and 1 are diagonals either way, 2 both, 3 horizontal dashes,
// 4 vertical lines; soil takes dots.
void Hatch(QPainter &painter, const QRectF &band, int kind, double spacing)
{
    painter.save();
    painter.setClipRect(band, Qt::IntersectClip);
    const double w = band.width();
    const double h = band.height();
    const auto diagonals = [&](bool rising) {
        for (double t = -h; t < w + h; t += spacing) {
            if (rising)
                painter.drawLine(QPointF(band.left() + t, band.bottom()),
                                 QPointF(band.left() + t + h, band.top()));
            else
                painter.drawLine(QPointF(band.left() + t, band.top()),
                                 QPointF(band.left() + t + h, band.bottom()));
        }
    };
    if (kind == 0 || kind == 2)
        diagonals(true);
    if (kind == 1 || kind == 2)
        diagonals(false);
    if (kind == 4) {
        for (double x = band.left() + spacing / 2; x < band.right(); x += spacing)
            painter.drawLine(QPointF(x, band.top()), QPointF(x, band.bottom()));
    }
    if (kind == 3) {
        for (double y = band.top() + spacing / 2; y < band.bottom(); y += spacing / 1.5) {
            const double shift = std::fmod((y - band.top()) / spacing, 2.0) < 0.7 ? 0 : spacing;
            for (double x = band.left() - shift; x < band.right(); x += 2 * spacing)
                painter.drawLine(QPointF(x, y), QPointF(x + spacing, y));
        }
    }
    painter.restore();
}

void Dots(QPainter &painter, const QRectF &band, double spacing, double radius)
{
    painter.save();
    painter.setClipRect(band, Qt::IntersectClip);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    int row = 0;
    for (double y = band.top() + spacing / 2; y < band.bottom(); y += spacing, ++row)
        for (double x = band.left() + (row % 2 ? spacing / 2 : 0); x < band.right(); x += spacing)
            painter.drawEllipse(QPointF(x, y), radius, radius);
    painter.restore();
}

QPen Pen(double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(Qt::black, width, style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// A vertical dimension line from y0 to y1 at x, with ticks, and its text left of it.
void VerticalDimension(QPainter &painter, double x, double y0, double y1, const QString &text,
                       double fontPixels, double tick, bool textBelowIfThin)
{
    painter.setPen(Pen(fontPixels / 12));
    painter.drawLine(QPointF(x, y0), QPointF(x, y1));
    painter.drawLine(QPointF(x - tick, y0 + tick), QPointF(x + tick, y0 - tick));
    painter.drawLine(QPointF(x - tick, y1 + tick), QPointF(x + tick, y1 - tick));
    painter.setFont(FontOf(painter, fontPixels));
    QRectF box(x - tick - 12 * fontPixels, (y0 + y1) / 2 - fontPixels * 0.7, 12 * fontPixels,
               fontPixels * 1.4);
    if (textBelowIfThin && y1 - y0 < fontPixels * 1.4)
        box.moveTop(y1 + tick);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
}

class TProfilePainter
{
public:
    TProfilePainter(QPainter &painter, const QRectF &area, const TPileRecord &pile, int n)
        : m_painter(painter)
        , m_area(area)
        , m_pile(pile)
        , m_n(n)
        , m_layout(LayoutPileProfile(area, pile))
        , m_f(m_layout.labelPixels)
    { }

    void Draw()
    {
        m_painter.save();
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.fillRect(m_area, Qt::white);
        Title();
        Bands();
        PileBody();
        Labels();
        Plan();
        Legend();
        Resistances();
        m_painter.restore();
    }

private:
    void Title()
    {
        m_painter.setPen(Qt::black);
        m_painter.setFont(FontOf(m_painter, m_f * 1.35));
        m_painter.drawText(m_layout.title, Qt::AlignCenter,
                           QString::fromUtf8("基桩ZH%1 剖面图").arg(m_n));
    }

    void Bands()
    {
        const TProfileLayout &l = m_layout;
        const double thin = m_f / 14;
        const double spacing = m_f * 0.9;
        m_painter.setPen(Pen(thin));
        for (std::size_t j = 0; j < l.soilBands.size(); ++j)
            Dots(m_painter, l.soilBands[j], spacing * (j % 2 ? 0.65 : 1.0), m_f / 14);
        for (std::size_t i = 0; i < l.rockBands.size(); ++i) {
            const TRockPattern &pattern = l.legend[l.rockPatterns[i]];
            m_painter.setPen(Pen(thin));
            Hatch(m_painter, l.rockBands[i], pattern.lines, spacing * pattern.spacing);
        }
        if (!l.rockBands.empty()) {
            const TRockPattern &pattern = l.legend[l.rockPatterns.back()];
            m_painter.setPen(Pen(thin, Qt::DotLine));
            Hatch(m_painter, l.below, pattern.lines, spacing * pattern.spacing);
            // The band under the tip says what it is, on a white ground over the hatching.
            m_painter.setFont(FontOf(m_painter, m_f * 0.75));
            const QString text = QString::fromUtf8("桩端以下");
            const QFontMetricsF metrics(m_painter.font(), m_painter.device());
            const QRectF box(l.below.left() + m_f * 0.2, l.below.bottom() - m_f * 1.1,
                             metrics.horizontalAdvance(text) + m_f * 0.3, m_f * 0.95);
            m_painter.fillRect(box, Qt::white);
            m_painter.setPen(Qt::black);
            m_painter.drawText(box, Qt::AlignCenter, text);
        }
        // Layer boundaries, the ground line and the open edge under the tip.
        m_painter.setPen(Pen(m_f / 8));
        for (const QRectF &band : l.soilBands)
            m_painter.drawLine(band.bottomLeft(), band.bottomRight());
        for (const QRectF &band : l.rockBands)
            m_painter.drawLine(band.bottomLeft(), band.bottomRight());
        m_painter.drawLine(QPointF(l.elevation.left(), l.elevation.top()),
                           QPointF(l.elevation.left(), l.below.bottom()));
        m_painter.drawLine(QPointF(l.elevation.right(), l.elevation.top()),
                           QPointF(l.elevation.right(), l.below.bottom()));
        m_painter.setPen(Pen(m_f / 5));
        m_painter.drawLine(l.elevation.topLeft(), l.elevation.topRight());
        // Ground symbol: short strokes above the ground line.
        m_painter.setPen(Pen(m_f / 12));
        for (double x = l.elevation.left(); x < l.elevation.right() - m_f * 0.3; x += m_f * 0.6)
            m_painter.drawLine(QPointF(x, l.elevation.top()),
                               QPointF(x + m_f * 0.35, l.elevation.top() - m_f * 0.35));
        m_painter.setFont(FontOf(m_painter, m_f));
        m_painter.drawText(QRectF(l.elevation.left(), l.elevation.top() - m_f * 1.9,
                                  l.elevation.width(), m_f * 1.3),
                           Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("地面"));
        // Depth levels and dimensions to the left of the bands.
        const double x = l.elevation.left() - m_f * 0.8;
        const double tick = m_f * 0.25;
        const double ground = l.elevation.top();
        const double rockTop = l.rockBands.empty() ? ground : l.rockBands.front().top();
        const double tip = l.rockBands.empty() ? ground : l.rockBands.back().bottom();
        if (rockTop > ground)
            VerticalDimension(m_painter, x, ground, rockTop,
                              Text("ls=" + Fixed2(m_pile.result.ls) + " m"), m_f, tick, false);
        VerticalDimension(m_painter, x, rockTop, tip, Text("h=" + Fixed2(m_pile.result.h) + " m"),
                          m_f, tick, true);
        // What is not drawn to the depth scale says so beside the ground line.
        QStringList sketch;
        if (!l.depthToScale)
            sketch << QString::fromUtf8("薄层加高示意");
        if (!l.widthToScale)
            sketch << QString::fromUtf8("桩宽示意");
        if (!sketch.isEmpty()) {
            m_painter.setPen(Qt::black);
            m_painter.setFont(FontOf(m_painter, m_f * 0.8));
            m_painter.drawText(QRectF(l.elevation.left(), l.elevation.top() - m_f * 1.9,
                                      l.elevation.width() + m_f * 6, m_f * 1.3),
                               Qt::AlignRight | Qt::AlignVCenter,
                               sketch.join(QString::fromUtf8("，")));
        }
    }

    void PileBody()
    {
        const QRectF &pile = m_layout.pile;
        m_painter.setPen(Pen(m_f / 4));
        m_painter.setBrush(Qt::white);
        m_painter.drawRect(pile);
        m_painter.setBrush(Qt::NoBrush);
        // The axis of the pile.
        m_painter.setPen(Pen(m_f / 14, Qt::DashDotLine));
        m_painter.drawLine(QPointF(pile.center().x(), pile.top() - m_f * 0.6),
                           QPointF(pile.center().x(), pile.bottom() + m_f * 0.6));
    }

    void Label(const QRectF &band, const QRectF &box, const QString &first, const QString &second)
    {
        const double y = band.center().y();
        const double x0 = m_layout.elevation.right();
        const double x1 = box.left() - m_f * 0.2;
        m_painter.setPen(Pen(m_f / 14));
        m_painter.setBrush(Qt::black);
        m_painter.drawEllipse(QPointF(x0, y), m_f / 8, m_f / 8);
        m_painter.setBrush(Qt::NoBrush);
        const double bend = x0 + (x1 - x0) * 0.35;
        QPainterPath leader(QPointF(x0, y));
        leader.lineTo(bend, y);
        leader.lineTo(x1 - m_f * 0.3, box.center().y());
        leader.lineTo(x1, box.center().y());
        m_painter.drawPath(leader);
        m_painter.setPen(Qt::black);
        const double half = box.height() / 2;
        FitText(m_painter, QRectF(box.left(), box.top(), box.width(), half), first,
                m_layout.labelPixels);
        FitText(m_painter, QRectF(box.left(), box.top() + half, box.width(), half), second,
                m_layout.labelPixels);
    }

    void Labels()
    {
        const TPageTexts &texts = m_pile.texts;
        for (std::size_t j = 0; j < m_layout.soilLabels.size(); ++j) {
            const auto cell = [&](int k) {
                return j < texts.soilCells.size() ? Text(texts.soilCells[j][std::size_t(k)])
                                                  : QString();
            };
            Label(m_layout.soilBands[j], m_layout.soilLabels[j],
                  QString::fromUtf8("土层%1  li=%2 m").arg(j + 1).arg(cell(1)),
                  QString::fromUtf8("qik=%1 kPa").arg(cell(2)));
        }
        const bool byGrade = m_pile.input.interpBasis == TInterpBasis::IntegrityGrade;
        for (std::size_t i = 0; i < m_layout.rockLabels.size(); ++i) {
            const auto cell = [&](int k) {
                return i < texts.rockCells.size() ? Text(texts.rockCells[i][std::size_t(k)])
                                                  : QString();
            };
            const QString integrity = byGrade ? cell(3) : QString("Kv=") + cell(4);
            // The strength with the depth, so that a long description never crowds it out.
            Label(m_layout.rockBands[i], m_layout.rockLabels[i],
                  QString::fromUtf8("岩层%1  hi=%2 m  frk=%3 MPa").arg(i + 1).arg(cell(1), cell(5)),
                  cell(2) + QLatin1Char(' ') + integrity);
        }
    }

    void Plan()
    {
        const QRectF &box = m_layout.plan;
        const TPileResult &r = m_pile.result;
        const TSectionType type = m_pile.input.sectionType;
        m_painter.setPen(Pen(m_f / 14));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(box);
        m_painter.setFont(FontOf(m_painter, m_f));
        const QRectF caption(box.left(), box.top() + m_f * 0.2, box.width(), m_f * 1.4);
        m_painter.drawText(
            caption, Qt::AlignCenter,
            QString::fromUtf8("桩身截面  ")
                + Text(std::string(SectionLabel(m_pile.input, r))).remove(QLatin1Char(' '))
                + QString::fromUtf8("（示意）"));
        // The section to scale in the room left under the caption, with room for its dimensions.
        const QRectF room = box.adjusted(m_f * 3.2, caption.bottom() - box.top() + m_f * 0.8,
                                         -m_f * 1.2, -m_f * 2.6);
        const bool rectangular = IsRectangular(type);
        const bool ellipse = type == TSectionType::Ellipse;
        const double width = std::max(1.0, rectangular ? r.d : ellipse ? r.d + r.c : r.d);
        const double height = std::max(1.0, rectangular ? r.c : r.d);
        const double scale = std::min(room.width() / width, room.height() / height);
        const QSizeF size(width * scale, height * scale);
        const QRectF shape(room.center().x() - size.width() / 2,
                           room.center().y() - size.height() / 2, size.width(), size.height());
        QPainterPath outline;
        if (rectangular)
            outline.addRect(shape);
        else if (ellipse)
            outline.addRoundedRect(shape, shape.height() / 2, shape.height() / 2);
        else
            outline.addEllipse(shape);
        m_painter.setPen(Pen(m_f / 5));
        m_painter.setBrush(QColor(235, 235, 235));
        m_painter.drawPath(outline);
        m_painter.setBrush(Qt::NoBrush);
        // Dimensions: the width under the shape, the height left of it.
        const double gap = m_f * 0.6;
        const double tick = m_f * 0.25;
        m_painter.setPen(Pen(m_f / 12));
        const auto horizontal = [&](double x0, double x1, double y, const QString &text) {
            m_painter.drawLine(QPointF(x0, y), QPointF(x1, y));
            m_painter.drawLine(QPointF(x0 - tick, y + tick), QPointF(x0 + tick, y - tick));
            m_painter.drawLine(QPointF(x1 - tick, y + tick), QPointF(x1 + tick, y - tick));
            m_painter.drawText(QRectF(std::min(x0, box.left()), y + tick * 0.5,
                                      std::max(x1, box.right()) - std::min(x0, box.left()),
                                      m_f * 1.3),
                               Qt::AlignHCenter | Qt::AlignTop, text);
        };
        const TPageTexts &texts = m_pile.texts;
        const double y = shape.bottom() + gap;
        if (rectangular) {
            horizontal(shape.left(), shape.right(), y, Text("a=" + texts.dText + " mm"));
        } else if (ellipse) {
            const double half = shape.height() / 2;
            horizontal(shape.left() + half, shape.right() - half, y,
                       Text("c=" + texts.cText + " mm"));
        } else {
            horizontal(shape.left(), shape.right(), y, Text("d=" + texts.dText + " mm"));
        }
        if (rectangular || ellipse) {
            const double x = shape.left() - gap;
            m_painter.drawLine(QPointF(x, shape.top()), QPointF(x, shape.bottom()));
            m_painter.drawLine(QPointF(x - tick, shape.top() + tick),
                               QPointF(x + tick, shape.top() - tick));
            m_painter.drawLine(QPointF(x - tick, shape.bottom() + tick),
                               QPointF(x + tick, shape.bottom() - tick));
            const QString text = rectangular ? Text("b=" + texts.cText) : Text("d=" + texts.dText);
            m_painter.save();
            m_painter.translate(x - tick, shape.center().y());
            m_painter.rotate(-90);
            m_painter.drawText(QRectF(-box.height() / 2, -m_f * 1.4, box.height(), m_f * 1.3),
                               Qt::AlignHCenter | Qt::AlignBottom, text + " mm");
            m_painter.restore();
        }
    }

    // The rock patterns of the pile with what each stands for, in rows of as many as fit.
    void Legend()
    {
        const QRectF &box = m_layout.legendBox;
        const std::size_t count = m_layout.legend.size();
        if (count == 0 || box.isEmpty())
            return;
        const double size = m_f * 0.75;
        const int perRow = box.width() > 30 * size ? 2 : 1;
        const std::size_t rows = (count + std::size_t(perRow) - 1) / std::size_t(perRow);
        const double row = std::min(size * 1.8, box.height() / double(rows));
        const double width = box.width() / perRow;
        for (std::size_t k = 0; k < count; ++k) {
            const TRockPattern &pattern = m_layout.legend[k];
            const double x = box.left() + double(k % std::size_t(perRow)) * width;
            const double y = box.top() + double(k / std::size_t(perRow)) * row;
            const QRectF swatch(x, y + row * 0.15, size * 2.4, row * 0.7);
            m_painter.setPen(Pen(m_f / 14));
            m_painter.setBrush(Qt::white);
            m_painter.drawRect(swatch);
            Hatch(m_painter, swatch, pattern.lines, m_f * 0.9 * pattern.spacing * 0.6);
            m_painter.setPen(Qt::black);
            FitText(
                m_painter,
                QRectF(swatch.right() + size * 0.4, y, width - swatch.width() - size * 0.6, row),
                pattern.legend, std::min(size, row * 0.7));
        }
    }

    void Resistances()
    {
        const QRectF &box = m_layout.resistances;
        const TPileResult &r = m_pile.result;
        const double rows[] = {r.socketTip, r.socketSide, r.soilSide};
        const double shares[] = {r.tipShare, SocketSideShare(r), SoilShare(r)};
        const char *names[] = {"嵌岩段端阻力", "嵌岩段侧阻力", "土的侧阻力"};
        // The texts at 0.9 of the label size, smaller where a row would not fit the panel.
        double size = m_f * 0.9;
        {
            const QFontMetricsF metrics(FontOf(m_painter, size), m_painter.device());
            const double needed = metrics.horizontalAdvance(QString::fromUtf8(names[0]))
                + metrics.horizontalAdvance(Text(Fixed2(r.Ra)))
                + metrics.horizontalAdvance("100.00%") + size * 2.5;
            if (needed > box.width())
                size *= box.width() / needed;
        }
        const double line = size * 1.7;
        const double swatch = size * 0.9;
        const QFont font = FontOf(m_painter, size);
        const QFontMetricsF metrics(font, m_painter.device());
        // Columns from the right: the share, then the force, each as wide as its widest text.
        const double shareWidth = metrics.horizontalAdvance("100.00%");
        const double shareLeft = box.right() - shareWidth;
        const double forceWidth = metrics.horizontalAdvance(Text(Fixed2(r.Ra)));
        const double forceLeft = shareLeft - size * 0.6 - forceWidth;
        m_painter.setPen(Qt::black);
        m_painter.setFont(FontOf(m_painter, m_f));
        m_painter.drawText(QRectF(box.left(), box.top(), box.width(), line), Qt::AlignCenter,
                           QString::fromUtf8("桩的承载力 (kN)"));
        m_painter.setFont(font);
        double y = box.top() + line * 1.2;
        const auto row = [&](const QString &name, const QString &force, const QString &share,
                             double indent) {
            m_painter.drawText(QRectF(box.left() + indent, y, box.width(), line),
                               Qt::AlignLeft | Qt::AlignVCenter, name);
            m_painter.drawText(QRectF(forceLeft, y, forceWidth, line),
                               Qt::AlignRight | Qt::AlignVCenter, force);
            m_painter.drawText(QRectF(shareLeft, y, shareWidth, line),
                               Qt::AlignRight | Qt::AlignVCenter, share);
        };
        for (int k = 0; k < 3; ++k) {
            Swatch(QRectF(box.left(), y + (line - swatch) / 2, swatch, swatch), k);
            m_painter.setPen(Qt::black);
            row(QString::fromUtf8(names[k]), Text(Fixed2(rows[k])), Text(Fixed2(shares[k]) + "%"),
                swatch + size * 0.4);
            y += line;
        }
        m_painter.setPen(Pen(m_f / 14));
        m_painter.drawLine(QPointF(box.left(), y + line * 0.1),
                           QPointF(box.right(), y + line * 0.1));
        y += line * 0.2;
        m_painter.setPen(Qt::black);
        row(QString::fromUtf8("特征值Ra"), Text(Fixed2(r.Ra)),
            QString::fromUtf8(r.compliant ? "合规" : "超规"), 0);
        y += line * 1.4;
        // The shares as one bar of Ra, each part hatched like its swatch.
        const QRectF bar(box.left(), y, box.width(), std::min(line * 1.2, box.bottom() - y));
        double x = bar.left();
        for (int k = 0; k < 3; ++k) {
            const double part = bar.width() * std::clamp(shares[k], 0.0, 100.0) / 100;
            const QRectF piece(x, bar.top(), std::min(part, bar.right() - x), bar.height());
            Swatch(piece, k);
            x = piece.right();
        }
        m_painter.setPen(Pen(m_f / 10));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(bar);
    }

    // The hatching of a share: a dark fill for the tip, vertical lines for the socket side (no
    // rock is hatched so), dots for the soil, the soil bands' own.
    void Swatch(const QRectF &rect, int kind)
    {
        m_painter.save();
        m_painter.setBrush(Qt::white);
        m_painter.setPen(Pen(m_f / 14));
        m_painter.drawRect(rect);
        if (kind == 0) {
            m_painter.fillRect(rect, QColor(60, 60, 60));
        } else if (kind == 1) {
            m_painter.setPen(Pen(m_f / 14));
            Hatch(m_painter, rect, 4, m_f * 0.45);
        } else {
            Dots(m_painter, rect, m_f * 0.45, m_f / 16);
        }
        m_painter.restore();
    }

    QPainter &m_painter;
    const QRectF m_area;
    const TPileRecord &m_pile;
    const int m_n;
    const TProfileLayout m_layout;
    const double m_f; // the label font height, the unit of every stroke and gap
};

} // namespace

TRockPattern RockPatternOf(const TRockLayer &rock, TInterpBasis basis)
{
    TRockPattern pattern;
    const std::string &weathering = rock.weathering;
    if (weathering.starts_with("微风化"))
        pattern.lines = 2;
    else if (weathering.starts_with("中风化"))
        pattern.lines = 0;
    else if (weathering.starts_with("强风化") || weathering.starts_with("全风化"))
        pattern.lines = 1;
    else
        pattern.lines = 3;
    std::string integrity;
    if (basis == TInterpBasis::IntegrityGrade) {
        integrity = rock.integrityGrade;
    } else if (const auto kv = ReadDecimal(rock.integrityIndex); kv && *kv > 0 && *kv <= 1) {
        integrity =
            std::string(CoefficientsByIndex(*kv).integrityText).substr(std::string("岩体").size());
    }
    static const std::pair<const char *, double> spacings[] = {
        {"完整", 1.25}, {"较完整", 1.0}, {"较破碎", 0.75}, {"破碎", 0.55}, {"极破碎", 0.4}};
    for (const auto &[grade, spacing] : spacings)
        if (integrity == grade)
            pattern.spacing = spacing;
    pattern.legend = Text(weathering)
        + (integrity.empty() ? QString() : QString::fromUtf8("·") + Text(integrity));
    return pattern;
}

TProfileLayout LayoutPileProfile(const QRectF &area, const TPileRecord &pile)
{
    TProfileLayout l;
    const bool wide = area.width() >= 0.9 * area.height();
    const double f = wide ? std::min(area.width() / 52, area.height() / 38)
                          : std::min(area.width() / 36, area.height() / 54);
    l.labelPixels = f;
    l.title = QRectF(area.left(), area.top(), area.width(), f * 2.4);
    const double top = l.title.bottom() + f * 2.2; // room for the ground symbol and its word
    const double margin = f * 0.8;
    QRectF bandsColumn;
    QRectF labelsColumn;
    if (wide) {
        // Depth dimensions, bands, leaders, labels, then the section, the legend and the
        // resistances.
        bandsColumn = QRectF(area.left() + f * 8.5, top, f * 10, area.bottom() - margin - top);
        labelsColumn = QRectF(bandsColumn.right() + f * 3, top, f * 14, bandsColumn.height());
        const double right = labelsColumn.right() + f * 1.5;
        const double panelWidth = area.right() - margin - right;
        l.plan = QRectF(right, top, panelWidth, bandsColumn.height() * 0.4);
        l.legendBox =
            QRectF(right, l.plan.bottom() + f * 0.6, panelWidth, bandsColumn.height() * 0.17);
        l.resistances = QRectF(right, l.legendBox.bottom() + f * 0.9, panelWidth,
                               bandsColumn.bottom() - l.legendBox.bottom() - f * 0.9);
    } else {
        const double upper = (area.bottom() - top) * 0.58;
        bandsColumn = QRectF(area.left() + f * 8.5, top, area.width() * 0.22, upper);
        labelsColumn = QRectF(bandsColumn.right() + f * 2.5, top,
                              area.right() - margin - bandsColumn.right() - f * 2.5, upper);
        l.legendBox = QRectF(area.left() + margin, bandsColumn.bottom() + f * 1.6,
                             area.width() - 2 * margin, (area.bottom() - top) * 0.08);
        const double y = l.legendBox.bottom() + f * 1.0;
        const double width = area.width() - 3 * margin;
        l.plan = QRectF(area.left() + margin, y, width * 0.42, area.bottom() - margin - y);
        l.resistances = QRectF(l.plan.right() + margin, y,
                               area.right() - margin - l.plan.right() - margin, l.plan.height());
    }

    // Depths to scale: the ground at the top, the tip with some rock under it at the bottom; a
    // layer too thin to see is raised to a least height and the others share what is left.
    const TPileResult &r = pile.result;
    std::vector<double> soil;
    for (std::size_t j = 0; j < pile.input.soilLayers.size(); ++j)
        soil.push_back(ValueOf(pile.input.soilLayers[j].li));
    std::vector<double> rock;
    for (std::size_t i = 0; i < pile.input.rockLayers.size(); ++i)
        rock.push_back(ValueOf(pile.input.rockLayers[i].hi));
    double total = 0;
    for (double t : soil)
        total += t;
    for (double t : rock)
        total += t;
    total = std::max(total, 1e-6);
    const double under = 0.12 * total;
    std::vector<double> all = soil;
    all.insert(all.end(), rock.begin(), rock.end());
    const std::size_t bands = all.size();
    l.minBandHeight =
        std::min(f * 1.1, bandsColumn.height() * 0.6 / double(std::max<std::size_t>(bands, 1)));
    double scale = bandsColumn.height() / (total + under);
    for (int pass = 0; pass < 30; ++pass) {
        double raised = 0;
        double scaled = under;
        for (double t : all) {
            if (t * scale < l.minBandHeight)
                raised += l.minBandHeight;
            else
                scaled += t;
        }
        const double next = (bandsColumn.height() - raised) / std::max(scaled, 1e-9);
        if (std::abs(next - scale) < 1e-9 * scale)
            break;
        scale = std::max(next, 1e-9);
    }
    l.depthScale = scale;
    const auto drawn = [&](double t) {
        const double height = t * scale;
        if (height < l.minBandHeight) {
            l.depthToScale = false;
            return l.minBandHeight;
        }
        return height;
    };
    double y = bandsColumn.top();
    for (double t : soil) {
        l.soilBands.emplace_back(bandsColumn.left(), y, bandsColumn.width(), drawn(t));
        y += l.soilBands.back().height();
    }
    for (double t : rock) {
        l.rockBands.emplace_back(bandsColumn.left(), y, bandsColumn.width(), drawn(t));
        y += l.rockBands.back().height();
    }
    l.elevation =
        QRectF(bandsColumn.left(), bandsColumn.top(), bandsColumn.width(), y - bandsColumn.top());
    l.below = QRectF(l.elevation.left(), y, l.elevation.width(),
                     std::max(under * scale, bandsColumn.bottom() - y));

    // Each rock's pattern, the same rock always the same one.
    for (const TRockLayer &layer : pile.input.rockLayers) {
        const TRockPattern pattern = RockPatternOf(layer, pile.input.interpBasis);
        const auto found = std::find(l.legend.begin(), l.legend.end(), pattern);
        l.rockPatterns.push_back(std::size_t(found - l.legend.begin()));
        if (found == l.legend.end())
            l.legend.push_back(pattern);
    }

    // The pile: to the depth scale across where that fits, else as wide as it shows well.
    const double across =
        (pile.input.sectionType == TSectionType::Ellipse ? r.d + r.c : r.d) / 1000;
    const double least = l.elevation.width() * 0.14;
    const double most = l.elevation.width() * 0.4;
    const double pileWidth = std::clamp(across * l.depthScale, least, most);
    l.widthToScale = std::abs(pileWidth - across * l.depthScale) < 1e-9;
    l.pile = QRectF(l.elevation.center().x() - pileWidth / 2, l.elevation.top() - f * 0.8,
                    pileWidth, y - l.elevation.top() + f * 0.8);

    // Labels of two lines each beside their bands, spread where the bands are too thin.
    const std::size_t count = soil.size() + rock.size();
    double labelHeight = f * 2.5;
    double gap = f * 0.4;
    const double room = labelsColumn.height() + f;
    if (count * (labelHeight + gap) > room) {
        gap = room / double(count) * 0.1;
        labelHeight = room / double(count) - gap;
        l.labelPixels = std::max(f * 0.55, labelHeight / 2.5);
    }
    std::vector<double> wanted;
    for (const QRectF &band : l.soilBands)
        wanted.push_back(band.center().y());
    for (const QRectF &band : l.rockBands)
        wanted.push_back(band.center().y());
    const std::vector<double> tops = SpreadLabels(wanted, labelHeight + gap, labelsColumn.top() - f,
                                                  labelsColumn.bottom() + gap);
    for (std::size_t k = 0; k < count; ++k) {
        const QRectF box(labelsColumn.left(), tops[k] + gap / 2, labelsColumn.width(), labelHeight);
        (k < soil.size() ? l.soilLabels : l.rockLabels).push_back(box);
    }
    return l;
}

void DrawPileProfile(QPainter &painter, const QRectF &area, const TPileRecord &pile, int n)
{
    TProfilePainter(painter, area, pile, n).Draw();
}
