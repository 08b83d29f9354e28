// Every benchmark screen, a screen of text styles and one of grapheme
// clusters, drawn by the painter alone on an image (no item, no window)
// exactly as the reference images show them left of the scroll bar: in the
// first repaint, once every glyph tile is made, and at an offset. The references
// were made by the plain drawing path (every glyph drawn in order, by Qt or by
// filling its outline, none copied from a tile); a faster path that drops or
// moves a glyph, a colour, a decoration or a fallback character fails here.
// ORVA_WRITE_RENDER_REFERENCES=<folder> writes the images, drawn by the plain
// path, instead of comparing.
#include "BenchmarkScreens.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

namespace orva {
namespace {

using testing::BenchmarkScreen;
using testing::PaintedScreen;

// Bold, italic, underline, strike-through, inverse, 256 and true colours,
// wide characters against both margins and emoji beside box drawing.
void fillStyleScreen(PaintedScreen& painted)
{
    painted.feedText("\x1B[1mbold\x1B[0m \x1B[3mitalic\x1B[0m \x1B[1;3mboth\x1B[0m \x1B[4munder 한글\x1B[0m "
                  "\x1B[9mstruck\x1B[0m \x1B[7minverse\x1B[0m \x1B[38;5;208;48;5;22m256\x1B[0m "
                  "\x1B[38;2;10;200;250;48;2;60;0;60mtrue\x1B[0m\r\n");
    painted.feedText("\x1B[1;33m한글 굵게\x1B[0m \x1B[3;36m기울임\x1B[0m \x1B[7;32m반전 ✅\x1B[0m ╭─┬─╮ 🎉🔧📋\r\n");
    painted.feedText("\x1B[3;38H터미널\x1B[4;1H\x1B[44m🎉 배경 \x1B[0m\x1B[5;1H\x1B[2m흐림\x1B[0m gjpqy_|");
    painted.feedText("\x1B[6;3H");
}

// Grapheme clusters as a terminal line shows them: combining marks, decomposed
// Hangul beside precomposed, emoji, a family, a flag, a keycap, a warning sign
// with its variation selector, a letter with two marks, and the cursor on a
// wide character.
void fillClusterScreen(PaintedScreen& painted)
{
    painted.feedText("cafe\xCC\x81 n\xCC\x83 \xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB\xE1\x84\x80\xE1\x85\xB3\xE1\x86\xAF "
                  "\xED\x95\x9C\xEA\xB8\x80 \xE2\x9C\x85 \xE2\x9D\x8C \xF0\x9F\x8E\x89 \xF0\x9F\x98\x80|\r\n");
    painted.feedText("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7 "
                  "\xF0\x9F\x87\xB0\xF0\x9F\x87\xB7 \xF0\x9F\x8F\x83\xE2\x80\x8D\xE2\x99\x80\xEF\xB8\x8F "
                  "1\xEF\xB8\x8F\xE2\x83\xA3 \xE2\x9A\xA0\xEF\xB8\x8F u\xCC\x88\xCC\xA3|\r\n");
    painted.feedText("\x1B[33m\xE2\x9C\x85 \xEC\x99\x84\xEB\xA3\x8C\x1B[0m \x1B[31m\xE2\x9D\x8C \xEC\x8B\xA4\xED\x8C\xA8\x1B[0m "
                  "\xF0\x9F\x9A\x80\x1B[3;4H");
}

void fillScreen(PaintedScreen& painted, const std::string& name)
{
    if (name == "styles") {
        painted.resize(40, 6);
        fillStyleScreen(painted);
        return;
    }
    if (name == "clusters") {
        painted.resize(40, 3);
        fillClusterScreen(painted);
        return;
    }
    for (int screen = 0; screen <= static_cast<int>(BenchmarkScreen::mixed); ++screen) {
        if (name == testing::benchmarkScreenName(static_cast<BenchmarkScreen>(screen)))
            testing::fillBenchmarkScreen(painted, static_cast<BenchmarkScreen>(screen));
    }
}

// `plain`: through the plain drawing path (a clipped painter copies no tiles),
// as the references are made.
enum class Path { any, plain };

// The screen drawn into an image `margin` pixels larger on each side, at that
// offset; the image is filled with `around` first.
QImage draw(PaintedScreen& painted, Path path = Path::any, int margin = 0, QColor around = Qt::transparent)
{
    QImage image(painted.size().toSize() + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32_Premultiplied);
    image.fill(around);
    QPainter painter(&image);
    if (path == Path::plain)
        painter.setClipRect(image.rect());
    painter.translate(margin, margin);
    painted.paint(painter);
    painter.end();
    return image;
}

bool fontsOfTheReferencesInstalled()
{
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"DejaVu Sans Mono", "Noto Sans Mono CJK KR", "Noto Color Emoji"}) {
        if (!families.contains(QString::fromLatin1(family)))
            return false;
    }
    return true;
}

// Compares the pixels of `area` (the grid, left of the item's scroll bar).
void expectSame(const QImage& drawn, const QImage& reference, QRect area, const char* when)
{
    SCOPED_TRACE(when);
    ASSERT_EQ(drawn.size(), reference.size());
    ASSERT_TRUE(drawn.rect().contains(area));
    int differing = 0;
    QPoint first(-1, -1);
    QRgb drawnPixel = 0;
    QRgb referencePixel = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (a[x] != b[x] && differing++ == 0) {
                first = QPoint(x, y);
                drawnPixel = a[x];
                referencePixel = b[x];
            }
        }
    }
    EXPECT_EQ(differing, 0) << "first differing pixel at " << first.x() << "," << first.y() << ": drawn " << std::hex
                            << drawnPixel << ", reference " << referencePixel;
}

