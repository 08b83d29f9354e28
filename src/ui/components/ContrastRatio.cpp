#include "ui/components/ContrastRatio.h"

#include <algorithm>
#include <cmath>

namespace orva {

namespace {
double luminance(double r, double g, double b)
{
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}
} // namespace

double contrastRatio(const QColor& foreground, const QColor& background)
{
    const double a = foreground.alphaF();
    const double r = foreground.redF() * a + background.redF() * (1 - a);
    const double g = foreground.greenF() * a + background.greenF() * (1 - a);
    const double b = foreground.blueF() * a + background.blueF() * (1 - a);
    const double front = luminance(r, g, b);
    const double back = luminance(background.redF(), background.greenF(), background.blueF());
    return (std::max(front, back) + 0.05) / (std::min(front, back) + 0.05);
}

} // namespace orva
