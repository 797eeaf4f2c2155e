#include "column_text.h"

#include <QFontMetricsF>

#include <cmath>

namespace {

// Full-width punctuation whose ink sits in the left half of its glyph, as in Chinese type: drawn
// whole from its column, its empty half reaching over the next one.
bool LeftSetPunctuation(char32_t codePoint)
{
    return codePoint == 0x3001 || codePoint == 0x3002 || codePoint == 0xFF01 || codePoint == 0xFF0C
        || codePoint == 0xFF0E || codePoint == 0xFF1A || codePoint == 0xFF1B || codePoint == 0xFF1F;
}

} // namespace

TColumnText::TColumnText(const QFont &font, QPaintDevice *device)
    : m_font(font)
    , m_device(device)
{
    const QFontMetricsF metrics(m_font, m_device);
    m_columnWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    m_ascent = metrics.ascent();
    m_height = metrics.height();
}

double TColumnText::Advance(char32_t codePoint)
{
    const auto found = m_advances.constFind(codePoint);
    if (found != m_advances.cend())
        return *found;
    const QFontMetricsF metrics(m_font, m_device);
    const double advance =
        metrics.horizontalAdvance(QString::fromUcs4(&codePoint, 1), QTextOption());
    m_advances.insert(codePoint, advance);
    return advance;
}

void TColumnText::Draw(QPainter &painter, double x, double y, std::string_view line)
{
    const QList<uint> codePoints = QString::fromUtf8(line.data(), qsizetype(line.size())).toUcs4();
    painter.setFont(m_font);
    QString run;
    double runX = x;
    const auto flush = [&] {
        if (!run.isEmpty())
            painter.drawText(QPointF(runX, y), run);
        run.clear();
    };
    int column = 0;
    for (const uint code : codePoints) {
        const char32_t codePoint = code;
        const int columns = ColumnsOf(codePoint);
        const double cellX = x + column * m_columnWidth;
        const double cellWidth = columns * m_columnWidth;
        const double advance = Advance(codePoint);
        column += columns;
        if (std::abs(advance - cellWidth) <= 0.01 * m_columnWidth) {
            if (run.isEmpty())
                runX = cellX;
            run.append(QString::fromUcs4(&codePoint, 1));
            continue;
        }
        flush();
        const QString glyph = QString::fromUcs4(&codePoint, 1);
        if (advance > cellWidth && LeftSetPunctuation(codePoint)) {
            painter.drawText(QPointF(cellX, y), glyph);
        } else if (advance > cellWidth) {
            painter.save();
            painter.translate(cellX, y);
            painter.scale(cellWidth / advance, 1);
            painter.drawText(QPointF(0, 0), glyph);
            painter.restore();
        } else {
            painter.drawText(QPointF(cellX + (cellWidth - advance) / 2, y), glyph);
        }
    }
    flush();
}
