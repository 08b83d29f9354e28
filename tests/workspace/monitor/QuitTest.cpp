#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace orva {
namespace {

// The process ends once its window has closed, whatever its workers are
// waiting for.
TEST(QuitTest, AWorkerWaitingOnAFileNeverKeepsTheProcessAlive)
{
    for (const char* mode : {"fifo-interview", "stuck-read"}) {
        SCOPED_TRACE(mode);
        QTemporaryDir folder;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(ORVA_QUIT_CHILD), {folder.path(), QString::fromLatin1(mode)});
        ASSERT_TRUE(child.waitForStarted(test::kWaitDeadlineMs));
        QByteArray output;
        ASSERT_TRUE(test::waitUntil(
            [&] {
                output += child.readAllStandardOutput();
                return output.contains("window closed") || child.state() == QProcess::NotRunning;
            },
            test::kWaitDeadline));
        EXPECT_TRUE(output.contains("window closed\n")) << output.toStdString();
        EXPECT_TRUE(test::waitUntil([&] { return child.state() == QProcess::NotRunning; }, test::kWaitDeadline))
            << "still running after its window closed";
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished(5000);
            continue;
        }
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
    }
}

} // namespace
} // namespace orva
