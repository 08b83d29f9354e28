// Colour texts, tokens and timing curves of the design system.
#include "ui/design/Curves.h"
#include "ui/design/DesignTokens.h"
#include "ui/design/DesignQml.h"
#include "ui/design/MilestoneColors.h"
#include "ui/design/SymbolTable.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRawFont>
#include <QTextLayout>
#include <QtQml/qqmlextensionplugin.h>

#include <memory>

Q_IMPORT_QML_PLUGIN(Orva_DesignPlugin)

namespace {

using namespace orva;

struct HexCase {
    const char* text;
    int r, g, b, a;
};

class HexColorTest : public testing::TestWithParam<HexCase> {};

TEST_P(HexColorTest, GivesComponents)
{
    const HexCase& c = GetParam();
    const QColor color = HexColor().color(QString::fromUtf8(c.text));
    EXPECT_EQ(color.red(), c.r) << c.text;
    EXPECT_EQ(color.green(), c.g) << c.text;
    EXPECT_EQ(color.blue(), c.b) << c.text;
    EXPECT_EQ(color.alpha(), c.a) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, HexColorTest,
                         testing::Values(HexCase{"#FF383C", 255, 56, 60, 255}, HexCase{"#111111", 17, 17, 17, 255},
                                         HexCase{"#191919", 25, 25, 25, 255}, HexCase{"#4C4C4C", 76, 76, 76, 255},
                                         HexCase{"#FFF", 255, 255, 255, 255}, HexCase{"#F0A", 255, 0, 170, 255},
                                         HexCase{"#FA3", 255, 170, 51, 255}, HexCase{"#80FF0000", 255, 0, 0, 128},
                                         HexCase{"#abcdef", 171, 205, 239, 255},
                                         // A text that is not a colour is opaque black.
                                         HexCase{"", 0, 0, 0, 255}, HexCase{"#12345", 0, 0, 0, 255},
                                         HexCase{"#GGGGGG", 0, 0, 0, 255}, HexCase{"F0A", 0, 0, 0, 255},
                                         HexCase{"80FF0000", 0, 0, 0, 255}, HexCase{"  #ABCDEF!  ", 0, 0, 0, 255},
                                         HexCase{"0xFFFFFF", 0, 0, 0, 255}, HexCase{"#12G456", 0, 0, 0, 255},
                                         HexCase{"#FF 000", 0, 0, 0, 255}, HexCase{"가FF00", 0, 0, 0, 255},
                                         HexCase{"#D9D9D9", 217, 217, 217, 255}, HexCase{"#030303", 3, 3, 3, 255}));

TEST(DesignTokens, ColoursFromHexAndOpacities)
{
    EXPECT_EQ(DesignTokens::Colors::background(), QColor(17, 17, 17));
    EXPECT_EQ(DesignTokens::Colors::cardBackground(), QColor(25, 25, 25));
    EXPECT_EQ(DesignTokens::Colors::red(), QColor(255, 56, 60));
    EXPECT_EQ(DesignTokens::Colors::darkGray(), QColor(76, 76, 76));
    EXPECT_NEAR(DesignTokens::Colors::textPrimary().alphaF(), 0.9, 0.005);
    EXPECT_NEAR(DesignTokens::Colors::textSecondary().alphaF(), 0.4, 0.005);
    EXPECT_EQ(DesignTokens::Colors::textPrimary(), DesignTokens::Colors::white90());
    EXPECT_EQ(DesignTokens::Colors::textSecondary(), DesignTokens::Colors::white40());
    EXPECT_NEAR(DesignTokens::Colors::white20().alphaF(), 0.2, 0.005);
    EXPECT_NEAR(DesignTokens::Colors::white10().alphaF(), 0.1, 0.005);
}

TEST(DesignTokens, LayoutSizes)
{
    EXPECT_EQ(DesignTokens::Layout::dashboardWidth, 856);
    EXPECT_EQ(DesignTokens::Layout::boardWidthNarrow, 824);
}

// The QML singletons read the same values as C++.
TEST(DesignTokens, QmlSingletonsMatch)
{
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        import Orva.Design
        QtObject {
            property color background: Colors.background
            property color card: Colors.cardBackground
            property color hex: Hex.color("#D9D9D9")
            property real s16: Spacing.s16
            property real p48: Padding.p48
            property real r12: CornerRadius.r12
            property real dashboard: LayoutMetrics.dashboardWidth
            property real narrow: LayoutMetrics.boardWidthNarrow
            property int title3: Fonts.title3.pixelSize
            property int stroke: Animations.strokeDrawDuration
            property real slide: Animations.slideDistance
            property string check: Symbols.glyph("checkmark")
            property real openingTurn: Symbols.rotation("quote.opening")
            property real closingTurn: Symbols.rotation("quote.closing")
        })",
                      QUrl());
    std::unique_ptr<QObject> o(component.create());
    ASSERT_TRUE(o) << component.errorString().toStdString();
    EXPECT_EQ(o->property("background").value<QColor>(), QColor(17, 17, 17));
    EXPECT_EQ(o->property("card").value<QColor>(), QColor(25, 25, 25));
    EXPECT_EQ(o->property("hex").value<QColor>(), QColor(217, 217, 217));
    EXPECT_EQ(o->property("s16").toDouble(), 16);
    EXPECT_EQ(o->property("p48").toDouble(), 48);
    EXPECT_EQ(o->property("r12").toDouble(), 12);
    EXPECT_EQ(o->property("dashboard").toDouble(), 856);
    EXPECT_EQ(o->property("narrow").toDouble(), 824);
    EXPECT_EQ(o->property("title3").toInt(), DesignTokens::Fonts::kTitle3Size);
    EXPECT_EQ(o->property("stroke").toInt(), 3500);
    EXPECT_EQ(o->property("slide").toDouble(), 30);
    EXPECT_EQ(o->property("check").toString(), QString(QChar(0xe5ca)));
    EXPECT_EQ(o->property("openingTurn").toDouble(), 180);
    EXPECT_EQ(o->property("closingTurn").toDouble(), 0);
}

