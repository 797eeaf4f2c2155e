#pragma once

#include <QFont>
#include <QString>

// The fixed-width CJK font of the printed reports: SimHei where it is installed, else Noto Sans
// Mono CJK SC, found by family or, where the font database does not list it, loaded from its file.
// Empty when neither can be had.
QString ReportFontFamily();

// The report font at a size in points, without hinting so that its advances scale exactly.
QFont ReportFont(double pointSize);
