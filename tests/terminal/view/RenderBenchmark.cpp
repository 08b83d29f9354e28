// Full repaint of a 120 x 50 terminal by its painter on an image: plain,
// coloured, Korean, emoji among Korean, and a mix like claude's output; once
// the screen's glyph tiles are made, and as the first repaint of a new painter.
#include "BenchmarkScreens.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>

namespace {

using orva::testing::BenchmarkScreen;
using orva::testing::PaintedScreen;

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
    PaintedScreen screen(120, 50);
    orva::testing::fillBenchmarkScreen(screen, static_cast<BenchmarkScreen>(state.range(0)));
    QImage image(screen.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    int repaints = 0;
    do {
        QPainter painter(&image);
        screen.paint(painter);
    } while (screen.glyphTilesMadeInLastRepaint() > 0 && ++repaints < 10000);
    for (auto _ : state) {
        QPainter painter(&image);
        screen.paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["warm-up repaints"] = repaints;
}
BENCHMARK(renderFullScreen)->Apply(everyScreen);

// The first repaint of a new painter with the screen on it: its fonts loaded,
// no glyph tile made yet (each repaint makes a few).
void renderFirstRepaint(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto screen = std::make_unique<PaintedScreen>(120, 50);
        orva::testing::fillBenchmarkScreen(*screen, static_cast<BenchmarkScreen>(state.range(0)));
        QImage image(screen->size().toSize(), QImage::Format_ARGB32_Premultiplied);
        state.ResumeTiming();
        QPainter painter(&image);
        screen->paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        screen.reset();
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