// One colour per milestone type, the same from C++ and from QML; an unknown
// case is gray rather than a stray colour.
TEST(MilestoneColors, OneTableForCppAndQml)
{
    struct Row {
        int type;
        QColor colour;
    };
    const Row rows[] = {
        {static_cast<int>(MilestoneType::setupAndModeling), DesignTokens::Colors::indigo()},
        {static_cast<int>(MilestoneType::featureImplementation), DesignTokens::Colors::blue()},
        {static_cast<int>(MilestoneType::uiImplementation), DesignTokens::Colors::teal()},
        {-1, DesignTokens::Colors::gray()},
        {3, DesignTokens::Colors::gray()},
    };
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        QQmlComponent component(&engine);
        component.setData(QStringLiteral("import QtQuick\nimport Orva.Design\nQtObject { property color c: "
                                         "MilestoneColors.color(%1) }")
                              .arg(row.type)
                              .toUtf8(),
                          QUrl());
        std::unique_ptr<QObject> o(component.create());
        ASSERT_TRUE(o) << component.errorString().toStdString();
        EXPECT_EQ(o->property("c").value<QColor>(), row.colour);
        if (row.type >= 0 && row.type < 3) {
            EXPECT_EQ(milestoneColor(static_cast<MilestoneType>(row.type)), row.colour);
        }
    }
}

// The fixed-pitch face is installed and really fixed-pitch.
TEST(DesignTokens, MonospacedFontIsFixedPitch)
{
    ASSERT_TRUE(DesignTokens::loadDesignFonts());
    const QFont font = DesignTokens::Fonts::monospaced();
    EXPECT_TRUE(QFontDatabase::families().contains(DesignTokens::Fonts::kMonospacedFamily));
    const QFontMetricsF metrics(font);
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("MMMM")));
}

