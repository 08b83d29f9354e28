#include "ui/design/Curves.h"

#include <QPointF>

#include <cmath>
#include <numbers>

namespace orva {

namespace {
double bezier(double a, double b, double t)
{
    // One coordinate of the cubic with end points 0 and 1 and controls a, b.
    const double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}
double bezierDerivative(double a, double b, double t)
{
    const double u = 1 - t;
    return 3 * u * u * a + 6 * u * t * (b - a) + 3 * t * t * (1 - b);
}
} // namespace

double cubicBezierTiming(double x1, double y1, double x2, double y2, double x)
{
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    double t = x;
    for (int i = 0; i < 8; ++i) {
        const double err = bezier(x1, x2, t) - x;
        if (std::abs(err) < 1e-9)
            return bezier(y1, y2, t);
        const double d = bezierDerivative(x1, x2, t);
        if (std::abs(d) < 1e-7)
            break;
        t -= err / d;
        if (t < 0 || t > 1)
            break;
    }
    double lo = 0, hi = 1;
    t = x;
    for (int i = 0; i < 60; ++i) {
        const double v = bezier(x1, x2, t);
        if (std::abs(v - x) < 1e-10)
            break;
        if (v < x)
            lo = t;
        else
            hi = t;
        t = (lo + hi) / 2;
    }
    return bezier(y1, y2, t);
}

double springValue(const DesignTokens::Animations::Spring& spring, double t)
{
    if (t <= 0)
        return 0;
    const double omega = 2 * std::numbers::pi / spring.response;
    const double zeta = spring.dampingFraction;
    if (zeta < 1) {
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        const double decay = std::exp(-zeta * omega * t);
        return 1 - decay * (std::cos(omegaD * t) + (zeta * omega / omegaD) * std::sin(omegaD * t));
    }
    // Critically damped (or more): no oscillation.
    return 1 - std::exp(-omega * t) * (1 + omega * t);
}

double springSettlingTime(const DesignTokens::Animations::Spring& spring, double tolerance)
{
    // Walk back from far beyond settling to the last moment outside the band.
    const double step = 0.001;
    const double horizon = 20 * spring.response;
    for (double t = horizon; t > 0; t -= step) {
        if (std::abs(springValue(spring, t) - 1) > tolerance)
            return t + step;
    }
    return 0;
}

double springOvershoot(const DesignTokens::Animations::Spring& spring)
{
    double peak = 0;
    const double end = springSettlingTime(spring);
    for (double t = 0; t <= end; t += 0.0005)
        peak = std::max(peak, springValue(spring, t) - 1);
    return peak;
}

int springDurationMs(const DesignTokens::Animations::Spring& spring)
{
    return static_cast<int>(std::lround(springSettlingTime(spring) * 1000));
}

namespace {
template <const DesignTokens::Animations::Spring& S>
qreal springEase(qreal progress)
{
    static const double settle = springSettlingTime(S);
    if (progress >= 1)
        return 1;
    return springValue(S, progress * settle);
}
} // namespace

QEasingCurve entranceSpringEasing()
{
    QEasingCurve curve;
    curve.setCustomType(&springEase<DesignTokens::Animations::entranceSpring>);
    return curve;
}

QEasingCurve popupSpringEasing()
{
    QEasingCurve curve;
    curve.setCustomType(&springEase<DesignTokens::Animations::popupSpring>);
    return curve;
}

QEasingCurve timingCurveEasing(const DesignTokens::Animations::TimingCurve& c)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(c.x1, c.y1), QPointF(c.x2, c.y2), QPointF(1, 1));
    return curve;
}

} // namespace orva