TEST(RenderPixels, EveryBenchmarkScreenMatchesItsReferenceImage)
{
    const QString writeTo = qEnvironmentVariable("ORVA_WRITE_RENDER_REFERENCES");
    if (writeTo.isEmpty() && !fontsOfTheReferencesInstalled())
        GTEST_SKIP() << "the reference images were drawn with DejaVu Sans Mono, Noto Sans Mono CJK KR and Noto Color Emoji";
    for (const std::string name : {"plain", "varied", "korean", "emoji", "mixed", "styles", "clusters"}) {
        SCOPED_TRACE(name);
        PaintedScreen painted(120, 50);
        fillScreen(painted, name);
        if (!writeTo.isEmpty()) {
            ASSERT_TRUE(draw(painted, Path::plain).save(QDir(writeTo).filePath(QString::fromStdString(name) + ".png")));
            continue;
        }
        // The first repaint draws most glyphs with Qt, and makes a few tiles.
        const QImage first = draw(painted);
        QImage reference(QStringLiteral(ORVA_RENDER_REFERENCE_DIR "/%1.png").arg(QString::fromStdString(name)));
        ASSERT_FALSE(reference.isNull());
        reference = reference.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        expectSame(first, reference, painted.gridPixels(), "first repaint");
        // Repaints until every glyph's tile and ink is made: most glyphs are
        // copied from tiles then.
        int repaints = 0;
        QImage settled;
        do {
            settled = draw(painted);
        } while (painted.glyphTilesMadeInLastRepaint() > 0 && ++repaints < 2000);
        ASSERT_EQ(painted.glyphTilesMadeInLastRepaint(), 0);
        expectSame(settled, reference, painted.gridPixels(), "every tile made");
        // At an offset of whole pixels, on another background around it.
        const int margin = 5;
        const QImage offset = draw(painted, Path::any, margin, QColor(40, 90, 160));
        expectSame(offset.copy(QRect(QPoint(margin, margin), reference.size())), reference, painted.gridPixels(),
                   "at an offset");
    }
}

// The whole screen drawn afresh by the painter, for the image it keeps.
QImage drawnWhole(PaintedScreen& painted)
{
    QImage image(painted.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painted.paint(painter);
    painter.end();
    return image;
}

std::vector<int> allRows(int rows)
{
    std::vector<int> result;
    for (int r = 0; r < rows; ++r)
        result.push_back(r);
    return result;
}

// The rows a frame repaints: the echo of a glyph at the cursor changes its
// row alone; a cursor that moves to another row changes both; a scroll and a
// resize repaint all. Each time the kept image is the whole screen drawn
// afresh, pixel for pixel.
TEST(RenderPixels, AFrameRepaintsTheRowsThatChanged)
{
    struct Case {
        const char* name;
        const char* output;
        int resizeCols; // 0: no resize
        std::vector<int> changed; // empty with `all`
        bool all;
    };
    const Case cases[] = {
        {"nothing new", "", 0, {}, false},
        {"a glyph echoed at the cursor", "Z", 0, {5}, false},
        {"a wide glyph echoed at the cursor", "\xED\x95\x9C", 0, {5}, false},
        {"a glyph between descenders and the row below", "\x1B[4;1HX\x1B[6;3H", 0, {3}, false},
        {"the cursor to another row", "\x1B[1;1H", 0, {0, 5}, false},
        {"a scroll", "\x1B[6;1H\n", 0, {}, true},
        {"a resize", "", 41, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaintedScreen painted(40, 6);
        fillStyleScreen(painted);
        ASSERT_EQ(painted.paintChanges(), allRows(6));
        painted.feedText(c.output);
        if (c.resizeCols > 0)
            painted.resize(c.resizeCols, 6);
        const std::vector<int> changed = painted.paintChanges();
        EXPECT_EQ(changed, c.all ? allRows(6) : c.changed);
        expectSame(painted.painter().screen(), drawnWhole(painted), painted.painter().screen().rect(), "kept image");
    }
}

// Every row of every reference screen changed alone (a glyph overwritten in
// its middle): the kept image is the whole screen drawn afresh, with no seam
// or stale pixel where glyphs reach the rows next to theirs.
TEST(RenderPixels, RowsRepaintedAloneLeaveNoSeam)
{
    for (const std::string name : {"mixed", "emoji", "styles", "clusters"}) {
        SCOPED_TRACE(name);
        PaintedScreen painted(120, 50);
        fillScreen(painted, name);
        painted.paintChanges();
        for (int row = 0; row < painted.rows(); ++row) {
            SCOPED_TRACE(row);
            painted.feedText("\x1B[" + std::to_string(row + 1) + ";" + std::to_string(painted.cols() / 2) + "H@");
            painted.paintChanges();
            expectSame(painted.painter().screen(), drawnWhole(painted), painted.painter().screen().rect(),
                       "kept image");
        }
    }
}

} // namespace
} // namespace orva
