// The fake `claude` itself. End-to-end tests drive its interactive mode through
// the terminal, so it must play the development guide shipped in resources/
// (CLAUDE_DEV.md) the way a real `claude` is asked to: every plan it writes is
// read by the strict reader, only the task it works on changes, only in the
// three keys the guide allows, and every state it writes is a row of the
// guide's status table.
#include "ClaudeTestSupport.h"

#include "fakes/FakeCalls.h"
#include "model/ProjectModel.h"
#include "support/TempContext.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <optional>

using namespace orva;
using namespace orva::test;

namespace {

const QString kInstruction = QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요.\n    ");
const QString kApproval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
const QString kGoOn = QStringLiteral("다음 테스크 진행");
const QString kBuildStep = QStringLiteral("Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다");

// A fix request as the work screen composes it from the checklist.
QString fixRequest(const QString& title)
{
    return QStringLiteral("[%1] 작업에서 문제가 발생했습니다.\n\n❌ 화면이 보인다\n→ 이 기능을 수정해주세요.\n\n"
                          "[추가 설명]\n화면이 비어 있어요")
        .arg(title);
}

// The guide's replies (their first lines).
QString handedOver(const QString& titleUx)
{
    return QStringLiteral("✅ %1 작업을 마쳤어요.\n").arg(titleUx);
}
QString fixed(const QString& titleUx)
{
    return QStringLiteral("🔧 요청하신 부분을 고쳤어요.\n") + handedOver(titleUx);
}
QString approved(const QString& titleUx, const QString& nextTitleUx)
{
    return QStringLiteral("🎉 %1 작업이 완료되었어요.\n\nXcode에서 빌드(⌘ + B)가 되는지 확인한 다음, '다음 테스크 진행'을 "
                          "붙여 넣거나 '시작하기'를 누르면 다음 작업인 '%2'을(를) 시작할게요.\n")
        .arg(titleUx, nextTitleUx);
}
QString waiting(const QString& titleUx)
{
    return QStringLiteral("'%1' 작업이 테스트를 기다리고 있어요. 왼쪽 카드의 '테스트 시작하기'를 눌러 확인해 주세요.\n")
        .arg(titleUx);
}
const QString kNothingWaiting = QStringLiteral("승인을 기다리는 작업이 없어요.\n");
QString notStartedYet(const QString& titleUx)
{
    return QStringLiteral("'%1' 작업은 아직 시작하지 않아서 고칠 부분이 없어요. 차례가 오면 그때 만들게요.\n").arg(titleUx);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QList<TaskItem> tasksOf(const Project& project)
{
    QList<TaskItem> tasks;
    for (const Milestone& milestone : project.milestones)
        tasks << milestone.tasks;
    return tasks;
}

// One letter per task: P planned/pending, I inProgress/pending, C onHold/checking,
// R onHold/ready, D completed/checked, ? anything else.
QString letters(const Project& project)
{
    QString text;
    for (const TaskItem& task : tasksOf(project)) {
        const std::pair<TaskStatus, TestStatus> state{task.status, task.testStatus};
        if (state == std::pair{TaskStatus::planned, TestStatus::pending})
            text += u'P';
        else if (state == std::pair{TaskStatus::inProgress, TestStatus::pending})
            text += u'I';
        else if (state == std::pair{TaskStatus::onHold, TestStatus::checking})
            text += u'C';
        else if (state == std::pair{TaskStatus::onHold, TestStatus::ready})
            text += u'R';
        else if (state == std::pair{TaskStatus::completed, TestStatus::checked})
            text += u'D';
        else
            text += u'?';
    }
    return text;
}

std::optional<Project> decoded(const QByteArray& json)
{
    QString error;
    const auto wrapper = decodeProjectWrapper(json, &error);
    EXPECT_TRUE(wrapper.has_value()) << error.toStdString() << "\n" << json.toStdString();
    return wrapper ? std::optional<Project>(wrapper->project) : std::nullopt;
}

std::optional<Project> readPlan(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return std::nullopt;
    }
    return decoded(file.readAll());
}

// The plan with the three keys the work may change put back to a new plan's values.
Project withoutWork(Project project)
{
    for (Milestone& milestone : project.milestones) {
        for (TaskItem& task : milestone.tasks) {
            task.status = TaskStatus::planned;
            task.testStatus = TestStatus::pending;
            task.detail.modifiedFiles.clear();
        }
    }
    return project;
}

// The (status, testStatus) rows of the status table of the development guide.
QList<std::pair<TaskStatus, TestStatus>> guideRows()
{
    QList<std::pair<TaskStatus, TestStatus>> rows;
    QFile guide(builtResourcesPath() + QStringLiteral("/CLAUDE_DEV.md"));
    EXPECT_TRUE(guide.open(QIODevice::ReadOnly)) << guide.fileName().toStdString();
    const QRegularExpression row(QStringLiteral("^\\|[^|]*\\| \"(\\w+)\" \\| \"(\\w+)\" \\|"));
    for (const QByteArray& line : guide.readAll().split('\n')) {
        const auto match = row.match(QString::fromUtf8(line));
        const auto status = taskStatusFromString(match.captured(1));
        const auto test = testStatusFromString(match.captured(2));
        if (match.hasMatch() && status && test)
            rows.append({*status, *test});
    }
    return rows;
}

// Writes the plan at `path` with every task put in the state its letter names;
// a task that was worked on lists a file.
void writePlan(const QString& path, const Project& plan, const QString& states)
{
    ProjectWrapper wrapper{plan};
    qsizetype at = 0;
    for (Milestone& milestone : wrapper.project.milestones) {
        for (TaskItem& task : milestone.tasks) {
            switch (states.at(at++).unicode()) {
            case 'P': task.status = TaskStatus::planned; task.testStatus = TestStatus::pending; break;
            case 'I': task.status = TaskStatus::inProgress; task.testStatus = TestStatus::pending; break;
            case 'C': task.status = TaskStatus::onHold; task.testStatus = TestStatus::checking; break;
            case 'R': task.status = TaskStatus::onHold; task.testStatus = TestStatus::ready; break;
            case 'H': task.status = TaskStatus::onHold; task.testStatus = TestStatus::pending; break;
            case 'D': task.status = TaskStatus::completed; task.testStatus = TestStatus::checked; break;
            }
            task.detail.modifiedFiles = task.status == TaskStatus::planned ? QStringList()
                                                                           : QStringList{QStringLiteral("App/App/Earlier.swift")};
        }
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(encodeProjectWrapper(wrapper));
}

// A workspace with the plan the fake writes for the task-plan prompt.
struct Workspace {
    explicit Workspace(const FakeMachine& machine)
        : container(machine.path(QStringLiteral("container")))
        , project(container + QStringLiteral("/ZAVE/project"))
        , taskJson(project + QStringLiteral("/Task.json"))
        , folder(machine.path(QStringLiteral("My App")))
    {
        QDir().mkpath(project);
        QDir().mkpath(folder);
        QProcess plan;
        plan.setProcessEnvironment(machine.search.environment);
        plan.setWorkingDirectory(container);
        plan.start(fakeClaudePath(), {QStringLiteral("-p"), QStringLiteral("-c"),
                                      QStringLiteral("... and create 'Task.json' in @ZAVE/project."),
                                      QStringLiteral("--dangerously-skip-permissions")});
        EXPECT_TRUE(plan.waitForFinished(kWaitDeadlineMs));
    }
    QString guide() const { return project + QStringLiteral("/CLAUDE_DEV.md"); }

    QString container, project, taskJson, folder;
};

// One interactive `claude` in the project folder, typed to as the work screen
// types: the text, a line feed, then a carriage return.
class Session {
public:
    Session(const FakeMachine& machine, const QString& folder)
    {
        process_.setProcessEnvironment(machine.search.environment);
        process_.setWorkingDirectory(folder);
        process_.start(fakeClaudePath(), {QStringLiteral("--dangerously-skip-permissions")});
        EXPECT_TRUE(waitFor("fake-claude: ready\n"));
        mark_ = output_.size();
    }
    ~Session()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(kWaitDeadlineMs))
            process_.kill();
    }
    void type(const QString& text) { process_.write((text + QStringLiteral("\n\r")).toUtf8()); }
    // Types `message` and waits for `reply`; then asks a question, whose answer
    // comes only once everything the message set off is done. Everything
    // printed before that answer must be the reply and nothing else.
    bool exchange(const QString& message, const QString& reply)
    {
        type(message);
        if (!waitFor(reply.toUtf8()))
            return false;
        type(QStringLiteral("지금 어디까지 했나요?"));
        if (!waitFor(kAnswer))
            return false;
        const qsizetype answer = output_.indexOf(kAnswer, mark_);
        QByteArray said = output_.mid(mark_, answer - mark_);
        mark_ = answer + kAnswer.size();
        EXPECT_TRUE(said.contains(reply.toUtf8()));
        said.replace(reply.toUtf8(), QByteArray());
        for (const char* other : {"✅", "🎉", "🔧", "기다리고 있어요", "모두 마쳤어요", "작업이 없어요", "no plan"})
            EXPECT_FALSE(said.contains(other)) << "more was said than \"" << reply.toStdString() << "\":\n"
                                              << output_.toStdString();
        return true;
    }
    QByteArray output() const { return output_; }
    bool finish()
    {
        process_.closeWriteChannel();
        return process_.waitForFinished(kWaitDeadlineMs);
    }

private:
    static inline const QByteArray kAnswer = QByteArrayLiteral("네, 계획대로 진행하고 있어요.\n");

