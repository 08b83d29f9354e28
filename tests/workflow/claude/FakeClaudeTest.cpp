// The fake `claude` itself: its interactive mode, which end-to-end tests drive
// through the terminal, must keep the task plan readable by the strict reader
// at every step.
#include "ClaudeTestSupport.h"

#include "fakes/FakeCalls.h"
#include "model/ProjectModel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace orva;
using namespace orva::test;

namespace {

QList<TaskStatus> statuses(const QString& taskJson)
{
    QFile file(taskJson);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString error;
    const auto wrapper = decodeProjectWrapper(file.readAll(), &error);
    EXPECT_TRUE(wrapper.has_value()) << error.toStdString();
    QList<TaskStatus> result;
    if (wrapper) {
        for (const Milestone& milestone : wrapper->project.milestones) {
            for (const TaskItem& task : milestone.tasks)
                result << task.status;
        }
    }
    return result;
}

} // namespace

TEST(FakeClaude, InteractiveModeAdvancesThePlan)
{
    FakeMachine machine;
    const QString container = machine.path(QStringLiteral("container"));
    const QString project = container + QStringLiteral("/ZAVE/project");
    QDir().mkpath(project);
    const QString taskJson = project + QStringLiteral("/Task.json");

    QProcess plan;
    plan.setProcessEnvironment(machine.search.environment);
    plan.setWorkingDirectory(container);
    plan.start(fakeClaudePath(), {QStringLiteral("-p"), QStringLiteral("-c"),
                                  QStringLiteral("... and create 'Task.json' in @ZAVE/project."),
                                  QStringLiteral("--dangerously-skip-permissions")});
    ASSERT_TRUE(plan.waitForFinished(10000));
    const TaskStatus planned = TaskStatus::planned, running = TaskStatus::inProgress, done = TaskStatus::completed;
    EXPECT_EQ(statuses(taskJson), (QList<TaskStatus>{planned, planned, planned}));

    const QString folder = machine.path(QStringLiteral("My App"));
    QDir().mkpath(folder);
    QProcess claude;
    claude.setProcessEnvironment(machine.search.environment);
    claude.setWorkingDirectory(folder);
    claude.start(fakeClaudePath(), {QStringLiteral("--dangerously-skip-permissions")});
    QByteArray output;
    auto waitFor = [&](const QByteArray& text) {
        return QTest::qWaitFor([&] {
            output += claude.readAllStandardOutput();
            return output.contains(text);
        }, 10000);
    };
    ASSERT_TRUE(waitFor("fake-claude: ready"));

    // What the work screen types: the instruction, the guide's path, a line
    // feed and then a carriage return.
    claude.write(QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요.\n    %1/CLAUDE_DEV.md\n\r")
                     .arg(project).toUtf8());
    ASSERT_TRUE(waitFor("working on task 1"));
    EXPECT_EQ(statuses(taskJson), (QList<TaskStatus>{running, planned, planned}));
    const QByteArray approval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.\n\r").toUtf8();
    claude.write(approval);
    ASSERT_TRUE(waitFor("working on task 2"));
    EXPECT_EQ(statuses(taskJson), (QList<TaskStatus>{done, running, planned}));
    claude.write(approval);
    ASSERT_TRUE(waitFor("working on task 3"));
    claude.write(approval);
    ASSERT_TRUE(waitFor("completed task 3"));
    EXPECT_EQ(statuses(taskJson), (QList<TaskStatus>{done, done, done}));
    claude.closeWriteChannel();
    ASSERT_TRUE(claude.waitForFinished(10000));

    const QList<FakeCall> calls = fakeCallsOfKind(machine.logFile, QStringLiteral("interactive"));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].cwd, folder);
    EXPECT_EQ(calls[0].arguments, QStringList{QStringLiteral("--dangerously-skip-permissions")});
    EXPECT_EQ(calls[0].stdinKind, QStringLiteral("other"));
    ASSERT_GE(calls[0].lines.size(), 2);
    EXPECT_EQ(calls[0].lines[1], QStringLiteral("    ") + project + QStringLiteral("/CLAUDE_DEV.md"));
}
