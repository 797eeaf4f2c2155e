#pragma once

#include <QFont>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QPointF>
#include <QString>

#include <string_view>

// Paints fixed-width report lines on their column grid: a character stands at the column the text
// helpers count for it (two columns for a CJK ideograph, one for anything else), whatever advance
// its glyph has in the font. Glyphs whose advance matches their columns are painted in runs; a
// wider one counted as one column is narrowed to it (①), except full-width punctuation such as
// "：" and "，", whose ink fills only the left half of the glyph: it is drawn whole from its
// column. A narrower glyph is centred in its columns. The columns of every line stay where the text
// file has them.
class TColumnText
{
public:
    TColumnText(const QFont &font, QPaintDevice *device);

    const QFont &Font() const { return m_font; }
    double ColumnWidth() const { return m_columnWidth; }
    double Ascent() const { return m_ascent; }
    double Height() const { return m_height; }

    // Paints one UTF-8 line with the left edge of its first column at `x` and its baseline at `y`.
    void Draw(QPainter &painter, double x, double y, std::string_view line);

private:
    double Advance(char32_t codePoint);

    QFont m_font;
    QPaintDevice *m_device;
    double m_columnWidth = 0;
    double m_ascent = 0;
    double m_height = 0;
    QHash<char32_t, double> m_advances;
};

// Columns a code point takes in the reports' fixed-width text.
inline int ColumnsOf(char32_t codePoint)
{
    return (codePoint >= 0x1000 && codePoint <= 0x9FA5) || codePoint > 0xFFFF ? 2 : 1;
}