// Emoji in any text of the design fonts come from the colour emoji font,
// not from a system fallback that draws them in one colour.
TEST(DesignTokens, EmojiComeFromTheColourEmojiFont)
{
    ASSERT_TRUE(DesignTokens::loadDesignFonts());
    QFont familyOnly;
    familyOnly.setFamily(DesignTokens::Fonts::kTextFamily);
    for (const QFont& font : {DesignTokens::Fonts::body(), DesignTokens::Fonts::title3(),
                              DesignTokens::Fonts::monospaced(), familyOnly}) {
        SCOPED_TRACE(font.family().toStdString());
        // Grinning and smiling faces, rocket, check mark, cross mark, party popper.
        QTextLayout layout(QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x8A\xF0\x9F\x9A\x80"
                                             "\xE2\x9C\x85\xE2\x9D\x8C\xF0\x9F\x8E\x89"),
                           font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            EXPECT_EQ(run.rawFont().familyName(), DesignTokens::Fonts::kEmojiFamily);
            glyphs += static_cast<int>(run.glyphIndexes().size());
        }
        EXPECT_EQ(glyphs, 6);
    }
}

// The timing curve (0.25, 1), (0.3, 1): a fast start and a long, soft end.
TEST(TimingCurve, FastStartSoftEnd)
{
    const auto& c = DesignTokens::Animations::strokeDraw;
    // Points of the curve by its parameter t: x(t) must map to y(t).
    for (double t : {0.05, 0.2, 0.35, 0.5, 0.75, 0.95}) {
        const double u = 1 - t;
        const double x = 3 * u * u * t * c.x1 + 3 * u * t * t * c.x2 + t * t * t;
        const double y = 3 * u * u * t * c.y1 + 3 * u * t * t * c.y2 + t * t * t;
        EXPECT_NEAR(cubicBezierTiming(c.x1, c.y1, c.x2, c.y2, x), y, 1e-6) << "at t = " << t;
    }
    // Most of the change is done early.
    EXPECT_GT(cubicBezierTiming(c.x1, c.y1, c.x2, c.y2, 0.1), 0.3);
    EXPECT_GT(cubicBezierTiming(c.x1, c.y1, c.x2, c.y2, 0.5), 0.9);
    double last = 0;
    for (double x = 0; x <= 1.0; x += 0.01) {
        const double y = cubicBezierTiming(c.x1, c.y1, c.x2, c.y2, x);
        EXPECT_GE(y, last - 1e-9) << "monotonic at " << x;
        EXPECT_LE(y, 1.0 + 1e-9);
        last = y;
    }
    // A linear curve maps x to x.
    EXPECT_NEAR(cubicBezierTiming(1.0 / 3, 1.0 / 3, 2.0 / 3, 2.0 / 3, 0.37), 0.37, 1e-6);
}

// Qt's own Bézier easing runs the same curve.
TEST(TimingCurve, QmlEasingAgrees)
{
    const QEasingCurve easing = timingCurveEasing(DesignTokens::Animations::rotation);
    const auto& c = DesignTokens::Animations::rotation;
    for (double x : {0.05, 0.2, 0.5, 0.9})
        EXPECT_NEAR(easing.valueForProgress(x), cubicBezierTiming(c.x1, c.y1, c.x2, c.y2, x), 0.01) << x;
}

struct SpringCase {
    DesignTokens::Animations::Spring spring;
    double overshoot;  // exp(-pi zeta / sqrt(1 - zeta^2))
    double settleLow;  // seconds, within 0.001 of the target
    double settleHigh;
};

