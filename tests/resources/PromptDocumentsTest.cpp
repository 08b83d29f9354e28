// Checks that the prompt documents and the system's own readers agree: every
// example plan decodes, the interview-state examples decode, the interview
// record holds the keys its structure document lists, the development guide
// quotes the texts the application types, and the plan checker shipped for
// `claude` rejects what the reader rejects.

#include "ResourceFiles.h"

#include "model/ProjectModel.h"
#include "support/TempContext.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace orva {
namespace {

using test::fencedBlocks;
using test::kBuildStep;
using test::readResource;

bool hasHangul(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3)
            return true;
    }
    return false;
}

QByteArray templateExample()
{
    const QList<QByteArray> blocks = fencedBlocks(readResource(QStringLiteral("Task_json.md")), QStringLiteral("json"));
    return blocks.isEmpty() ? QByteArray() : blocks.first();
}

// ---------------------------------------------------------------------------
// Example plans

TEST(TaskPlanExamples, EveryJsonExampleDecodesWithTheStrictReader)
{
    struct Case {
        const char* document;
        qsizetype minimumExamples;
    };
    const Case cases[] = {
        {"Task_json.md", 1},
        {"agent.docs.Task.json.md", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        const QList<QByteArray> blocks = fencedBlocks(readResource(QString::fromUtf8(c.document)), QStringLiteral("json"));
        EXPECT_GE(blocks.size(), c.minimumExamples);
        for (qsizetype i = 0; i < blocks.size(); ++i) {
            QString error;
            const auto plan = decodeProjectWrapper(blocks[i], &error);
            EXPECT_TRUE(plan.has_value()) << "example " << i + 1 << ": " << error.toStdString();
        }
    }
}

TEST(TaskPlanExamples, TheTemplateExampleIsAValidNewPlan)
{
    QString error;
    const auto wrapper = decodeProjectWrapper(templateExample(), &error);
    ASSERT_TRUE(wrapper.has_value()) << error.toStdString();
    const Project& project = wrapper->project;

    ASSERT_EQ(project.milestones.size(), 3);
    const QList<MilestoneType> buildOrder = allMilestoneTypes();
    QSet<qint64> taskIds;
    QSet<QString> titles;
    qint64 expectedId = 1;
    for (qsizetype m = 0; m < project.milestones.size(); ++m) {
        const Milestone& milestone = project.milestones[m];
        SCOPED_TRACE(milestone.title.toStdString());
        EXPECT_EQ(milestone.id, m + 1);
        EXPECT_EQ(milestone.type, buildOrder[m]);
        EXPECT_TRUE(hasHangul(milestone.title));
        EXPECT_GE(milestone.tasks.size(), 2);
        for (const TaskItem& task : milestone.tasks) {
            SCOPED_TRACE(task.title.toStdString());
            EXPECT_EQ(task.id, expectedId++);
            taskIds.insert(task.id);
            titles.insert(task.title);
            EXPECT_EQ(task.status, TaskStatus::planned);
            EXPECT_EQ(task.testStatus, TestStatus::pending);
            EXPECT_TRUE(task.detail.modifiedFiles.isEmpty());
            EXPECT_TRUE(hasHangul(task.titleUx));
            EXPECT_TRUE(hasHangul(task.summaryUx));
            ASSERT_GE(task.detail.checklistUx.size(), 2);
            EXPECT_LE(task.detail.checklistUx.size(), 5);
            EXPECT_EQ(task.detail.checklistUx.first(), QString::fromUtf8(kBuildStep));
            for (const QString& step : task.detail.checklistUx)
                EXPECT_TRUE(hasHangul(step)) << step.toStdString();
            for (const QString& line : task.detail.descriptionUx.general + task.detail.descriptionUx.view
                         + task.detail.descriptionUx.feature)
                EXPECT_TRUE(hasHangul(line)) << line.toStdString();
        }
    }
    EXPECT_GE(project.totalTaskCount(), 8);
    EXPECT_LE(project.totalTaskCount(), 15);
    EXPECT_EQ(taskIds.size(), project.totalTaskCount());
    EXPECT_EQ(titles.size(), project.totalTaskCount());
    EXPECT_EQ(project.progressPercentage(), 0);
}

TEST(PromptDocuments, TheBuildStepIsSpelledTheSameEverywhere)
{
    for (const char* name : {"Task_json.md", "Task_template.md", "agent.docs.Task.md", "agent.docs.Task.json.md",
                             "agent.check_task_json.py", "CLAUDE_DEV.md"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(readResource(QString::fromUtf8(name)).contains(kBuildStep));
    }
}

// ---------------------------------------------------------------------------
// Interview state and interview record

TEST(PromptDocuments, InterviewStateExamplesDecodeAndEndCompleted)
{
    const QList<QByteArray> blocks = fencedBlocks(readResource(QStringLiteral("CLAUDE_ENTRYPOINT.md")), QStringLiteral("json"));
    ASSERT_EQ(blocks.size(), 2);
    QList<InterviewState::Status> statuses;
    for (const QByteArray& block : blocks) {
        QString error;
        const auto state = decodeInterviewState(block.trimmed(), &error);
        ASSERT_TRUE(state.has_value()) << error.toStdString();
        statuses.append(state->status);
        // The written form keeps exactly the two keys of the file.
        EXPECT_EQ(QJsonDocument::fromJson(block).object().keys(),
                  (QStringList{QStringLiteral("last_updated"), QStringLiteral("status")}));
    }
    EXPECT_EQ(statuses, (QList<InterviewState::Status>{InterviewState::Status::inProgress, InterviewState::Status::completed}));
}

// Every dotted key path that leads to a value which is not an object.
void collectLeafPaths(const QJsonObject& object, const QString& prefix, QSet<QString>& out)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString path = prefix.isEmpty() ? it.key() : prefix + u'.' + it.key();
        if (it.value().isObject())
            collectLeafPaths(it.value().toObject(), path, out);
        else
            out.insert(path);
    }
}

