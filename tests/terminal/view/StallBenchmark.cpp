// The longest main-loop stall while the terminal item works through a flood of
// output from a child (cat of a file through the pseudo-terminal): a repeat
// flood (CSI 9999 b) and 50 MB of text, with a frame drawn every 16 ms as the
// item's frame draws it (the rows that changed repainted into the painter's
// screen image and copied out for upload). Goal: no stall and no frame over
// 33 ms. Not run by ctest.
//
//   orva_terminal_stall_benchmark [--cols N --rows M] [--screen WxH] [--runs N]
//
// --screen sizes the grid for the largest window of a screen of W x H pixels.
#include "BenchmarkScreens.h"
#include "terminal/LocalProcessTerminalView.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace {

// The main thread's own CPU time, which a busy machine's other work does not
// lengthen: in milliseconds.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// How frames are drawn: as the item does (the changed rows into the painter's
// screen image), or the whole view into one image each time.
enum class Frames { changedRows, whole };

struct Result {
    qint64 longestStallMs = 0;
    qint64 totalMs = 0;
    qint64 longestFrameMs = 0;
    // The same in the main thread's CPU time.
    double longestStallCpuMs = 0;
    double longestFrameCpuMs = 0;
    int frames = 0;
    // Bytes of the rows copied out for upload, over all frames.
    std::size_t uploadedBytes = 0;
};

Result run(const std::string& file, int cols, int rows, Frames frames)
{
    orva::LocalProcessTerminalView view(cols, rows);
    orva::testing::sizeViewToGrid(view, cols, rows);
    const QSize pixels = view.size().toSize();
    Result result;
    // A frame as the item's: the changed rows, each copied out as its texture.
    QImage whole(pixels, QImage::Format_ARGB32_Premultiplied);
    auto drawFrame = [&] {
        if (frames == Frames::whole) {
            QPainter painter(&whole);
            view.render(painter);
            result.uploadedBytes += static_cast<std::size_t>(whole.sizeInBytes());
            return;
        }
        for (const int row : view.paintChangedRows(pixels, 1.0)) {
            const QImage image = view.screenImage().copy(view.screenRowPixels(row));
            result.uploadedBytes += static_cast<std::size_t>(image.sizeInBytes());
        }
    };
    // The item has drawn before the output comes (its fonts are loaded).
    drawFrame();
    result.uploadedBytes = 0;
    QEventLoop loop;
    bool exited = false;
    QObject::connect(&view, &orva::LocalProcessTerminalView::processExited, &loop, [&] { exited = true; });

    QElapsedTimer total;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(1);
    double cpuAtTick = threadCpuMs();
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        result.longestStallMs = std::max(result.longestStallMs, sinceTick.restart());
        const double cpu = threadCpuMs();
        result.longestStallCpuMs = std::max(result.longestStallCpuMs, cpu - cpuAtTick);
        cpuAtTick = cpu;
        if (exited && view.pendingOutput() == 0 && !view.isRunning())
            loop.quit();
    });
    QTimer painter;
    painter.setInterval(16);
    QObject::connect(&painter, &QTimer::timeout, &loop, [&] {
        QElapsedTimer drawing;
        drawing.start();
        const double cpu = threadCpuMs();
        drawFrame();
        ++result.frames;
        result.longestFrameMs = std::max(result.longestFrameMs, drawing.elapsed());
        result.longestFrameCpuMs = std::max(result.longestFrameCpuMs, threadCpuMs() - cpu);
    });
    total.start();
    sinceTick.start();
    ticker.start();
    painter.start();
    view.startProcess("/bin/cat", {file});
    loop.exec();
    result.totalMs = total.elapsed();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int cols = 120;
    int rows = 40;
    int runs = 1;
    Frames frames = Frames::changedRows;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--cols") == 0) {
            cols = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--rows") == 0) {
            rows = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--frames") == 0) {
            frames = std::strcmp(argv[i + 1], "whole") == 0 ? Frames::whole : Frames::changedRows;
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--screen") == 0) {
            int width = 0;
            int height = 0;
            if (std::sscanf(argv[i + 1], "%dx%d", &width, &height) == 2) {
                const orva::TerminalRendererView probe;
                cols = std::max(1, static_cast<int>((width - orva::TerminalRendererView::scrollerWidth) / probe.cellWidth()));
                rows = std::max(1, static_cast<int>(height / probe.cellHeight()));
            }
        }
    }
    QTemporaryDir dir;
    const std::string floodPath = dir.filePath(QStringLiteral("flood")).toStdString();
    const std::string textPath = dir.filePath(QStringLiteral("text")).toStdString();
    {
        std::ofstream flood(floodPath, std::ios::binary);
        flood << "x";
        for (int i = 0; i < 20000; ++i)
            flood << "\x1B[9999b";
    }
    {
        std::ofstream text(textPath, std::ios::binary);
        std::string line;
        std::size_t written = 0;
        for (int i = 0; written < 50u * 1000 * 1000; ++i) {
            line = "\x1B[3" + std::to_string(i % 8) + "m" + std::to_string(i) +
                   " 작업 완료: src/App.swift 빌드 성공 ── Task.json updated\x1B[0m\r\n";
            text << line;
            written += line.size();
        }
    }
    {
        // The machine's own noise: the same loop with nothing to feed.
        QEventLoop idle;
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, &idle, [&] { longest = std::max(longest, sinceTick.restart()); });
        QTimer::singleShot(1000, &idle, &QEventLoop::quit);
        sinceTick.start();
        ticker.start();
        idle.exec();
        std::printf("%-38s longest stall %4lld ms\n", "idle (the machine's own noise)", static_cast<long long>(longest));
    }
    std::printf("grid %dx%d, feed budget %lld ms per turn\n", cols, rows,
                static_cast<long long>(orva::TerminalRendererView::feedBudgetMs));
    std::printf("frames: %s\n", frames == Frames::whole ? "the whole view each" : "the changed rows");
    for (int round = 0; round < runs; ++round) {
        for (const auto& [name, path] : {std::pair{"repeat flood (140 KB of CSI 9999 b)", floodPath},
                                         std::pair{"50 MB of text", textPath}}) {
            const Result r = run(path, cols, rows, frames);
            std::printf("%-38s longest stall %4lld ms (CPU %5.1f), total %6lld ms, %d frames, longest frame %lld ms "
                        "(CPU %5.1f), %.1f MB uploaded\n",
                        name, static_cast<long long>(r.longestStallMs), r.longestStallCpuMs,
                        static_cast<long long>(r.totalMs), r.frames, static_cast<long long>(r.longestFrameMs),
                        r.longestFrameCpuMs, static_cast<double>(r.uploadedBytes) / 1e6);
        }
    }
    return 0;
}
