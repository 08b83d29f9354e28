// The status script shipped beside the plan checker, against the strict
// reader: every change of state the development guide makes leaves a plan the
// reader accepts, with only that task's three keys changed, written by
// replacing the file in one step; every change the guide forbids leaves the
// file exactly as it was.

#include "ResourceFiles.h"

#include "model/ProjectModel.h"
#include "support/TempContext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orva {
namespace {

using test::ScriptRun;

// A task's state as one letter: P planned/pending, I inProgress/pending,
// C onHold/checking, R onHold/ready, H onHold/pending, D completed/checked,
// X completed/excluded.
std::pair<TaskStatus, TestStatus> stateOf(char letter)
{
    switch (letter) {
    case 'I': return {TaskStatus::inProgress, TestStatus::pending};
    case 'C': return {TaskStatus::onHold, TestStatus::checking};
    case 'R': return {TaskStatus::onHold, TestStatus::ready};
    case 'H': return {TaskStatus::onHold, TestStatus::pending};
    case 'D': return {TaskStatus::completed, TestStatus::checked};
    case 'X': return {TaskStatus::completed, TestStatus::excluded};
    default: return {TaskStatus::planned, TestStatus::pending};
    }
}

const QString kEarlierFile = QStringLiteral("Mulbangul/Mulbangul/Earlier.swift");

QList<TaskItem*> tasksOf(Project& project)
{
    QList<TaskItem*> tasks;
    for (Milestone& milestone : project.milestones) {
        for (TaskItem& task : milestone.tasks)
            tasks << &task;
    }
    return tasks;
}

// The template's plan with tasks 1, 2, 3, ... in the states of `letters`
// (the rest planned); a task that was ever worked on lists a file.
Project planIn(const char* letters)
{
    auto wrapper = decodeProjectWrapper(test::templatePlanExample());
    EXPECT_TRUE(wrapper.has_value());
    if (!wrapper)
        return {};
    const QByteArray states(letters);
    const QList<TaskItem*> tasks = tasksOf(wrapper->project);
    for (qsizetype i = 0; i < states.size() && i < tasks.size(); ++i) {
        std::tie(tasks[i]->status, tasks[i]->testStatus) = stateOf(states[i]);
        if (states[i] != 'P')
            tasks[i]->detail.modifiedFiles = {kEarlierFile};
    }
    return wrapper->project;
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class TaskStatusScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (test::python3().isEmpty())
            GTEST_SKIP() << "python3 is not installed";
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("Task.json"));
    }

    void write(const QByteArray& bytes)
    {
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                        | QFileDevice::ReadOther));
    }
    void write(const Project& plan) { write(encodeProjectWrapper(ProjectWrapper{plan})); }

    QByteArray bytes() const
    {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScriptRun run(const QStringList& arguments)
    {
        return test::runResourceScript(QStringLiteral("agent.task_status.py"), QStringList{path_} + arguments);
    }

    QStringList folderEntries() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir_;
    QString path_;
};

struct Transition {
    const char* moment;
    const char* before; // the plan's tasks as letters; the change is made to task 3
    char to;
    QStringList files;  // given with --file
};

// The changes of state the development guide makes, each from a state its
// table allows to the next one.
const QList<Transition>& guideTransitions()
{
    static const QList<Transition> transitions = {
        {"start a task", "PPP", 'I', {QStringLiteral("Mulbangul/Mulbangul/ContentView.swift")}},
        {"start a later task", "DDP", 'I', {}},
        {"check the work", "DDI", 'C', {QStringLiteral("Mulbangul/Mulbangul/RecordView.swift"), kEarlierFile}},
        {"the build failed", "DDC", 'I', {}},
        {"hand over for the test", "DDC", 'R', {}},
        {"the person approved", "DDR", 'D', {}},
        {"the person asked to skip a task not started", "DDP", 'X', {}},
        {"the person asked to skip a finished task", "DDR", 'X', {}},
        {"a fix request after the test", "DDR", 'I', {}},
        {"a fix request for a completed task", "DDD", 'I', {QStringLiteral("Mulbangul/Mulbangul/Fix.swift")}},
        {"set back to the plan for another task's fix", "DDR", 'P', {}},
        {"set back to the plan while in progress", "DDI", 'P', {}},
        {"a task on hold with another test status is continued", "DDH", 'I', {}},
    };
    return transitions;
}

