// Full repaint of a 120 x 50 terminal: plain, coloured, Korean, emoji among
// Korean, and a mix like claude's output; once the screen's glyph tiles are
// made, and as the first repaint of a new view.
#include "BenchmarkScreens.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

using orva::testing::BenchmarkScreen;

// Each benchmark runs once for every kind of screen, timed in milliseconds.
void everyScreen(benchmark::internal::Benchmark* benchmark)
{
    for (BenchmarkScreen screen : {BenchmarkScreen::plain, BenchmarkScreen::varied, BenchmarkScreen::korean,
                                   BenchmarkScreen::emoji, BenchmarkScreen::mixed})
        benchmark->Arg(static_cast<int>(screen));
    benchmark->ArgNames({"content"})->Unit(benchmark::kMillisecond);
}

// Repaints of a screen already drawn: the glyph tiles of its glyphs are made
// (what every later frame of an unchanged or partly changed screen finds).
void renderFullScreen(benchmark::State& state)
{
    orva::TerminalRendererView view(120, 50);
    orva::testing::sizeViewToGrid(view, 120, 50);
    orva::testing::fillBenchmarkScreen(view, static_cast<BenchmarkScreen>(state.range(0)));
    QImage image(view.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    int repaints = 0;
    do {
        QPainter painter(&image);
        view.render(painter);
    } while (view.glyphTilesMadeInLastRepaint() > 0 && ++repaints < 10000);
    for (auto _ : state) {
        QPainter painter(&image);
        view.render(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["warm-up repaints"] = repaints;
}
BENCHMARK(renderFullScreen)->Apply(everyScreen);

// The first repaint of a new view with the screen on it: its fonts loaded, no
// glyph tile made yet (each repaint makes a few).
void renderFirstRepaint(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<orva::TerminalRendererView>(120, 50);
        orva::testing::sizeViewToGrid(*view, 120, 50);
        orva::testing::fillBenchmarkScreen(*view, static_cast<BenchmarkScreen>(state.range(0)));
        QImage image(view->size().toSize(), QImage::Format_ARGB32_Premultiplied);
        state.ResumeTiming();
        QPainter painter(&image);
        view->render(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(renderFirstRepaint)->Apply(everyScreen);

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
