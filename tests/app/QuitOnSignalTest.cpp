// The application itself (`orva`) on a machine of its own, ended by a signal
// while the opening `claude -p` of its entry screen is still running: it quits
// the way closing its window does, and leaves no `claude` behind.
#include "fakes/FakeCalls.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <ostream>
#include <csignal>
#include <unistd.h>

namespace orva::test {
namespace {

using namespace std::chrono_literals;

// True while the process exists and is not a zombie.
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return !text.mid(text.lastIndexOf(')') + 2).startsWith('Z');
}

// True while some process of the group is alive.
bool groupAlive(pid_t group)
{
    return group > 0 && ::kill(-group, 0) == 0;
}

struct SignalCase {
    const char* name;
    int signal;
};

void PrintTo(const SignalCase& signalCase, std::ostream* out)
{
    *out << signalCase.name;
}

class QuitOnSignalTest : public ::testing::TestWithParam<SignalCase> {};

TEST_P(QuitOnSignalTest, QuitsAsClosingTheWindowDoesAndLeavesNoClaude)
{
    QTemporaryDir machine;
    installFakeMachine(machine.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    // The opening prompt keeps running until it is ended.
    environment.insert(QStringLiteral("FAKE_CLAUDE_DELAY"), QStringLiteral("300"));
    QProcess orva;
    orva.setProcessEnvironment(environment);
    orva.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    orva.setStandardOutputFile(machine.path() + QStringLiteral("/orva.log"));
    orva.start(QStringLiteral(ORVA_EXECUTABLE), {});
    ASSERT_TRUE(orva.waitForStarted(10000));

    const QString log = machine.path() + QStringLiteral("/calls.log");
    qint64 claude = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            const auto calls = fakeCallsOfKind(log, QStringLiteral("print"));
            if (!calls.isEmpty())
                claude = calls.first().pid;
            return claude != 0;
        },
        30s))
        << "the entry screen never ran claude -p";
    const pid_t group = ::getpgid(pid_t(claude));
    ASSERT_TRUE(isRunning(claude));

    ::kill(pid_t(orva.processId()), GetParam().signal);

    ASSERT_TRUE(waitUntil([&] { return orva.state() == QProcess::NotRunning; }, 20s)) << "orva did not quit";
    EXPECT_EQ(orva.exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
    EXPECT_EQ(orva.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return !isRunning(claude) && !groupAlive(group); }, 10s))
        << "claude -p (pid " << claude << ") outlived the application";
    if (isRunning(claude) || groupAlive(group)) {
        ::kill(-group, SIGKILL);
        ::kill(pid_t(claude), SIGKILL);
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitOnSignalTest,
                         ::testing::Values(SignalCase{"SIGTERM", SIGTERM}, SignalCase{"SIGINT", SIGINT},
                                           SignalCase{"SIGHUP", SIGHUP}),
                         [](const ::testing::TestParamInfo<SignalCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace orva::test
