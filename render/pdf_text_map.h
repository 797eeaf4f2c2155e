#pragma once

#include <QByteArray>
#include <QFont>

// Qt's PDF writer tells a reader which character each glyph shows by the lowest code point that
// the font maps to it. CJK fonts draw a Kangxi radical (U+2F00…) with the glyph of its ideograph,
// and a tab with the blank's, so a reader would copy "⼒" for "力" and tabs for blanks. This puts
// the ideograph and the blank back into the character maps of a PDF painted in `font`; the maps
// keep their length, so nothing else in the document moves.
QByteArray MendTextMaps(QByteArray pdf, const QFont &font);