    // Waits until `text` has been printed since the last exchange.
    bool waitFor(const QByteArray& text)
    {
        const bool found = QTest::qWaitFor([&] {
            output_ += process_.readAllStandardOutput();
            return output_.indexOf(text, mark_) >= 0;
        }, kWaitDeadlineMs);
        if (!found)
            ADD_FAILURE() << "nothing like \"" << text.toStdString() << "\" in:\n" << output_.mid(mark_).toStdString();
        return found;
    }

    QProcess process_;
    QByteArray output_;
    qsizetype mark_ = 0;
};

// The plans the interactive calls wrote, in order.
QList<QByteArray> writtenPlans(const FakeMachine& machine)
{
    QList<QByteArray> plans;
    for (const FakeCall& call : fakeCallsOfKind(machine.logFile, QStringLiteral("interactive")))
        plans << call.plans;
    return plans;
}

// Checks the plans written since `from` against the guide and the new plan,
// and returns them as letters.
QStringList checkedWrites(const FakeMachine& machine, qsizetype from, const Project& newPlan)
{
    static const auto rows = guideRows();
    EXPECT_GE(rows.size(), 5);
    QStringList states;
    const QList<QByteArray> plans = writtenPlans(machine);
    for (qsizetype i = from; i < plans.size(); ++i) {
        const auto plan = decoded(plans[i]);
        if (!plan)
            return states;
        EXPECT_EQ(withoutWork(*plan), newPlan) << "a write changed more than status, testStatus and modifiedFiles";
        for (const TaskItem& task : tasksOf(*plan)) {
            EXPECT_TRUE(rows.contains(std::pair{task.status, task.testStatus}))
                << "task " << task.id << ": " << toString(task.status).toStdString() << " / "
                << toString(task.testStatus).toStdString() << " is no row of the guide";
            if (task.status == TaskStatus::inProgress || task.status == TaskStatus::onHold) {
                EXPECT_FALSE(task.detail.modifiedFiles.isEmpty()) << "task " << task.id << " lists no files";
            }
        }
        states << letters(*plan);
    }
    return states;
}

} // namespace

