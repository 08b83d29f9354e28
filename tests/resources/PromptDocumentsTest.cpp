// Checks that the prompt documents and the system's own readers agree: every
// example plan decodes and fits the screens, the interview-state examples
// decode, the interview record holds the keys its structure document lists,
// the development guide quotes the texts the application types and speaks to
// the person as the screens do, every command quotes its paths, and the plan
// checker shipped for `claude` rejects what the reader rejects and what a fix
// request cannot name.

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
using test::guideStatusRows;
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
    return test::templatePlanExample();
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

// The limit that Task_json.md's value table gives a key: "... at most N characters ...".
int documentedLimit(const char* key)
{
    const QRegularExpression row(QStringLiteral("^\\| %1 \\|[^\\n]*at most (\\d+) characters").arg(QRegularExpression::escape(QString::fromUtf8(key))),
                                 QRegularExpression::MultilineOption);
    const auto match = row.match(QString::fromUtf8(readResource(QStringLiteral("Task_json.md"))));
    EXPECT_TRUE(match.hasMatch()) << key;
    return match.captured(1).toInt();
}

// Texts that read wrong once the screens or a reply join them to other words.
const char* const kChoiceParticles[] = {"을(를)", "를(을)", "이(가)", "가(이)", "은(는)", "는(은)", "와(과)", "과(와)"};

