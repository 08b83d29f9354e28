#pragma once

// The screens the repaint benchmark draws, shared with the test that compares
// each of them pixel for pixel with an image made by the plain drawing path,
// and the helpers that size a view and fill it.

#include "terminal/TerminalRendererView.h"

#include <QCoreApplication>

#include <string>
#include <string_view>

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

// Sizes the view for exactly cols x rows cells beside the scroll bar.
inline void sizeViewToGrid(TerminalRendererView& view, int cols, int rows)
{
    view.setSize(QSizeF(view.cellWidth() * cols + TerminalRendererView::scrollerWidth + 0.5,
                        view.cellHeight() * rows + 0.5));
}

// Feeds the text and runs the main loop until all of it is on the screen: a
// screenful is more than one turn may feed when the machine is busy, and the
// rest comes in later turns.
inline void feedWhole(TerminalRendererView& view, std::string_view text)
{
    view.feedText(text);
    while (view.pendingOutput() > 0)
        QCoreApplication::processEvents();
}

inline void fillBenchmarkScreen(TerminalRendererView& view, BenchmarkScreen screen)
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
    feedWhole(view, text);
}

} // namespace orva::testing
