#include "ui/design/DesignQml.h"

#include "platform/Log.h"
#include "ui/design/Curves.h"
#include "ui/design/SymbolTable.h"

#include <cmath>

namespace orva {

namespace A = DesignTokens::Animations;

QColor HexColor::color(const QString& text) const
{
    const QColor color = QColor::fromString(text);
    return color.isValid() ? color : QColor(Qt::black);
}

QEasingCurve Motion::entranceSpring() const { return entranceSpringEasing(); }
int Motion::entranceSpringDuration() const { return springDurationMs(A::entranceSpring); }
QEasingCurve Motion::popupSpring() const { return popupSpringEasing(); }
int Motion::popupSpringDuration() const { return springDurationMs(A::popupSpring); }
QEasingCurve Motion::strokeDraw() const { return timingCurveEasing(A::strokeDraw); }
int Motion::strokeDrawDuration() const { return static_cast<int>(std::lround(A::strokeDraw.durationSeconds * 1000)); }
QEasingCurve Motion::rotation() const { return timingCurveEasing(A::rotation); }
int Motion::rotationDuration() const { return static_cast<int>(std::lround(A::rotation.durationSeconds * 1000)); }
double Motion::slideDistance() const { return A::slideDistance; }

QString Symbols::fontFamily() const { return DesignTokens::Fonts::kSymbolFamily; }

QString Symbols::glyph(const QString& name) const
{
    if (const auto g = symbolGlyph(name))
        return *g;
    logLine(QStringLiteral("[SymbolIcon] - Unknown symbol name: ") + name);
    return {};
}

bool Symbols::isKnown(const QString& name) const { return symbolGlyph(name).has_value(); }

double Symbols::rotation(const QString& name) const { return symbolRotation(name); }

} // namespace orva
