#pragma once

// Timing curves of the design system: the cubic Bézier timing curve of the
// stroke and rotation animations, and the damped spring of the entrances and
// the popup. Both are exposed to QML as QEasingCurve values of the Motion
// singleton, so NumberAnimation can run them.

#include "ui/design/DesignTokens.h"

#include <QEasingCurve>

namespace orva {

// y of the timing curve (0,0)-(x1,y1)-(x2,y2)-(1,1) at elapsed fraction x,
// solving the curve's x(t) = x by Newton steps with a bisection fallback.
double cubicBezierTiming(double x1, double y1, double x2, double y2, double x);

// Position of a unit spring (mass 1, from 0 towards 1, at rest at t = 0)
// after t seconds, with stiffness (2π / response)² and damping
// 4π · dampingFraction / response.
double springValue(const DesignTokens::Animations::Spring& spring, double t);

// Seconds after which the spring stays within `tolerance` of its target.
double springSettlingTime(const DesignTokens::Animations::Spring& spring, double tolerance = 0.001);

// Largest value the spring reaches beyond its target (0 for no overshoot).
double springOvershoot(const DesignTokens::Animations::Spring& spring);

// Easing curves for QML animations. A spring curve maps the elapsed fraction
// of its settling time to the spring's position; run it with
// springDurationMs(spring) as the animation duration.
QEasingCurve entranceSpringEasing();
QEasingCurve popupSpringEasing();
int springDurationMs(const DesignTokens::Animations::Spring& spring);
QEasingCurve timingCurveEasing(const DesignTokens::Animations::TimingCurve& curve);

} // namespace orva
