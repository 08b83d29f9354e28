// Icon outlines and the length-trimmed stroke.
#include "ui/components/IconPaths.h"
#include "ui/components/PathTrim.h"

#include <gtest/gtest.h>

#include <QLineF>

namespace {

using namespace orva;

void expectNear(const QPointF& a, const QPointF& b, double tol = 0.01)
{
    EXPECT_NEAR(a.x(), b.x(), tol);
    EXPECT_NEAR(a.y(), b.y(), tol);
}

QPointF element(const QPainterPath& p, int i) { return QPointF(p.elementAt(i).x, p.elementAt(i).y); }

TEST(IconPaths, FolderPlusSign)
{
    const QPainterPath p = IconPaths::appFolderIcon(QSizeF(100, 100));
    ASSERT_GE(p.elementCount(), 4);
    EXPECT_TRUE(p.elementAt(0).isMoveTo());
    expectNear(element(p, 0), {50, 37.5});
    expectNear(element(p, 1), {50, 73.214});
    EXPECT_TRUE(p.elementAt(2).isMoveTo());
    expectNear(element(p, 2), {32.143, 55.357});
    expectNear(element(p, 3), {67.857, 55.357});
}

TEST(IconPaths, CheckCircleStretchesWithTheRectangle)
{
    const QPainterPath p = IconPaths::checkIcon(QSizeF(100, 50));
    // The ellipse is the last subpath: its bounds alone.
    QPainterPath ring;
    int start = 0;
    for (int i = 0; i < p.elementCount(); ++i)
        if (p.elementAt(i).isMoveTo())
            start = i;
    for (int i = start; i < p.elementCount(); ++i) {
        const auto e = p.elementAt(i);
        if (e.isMoveTo())
            ring.moveTo(e.x, e.y);
        else if (e.type == QPainterPath::CurveToElement) {
            ring.cubicTo(element(p, i), element(p, i + 1), element(p, i + 2));
            i += 2;
        } else
            ring.lineTo(e.x, e.y);
    }
    const QRectF b = ring.boundingRect();
    EXPECT_NEAR(b.left(), 3.333, 0.01);
    EXPECT_NEAR(b.top(), 1.6665, 0.01);
    EXPECT_NEAR(b.width(), 93.333, 0.01);
    EXPECT_NEAR(b.height(), 46.6665, 0.01);
}

struct BoundsCase {
    const char* name;
    double left, top, right, bottom, tol;
};

TEST(IconPaths, OutlinesStayWithinTheirStatedBounds)
{
    const BoundsCase cases[] = {
        {"appFolder", 3.571, 3.527, 96.429, 92.86, 0.05},
        {"detail", 3.571, 4.545, 96.429, 95.455, 0.05},
        {"featureImplementation", 3.571, 3.571, 96.429, 96.429, 0.05},
        // The gear's extreme points: y 0.03571 to 0.96429, x about 0.038 to 0.958.
        {"setupAndModeling", 3.8, 3.571, 95.8, 96.429, 0.1},
    };
    for (const BoundsCase& c : cases) {
        const QRectF b = IconPaths::byName(QString::fromLatin1(c.name), QSizeF(100, 100)).boundingRect();
        EXPECT_NEAR(b.left(), c.left, c.tol) << c.name;
        EXPECT_NEAR(b.top(), c.top, c.tol) << c.name;
        EXPECT_NEAR(b.right(), c.right, c.tol) << c.name;
        EXPECT_NEAR(b.bottom(), c.bottom, c.tol) << c.name;
    }
}

TEST(IconPaths, GearHasSixTeethAndAnInnerRing)
{
    const QPainterPath p = IconPaths::setupAndModeling(QSizeF(1, 1));
    int moves = 0, lines = 0, curves = 0;
    for (int i = 0; i < p.elementCount(); ++i) {
        switch (p.elementAt(i).type) {
        case QPainterPath::MoveToElement: ++moves; break;
        case QPainterPath::LineToElement: ++lines; break;
        case QPainterPath::CurveToElement: ++curves; break;
        default: break;
        }
    }
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(curves, 24 + 10);
    // 24 lines, plus the closing lines Qt adds to each closed subpath when
    // its end differs from its start.
    EXPECT_GE(lines, 24);
    EXPECT_LE(lines, 26);
    expectNear(element(p, 0), {0.36138, 0.16071}, 1e-4);
    expectNear(element(p, 1), {0.39446, 0.08143}, 1e-4);
    // The ring is nearly a circle of radius 0.15 about (0.496, 0.499).
    PathMeasure ring(IconPaths::setupAndModeling(QSizeF(1, 1)));
    EXPECT_GT(ring.totalLength(), 0);
}

// The gear's first rows, as drawn: the top tooth from its left foot, the rim
// line to the upper right tooth and that tooth's first flank.
TEST(IconPaths, GearStartsWithItsDrawnRows)
{
    struct Row {
        QPainterPath::ElementType type;
        QPointF to, c1, c2;
    };
    constexpr auto move = QPainterPath::MoveToElement;
    constexpr auto line = QPainterPath::LineToElement;
    constexpr auto curve = QPainterPath::CurveToElement;
    const Row rows[] = {
        {move, {0.36138, 0.16071}, {}, {}},
        {line, {0.39446, 0.08143}, {}, {}},
        {curve, {0.42261, 0.0483}, {0.40004, 0.068}, {0.40985, 0.05646}},
        {curve, {0.466, 0.03571}, {0.43538, 0.04014}, {0.4505, 0.03576}},
        {line, {0.52907, 0.03571}, {}, {}},
        {curve, {0.57245, 0.0483}, {0.54457, 0.03576}, {0.55969, 0.04014}},
        {curve, {0.60061, 0.08143}, {0.58522, 0.05646}, {0.59503, 0.068}},
        {line, {0.63369, 0.16071}, {}, {}},
        {line, {0.74599, 0.22071}, {}, {}},
        {line, {0.83676, 0.20786}, {}, {}},
    };
    const QPainterPath p = IconPaths::setupAndModeling(QSizeF(1, 1));
    int i = 0;
    int number = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << number);
        ASSERT_LT(i, p.elementCount());
        EXPECT_EQ(p.elementAt(i).type, row.type);
        if (row.type == curve) {
            expectNear(element(p, i), row.c1, 1e-5);
            expectNear(element(p, i + 1), row.c2, 1e-5);
            i += 2;
        }
        expectNear(element(p, i), row.to, 1e-5);
        ++i;
        ++number;
    }
}

