// The terminal panel's coordinator: forwarding with and without a view,
// nothing forwarded where the shell reads, and letting go of the command
// channel only while it still holds it.
#include "support/TempContext.h"
#include "terminal/LocalProcessTerminalView.h"
#include "terminal/NativeTerminalService.h"
#include "ui/screens/work/TerminalCoordinator.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include "ui/screens/work/WorkServicesMachine.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>

namespace orva::test {
namespace {

class TerminalCoordinatorTest : public ::testing::Test, protected WorkServicesMachine {
protected:
    void TearDown() override
    {
        NativeTerminalService::shared().setDelegate(nullptr);
        NativeTerminalService::shared().setProcessRunning(false);
    }

};

TEST_F(TerminalCoordinatorTest, ForwardsToItsViewAndDropsWithoutOne)
{
    WorkViewModel model(services);
    TerminalCoordinator coordinator(&model);
    const QByteArray bytes = QByteArrayLiteral("ls\n");
    const auto span = std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                    static_cast<std::size_t>(bytes.size()));
    {
        // No view: the line is written, the bytes go nowhere.
        LogCapture capture;
        coordinator.forwardBytes(span);
        EXPECT_EQ(capture.lines(), QStringList{QStringLiteral("[TerminalCoordinator] Forwarding 3 bytes to terminal view")});
    }
    {
        // A view (no child running): the bytes are handed to it.
        auto view = std::make_unique<LocalProcessTerminalView>(80, 24);
        coordinator.setTerminalView(view.get());
        LogCapture capture;
        coordinator.forwardBytes(span);
        EXPECT_EQ(capture.lines(), (QStringList{QStringLiteral("[TerminalCoordinator] Forwarding 3 bytes to terminal view"),
                                                QStringLiteral("[LocalProcessTerminalView] Sending 3 bytes to process")}));
        view.reset();
        // The view went: the guarded pointer forgets it.
        EXPECT_EQ(coordinator.terminalView(), nullptr);
        LogCapture after;
        coordinator.forwardBytes(span);
        EXPECT_EQ(after.lines().size(), 1);
    }
}

TEST_F(TerminalCoordinatorTest, CommandsReachTheReceiverTwice)
{
    WorkViewModel model(services);
    TerminalCoordinator coordinator(&model);
    coordinator.connectChannel();
    EXPECT_TRUE(coordinator.isChannelReceiver());
    LogCapture capture;
    NativeTerminalService::shared().sendCommand(QStringLiteral("다음"));
    ASSERT_TRUE(waitUntil([&] { return capture.lines().size() == 2; }));
    EXPECT_EQ(capture.lines(), (QStringList{QStringLiteral("[TerminalCoordinator] Forwarding 7 bytes to terminal view"),
                                            QStringLiteral("[TerminalCoordinator] Forwarding 1 bytes to terminal view")}));
}

// With a gate, the channel's bytes go to the gate, which types nothing
// while no claude of the panel's is at its ready box: the shell behind
// runs none of it.
TEST_F(TerminalCoordinatorTest, WithAGateNothingFromTheChannelReachesTheShell)
{
    WorkViewModel model(services);
    TerminalCoordinator coordinator(&model);
    LocalProcessTerminalView view(80, 24);
    coordinator.setTerminalView(&view);
    TerminalClaudeGate::Terminal port;
    port.look = [&] {
        TerminalLook look;
        look.shellRunning = view.isRunning();
        look.shell = view.process().processId();
        look.foreground = view.process().foregroundReader();
        return look;
    };
    port.typeForClaude = [&](const QByteArray& bytes, pid_t group) {
        view.sendTo(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                  static_cast<std::size_t>(bytes.size())),
                    group);
    };
    TerminalClaudeGate gate(&model, port);
    coordinator.setGate(&gate);
    view.startProcess("/bin/zsh", {"-f", "-i"}, std::vector<std::string>{"HOME=" + context.root().toStdString()});
    const pid_t shell = view.process().processId();
    ASSERT_TRUE(waitUntil([&] {
        const auto fg = view.process().foregroundReader();
        return fg && fg->processGroup == shell && !fg->lineMode;
    }));
    const QString marker = context.root() + QStringLiteral("/typed-into-the-shell");
    const QByteArray command = (QStringLiteral("touch '") + marker + QStringLiteral("'\n")).toUtf8();
    LogCapture log;
    coordinator.forwardBytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(command.constData()),
                                                           static_cast<std::size_t>(command.size())));
    EXPECT_EQ(log.lines(), (QStringList{QStringLiteral("[TerminalCoordinator] Forwarding ") + QString::number(command.size())
                                            + QStringLiteral(" bytes to terminal view"),
                                        QStringLiteral("[TerminalClaudeGate] - claude's input box is not ready: ")
                                            + QString::number(command.size()) + QStringLiteral(" bytes not typed")}));
    // What the person types runs; by then the shell has read all there was.
    const QString mine = context.root() + QStringLiteral("/typed-by-the-person");
    view.send((QStringLiteral("touch '") + mine + QStringLiteral("'\r")).toUtf8());
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(mine); }));
    EXPECT_FALSE(QFile::exists(marker));
    view.terminate();
}

TEST_F(TerminalCoordinatorTest, TeardownLeavesANewerReceiverAlone)
{
    NativeTerminalService& channel = NativeTerminalService::shared();
    WorkViewModel model(services);
    auto older = std::make_unique<TerminalCoordinator>(&model);
    older->connectChannel();
    channel.setProcessRunning(true);

    // A newer panel takes the channel before the older one is torn down.
    TerminalCoordinator newer(&model);
    newer.connectChannel();
    older->disconnectChannel();
    EXPECT_EQ(channel.delegate(), &newer);
    EXPECT_TRUE(channel.isProcessRunning());
    older.reset();
    EXPECT_EQ(channel.delegate(), &newer) << "destroying the older coordinator keeps the newer one";

    // The newer one lets go of what it holds.
    newer.disconnectChannel();
    EXPECT_EQ(channel.delegate(), nullptr);
    EXPECT_FALSE(channel.isProcessRunning());
}

} // namespace
} // namespace orva::test
