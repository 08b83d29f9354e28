#pragma once

#include <QColor>
#include <QString>

namespace orva {

// Colour of a hexadecimal colour text. Non-alphanumeric characters are
// trimmed from both ends; the rest is read as an unsigned hexadecimal number
// (an optional "0x" is skipped, reading stops at the first non-digit, no digit
// reads as 0). The character count of the trimmed text picks the layout:
// 3 = RGB (each digit doubled), 6 = RRGGBB, 8 = AARRGGBB, anything else gives
// opaque black. Never fails.
QColor colorFromHex(const QString& text);

} // namespace orva
