#pragma once

#include <QColor>

// The program's text colours: errors, hints on specified coefficients, notes, and a compliant
// result.
namespace Colours {
inline const QColor Error(0xFF, 0x00, 0x00);
inline const QColor Hint(0xFF, 0x00, 0xFF);
inline const QColor Note(0x00, 0x00, 0x00);
inline const QColor Compliant(0x00, 0x80, 0x00);
} // namespace Colours
