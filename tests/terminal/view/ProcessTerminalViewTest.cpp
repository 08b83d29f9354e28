#include "BenchmarkScreens.h"
#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "terminal/core/ScreenText.h"

#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QThread>

#include <optional>
#include <string>
#include <vector>

namespace orva {
namespace {

class ProcessTerminalViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        view.setProcessExitHandler([this](std::optional<std::int32_t> code) {
            exitCodes.push_back(code.value_or(-999));
            exitOnMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        });
    }

    std::vector<std::string> environment() const { return {"HOME=" + home.path().toStdString()}; }

    std::string screen() const
    {
        std::string text;
        for (const std::string& line : visibleLines(view.terminal()))
            text += line + "\n";
        return text;
    }

    bool waitForScreen(const std::string& text)
    {
        return test::waitUntil([&] { return screen().find(text) != std::string::npos; });
    }

    void sizeTo(int cols, int rows) { testing::sizeViewToGrid(view, cols, rows); }

    void press(int key, Qt::KeyboardModifiers modifiers, const QString& text)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(&view, &event);
    }

    QTemporaryDir home;
    LocalProcessTerminalView view{80, 24};
    std::vector<std::int32_t> exitCodes;
    bool exitOnMainThread = false;
};

TEST_F(ProcessTerminalViewTest, OutputIsDrawnAndTheExitHandlerRunsOnce)
{
    EXPECT_EQ(view.lastCols(), 80);
    EXPECT_EQ(view.lastRows(), 24);
    view.startProcess("/bin/sh", {"-c", "stty size; printf 'bye now'; exit 7"}, environment());
    EXPECT_TRUE(view.isRunning());
    ASSERT_TRUE(test::waitUntil([&] { return !exitCodes.empty(); }));
    EXPECT_EQ(exitCodes, std::vector<std::int32_t>{7});
    EXPECT_TRUE(exitOnMainThread);
    EXPECT_FALSE(view.isRunning());
    // The child saw the grid the view holds (fitted to its natural width).
    const std::string grid = std::to_string(view.rows()) + " " + std::to_string(view.cols());
    EXPECT_NE(screen().find(grid), std::string::npos) << screen();
    EXPECT_NE(screen().find("bye now"), std::string::npos) << screen();
    view.terminate();
    QCoreApplication::processEvents();
    EXPECT_EQ(exitCodes.size(), 1u);
}

TEST_F(ProcessTerminalViewTest, KeysReachTheChildAndReturnIsACarriageReturn)
{
    view.startProcess("/bin/sh", {"-c", "stty -icrnl; echo ready; read line; printf 'got:%s:' \"$line\" | od -An -c; "
                                        "read next; echo \"next:$next\""},
                      environment());
    ASSERT_TRUE(waitForScreen("ready"));
    for (const QChar ch : QStringLiteral("hi"))
        press(Qt::Key_unknown, Qt::NoModifier, QString(ch));
    press(Qt::Key_Return, Qt::NoModifier, "\r");
    // Without CR-to-LF translation the line only ends at a line feed, so the
    // carriage return is part of what was read.
    view.send(QByteArray("\n"));
    EXPECT_TRUE(waitForScreen("\\r")) << screen();
    view.send(QByteArray("x\n"));
    EXPECT_TRUE(waitForScreen("next:x")) << screen();
}

TEST_F(ProcessTerminalViewTest, CtrlCKeyInterruptsTheProgram)
{
    view.startProcess("/bin/sh", {"-c", "echo ready; exec sleep 30"}, environment());
    ASSERT_TRUE(waitForScreen("ready"));
    // The child may not have reached sleep yet; the interrupt ends it either way.
    press(Qt::Key_C, Qt::ControlModifier, "\x03");
    ASSERT_TRUE(test::waitUntil([&] { return !exitCodes.empty(); }));
    EXPECT_EQ(exitCodes.front(), SIGINT);
}

TEST_F(ProcessTerminalViewTest, GridSizeFollowsToTheChild)
{
    sizeTo(80, 24);
    view.startProcess("/bin/zsh",
                      {"-f", "-c", "trap 'echo WINCH $(stty size)' WINCH; echo ready; while true; do sleep 0.05; done"},
                      environment());
    ASSERT_TRUE(waitForScreen("ready")) << screen();
    sizeTo(100, 30);
    EXPECT_EQ(view.terminal().cols(), 100);
    EXPECT_EQ(view.lastCols(), 100);
    EXPECT_EQ(view.lastRows(), 30);
    EXPECT_TRUE(waitForScreen("WINCH 30 100")) << screen();
    // A size change inside the same grid sends nothing.
    view.setSize(view.size() + QSizeF(0.2, 0.2));
    EXPECT_EQ(view.process().currentCols(), 100);
    view.terminate();
    EXPECT_FALSE(view.isRunning());
}

TEST_F(ProcessTerminalViewTest, ChannelTypesIntoTheShell)
{
    struct Coordinator : NativeTerminalDelegate {
        LocalProcessTerminalView* view = nullptr;
        void forwardBytes(std::span<const std::uint8_t> bytes) override { view->send(bytes); }
    } coordinator;
    coordinator.view = &view;
    NativeTerminalService::shared().setDelegate(&coordinator);
    view.startProcess("/bin/zsh", {"-f", "-i"}, environment());
    NativeTerminalService::shared().sendCommand("echo typed-$((40+2))");
    EXPECT_TRUE(waitForScreen("typed-42")) << screen();
    // The carriage return reaches the shell before the channel lets go of it.
    EXPECT_TRUE(test::runTimersDueWithin(std::chrono::milliseconds(NativeTerminalService::carriageReturnDelayMs)));
    NativeTerminalService::shared().setDelegate(nullptr);
}

} // namespace
} // namespace orva