TEST(FakeClaude, TheTaskPlanPromptWritesANewPlan)
{
    FakeMachine machine;
    const Workspace workspace(machine);
    const auto plan = readPlan(workspace.taskJson);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->milestones.size(), 2);
    const QList<TaskItem> tasks = tasksOf(*plan);
    ASSERT_EQ(tasks.size(), 3);
    for (const TaskItem& task : tasks) {
        SCOPED_TRACE(task.id);
        EXPECT_EQ(task.status, TaskStatus::planned);
        EXPECT_EQ(task.testStatus, TestStatus::pending);
        EXPECT_TRUE(task.detail.modifiedFiles.isEmpty());
        ASSERT_GE(task.detail.checklistUx.size(), 2);
        EXPECT_LE(task.detail.checklistUx.size(), 5);
        EXPECT_EQ(task.detail.checklistUx.first(), kBuildStep);
    }
    EXPECT_EQ(withoutWork(*plan), *plan);
}

TEST(FakeClaude, InteractiveModePlaysTheDevelopmentGuide)
{
    FakeMachine machine;
    const Workspace workspace(machine);
    const auto newPlan = readPlan(workspace.taskJson);
    ASSERT_TRUE(newPlan);
    const QString start = kInstruction + workspace.guide();
    const QString first = QStringLiteral("Set up the project");
    const QString last = QStringLiteral("Build the main screen");
    const QString ux1 = QStringLiteral("프로젝트 준비"), ux2 = QStringLiteral("데이터 모델 만들기"),
                  ux3 = QStringLiteral("메인 화면 만들기");
    struct Step {
        const char* name;
        QString message;
        QString reply;
        QStringList writes; // the plan after each write, as letters
    };
    const QList<Step> steps = {
        {"start of work", start, handedOver(ux1), {"IPP", "CPP", "RPP"}},
        {"going on while the test is open", kGoOn, waiting(ux1), {}},
        {"a second start of work while the test is open", start, waiting(ux1), {}},
        {"fix request", fixRequest(first), fixed(ux1), {"IPP", "CPP", "RPP"}},
        {"a fix request for a task not built yet while another waits", fixRequest(last), notStartedYet(ux3), {}},
        {"approval waits", kApproval, approved(ux1, ux2), {"DPP"}},
        {"a second approval finds nothing waiting", kApproval, kNothingWaiting, {}},
        {"a fix request for a task not built yet", fixRequest(last), notStartedYet(ux3), {}},
        {"the words to go on", kGoOn, handedOver(ux2), {"DIP", "DCP", "DRP"}},
        {"fix request for a completed task", fixRequest(first), fixed(ux1), {"IPP", "CPP", "RPP"}},
        {"approval again", kApproval, approved(ux1, ux2), {"DPP"}},
        {"other words to go on", QStringLiteral("다음 작업"), handedOver(ux2), {"DIP", "DCP", "DRP"}},
        {"approval", kApproval, approved(ux2, ux3), {"DDP"}},
        {"the last task", kGoOn, handedOver(ux3), {"DDI", "DDC", "DDR"}},
        {"the last approval", kApproval, QStringLiteral("🎉 모든 작업이 끝났어요! FakeApp의 첫 번째 버전이 완성되었습니다."),
         {"DDD"}},
        {"going on with nothing left", kGoOn, QStringLiteral("계획한 작업을 모두 마쳤어요."), {}},
        {"approval with nothing waiting", kApproval, QStringLiteral("승인을 기다리는 작업이 없어요."), {}},
    };

    Session claude(machine, workspace.folder);
    qsizetype written = 0;
    QList<QStringList> filesSeen(3);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(claude.exchange(step.message, step.reply));
        const QStringList writes = checkedWrites(machine, written, *newPlan);
        EXPECT_EQ(writes.join(u' ').toStdString(), step.writes.join(u' ').toStdString());
        written += writes.size();
        // A task's files stay listed once it was worked on, across its rounds.
        for (const QByteArray& json : writtenPlans(machine).mid(written - writes.size())) {
            const auto plan = decoded(json);
            ASSERT_TRUE(plan);
            const QList<TaskItem> tasks = tasksOf(*plan);
            ASSERT_EQ(tasks.size(), 3);
            for (int i = 0; i < 3; ++i) {
                if (!filesSeen[i].isEmpty()) {
                    EXPECT_EQ(tasks[i].detail.modifiedFiles, filesSeen[i]) << "task " << i + 1;
                }
                filesSeen[i] = tasks[i].detail.modifiedFiles;
            }
        }
    }
    const auto finished = readPlan(workspace.taskJson);
    ASSERT_TRUE(finished);
    EXPECT_EQ(letters(*finished).toStdString(), "DDD");
    EXPECT_EQ(QDir(workspace.project).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("Task.json"), QStringLiteral("Task.md")}))
        << "the file written beside the plan is left behind";
    ASSERT_TRUE(claude.finish());

    const QList<FakeCall> calls = fakeCallsOfKind(machine.logFile, QStringLiteral("interactive"));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].cwd, workspace.folder);
    EXPECT_EQ(calls[0].arguments, QStringList{QStringLiteral("--dangerously-skip-permissions")});
    EXPECT_EQ(calls[0].stdinKind, QStringLiteral("other"));
    ASSERT_GE(calls[0].lines.size(), 2);
    EXPECT_EQ(calls[0].lines[1], QStringLiteral("    ") + workspace.guide());
}

