#pragma once

#include <QFont>
#include <QString>

// The fixed-width CJK font of the reports, on screen and printed: SimHei where it is installed,
// else Noto Sans Mono CJK SC (or WenQuanYi Zen Hei Mono), found by family or, where the font
// database does not list it, loaded from its file. Empty when none can be had.
QString ReportFontFamily();

// The report font at a size in points, without hinting so that its advances scale exactly.
QFont ReportFont(double pointSize);