TEST(TaskPlanExamples, TheTemplateExampleFitsTheScreens)
{
    const auto wrapper = decodeProjectWrapper(templateExample());
    ASSERT_TRUE(wrapper.has_value());
    const int titleLimit = documentedLimit("task.title_ux");
    const int summaryLimit = documentedLimit("task.summary_ux");
    EXPECT_GT(titleLimit, 0);
    EXPECT_GT(summaryLimit, 0);
    for (const Milestone& milestone : wrapper->project.milestones) {
        for (const TaskItem& task : milestone.tasks) {
            SCOPED_TRACE(task.title.toStdString());
            // The fix request names the task as "[title]" on one line.
            EXPECT_FALSE(task.title.contains(u']') || task.title.contains(u'\n'));
            // The card joins "입니다", "의" and " 기능을" right after the title: a noun phrase.
            EXPECT_LE(task.titleUx.size(), titleLimit) << task.titleUx.toStdString();
            for (const char* ending : {"요", "다", ".", "!", "?"})
                EXPECT_FALSE(task.titleUx.endsWith(QString::fromUtf8(ending))) << task.titleUx.toStdString();
            // One line of the task card, in the polite form.
            EXPECT_LE(task.summaryUx.size(), summaryLimit) << task.summaryUx.toStdString();
            EXPECT_TRUE(task.summaryUx.endsWith(QStringLiteral("요"))) << task.summaryUx.toStdString();
            for (const QString& line : task.detail.descriptionUx.general + task.detail.descriptionUx.view
                         + task.detail.descriptionUx.feature)
                EXPECT_TRUE(line.endsWith(QStringLiteral("요."))) << line.toStdString();
            // Checklist steps are plain statements like the build step, one line each.
            for (const QString& step : task.detail.checklistUx) {
                EXPECT_TRUE(step.endsWith(QStringLiteral("다"))) << step.toStdString();
                EXPECT_FALSE(step.contains(u'\n'));
            }
            const QString shown = QStringList{task.titleUx, task.summaryUx}.join(u'\n') + u'\n'
                + (task.detail.descriptionUx.general + task.detail.descriptionUx.view + task.detail.descriptionUx.feature
                   + task.detail.checklistUx)
                      .join(u'\n');
            for (const char* particle : kChoiceParticles)
                EXPECT_FALSE(shown.contains(QString::fromUtf8(particle))) << particle;
            EXPECT_FALSE(shown.contains(QStringLiteral("ZAVE")));
        }
    }
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

// The section of the guide that begins with the heading `from` and ends before `to`.
QString guideSection(const char* from, const char* to)
{
    const QString guide = QString::fromUtf8(readResource(QStringLiteral("CLAUDE_DEV.md")));
    const qsizetype start = guide.indexOf(QString::fromUtf8(from));
    const qsizetype end = guide.indexOf(QString::fromUtf8(to), start);
    EXPECT_GE(start, 0) << from;
    EXPECT_GT(end, start) << to;
    return start >= 0 && end > start ? guide.mid(start, end - start) : QString();
}

TEST(PromptDocuments, TheGuideSpeaksToThePersonAsTheScreensDo)
{
    // Every reply of section 6: its fenced blocks and its one-line replies.
    const QString section = guideSection("## 6.", "## 7.");
    QStringList replies;
    for (const QByteArray& block : fencedBlocks(section.toUtf8(), QStringLiteral("text")))
        replies << QString::fromUtf8(block);
    const QRegularExpression oneLine(QStringLiteral("^- [^:\"]+: \"(.+)\"$"), QRegularExpression::MultilineOption);
    int lines = 0;
    for (auto it = oneLine.globalMatch(section); it.hasNext(); ++lines)
        replies << it.next().captured(1);
    EXPECT_GE(lines, 6);
    ASSERT_GE(replies.size(), 9);
    const QRegularExpression titleUx(QStringLiteral("<title_ux[^>]*>"));
    const QRegularExpression titleUxThenWord(QStringLiteral("<title_ux[^>]*>'? 작업"));
    for (const QString& reply : replies) {
        SCOPED_TRACE(reply.toStdString());
        EXPECT_TRUE(hasHangul(reply));
        for (const char* particle : kChoiceParticles)
            EXPECT_FALSE(reply.contains(QString::fromUtf8(particle))) << particle;
        // One speech level: the polite "-요" form, never the formal "-니다".
        EXPECT_FALSE(reply.contains(QStringLiteral("니다"))) << "formal ending";
        for (const char* hidden : {"ZAVE", "Task.json", ".md", ".swift", "W/"})
            EXPECT_FALSE(reply.contains(QString::fromUtf8(hidden))) << hidden;
        // A title is followed by a fixed word, so no particle depends on its last letter.
        EXPECT_EQ(reply.count(titleUx), reply.count(titleUxThenWord));
    }
}

TEST(PromptDocuments, TheGuideHasTheProjectFolderLeadBackToIt)
{
    // The one line that brings `claude` back to the guide after a compaction
    // or a restart names the guide's full path between quotes.
    const QString section = guideSection("## 2.", "## 3.");
    EXPECT_TRUE(section.contains(QStringLiteral("P/CLAUDE.md")));
    const QList<QByteArray> blocks = fencedBlocks(section.toUtf8(), QStringLiteral("text"));
    ASSERT_EQ(blocks.size(), 1);
    const QByteArray note = blocks.first().trimmed();
    EXPECT_FALSE(note.contains('\n')) << "the note is one line";
    EXPECT_TRUE(note.contains("\"<the full path of this file>\""));
}

// The commands a document shows: inline code and lines of fenced blocks that
// begin with one of the tools the documents run.
QStringList shownCommands(const QString& document)
{
    static const QStringList tools = {QStringLiteral("python3"), QStringLiteral("xcodebuild"), QStringLiteral("find"),
                                      QStringLiteral("date"), QStringLiteral("xcode-select")};
    auto isCommand = [](const QString& text) { return tools.contains(text.trimmed().section(u' ', 0, 0)); };
    QStringList commands;
    const QRegularExpression inlineCode(QStringLiteral("`([^`\\n]+)`"));
    for (auto it = inlineCode.globalMatch(document); it.hasNext();) {
        const QString code = it.next().captured(1);
        if (isCommand(code))
            commands << code;
    }
    for (const QString& language : {QStringLiteral("text"), QStringLiteral("sh"), QStringLiteral("")}) {
        for (const QByteArray& block : fencedBlocks(document.toUtf8(), language)) {
            for (const QString& line : QString::fromUtf8(block).split(u'\n')) {
                if (isCommand(line))
                    commands << line.trimmed();
            }
        }
    }
    return commands;
}

TEST(PromptDocuments, EveryCommandQuotesItsPaths)
{
    // The workspace lies under "Library/Group Containers" on a Mac: a path
    // outside quotes splits at the blank.
    const QRegularExpression quoted(QStringLiteral("\"[^\"]*\"|'[^']*'"));
    const QRegularExpression placeholder(QStringLiteral("<([^>]*)>"));
    int commands = 0;
    const QStringList documents = QDir(test::builtResourcesPath()).entryList({QStringLiteral("*.md")}, QDir::Files);
    ASSERT_GE(documents.size(), 10);
    for (const QString& name : documents) {
        for (const QString& command : shownCommands(QString::fromUtf8(readResource(name)))) {
            SCOPED_TRACE((name + QStringLiteral(": ") + command).toStdString());
            ++commands;
            QString bare = command;
            bare.remove(quoted);
            EXPECT_FALSE(bare.contains(u'/')) << "a path outside quotes";
            for (auto it = placeholder.globalMatch(bare); it.hasNext();) {
                const QString inside = it.next().captured(1);
                for (const char* pathLike : {"path", "W", "file", "folder", "Name", "."})
                    EXPECT_FALSE(inside.contains(QString::fromUtf8(pathLike))) << "<" << inside.toStdString() << "> outside quotes";
            }
        }
    }
    EXPECT_GE(commands, 8);
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
        if (test::python3().isEmpty())
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
        QStringList args{path};
        if (asNewPlan)
            args.append(QStringLiteral("--new"));
        const test::ScriptRun run = test::runResourceScript(QStringLiteral("agent.check_task_json.py"), args);
        return run.finished && run.exitCode == 0 && run.output.trimmed() == "OK";
    }

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

TEST_F(TaskPlanCheckerRun, RejectsWhatAFixRequestOrTheBoardCannotTellApart)
{
    // The reader takes these plans, but a fix request ("[title] ..." on one
    // line, each failed step on a line) or the board's milestone tabs could
    // not tell the parts apart. Rejected in every plan, new or not.
    struct Case {
        const char* name;
        Mutation mutation;
    };
    auto withTitle = [](const char* title) {
        return onFirstTask([title](QJsonObject& t) { t[QStringLiteral("title")] = QString::fromUtf8(title); });
    };
    auto withSecondStep = [](const char* step) {
        return onFirstDetail([step](QJsonObject& d) {
            d[QStringLiteral("checklist_ux")] = QJsonArray{QString::fromUtf8(kBuildStep), QString::fromUtf8(step)};
        });
    };
    const Case cases[] = {
        {"two milestones with one id", [](QJsonObject& p) {
             QJsonArray milestones = p[QStringLiteral("milestones")].toArray();
             QJsonObject milestone = milestones[2].toObject();
             milestone[QStringLiteral("id")] = 1;
             milestones[2] = milestone;
             p[QStringLiteral("milestones")] = milestones;
         }},
        {"a title with a closing bracket", withTitle("Project setup [app shell]")},
        {"a title ending in a closing bracket", withTitle("Setup]")},
        {"a title with a line break", withTitle("Project setup\nand app shell")},
        {"a title with a carriage return", withTitle("Project setup\r")},
        {"a checklist step with a line break", withSecondStep("첫 화면이 보인다\n이름도 보인다")},
        {"a checklist step with a carriage return", withSecondStep("첫 화면이 보인다\r")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray plan = mutated(c.mutation);
        EXPECT_TRUE(decodeProjectWrapper(plan).has_value());
        EXPECT_FALSE(checkerAccepts(plan, false));
        EXPECT_FALSE(checkerAccepts(plan, true));
    }
}

TEST_F(TaskPlanCheckerRun, RejectsNumbersJsonDoesNotHave)
{
    // Python's own reader takes NaN and Infinity unless told otherwise; JSON
    // and the reader do not, not even under a key nobody reads.
    const QByteArray example = templateExample();
    const QByteArray projectId = "\"id\": 1,";
    ASSERT_TRUE(example.contains(projectId));
    for (const char* constant : {"NaN", "Infinity", "-Infinity"}) {
        SCOPED_TRACE(constant);
        QByteArray plan = example;
        plan.insert(plan.indexOf(projectId) + projectId.size(), " \"estimate\": " + QByteArray(constant) + ",");
        EXPECT_FALSE(decodeProjectWrapper(plan).has_value());
        EXPECT_FALSE(checkerAccepts(plan, false));
        EXPECT_FALSE(checkerAccepts(plan, true));
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
