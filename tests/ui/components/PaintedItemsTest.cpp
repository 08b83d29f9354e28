// The painted shapes: the progress bar's scaled fill and the trimmed stroke.
#include "ui/components/PaintedItems.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

using namespace orva;

QImage paintItem(QQuickPaintedItem& item, int w, int h)
{
    item.setSize(QSizeF(w, h));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    item.paint(&painter);
    return image;
}

struct BarCase {
    double progress;
    int filledUpTo; // last column of fill colour at mid height, -1 for none
};

TEST(ProgressBarShape, FillIsTheScaledTrack)
{
    const BarCase cases[] = {{0, -1}, {0.5, 99}, {1, 199}, {1.5, 199}, {-0.3, -1}, {0.25, 49}};
    for (const BarCase& c : cases) {
        ProgressBarShape bar;
        bar.setCornerRadius(4);
        bar.setBackgroundColor(QColor(0, 0, 255));
        bar.setForegroundColor(QColor(0, 255, 0));
        bar.setProgress(c.progress);
        const QImage image = paintItem(bar, 200, 8);
        int last = -1;
        for (int x = 0; x < 200; ++x)
            if (qGreen(image.pixel(x, 4)) > 200)
                last = x;
        EXPECT_NEAR(last, c.filledUpTo, 1) << c.progress;
        // Nothing is drawn outside the track's rounded ends.
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 40) << c.progress;
        EXPECT_LT(qAlpha(image.pixel(199, 7)), 40) << c.progress;
    }
}

TEST(ShapeStroke, DrawsNothingAtZeroAndPartOfTheFolderPartWay)
{
    ShapeStroke stroke;
    stroke.setShapeName(QStringLiteral("appFolder"));
    stroke.setStrokeColor(Qt::white);
    stroke.setStrokeWidth(3);
    stroke.setProgress(0);
    const QImage empty = paintItem(stroke, 100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(qAlpha(empty.pixel(x, y)), 0);
    // A tenth of the way: only the plus sign's vertical stroke.
    stroke.setProgress(0.08);
    const QImage part = paintItem(stroke, 100, 100);
    EXPECT_GT(qAlpha(part.pixel(50, 45)), 0);
    EXPECT_EQ(qAlpha(part.pixel(40, 55)), 0);  // horizontal stroke not yet
    EXPECT_EQ(qAlpha(part.pixel(3, 50)), 0);   // folder edge not yet
    stroke.setProgress(1);
    const QImage whole = paintItem(stroke, 100, 100);
    EXPECT_GT(qAlpha(whole.pixel(40, 55)), 0);
    EXPECT_GT(qAlpha(whole.pixel(4, 50)), 0);
}

TEST(ContinuousRoundedRect, CornersFitTheRectangle)
{
    const QPainterPath p = continuousRoundedRect(QRectF(0, 0, 100, 40), 0, 4, 4, 0);
    EXPECT_EQ(p.boundingRect(), QRectF(0, 0, 100, 40));
    EXPECT_TRUE(p.contains(QPointF(0.5, 0.5)));   // square top-left corner
    EXPECT_FALSE(p.contains(QPointF(99.6, 0.4))); // rounded top-right corner
    // Radii larger than the short side are reduced to fit.
    const QPainterPath pill = continuousRoundedRect(QRectF(0, 0, 100, 10), 50, 50, 50, 50);
    EXPECT_EQ(pill.boundingRect(), QRectF(0, 0, 100, 10));
}

} // namespace