std::pair<QString, QString> texts(std::pair<TaskStatus, TestStatus> state)
{
    return {toString(state.first), toString(state.second)};
}

TEST(TaskStatusScriptTransitions, FollowTheGuidesTable)
{
    // Every state a transition leaves or reaches is a row of the guide's table
    // (but the on-hold state the guide only resumes from), and every row is reached.
    const auto rows = test::guideStatusRows();
    ASSERT_GE(rows.size(), 6);
    QList<std::pair<QString, QString>> reached;
    for (const Transition& t : guideTransitions()) {
        SCOPED_TRACE(t.moment);
        const char from = t.before[2];
        if (from != 'H') {
            EXPECT_TRUE(rows.contains(texts(stateOf(from))));
        }
        EXPECT_TRUE(rows.contains(texts(stateOf(t.to))));
        reached << texts(stateOf(t.to));
    }
    for (const auto& row : rows)
        EXPECT_TRUE(reached.contains(row)) << row.first.toStdString() << " / " << row.second.toStdString();
}

TEST_F(TaskStatusScript, EveryChangeOfTheGuideLeavesAPlanTheReaderAccepts)
{
    for (const Transition& t : guideTransitions()) {
        SCOPED_TRACE(t.moment);
        const Project before = planIn(t.before);
        write(before);
        const QByteArray original = bytes();
        const ino_t originalInode = inodeOf(path_);
        const QFileDevice::Permissions mode = QFile::permissions(path_);
        QFile held(path_); // a reader that opened the plan before the change
        ASSERT_TRUE(held.open(QIODevice::ReadOnly));

        const auto [status, testStatus] = texts(stateOf(t.to));
        QStringList arguments{QStringLiteral("3"), status, testStatus};
        for (const QString& file : t.files)
            arguments << QStringLiteral("--file") << file;
        const ScriptRun result = run(arguments);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 0) << result.output.toStdString();
        EXPECT_TRUE(result.output.startsWith("OK")) << result.output.toStdString();

        // The strict reader accepts the result, and only task 3's three keys changed.
        QString error;
        const QByteArray written = bytes();
        const auto after = decodeProjectWrapper(written, &error);
        ASSERT_TRUE(after.has_value()) << error.toStdString() << "\n" << written.toStdString();
        Project expected = before;
        TaskItem* task = tasksOf(expected)[2];
        std::tie(task->status, task->testStatus) = stateOf(t.to);
        for (const QString& file : t.files) {
            if (!task->detail.modifiedFiles.contains(file))
                task->detail.modifiedFiles << file;
        }
        EXPECT_EQ(after->project, expected);
        // Korean text is written as is.
        EXPECT_TRUE(written.contains("마신 물 기록을 저장할 준비"));

        // The file was replaced in one step: a reader holding the old file
        // still reads all of it, nothing is left beside it, its mode stays.
        EXPECT_NE(inodeOf(path_), originalInode);
        EXPECT_EQ(held.readAll(), original);
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Task.json")});
        EXPECT_EQ(QFile::permissions(path_), mode);

        // And the checker agrees.
        const ScriptRun checked = test::runResourceScript(QStringLiteral("agent.check_task_json.py"), {path_});
        EXPECT_EQ(checked.output.trimmed(), "OK");
    }
}

