// Full repaint of a 120 x 50 terminal: plain, coloured, Korean, emoji among
// Korean, and a mix like claude's output.
#include "BenchmarkScreens.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

using orva::testing::BenchmarkScreen;

void renderFullScreen(benchmark::State& state)
{
    orva::TerminalRendererView view(120, 50);
    orva::testing::sizeViewToGrid(view, 120, 50);
    orva::testing::fillBenchmarkScreen(view, static_cast<BenchmarkScreen>(state.range(0)));
    QImage image(view.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        view.render(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(renderFullScreen)
    ->Arg(static_cast<int>(BenchmarkScreen::plain))
    ->Arg(static_cast<int>(BenchmarkScreen::varied))
    ->Arg(static_cast<int>(BenchmarkScreen::korean))
    ->Arg(static_cast<int>(BenchmarkScreen::emoji))
    ->Arg(static_cast<int>(BenchmarkScreen::mixed))
    ->ArgNames({"content"})
    ->Unit(benchmark::kMillisecond);

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
