#include "terminal/NativeTerminalService.h"

#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <chrono>
#include <memory>
#include <vector>

namespace orva {
namespace {

using Clock = std::chrono::steady_clock;

struct RecordingDelegate : NativeTerminalDelegate {
    struct Delivery {
        QByteArray bytes;
        Clock::time_point at;
    };
    std::vector<Delivery> deliveries;
    void forwardBytes(std::span<const std::uint8_t> bytes) override
    {
        deliveries.push_back({QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())),
                              Clock::now()});
    }
};

class CommandChannelTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        service.setDelegate(nullptr);
        // Lets a carriage return still on its way run out before the next test.
        EXPECT_TRUE(test::runTimersDueWithin(std::chrono::milliseconds(NativeTerminalService::carriageReturnDelayMs)));
    }

    NativeTerminalService& service = NativeTerminalService::shared();
};

TEST_F(CommandChannelTest, TextAndLineFeedAtOnceThenCarriageReturnAfter50ms)
{
    RecordingDelegate delegate;
    service.setDelegate(&delegate);
    const auto sentAt = Clock::now();
    service.sendCommand("ls");
    ASSERT_EQ(delegate.deliveries.size(), 1u);
    EXPECT_EQ(delegate.deliveries[0].bytes, QByteArray("\x6C\x73\x0A"));
    ASSERT_TRUE(test::waitUntil([&] { return delegate.deliveries.size() == 2; }));
    EXPECT_EQ(delegate.deliveries[1].bytes, QByteArray("\x0D"));
    EXPECT_GE(delegate.deliveries[1].at - sentAt, std::chrono::milliseconds(50));
}

TEST_F(CommandChannelTest, EmptyCommandSendsLineFeedThenCarriageReturn)
{
    RecordingDelegate delegate;
    service.setDelegate(&delegate);
    service.sendCommand(QString());
    ASSERT_TRUE(test::waitUntil([&] { return delegate.deliveries.size() == 2; }));
    EXPECT_EQ(delegate.deliveries[0].bytes, QByteArray("\n"));
    EXPECT_EQ(delegate.deliveries[1].bytes, QByteArray("\r"));
}

TEST_F(CommandChannelTest, DelegateReplacedWithinTheDelayGetsTheCarriageReturn)
{
    RecordingDelegate first;
    RecordingDelegate second;
    service.setDelegate(&first);
    service.sendCommand(QString::fromUtf8("echo 한글"));
    service.setDelegate(&second);
    ASSERT_TRUE(test::waitUntil([&] { return !second.deliveries.empty(); }));
    ASSERT_EQ(first.deliveries.size(), 1u);
    EXPECT_EQ(first.deliveries[0].bytes, QString::fromUtf8("echo 한글\n").toUtf8());
    EXPECT_EQ(second.deliveries[0].bytes, QByteArray("\r"));
}

TEST_F(CommandChannelTest, NoDelegateOrAGoneDelegateLosesTheCommandQuietly)
{
    service.sendCommand("lost");
    QSignalSpy delegateChanges(&service, &NativeTerminalService::delegateChanged);
    {
        auto delegate = std::make_unique<RecordingDelegate>();
        service.setDelegate(delegate.get());
        EXPECT_TRUE(service.hasDelegate());
        service.sendCommand("pwd");
        EXPECT_EQ(delegate->deliveries.size(), 1u);
    }
    // The channel holds its delegate weakly.
    EXPECT_FALSE(service.hasDelegate());
    EXPECT_EQ(service.delegate(), nullptr);
    EXPECT_EQ(delegateChanges.count(), 2);
    // Both carriage returns run out with no delegate to take them.
    EXPECT_TRUE(test::runTimersDueWithin(std::chrono::milliseconds(NativeTerminalService::carriageReturnDelayMs)));
}

TEST_F(CommandChannelTest, RunningFlagIsObservable)
{
    QSignalSpy changes(&service, &NativeTerminalService::isProcessRunningChanged);
    service.setProcessRunning(true);
    service.setProcessRunning(true);
    EXPECT_TRUE(service.isProcessRunning());
    service.setProcessRunning(false);
    EXPECT_EQ(changes.count(), 2);
}

} // namespace
} // namespace orva