TEST_F(TaskStatusScript, ChangesTheGuideForbidsLeaveTheFileAsItWas)
{
    struct Case {
        const char* name;
        const char* before;
        QStringList arguments;
    };
    const QStringList approve{QStringLiteral("3"), QStringLiteral("completed"), QStringLiteral("checked")};
    const QList<Case> cases = {
        {"approving a task still in progress", "DDI", approve},
        {"approving a task being checked", "DDC", approve},
        {"approving a task not built yet", "DDP", approve},
        {"approving a task on hold without its test", "DDH", approve},
        {"a second task in progress", "DIP", {QStringLiteral("3"), QStringLiteral("inProgress"), QStringLiteral("pending")}},
        {"a second task on hold", "DRP", {QStringLiteral("3"), QStringLiteral("onHold"), QStringLiteral("checking")}},
        {"a pair that is no row of the table", "DDI", {QStringLiteral("3"), QStringLiteral("inProgress"), QStringLiteral("ready")}},
        {"the interview-state spelling", "DDP", {QStringLiteral("3"), QStringLiteral("in_progress"), QStringLiteral("pending")}},
        {"no such task", "DDP", {QStringLiteral("99"), QStringLiteral("inProgress"), QStringLiteral("pending")}},
        {"a task id that is no number", "DDP", {QStringLiteral("three"), QStringLiteral("inProgress"), QStringLiteral("pending")}},
        {"a file outside the project folder", "DDP",
         {QStringLiteral("3"), QStringLiteral("inProgress"), QStringLiteral("pending"), QStringLiteral("--file"),
          QStringLiteral("/Users/me/App/ContentView.swift")}},
        {"a file name with a line break", "DDP",
         {QStringLiteral("3"), QStringLiteral("inProgress"), QStringLiteral("pending"), QStringLiteral("--file"),
          QStringLiteral("App/A.swift\nApp/B.swift")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(planIn(c.before));
        const QByteArray original = bytes();
        const ino_t originalInode = inodeOf(path_);
        const ScriptRun result = run(c.arguments);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 1) << result.output.toStdString();
        EXPECT_TRUE(result.output.contains("nothing was changed")) << result.output.toStdString();
        EXPECT_EQ(bytes(), original);
        EXPECT_EQ(inodeOf(path_), originalInode);
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Task.json")});
    }
}

TEST_F(TaskStatusScript, APlanItCannotReadIsLeftAlone)
{
    const QByteArray example = test::templatePlanExample();
    struct Case {
        const char* name;
        QByteArray plan;
    };
    QByteArray withNaN = example;
    withNaN.replace("\"id\": 3,", "\"id\": NaN,");
    const QList<Case> cases = {
        {"half written", example.left(example.size() / 2)},
        {"NaN for an id", withNaN},
        {"not UTF-8", QByteArray(example).replace("물방울", "\xff\xfe")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.plan, example);
        write(c.plan);
        const ScriptRun result = run({QStringLiteral("1"), QStringLiteral("inProgress"), QStringLiteral("pending")});
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, 1) << result.output.toStdString();
        EXPECT_EQ(bytes(), c.plan);
        EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Task.json")});
    }
}

TEST_F(TaskStatusScript, SettingASecondActiveTaskBackMendsThePlan)
{
    // Two active tasks (the checker rejects the plan): setting one back to
    // the plan is the change that makes it valid again, so it is allowed.
    write(planIn("DIR"));
    const ScriptRun result = run({QStringLiteral("2"), QStringLiteral("planned"), QStringLiteral("pending")});
    EXPECT_EQ(result.exitCode, 0) << result.output.toStdString();
    const auto after = decodeProjectWrapper(bytes());
    ASSERT_TRUE(after.has_value());
    Project expected = planIn("DPR");
    tasksOf(expected)[1]->detail.modifiedFiles = {kEarlierFile};
    EXPECT_EQ(after->project, expected);
}

TEST_F(TaskStatusScript, ListsTheTasksWithoutChangingThePlan)
{
    write(planIn("DR"));
    const QByteArray original = bytes();
    const ScriptRun result = run({});
    EXPECT_EQ(result.exitCode, 0) << result.output.toStdString();
    const QList<QByteArray> lines = result.output.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], "1 completed checked Project setup and app shell");
    EXPECT_EQ(lines[1], "2 onHold ready Core Data model for water records");
    EXPECT_EQ(lines[8], "9 planned pending App icon and final polish");
    EXPECT_EQ(bytes(), original);
}

} // namespace
} // namespace orva