TEST(IconPaths, MilestoneTableIsIndexedByType)
{
    for (MilestoneType t : allMilestoneTypes())
        EXPECT_EQ(IconPaths::milestoneIcon(t, QSizeF(30, 30)), IconPaths::byName(toString(t), QSizeF(30, 30)));
    EXPECT_TRUE(IconPaths::byName(QStringLiteral("nothing"), QSizeF(30, 30)).isEmpty());
}

TEST(PathTrim, LengthFollowsProgress)
{
    QPainterPath square;
    square.moveTo(0, 0);
    square.lineTo(100, 0);
    square.lineTo(100, 100);
    PathMeasure m(square);
    EXPECT_DOUBLE_EQ(m.totalLength(), 200);
    for (double f : {0.1, 0.25, 0.5, 0.75, 1.0})
        EXPECT_NEAR(PathMeasure(m.trimmed(f)).totalLength(), 200 * f, 1e-6) << f;
    expectNear(m.pointAt(0.25), {50, 0});
    expectNear(m.pointAt(0.75), {100, 50});
}

TEST(PathTrim, NothingAtZeroSoNoCapDot)
{
    const PathMeasure m(IconPaths::appFolderIcon(QSizeF(80, 80)));
    EXPECT_TRUE(m.trimmed(0).isEmpty());
    EXPECT_TRUE(m.trimmed(-0.5).isEmpty());
    EXPECT_NEAR(PathMeasure(m.trimmed(2.0)).totalLength(), m.totalLength(), 1e-6);
}

// The folder icon traced part-way shows its strokes in command order: first
// the plus sign's vertical stroke, then its horizontal one, then the folder.
TEST(PathTrim, TracesInCommandOrder)
{
    const QPainterPath folder = IconPaths::appFolderIcon(QSizeF(100, 100));
    const PathMeasure m(folder);
    const double vertical = 73.214 - 37.5;
    const double horizontal = 67.857 - 32.143;
    const double total = m.totalLength();
    EXPECT_EQ(m.subpathsReached(vertical * 0.5 / total), 1);
    expectNear(m.pointAt(vertical * 0.5 / total), {50, 37.5 + vertical * 0.5}, 0.05);
    EXPECT_EQ(m.subpathsReached((vertical + horizontal * 0.5) / total), 2);
    expectNear(m.pointAt((vertical + horizontal * 0.5) / total), {32.143 + horizontal * 0.5, 55.357}, 0.05);
    // Then up the folder's left edge from the bottom-left corner.
    const double alongLeft = 20;
    EXPECT_EQ(m.subpathsReached((vertical + horizontal + alongLeft) / total), 3);
    expectNear(m.pointAt((vertical + horizontal + alongLeft) / total), {3.571, 85.717 - alongLeft}, 0.05);
}

TEST(PathTrim, CurvesAreMeasuredAlongTheirLength)
{
    QPainterPath circle;
    circle.addEllipse(QRectF(0, 0, 100, 100));
    EXPECT_NEAR(PathMeasure(circle).totalLength(), M_PI * 100, 0.2);
}

} // namespace