// A new session (a new terminal, or the application started again) resumes
// from the plan on disk, or handles the message typed after the guide's path.
TEST(FakeClaude, ANewSessionResumesFromThePlan)
{
    const QString ux1 = QStringLiteral("프로젝트 준비"), ux2 = QStringLiteral("데이터 모델 만들기"),
                  ux3 = QStringLiteral("메인 화면 만들기");
    struct Case {
        const char* name;
        const char* before; // as letters; H is onHold with "pending"
        QString after;      // what follows the guide's path, if anything
        QString reply;
        QStringList writes;
    };
    const QList<Case> cases = {
        {"a new plan", "PPP", {}, handedOver(ux1), {"IPP", "CPP", "RPP"}},
        {"a task in progress", "DIP", {}, handedOver(ux2), {"DCP", "DRP"}},
        {"a task being checked", "DCP", {}, handedOver(ux2), {"DCP", "DRP"}},
        {"a task waiting for its test", "DRP", {}, waiting(ux2), {}},
        {"a task on hold", "DHP", {}, handedOver(ux2), {"DIP", "DCP", "DRP"}},
        {"every task completed", "DDD", {}, QStringLiteral("계획한 작업을 모두 마쳤어요."), {}},
        {"an approval after the path", "DRP", kApproval, approved(ux2, ux3), {"DDP"}},
        {"a fix request after the path", "DDP", fixRequest(QStringLiteral("Model the data")), fixed(ux2),
         {"DIP", "DCP", "DRP"}},
        // Only a task handed over for its test is approved; an unfinished one is not.
        {"an approval while a task is in progress", "DIP", kApproval, kNothingWaiting, {}},
        {"an approval while a task is checked", "DCP", kApproval, kNothingWaiting, {}},
        {"an approval of a task on hold without its test", "DHP", kApproval, kNothingWaiting, {}},
        {"an approval with nothing begun", "PPP", kApproval, kNothingWaiting, {}},
        // A task not built yet is not fixed, and the active one stays.
        {"a fix request for a task not built yet", "DRP", fixRequest(QStringLiteral("Build the main screen")),
         notStartedYet(ux3), {}},
        {"a fix request for a task not built yet, nothing active", "DDP",
         fixRequest(QStringLiteral("Build the main screen")), notStartedYet(ux3), {}},
        // The words to go on continue the active task and never start another.
        {"going on while a task is in progress", "DIP", kGoOn, handedOver(ux2), {"DCP", "DRP"}},
        {"going on while a task is checked", "DCP", kGoOn, handedOver(ux2), {"DCP", "DRP"}},
        {"going on while a task is on hold", "DHP", kGoOn, handedOver(ux2), {"DIP", "DCP", "DRP"}},
        {"going on while a test is open", "DRP", kGoOn, waiting(ux2), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMachine machine;
        const Workspace workspace(machine);
        const auto newPlan = readPlan(workspace.taskJson);
        ASSERT_TRUE(newPlan);
        writePlan(workspace.taskJson, *newPlan, QString::fromLatin1(c.before));
        const QByteArray before = fileBytes(workspace.taskJson);
        Session claude(machine, workspace.folder);
        QString message = kInstruction + workspace.guide();
        if (!c.after.isEmpty())
            message += u'\n' + c.after;
        ASSERT_TRUE(claude.exchange(message, c.reply));
        ASSERT_TRUE(claude.finish());
        EXPECT_EQ(checkedWrites(machine, 0, *newPlan).join(u' ').toStdString(), c.writes.join(u' ').toStdString());
        EXPECT_FALSE(claude.output().contains("fake-claude: no plan"));
        if (c.writes.isEmpty()) {
            EXPECT_EQ(fileBytes(workspace.taskJson), before) << "the plan changed";
        }
    }
}