TEST(Spring, OvershootAndSettling)
{
    const SpringCase cases[] = {
        {DesignTokens::Animations::entranceSpring, 0.0152, 1.3, 1.8},
        {DesignTokens::Animations::popupSpring, 0.046, 0.6, 0.9},
    };
    for (const SpringCase& c : cases) {
        EXPECT_NEAR(springOvershoot(c.spring), c.overshoot, 0.002) << c.spring.response;
        const double settle = springSettlingTime(c.spring);
        EXPECT_GT(settle, c.settleLow) << c.spring.response;
        EXPECT_LT(settle, c.settleHigh) << c.spring.response;
        EXPECT_DOUBLE_EQ(springValue(c.spring, 0), 0);
        EXPECT_NEAR(springValue(c.spring, settle), 1, 0.001);
        // The first peak comes half a damped period after the start.
        const double omega = 2 * M_PI / c.spring.response;
        const double peakTime = M_PI / (omega * std::sqrt(1 - c.spring.dampingFraction * c.spring.dampingFraction));
        EXPECT_NEAR(springValue(c.spring, peakTime) - 1, c.overshoot, 0.002);
    }
}

TEST(Spring, EasingCurveEndsAtTarget)
{
    const QEasingCurve e = entranceSpringEasing();
    EXPECT_NEAR(e.valueForProgress(0), 0, 1e-9);
    EXPECT_NEAR(e.valueForProgress(1), 1, 1e-9);
    // It passes beyond the target before settling.
    double peak = 0;
    for (double x = 0; x <= 1; x += 0.005)
        peak = std::max(peak, e.valueForProgress(x));
    EXPECT_GT(peak, 1.01);
    EXPECT_EQ(springDurationMs(DesignTokens::Animations::entranceSpring),
              static_cast<int>(std::lround(springSettlingTime(DesignTokens::Animations::entranceSpring) * 1000)));
}

// Every symbol name has a glyph that the icon font really draws.
TEST(SymbolTable, EveryGlyphIsInTheFont)
{
    ASSERT_TRUE(DesignTokens::loadDesignFonts());
    QFont font(DesignTokens::Fonts::kSymbolFamily);
    font.setPixelSize(24);
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    ASSERT_EQ(raw.familyName(), DesignTokens::Fonts::kSymbolFamily);
    const QStringList names = knownSymbolNames();
    EXPECT_GE(names.size(), 28);
    for (const QString& name : names) {
        const auto glyph = symbolGlyph(name);
        ASSERT_TRUE(glyph.has_value());
        EXPECT_TRUE(raw.supportsCharacter(glyph->at(0))) << name.toStdString();
    }
    EXPECT_FALSE(symbolGlyph(QStringLiteral("no.such.symbol")).has_value());
}

// "exclamationmark.triangle" (the chat's error row) is the outline of the
// triangle; "exclamationmark.triangle.fill" (the terminal's banner) is filled.
TEST(SymbolTable, TheWarningTriangleComesOutlinedAndFilled)
{
    ASSERT_TRUE(DesignTokens::loadDesignFonts());
    QFont font(DesignTokens::Fonts::kSymbolFamily);
    font.setPixelSize(64);
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    auto inkOf = [&](const QString& name) {
        const auto glyph = symbolGlyph(name);
        EXPECT_TRUE(glyph.has_value());
        const QList<quint32> indexes = raw.glyphIndexesForString(*glyph);
        EXPECT_EQ(indexes.size(), 1);
        QImage image(80, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.translate(8, 64);
        painter.fillPath(raw.pathForGlyph(indexes.value(0)), Qt::black);
        painter.end();
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += qAlpha(image.pixel(x, y)) > 127 ? 1 : 0;
        return ink;
    };
    const int outline = inkOf(QStringLiteral("exclamationmark.triangle"));
    const int filled = inkOf(QStringLiteral("exclamationmark.triangle.fill"));
    EXPECT_GT(outline, 0);
    EXPECT_LT(outline * 4, filled * 3) << "the outline covers much less than the filled triangle";
}

} // namespace
