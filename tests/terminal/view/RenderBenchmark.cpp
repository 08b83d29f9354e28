// Full repaint of a 120 x 50 terminal full of coloured text.
#include "terminal/TerminalRendererView.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <string>

namespace {

// Kinds of screen: plain ASCII, coloured ASCII, Korean text in two colours.
enum Content { plain, varied, korean };

void fillScreen(orva::TerminalRendererView& view, Content content)
{
    std::string text;
    if (content == korean) {
        static const char* const syllables[] = {"한", "글", "터", "미", "널", "작", "업", "완", "료", "됨"};
        for (int row = 0; row < view.rows(); ++row) {
            text += row % 2 ? "\x1B[33m" : "\x1B[0m";
            for (int col = 0; col + 1 < view.cols(); col += 2)
                text += syllables[(row + col / 2) % 10];
            if (row + 1 < view.rows())
                text += "\r\n";
        }
        view.feedText(text);
        return;
    }
    const bool colours = content == varied;
    for (int row = 0; row < view.rows(); ++row) {
        for (int col = 0; col < view.cols(); ++col) {
            if (colours && col % 8 == 0)
                text += "\x1B[" + std::to_string(30 + (row + col / 8) % 8) + (col % 16 == 0 ? ";1" : "") +
                        (col % 24 == 0 ? ";44" : "") + "m";
            text += static_cast<char>('!' + (row * 7 + col) % 90);
            if (colours && col % 8 == 7)
                text += "\x1B[0m";
        }
        if (row + 1 < view.rows())
            text += "\r\n";
    }
    view.feedText(text);
}

void renderFullScreen(benchmark::State& state)
{
    orva::TerminalRendererView view(120, 50);
    view.setSize(QSizeF(view.cellWidth() * 120 + orva::TerminalRendererView::scrollerWidth + 0.5,
                        view.cellHeight() * 50 + 0.5));
    fillScreen(view, static_cast<Content>(state.range(0)));
    QImage image(view.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view.render(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(renderFullScreen)->Arg(plain)->Arg(varied)->Arg(korean)->ArgNames({"content"})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
