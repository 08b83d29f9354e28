#pragma once

// Typing into a terminal item in a window, for the latency benchmarks: each
// key event is timed to the frame that shows its echo, in legs.

#include "terminal/TerminalRendererView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace orva::testing {

using LatencyClock = std::chrono::steady_clock;

inline double millisecondsBetween(LatencyClock::time_point a, LatencyClock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double at = p * static_cast<double>(values.size() - 1);
    const auto low = static_cast<std::size_t>(at);
    const std::size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

// Runs the main loop until the condition holds or the time is up.
inline bool runUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

inline void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A pause between keys of a person typing fast.
inline int pauseBetweenKeys() { return 30 + static_cast<int>(QRandomGenerator::global()->bounded(40)); }

struct TypedKey {
    double toFed = 0;   // key event to its echo fed to the emulator
    double toFrame = 0; // fed to the start of the frame that shows it
    double frame = 0;   // that frame: synchronize, render, swap
    double total = 0;   // key event to the frame's swap
};

struct Typing {
    std::vector<TypedKey> keys;
    int missed = 0; // keys whose echo no frame showed within 3 s
    int frames = 0; // frames drawn meanwhile, for the keys and their erasures

    std::vector<double> leg(double TypedKey::*member) const
    {
        std::vector<double> values;
        for (const TypedKey& key : keys)
            values.push_back(key.*member);
        return values;
    }
};

// Types `count` letters into the view, one at a time, each once the last
// one's frame is drawn and after a pause: the key event goes to the window
// when the view has the focus, else to the view. A key's echo is the letter
// in the cell its cursor stood on; its frame is the first one synchronized
// after the letter reached the emulator. Each letter is erased again with
// Backspace, so that the line never wraps. The shell must echo.
inline Typing typeKeys(QQuickWindow& window, TerminalRendererView& view, int count)
{
    using Clock = LatencyClock;
    struct Times {
        Clock::time_point sent, fed, frameStart, frameEnd;
        bool inFrame = false;
        bool done = false;
    };
    int glyphX = -1;
    int glyphY = -1;
    char32_t glyph = 0;
    std::optional<Times> current;
    Typing typing;
    QObject context;
    QObject::connect(&view, &TerminalRendererView::scrollChanged, &context, [&] {
        if (!current || current->fed != Clock::time_point())
            return;
        const Buffer& shown = view.terminal().buffer();
        const BufferLine* line = shown.lines[shown.yBase + glyphY];
        if (line && glyphX < line->size() && line->cells[static_cast<std::size_t>(glyphX)].character == glyph)
            current->fed = Clock::now();
    });
    // The frame's own signals, on the thread that renders it.
    QObject::connect(
        &window, &QQuickWindow::beforeSynchronizing, &context,
        [&] {
            if (current && current->fed != Clock::time_point() && !current->inFrame) {
                current->inFrame = true;
                current->frameStart = Clock::now();
            }
        },
        Qt::DirectConnection);
    QObject::connect(
        &window, &QQuickWindow::frameSwapped, &context,
        [&] {
            ++typing.frames;
            if (current && current->inFrame && !current->done) {
                current->frameEnd = Clock::now();
                current->done = true;
            }
        },
        Qt::DirectConnection);
    auto press = [&](int key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QObject* target = view.hasActiveFocus() ? static_cast<QObject*>(&window) : static_cast<QObject*>(&view);
        QCoreApplication::sendEvent(target, &event);
    };
    for (int i = 0; i < count; ++i) {
        glyphX = view.terminal().buffer().x;
        glyphY = view.terminal().buffer().y;
        glyph = static_cast<char32_t>(U'a' + i % 26);
        current = Times{};
        current->sent = Clock::now();
        press(Qt::Key_A + i % 26, QString(QChar(static_cast<char16_t>(glyph))));
        if (!runUntil([&] { return current->done; }, 3000)) {
            ++typing.missed;
        } else {
            const Times& t = *current;
            typing.keys.push_back({millisecondsBetween(t.sent, t.fed), millisecondsBetween(t.fed, t.frameStart),
                                   millisecondsBetween(t.frameStart, t.frameEnd), millisecondsBetween(t.sent, t.frameEnd)});
        }
        current.reset();
        const int x = view.terminal().buffer().x;
        press(Qt::Key_Backspace, QString());
        runUntil([&] { return view.terminal().buffer().x < x; }, 3000);
        runFor(pauseBetweenKeys());
    }
    return typing;
}

} // namespace orva::testing
