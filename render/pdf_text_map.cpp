#include "pdf_text_map.h"

#include <QHash>
#include <QList>
#include <QRawFont>
#include <QString>

#include <cctype>
#include <tuple>
#include <utility>

namespace {

// Code points that share their glyph with a more fitting one: radicals and the tab.
QHash<uint, uint> Replacements(const QFont &font)
{
    QHash<uint, uint> replacements {{0x0009, 0x0020}};
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return replacements;
    const auto glyphs = [&](uint first, uint last) {
        QString text;
        for (uint c = first; c <= last; ++c)
            text.append(QChar(char16_t(c)));
        return raw.glyphIndexesForString(text);
    };
    QHash<quint32, uint> ideographOfGlyph;
    for (const auto &[first, last] :
         {std::pair<uint, uint> {0x4E00, 0x9FFF}, {0x3400, 0x4DBF}, {0xF900, 0xFAFF}}) {
        const QList<quint32> found = glyphs(first, last);
        for (qsizetype i = 0; i < found.size(); ++i)
            if (found[i] != 0 && !ideographOfGlyph.contains(found[i]))
                ideographOfGlyph.insert(found[i], first + uint(i));
    }
    const QList<quint32> radicals = glyphs(0x2E80, 0x2FDF);
    for (qsizetype i = 0; i < radicals.size(); ++i) {
        const auto ideograph = ideographOfGlyph.constFind(radicals[i]);
        if (radicals[i] != 0 && ideograph != ideographOfGlyph.cend())
            replacements.insert(0x2E80 + uint(i), *ideograph);
    }
    return replacements;
}

bool IsHex4(const QByteArray &pdf, qsizetype at)
{
    if (at + 5 >= pdf.size() || pdf[at] != '<' || pdf[at + 5] != '>')
        return false;
    for (qsizetype k = 1; k <= 4; ++k)
        if (!std::isxdigit(static_cast<unsigned char>(pdf[at + k])))
            return false;
    return true;
}

// Rewrites the destinations of one line of a character map: after the source code (bfchar) or
// the two source codes of a range (bfrange), every four-digit code of a single character.
void MendLine(QByteArray &pdf, qsizetype begin, qsizetype end, int sources,
              const QHash<uint, uint> &replacements)
{
    int index = 0;
    bool single = true; // a range of codes that maps to one start code is kept as it is
    QByteArray firstSource;
    QByteArray secondSource;
    for (qsizetype at = begin; at < end; ++at) {
        if (pdf[at] == '[')
            single = false;
        if (pdf[at] != '<')
            continue;
        const qsizetype close = pdf.indexOf('>', at);
        if (close < 0 || close > end)
            return;
        if (index == 0)
            firstSource = pdf.mid(at, close - at);
        if (index == 1)
            secondSource = pdf.mid(at, close - at);
        if (index++ >= sources && IsHex4(pdf, at)) {
            bool ok = false;
            const uint code = pdf.mid(at + 1, 4).toUInt(&ok, 16);
            const auto replacement = replacements.constFind(code);
            const bool range = sources == 2 && single && firstSource != secondSource;
            if (ok && replacement != replacements.cend() && !range) {
                const QByteArray hex =
                    QByteArray::number(*replacement, 16).toUpper().rightJustified(4, '0');
                pdf.replace(at + 1, 4, hex);
            }
        }
        at = close;
    }
}

} // namespace

QByteArray MendTextMaps(QByteArray pdf, const QFont &font)
{
    static const QHash<uint, uint> replacements = Replacements(font);
    for (const auto &[open, shut, sources] :
         {std::tuple<const char *, const char *, int> {"beginbfrange", "endbfrange", 2},
          {"beginbfchar", "endbfchar", 1}}) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype begin = pdf.indexOf(open, from);
            if (begin < 0)
                break;
            const qsizetype end = pdf.indexOf(shut, begin);
            if (end < 0)
                break;
            qsizetype line = pdf.indexOf('\n', begin) + 1;
            while (line > 0 && line < end) {
                qsizetype next = pdf.indexOf('\n', line);
                if (next < 0 || next > end)
                    next = end;
                MendLine(pdf, line, next, sources, replacements);
                line = next + 1;
            }
            from = end;
        }
    }
    return pdf;
}
