#pragma once

// The screens the repaint benchmark draws, shared with the test that compares
// each of them pixel for pixel with an image made by the plain drawing path;
// a screen drawn by the painter alone, with no item and no window; and the
// helpers that size a view and fill it.

#include "terminal/TerminalPainter.h"
#include "terminal/TerminalRendererView.h"

#include <QCoreApplication>
#include <QPainter>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orva::testing {

// Plain ASCII, coloured and bold ASCII, Korean in two colours, Korean with a
// few emoji on each line, and a mix like claude's output (Korean, ASCII, box
// drawing, emoji, three colours).
enum class BenchmarkScreen { plain, varied, korean, emoji, mixed };

inline const char* benchmarkScreenName(BenchmarkScreen screen)
{
    switch (screen) {
    case BenchmarkScreen::plain:
        return "plain";
    case BenchmarkScreen::varied:
        return "varied";
    case BenchmarkScreen::korean:
        return "korean";
    case BenchmarkScreen::emoji:
        return "emoji";
    case BenchmarkScreen::mixed:
        return "mixed";
    }
    return "";
}

// The size of exactly cols x rows cells of `cellWidth` x `cellHeight` beside
// the scroll bar.
inline QSizeF gridSize(qreal cellWidth, qreal cellHeight, int cols, int rows)
{
    return QSizeF(cellWidth * cols + TerminalRendererView::scrollerWidth + 0.5, cellHeight * rows + 0.5);
}

// Sizes the view for exactly cols x rows cells beside the scroll bar.
inline void sizeViewToGrid(TerminalRendererView& view, int cols, int rows)
{
    view.setSize(gridSize(view.cellWidth(), view.cellHeight(), cols, rows));
}

// An emulator and its painter with the item's default font and colours, drawn
// onto any painter as the item draws its grid (the scroll bar is the item's).
class PaintedScreen {
public:
    PaintedScreen(int cols, int rows)
        : m_terminal(cols, rows, TerminalRendererView::scrollbackLines)
    {
    }
    Terminal& terminal() { return m_terminal; }
    TerminalPainter& painter() { return m_painter; }
    int cols() const { return m_terminal.cols(); }
    int rows() const { return m_terminal.rows(); }
    void resize(int cols, int rows) { m_terminal.resize(cols, rows); }
    void feedText(std::string_view text)
    {
        m_terminal.feed(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    // What the item sized for this grid measures, scroll bar included.
    QSizeF size() const { return gridSize(m_painter.cellWidth(), m_painter.cellHeight(), cols(), rows()); }
    // The pixels left of the scroll bar, which the painter alone draws.
    QRect gridPixels() const
    {
        return QRect(0, 0, static_cast<int>(size().width() - TerminalRendererView::scrollerWidth),
                     size().toSize().height());
    }
    void paint(QPainter& painter)
    {
        m_painter.paint(painter, m_terminal.buffer(), TerminalPalette{}, size(), m_terminal.modes().cursorVisible);
        m_terminal.clearDirtyRange();
    }
    // Brings the painter's screen image up to date, as the item's frame does.
    const std::vector<int>& paintChanges()
    {
        const std::vector<int>& changed = m_painter.paintChanges(m_terminal.buffer(), TerminalPalette{}, size().toSize(),
                                                                 1.0, m_terminal.modes().cursorVisible);
        m_terminal.clearDirtyRange();
        return changed;
    }
    int glyphTilesMadeInLastRepaint() const { return m_painter.glyphTilesMadeInLastRepaint(); }

private:
    Terminal m_terminal;
    TerminalPainter m_painter;
};

// Feeds the text and runs the main loop until all of it is on the screen: a
// screenful is more than one turn may feed when the machine is busy, and the
// rest comes in later turns.
inline void feedWhole(TerminalRendererView& view, std::string_view text)
{
    view.feedText(text);
    while (view.pendingOutput() > 0)
        QCoreApplication::processEvents();
}

inline void fillBenchmarkScreen(PaintedScreen& view, BenchmarkScreen screen)
{
    static const char* const syllables[] = {"한", "글", "터", "미", "널", "작", "업", "완", "료", "됨"};
    static const char* const emoji[] = {"✅", "🎉", "🔧", "📋"};
    std::string text;
    const int rows = view.rows();
    const int cols = view.cols();
    auto endRow = [&](int row) {
        if (row + 1 < rows)
            text += "\r\n";
    };
    switch (screen) {
    case BenchmarkScreen::korean:
        for (int row = 0; row < rows; ++row) {
            text += row % 2 ? "\x1B[33m" : "\x1B[0m";
            for (int col = 0; col + 1 < cols; col += 2)
                text += syllables[(row + col / 2) % 10];
            endRow(row);
        }
        break;
    case BenchmarkScreen::emoji:
        // An emoji takes two cells, as a syllable does; four per line among
        // the syllables.
        for (int row = 0; row < rows; ++row) {
            text += row % 2 ? "\x1B[33m" : "\x1B[0m";
            int col = 0;
            for (int n = 0; col + 1 < cols; ++n) {
                if (n % 14 == 3) {
                    text += emoji[(row + n) % 4];
                    col += 2;
                    continue;
                }
                text += syllables[(row + n) % 10];
                col += 2;
            }
            endRow(row);
        }
        break;
    case BenchmarkScreen::mixed:
        // A box-drawn panel, then answer lines in three colours.
        for (int row = 0; row < rows; ++row) {
            const bool boxEdge = row % 10 == 0 || row % 10 == 4;
            if (boxEdge) {
                text += "\x1B[36m";
                text += row % 10 == 0 ? "╭" : "╰";
                for (int col = 1; col + 1 < cols; ++col)
                    text += "─";
                text += row % 10 == 0 ? "╮" : "╯";
                text += "\x1B[0m";
            } else if (row % 10 < 4) {
                text += "\x1B[36m│\x1B[0m ";
                int col = 2;
                const std::string ascii = row % 2 ? " src/App.swift:42 " : " > npm run build ";
                text += "\x1B[1;32m" + ascii + "\x1B[0m";
                col += static_cast<int>(ascii.size());
                for (int n = 0; col + 3 < cols; ++n, col += 2)
                    text += syllables[(row + n) % 10];
                for (; col + 1 < cols; ++col)
                    text += ' ';
                text += "\x1B[36m│\x1B[0m";
            } else {
                text += row % 3 ? "\x1B[0m" : "\x1B[33m";
                text += emoji[row % 4];
                text += " 작업 ";
                int col = 8;
                for (int n = 0; col + 1 < cols; ++n) {
                    if (n % 6 == 5 && col + 10 <= cols) {
                        text += " Task.json";
                        col += 10;
                        continue;
                    }
                    text += syllables[(row * 3 + n) % 10];
                    col += 2;
                }
            }
            endRow(row);
        }
        break;
    case BenchmarkScreen::plain:
    case BenchmarkScreen::varied: {
        const bool colours = screen == BenchmarkScreen::varied;
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < cols; ++col) {
                if (colours && col % 8 == 0)
                    text += "\x1B[" + std::to_string(30 + (row + col / 8) % 8) + (col % 16 == 0 ? ";1" : "") +
                            (col % 24 == 0 ? ";44" : "") + "m";
                text += static_cast<char>('!' + (row * 7 + col) % 90);
                if (colours && col % 8 == 7)
                    text += "\x1B[0m";
            }
            endRow(row);
        }
        break;
    }
    }
    view.feedText(text);
}

} // namespace orva::testing
