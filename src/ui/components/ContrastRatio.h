#pragma once

#include <QColor>

namespace orva {

// The contrast ratio (1 to 21) of `foreground`, laid with its alpha over the
// opaque `background`, against that background (relative luminance of sRGB).
double contrastRatio(const QColor& foreground, const QColor& background);

} // namespace orva