TEST(PromptDocuments, TheInterviewRecordHoldsExactlyTheDocumentedKeys)
{
    QJsonParseError parseError;
    const QJsonDocument record = QJsonDocument::fromJson(readResource(QStringLiteral("context.json")), &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << parseError.errorString().toStdString();
    QSet<QString> shipped;
    collectLeafPaths(record.object(), {}, shipped);

    // The first column of the field table, e.g. "| app.name | text | ...".
    QSet<QString> documented;
    const QRegularExpression row(QStringLiteral("^\\| ([A-Za-z_.0-9]+(?: to [A-Za-z_.0-9]+)?) \\|"));
    const QRegularExpression range(QStringLiteral("^(.*\\.Q)(\\d) to \\1(\\d)$"));
    for (const QByteArray& line : readResource(QStringLiteral("CONTEXT_STRUCTURE.md")).split('\n')) {
        const auto match = row.match(QString::fromUtf8(line));
        if (!match.hasMatch() || match.captured(1) == QLatin1String("key"))
            continue;
        const QString key = match.captured(1);
        const auto span = range.match(key);
        if (span.hasMatch()) {
            for (int n = span.captured(2).toInt(); n <= span.captured(3).toInt(); ++n)
                documented.insert(span.captured(1) + QString::number(n));
        } else {
            documented.insert(key);
        }
    }
    ASSERT_FALSE(documented.isEmpty());
    for (const QString& key : documented)
        EXPECT_TRUE(shipped.contains(key)) << "documented but not in context.json: " << key.toStdString();
    for (const QString& key : shipped)
        EXPECT_TRUE(documented.contains(key)) << "in context.json but not documented: " << key.toStdString();
}

// ---------------------------------------------------------------------------
// Development guide

TEST(PromptDocuments, TheDevelopmentGuideRecognisesEveryTextTheAppTypes)
{
    const QString guide = QString::fromUtf8(readResource(QStringLiteral("CLAUDE_DEV.md")));
    const char* const texts[] = {
        // the start-of-work instruction
        "아래 경로의 명세서를 기반으로 개발을 진행하세요.",
        // the approval and the section it refers to
        "사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.",
        "Task.json 연동 규칙",
        // the parts of a fix request
        "] 작업에서 문제가 발생했습니다.",
        "❌ ",
        "→ 빌드 에러를 수정해주세요.",
        "→ 이 기능을 수정해주세요.",
        "관련 파일: ",
        "[추가 설명]",
        // the instruction of the completed-task popup
        "다음 테스크 진행",
    };
    for (const char* text : texts)
        EXPECT_TRUE(guide.contains(QString::fromUtf8(text))) << text;
}

// The status table of the guide: rows like | moment | "inProgress" | "pending" | ... |
QList<std::pair<QString, QString>> guideStatusRows()
{
    QList<std::pair<QString, QString>> rows;
    const QRegularExpression row(QStringLiteral("^\\|[^|]*\\| \"(\\w+)\" \\| \"(\\w+)\" \\|"));
    for (const QByteArray& line : readResource(QStringLiteral("CLAUDE_DEV.md")).split('\n')) {
        const auto match = row.match(QString::fromUtf8(line));
        if (match.hasMatch() && match.captured(1) != QLatin1String("status"))  // not the header row
            rows.append({match.captured(1), match.captured(2)});
    }
    return rows;
}

TEST(PromptDocuments, TheGuideStatusTableUsesOnlyTheVocabularies)
{
    const auto rows = guideStatusRows();
    ASSERT_GE(rows.size(), 5);
    for (const auto& [status, testStatus] : rows) {
        EXPECT_TRUE(taskStatusFromString(status).has_value()) << status.toStdString();
        EXPECT_TRUE(testStatusFromString(testStatus).has_value()) << testStatus.toStdString();
    }
}

TEST(PromptDocuments, TheGuideReachesEveryStateOfTheCurrentWorkCard)
{
    // One status pair per state of the current-work card; "empty" is the plan
    // with every task completed after the approval.
    struct Case {
        const char* cardState;
        const char* status;
        const char* testStatus;
    };
    const Case cases[] = {
        {"planned", "planned", "pending"},
        {"inProgress", "inProgress", "pending"},
        {"testChecking", "onHold", "checking"},
        {"testReady", "onHold", "ready"},
        {"empty", "completed", "checked"},
    };
    const auto rows = guideStatusRows();
    for (const Case& c : cases) {
        EXPECT_TRUE(rows.contains(std::pair<QString, QString>(QString::fromUtf8(c.status), QString::fromUtf8(c.testStatus))))
            << c.cardState << ": no row " << c.status << " / " << c.testStatus;
    }
}

// ---------------------------------------------------------------------------
// The plan checker shipped for `claude`

TEST(TaskPlanChecker, ItsVocabulariesAreTheModelsVocabularies)
{
    const QString script = QString::fromUtf8(readResource(QStringLiteral("agent.check_task_json.py")));
    auto tuple = [&](const char* name) {
        const QRegularExpression re(QString::fromUtf8(name) + QStringLiteral(" = \\(([^)]*)\\)"));
        QStringList values;
        const auto match = re.match(script);
        const QRegularExpression quoted(QStringLiteral("\"(\\w+)\""));
        for (auto it = quoted.globalMatch(match.captured(1)); it.hasNext();)
            values.append(it.next().captured(1));
        return values;
    };
    QStringList tasks, tests, milestones;
    for (TaskStatus s : allTaskStatuses())
        tasks.append(toString(s));
    for (TestStatus s : allTestStatuses())
        tests.append(toString(s));
    for (MilestoneType t : allMilestoneTypes())
        milestones.append(toString(t));
    EXPECT_EQ(tuple("TASK_STATUSES"), tasks);
    EXPECT_EQ(tuple("TEST_STATUSES"), tests);
    EXPECT_EQ(tuple("MILESTONE_TYPES"), milestones);
}

class TaskPlanCheckerRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        python_ = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python_.isEmpty())
            GTEST_SKIP() << "python3 is not installed";
        ASSERT_TRUE(dir_.isValid());
    }

    // Runs the checker on `plan`; true when it prints OK and exits 0.
    bool checkerAccepts(const QByteArray& plan, bool asNewPlan)
    {
        const QString path = dir_.filePath(QStringLiteral("Task.json"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(plan);
        file.close();
        QStringList args{QDir(test::builtResourcesPath()).filePath(QStringLiteral("agent.check_task_json.py")), path};
        if (asNewPlan)
            args.append(QStringLiteral("--new"));
        QProcess process;
        process.start(python_, args);
        EXPECT_TRUE(process.waitForFinished(30000));
        const QByteArray out = process.readAllStandardOutput();
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && out.trimmed() == "OK";
    }

    QString python_;
    QTemporaryDir dir_;
};

using Mutation = std::function<void(QJsonObject& project)>;

// Applies `change` to the first task of the first milestone.
Mutation onFirstTask(const std::function<void(QJsonObject&)>& change)
{
    return [change](QJsonObject& project) {
        QJsonArray milestones = project[QStringLiteral("milestones")].toArray();
        QJsonObject milestone = milestones[0].toObject();
        QJsonArray tasks = milestone[QStringLiteral("tasks")].toArray();
        QJsonObject task = tasks[0].toObject();
        change(task);
        tasks[0] = task;
        milestone[QStringLiteral("tasks")] = tasks;
        milestones[0] = milestone;
        project[QStringLiteral("milestones")] = milestones;
    };
}

Mutation onFirstDetail(const std::function<void(QJsonObject&)>& change)
{
    return onFirstTask([change](QJsonObject& task) {
        QJsonObject detail = task[QStringLiteral("detail")].toObject();
        change(detail);
        task[QStringLiteral("detail")] = detail;
    });
}

QByteArray mutated(const Mutation& mutation)
{
    QJsonObject top = QJsonDocument::fromJson(templateExample()).object();
    QJsonObject project = top[QStringLiteral("project")].toObject();
    mutation(project);
    top[QStringLiteral("project")] = project;
    return QJsonDocument(top).toJson();
}

TEST_F(TaskPlanCheckerRun, AcceptsTheTemplateExample)
{
    EXPECT_TRUE(checkerAccepts(templateExample(), true));
    EXPECT_TRUE(checkerAccepts(templateExample(), false));
}

TEST_F(TaskPlanCheckerRun, RejectsEveryPlanTheReaderRejects)
{
    struct Case {
        const char* name;
        Mutation mutation;
    };
    const Case cases[] = {
        {"task without testStatus", onFirstTask([](QJsonObject& t) { t.remove(QStringLiteral("testStatus")); })},
        {"interview-state spelling of a task status",
         onFirstTask([](QJsonObject& t) { t[QStringLiteral("status")] = QStringLiteral("in_progress"); })},
        {"status in other capitals", onFirstTask([](QJsonObject& t) { t[QStringLiteral("status")] = QStringLiteral("OnHold"); })},
        {"null title_ux", onFirstTask([](QJsonObject& t) { t[QStringLiteral("title_ux")] = QJsonValue::Null; })},
        {"task id as text", onFirstTask([](QJsonObject& t) { t[QStringLiteral("id")] = QStringLiteral("1"); })},
        {"task id with a fraction", onFirstTask([](QJsonObject& t) { t[QStringLiteral("id")] = 1.5; })},
        {"detail without checklist_ux", onFirstDetail([](QJsonObject& d) { d.remove(QStringLiteral("checklist_ux")); })},
        {"null modifiedFiles", onFirstDetail([](QJsonObject& d) { d[QStringLiteral("modifiedFiles")] = QJsonValue::Null; })},
        {"description without view", onFirstDetail([](QJsonObject& d) {
             QJsonObject description = d[QStringLiteral("description_ux")].toObject();
             description.remove(QStringLiteral("view"));
             d[QStringLiteral("description_ux")] = description;
         })},
        {"checklist step that is not text", onFirstDetail([](QJsonObject& d) {
             d[QStringLiteral("checklist_ux")] = QJsonArray{QString::fromUtf8(kBuildStep), 2};
         })},
        {"project without createdAt", [](QJsonObject& p) { p.remove(QStringLiteral("createdAt")); }},
        {"unknown milestone type", [](QJsonObject& p) {
             QJsonArray milestones = p[QStringLiteral("milestones")].toArray();
             QJsonObject milestone = milestones[2].toObject();
             milestone[QStringLiteral("type")] = QStringLiteral("UIImplementation");
             milestones[2] = milestone;
             p[QStringLiteral("milestones")] = milestones;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray plan = mutated(c.mutation);
        EXPECT_FALSE(decodeProjectWrapper(plan).has_value());
        EXPECT_FALSE(checkerAccepts(plan, false));
    }
}

TEST_F(TaskPlanCheckerRun, HoldsANewPlanToTheRulesOfAFirstPlan)
{
    // Valid for the reader, but not a plan `claude` may hand over as new.
    struct Case {
        const char* name;
        Mutation mutation;
    };
    const Case cases[] = {
        {"task already in progress", onFirstTask([](QJsonObject& t) { t[QStringLiteral("status")] = QStringLiteral("inProgress"); })},
        {"test already ready", onFirstTask([](QJsonObject& t) { t[QStringLiteral("testStatus")] = QStringLiteral("ready"); })},
        {"first step is not the build step",
         onFirstDetail([](QJsonObject& d) { d[QStringLiteral("checklist_ux")] = QJsonArray{QStringLiteral("첫 화면이 보인다"), QStringLiteral("버튼이 보인다")}; })},
        {"milestones out of build order", [](QJsonObject& p) {
             QJsonArray milestones = p[QStringLiteral("milestones")].toArray();
             const QJsonValue first = milestones[0];
             milestones[0] = milestones[2];
             milestones[2] = first;
             p[QStringLiteral("milestones")] = milestones;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray plan = mutated(c.mutation);
        EXPECT_TRUE(decodeProjectWrapper(plan).has_value());
        EXPECT_FALSE(checkerAccepts(plan, true));
    }
}

} // namespace
} // namespace orva
