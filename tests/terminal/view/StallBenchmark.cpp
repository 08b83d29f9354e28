// The longest main-loop stall while the terminal item works through a flood of
// output from a child (cat of a file through the pseudo-terminal): a repeat
// flood (CSI 9999 b) and 50 MB of text, with a frame drawn every 16 ms. Goal:
// no stall of 33 ms or more. Not run by ctest.
//
//   orva_terminal_stall_benchmark [--cols N --rows M]
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
#include <fstream>
#include <string>

namespace {

struct Result {
    qint64 longestStallMs = 0;
    qint64 totalMs = 0;
    qint64 longestFrameMs = 0;
    int frames = 0;
};

Result run(const std::string& file, int cols, int rows)
{
    orva::LocalProcessTerminalView view(cols, rows);
    orva::testing::sizeViewToGrid(view, cols, rows);
    QImage frame(view.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    {
        // The item has drawn before the output comes (its fonts are loaded).
        QPainter p(&frame);
        view.render(p);
    }
    Result result;
    QEventLoop loop;
    bool exited = false;
    QObject::connect(&view, &orva::LocalProcessTerminalView::processExited, &loop, [&] { exited = true; });

    QElapsedTimer total;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        result.longestStallMs = std::max(result.longestStallMs, sinceTick.restart());
        if (exited && view.pendingOutput() == 0 && !view.isRunning())
            loop.quit();
    });
    QTimer painter;
    painter.setInterval(16);
    QObject::connect(&painter, &QTimer::timeout, &loop, [&] {
        QElapsedTimer drawing;
        drawing.start();
        QPainter p(&frame);
        view.render(p);
        ++result.frames;
        result.longestFrameMs = std::max(result.longestFrameMs, drawing.elapsed());
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
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--cols") == 0)
            cols = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--rows") == 0)
            rows = std::max(1, std::atoi(argv[i + 1]));
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
    for (const auto& [name, path] : {std::pair{"repeat flood (140 KB of CSI 9999 b)", floodPath},
                                     std::pair{"50 MB of text", textPath}}) {
        const Result r = run(path, cols, rows);
        std::printf("%-38s longest stall %4lld ms, total %6lld ms, %d frames, longest frame %lld ms\n", name,
                    static_cast<long long>(r.longestStallMs), static_cast<long long>(r.totalMs), r.frames,
                    static_cast<long long>(r.longestFrameMs));
    }
    return 0;
}
