#pragma once

// The fixed design constants of every screen: colours, stack spacings,
// paddings, corner radii, layout sizes, type sizes and animation timings.
// Lengths are logical pixels. QML reads the same values through the
// Orva.Design singletons (Colors, Spacing, Padding, CornerRadius,
// LayoutMetrics, Fonts, Animations).

#include <QColor>
#include <QFont>
#include <QString>

namespace orva::DesignTokens {

namespace Colors {
// The platform's system colours in their dark-appearance tints.
QColor orange();
QColor blue();
QColor green();
QColor yellow();
QColor indigo();
QColor purple();
QColor teal();
QColor gray();
QColor red();          // "#FF383C"
QColor textPrimary();  // white at 0.9
QColor textSecondary(); // white at 0.4
QColor white();
QColor darkGray();     // "#4C4C4C"
QColor background();   // "#111111"
QColor cardBackground(); // "#191919"
QColor white90();
// White at 0.6: the faintest white that body text on the background reads in
// (7.20:1 on "#111111"); for a reason or a note under a heading.
QColor white60();
QColor white40();
QColor white20();
QColor white10();
QColor black();
} // namespace Colors

namespace Spacing {
inline constexpr double s4 = 4, s6 = 6, s8 = 8, s10 = 10, s12 = 12, s16 = 16, s20 = 20, s24 = 24, s32 = 32,
                        s40 = 40, s48 = 48;
// The gap a stack leaves between its children when a screen names no other.
inline constexpr double standard = 8;
}
namespace Padding {
inline constexpr double p4 = 4, p6 = 6, p8 = 8, p10 = 10, p12 = 12, p16 = 16, p20 = 20, p24 = 24, p32 = 32,
                        p40 = 40, p48 = 48;
// The inset around a view when a screen names no other.
inline constexpr double standard = 16;
}
namespace CornerRadius {
inline constexpr double r2 = 2, r4 = 4, r6 = 6, r8 = 8, r12 = 12, r16 = 16;
}
namespace Layout {
inline constexpr double taskColumnWidth = 240;
inline constexpr double dashboardWidth = 3 * taskColumnWidth + 136;
inline constexpr double boardWidthNarrow = 3 * taskColumnWidth + 104;
inline constexpr double sidebarWidth = 348;
inline constexpr double terminalWidth = 700;
inline constexpr double workWindowWidth = 1020;
inline constexpr double workWindowHeight = 800;
inline constexpr double inputMinWidth = 350;
inline constexpr double inputMaxWidth = 790;
inline constexpr double inputHeight = 48;
} // namespace Layout

namespace Fonts {
inline const QString kTextFamily = QStringLiteral("Noto Sans CJK KR");
inline const QString kEmojiFamily = QStringLiteral("Noto Color Emoji");
inline const QString kSymbolFamily = QStringLiteral("Material Icons");
// Fixed-pitch text (paths, commands, code) with Hangul in the same face.
inline const QString kMonospacedFamily = QStringLiteral("Noto Sans Mono CJK KR");

// Pixel sizes of the standard text styles (desktop metrics).
inline constexpr int kTitleSize = 22;
inline constexpr int kTitle2Size = 17;
inline constexpr int kTitle3Size = 15;
inline constexpr int kHeadlineSize = 13;
inline constexpr int kSubheadlineSize = 11;
inline constexpr int kBodySize = 13;
inline constexpr int kCalloutSize = 12;
inline constexpr int kCaptionSize = 10;
inline constexpr int kCaption2Size = 10;

QFont largeTitle36();
QFont largeTitle34();
QFont title();
QFont title2();
QFont title3();
QFont headline();
QFont subheadline();
QFont body();
QFont callout();
QFont caption();
QFont caption2();
QFont icon10();
QFont icon16();
QFont icon20();
// Fixed-pitch text at the body size.
QFont monospaced();
} // namespace Fonts

namespace Animations {
// A spring given by its response (seconds per undamped period) and damping fraction.
struct Spring {
    double response;
    double dampingFraction;
};
// A cubic Bézier timing curve from (0,0) to (1,1) with two control points.
struct TimingCurve {
    double x1, y1, x2, y2;
    double durationSeconds;
};
inline constexpr Spring entranceSpring{1.2, 0.8};
inline constexpr Spring popupSpring{0.5, 0.7};
inline constexpr double slideDistance = 30;
inline constexpr TimingCurve strokeDraw{0.25, 1.0, 0.3, 1.0, 3.5};
inline constexpr TimingCurve rotation{0.25, 1.0, 0.3, 1.0, 2.5};
} // namespace Animations

// Registers the text, emoji and symbol font files with the application's font
// database (once). Returns false when a file could not be loaded.
bool loadDesignFonts();

} // namespace orva::DesignTokens
