#include "model/ProjectModel.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QRegularExpression>
#include <QSet>

#include <limits>
#include <QVariant>

using namespace orva;

namespace {

// One milestone with two tasks; every listed key present.
const char* const kPlan = R"({"project":{"id":1,"name":"Todo","createdAt":"2025-03-01",
"milestones":[{"id":10,"title":"Setup","type":"setupAndModeling","tasks":[
{"id":100,"title":"Model","title_ux":"모델","summary_ux":"s","status":"completed","testStatus":"checked",
 "detail":{"description_ux":{"general":["g"],"view":[],"feature":["f"]},"modifiedFiles":["A.swift"],"checklist_ux":["빌드"]}},
{"id":101,"title":"View","title_ux":"화면","summary_ux":"s2","status":"planned","testStatus":"ready",
 "detail":{"description_ux":{"general":[],"view":["v"],"feature":[]},"modifiedFiles":[],"checklist_ux":["a","b"]}}
]}]}})";

QByteArray plan() { return QByteArray(kPlan); }

QByteArray replaced(const char* from, const char* to)
{
    QByteArray json = plan();
    const qsizetype at = json.indexOf(from);
    EXPECT_GE(at, 0) << "fixture lacks " << from;
    return json.replace(at, qstrlen(from), to);
}

struct FailureCase {
    const char* name;
    QByteArray json;
    const char* reasonPart; // a fragment the reason must contain
};

class DecodeFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DecodeFailure, FailsWholeReadWithReason)
{
    QString error;
    EXPECT_FALSE(decodeProjectWrapper(GetParam().json, &error).has_value());
    EXPECT_TRUE(error.contains(QLatin1String(GetParam().reasonPart))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    TaskPlan, DecodeFailure,
    ::testing::Values(
        FailureCase{"MissingTestStatus", replaced(R"("testStatus":"ready",)", ""), "testStatus"},
        FailureCase{"MissingChecklist", replaced(R"(,"checklist_ux":["a","b"])", ""), "checklist_ux"},
        FailureCase{"MissingProject", QByteArray(R"({"projects":{}})"), "\"project\""},
        FailureCase{"NullName", replaced(R"("name":"Todo")", R"("name":null)"), "Null"},
        FailureCase{"NullInList", replaced(R"("modifiedFiles":[])", R"("modifiedFiles":[null])"), "Null"},
        FailureCase{"InterviewFormAsTaskStatus", replaced(R"("status":"planned")", R"("status":"in_progress")"),
                    "TaskStatus"},
        FailureCase{"CapitalisedStatus", replaced(R"("status":"completed")", R"("status":"Completed")"),
                    "TaskStatus"},
        FailureCase{"UnknownMilestoneType", replaced("setupAndModeling", "setup"), "MilestoneType"},
        FailureCase{"IdAsString", replaced(R"("id":1,)", R"("id":"3",)"), "Expected a number"},
        FailureCase{"FractionalId", replaced(R"("id":100,)", R"("id":3.5,)"), "not a whole number"},
        FailureCase{"IdPastRange", replaced(R"("id":100,)", R"("id":9223372036854775808,)"), "64-bit"},
        FailureCase{"IdBelowRange", replaced(R"("id":100,)", R"("id":-9223372036854775809,)"), "64-bit"},
        FailureCase{"HugeExponentId", replaced(R"("id":100,)", R"("id":1e400,)"), "64-bit"},
        FailureCase{"BooleanForInteger", replaced(R"("id":10,)", R"("id":true,)"), "boolean"},
        FailureCase{"ObjectWhereListIsDue", replaced(R"("view":[])", R"("view":{})"), "Expected an array"},
        FailureCase{"InvalidUtf8", replaced("Todo", "To\xC3\x28"), "UTF-8"},
        FailureCase{"OverlongUtf8", replaced("Todo", "To\xC0\xAF"), "UTF-8"},
        FailureCase{"EncodedSurrogate", replaced("Todo", "To\xED\xA0\x80"), "UTF-8"},
        FailureCase{"LoneSurrogateEscape", replaced("Todo", R"(To\ud800)"), "surrogate"},
        FailureCase{"TrailingGarbage", plan() + "x", "Invalid JSON"},
        FailureCase{"TopLevelArray", QByteArray("[]"), "Expected an object"},
        FailureCase{"DeepNesting", QByteArray(100000, '['), "nesting"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decode, ValidPlanReadsEveryField)
{
    QString error;
    const auto wrapper = decodeProjectWrapper(plan(), &error);
    ASSERT_TRUE(wrapper) << error.toStdString();
    const Project& p = wrapper->project;
    EXPECT_EQ(p.id, 1);
    EXPECT_EQ(p.name, "Todo");
    EXPECT_EQ(p.createdAt, "2025-03-01");
    ASSERT_EQ(p.milestones.size(), 1);
    const Milestone& m = p.milestones[0];
    EXPECT_EQ(m.type, MilestoneType::setupAndModeling);
    ASSERT_EQ(m.tasks.size(), 2);
    const TaskItem& t = m.tasks[0];
    EXPECT_EQ(t.id, 100);
    EXPECT_EQ(t.titleUx, QString::fromUtf8("모델"));
    EXPECT_EQ(t.status, TaskStatus::completed);
    EXPECT_EQ(t.testStatus, TestStatus::checked);
    EXPECT_EQ(t.detail.descriptionUx.feature, QStringList{"f"});
    EXPECT_EQ(t.detail.checklistUx, QStringList{QString::fromUtf8("빌드")});
    EXPECT_EQ(m.tasks[1].detail.checklistUx, (QStringList{"a", "b"}));
}

TEST(Decode, AcceptedForms)
{
    struct Case {
        const char* name;
        QByteArray json;
    };
    const Case cases[] = {
        {"ExtraTopLevelKey", replaced(R"({"project":)", R"({"version":2,"project":)")},
        {"ExtraProjectKey", replaced(R"("name":"Todo",)", R"("name":"Todo","owner":null,)")},
        {"ExtraMilestoneKey", replaced(R"("title":"Setup",)", R"("title":"Setup","color":[1,2],)")},
        {"ExtraTaskKey", replaced(R"("summary_ux":"s",)", R"("summary_ux":"s","priority":{"x":1},)")},
        {"ExtraDetailKey", replaced(R"("modifiedFiles":[])", R"("modifiedFiles":[],"note":"n")")},
        {"ExtraDescriptionKey", replaced(R"("view":[],)", R"("view":[],"extra":true,)")},
        {"WholeNumberWithFraction", replaced(R"("id":100,)", R"("id":100.0,)")},
        {"WholeNumberWithExponent", replaced(R"("id":100,)", R"("id":1e2,)")},
        {"LargestInteger", replaced(R"("id":100,)", R"("id":9223372036854775807,)")},
        {"SmallestInteger", replaced(R"("id":100,)", R"("id":-9223372036854775808,)")},
        {"ByteOrderMark", "\xEF\xBB\xBF" + plan()},
        {"EmptyMilestones", QByteArray(R"({"project":{"id":1,"name":"n","milestones":[],"createdAt":""}})")},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_TRUE(decodeProjectWrapper(c.json, &error).has_value()) << c.name << ": " << error.toStdString();
    }
    const auto big = decodeProjectWrapper(replaced(R"("id":100,)", R"("id":-9223372036854775808,)"));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->project.milestones[0].tasks[0].id, std::numeric_limits<qint64>::min());
}

TEST(Coding, KoreanTextAndSlashRoundTrip)
{
    auto wrapper = decodeProjectWrapper(plan());
    ASSERT_TRUE(wrapper);
    wrapper->project.name = QString::fromUtf8("할 일/목록 \"따옴표\"\n\t\x01 😀");
    const QByteArray encoded = encodeProjectWrapper(*wrapper);
    EXPECT_TRUE(encoded.contains(QString::fromUtf8("할 일\\/목록 \\\"따옴표\\\"\\n\\t\\u0001 😀").toUtf8()))
        << encoded.toStdString();
    EXPECT_FALSE(encoded.contains(": ") || encoded.contains(", ") || encoded.contains('\n')) << "not compact";
    const auto back = decodeProjectWrapper(encoded);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->project, wrapper->project);
    EXPECT_EQ(back->project.name, wrapper->project.name);
}

// Found by the strict reader's fuzz target: a string that starts with U+FEFF
// (raw, after an escape, or as the whole string) keeps it; only a byte-order
// mark before the JSON text is skipped.
TEST(Coding, ByteOrderMarkCharacterInsideStringsIsKept)
{
    const QString bom(QChar(0xFEFF));
    struct Case {
        const char* name;
        QByteArray name_json;
        QString expected;
    };
    const Case cases[] = {
        {"at the start", "\xEF\xBB\xBFTodo", bom + "Todo"},
        {"after an escape", "a\\n\xEF\xBB\xBF", "a\n" + bom},
        {"alone", "\xEF\xBB\xBF", bom},
        {"escaped", "\\ufeffTodo", bom + "Todo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto wrapper = decodeProjectWrapper(replaced(R"("name":"Todo")", "\"name\":\"" + c.name_json + "\""));
        ASSERT_TRUE(wrapper);
        EXPECT_EQ(wrapper->project.name, c.expected);
        const auto again = decodeProjectWrapper(encodeProjectWrapper(*wrapper));
        ASSERT_TRUE(again);
        EXPECT_EQ(again->project.name, c.expected);
    }
}

TEST(Coding, InterviewState)
{
    InterviewState state = InterviewState::inProgressNow();
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$)").match(state.timestamp).hasMatch())
        << state.timestamp.toStdString();
    state.timestamp = "2025-03-01T09:30:00Z";
    const QByteArray encoded = encodeInterviewState(state);
    EXPECT_TRUE(encoded.contains(R"("status":"in_progress")")) << encoded.toStdString();
    EXPECT_TRUE(encoded.contains(R"("last_updated":"2025-03-01T09:30:00Z")"));

    const auto completed = decodeInterviewState(R"({"status":"completed","last_updated":"whenever","x":1})");
    ASSERT_TRUE(completed);
    EXPECT_EQ(completed->status, InterviewState::Status::completed);

    const QByteArray bad[] = {R"({"status":"done","last_updated":"t"})", R"({"status":"inProgress","last_updated":"t"})",
                              R"({"status":"completed"})", R"({"status":"completed","last_updated":null})",
                              R"({"status":"completed","last_updated":5})"};
    for (const QByteArray& json : bad) {
        QString error;
        EXPECT_FALSE(decodeInterviewState(json, &error)) << json.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(Coding, TranscriptOfTwoTurns)
{
    const QList<ChatHistory> turns{{1, "User", QString::fromUtf8("할 일 앱")}, {2, "Claude", "a/b"}};
    const QByteArray encoded = encodeChatHistoryList(turns);
    EXPECT_EQ(encoded, QString::fromUtf8(R"([{"id":1,"question":"User","answer":"할 일 앱"},)"
                                         R"({"id":2,"question":"Claude","answer":"a\/b"}])")
                           .toUtf8());
    const auto back = decodeChatHistoryList(encoded);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2);
    EXPECT_EQ((*back)[1].question, "Claude");
    EXPECT_EQ((*back)[1].answer, "a/b");
    EXPECT_EQ(encodeChatHistoryList({}), "[]");
    EXPECT_FALSE(decodeChatHistoryList(R"([{"id":1,"question":"User"}])"));
}

// ---------------------------------------------------------------------------

Project projectWith(const QList<QList<TaskStatus>>& milestones)
{
    Project p;
    qint64 id = 0;
    for (const auto& statuses : milestones) {
        Milestone m;
        m.id = ++id;
        for (TaskStatus s : statuses) {
            TaskItem t;
            t.id = ++id;
            t.status = s;
            t.testStatus = TestStatus::checked; // plays no part
            m.tasks.append(t);
        }
        p.milestones.append(m);
    }
    return p;
}

QList<TaskStatus> statuses(int completed, int total)
{
    QList<TaskStatus> list;
    for (int i = 0; i < total; ++i)
        list.append(i < completed ? TaskStatus::completed : (i % 2 ? TaskStatus::onHold : TaskStatus::inProgress));
    return list;
}

TEST(Progress, Table)
{
    struct Case {
        const char* name;
        Project project;
        qint64 completed, total;
        double fraction;
        int percentage;
    };
    const Case cases[] = {
        {"NoMilestones", Project{}, 0, 0, 0.0, 0},
        {"EmptyTaskLists", projectWith({{}, {}}), 0, 0, 0.0, 0},
        {"OneOfThree", projectWith({statuses(1, 3)}), 1, 3, 1.0 / 3.0, 33},
        {"TwoOfThree",
         projectWith({{TaskStatus::completed, TaskStatus::onHold, TaskStatus::completed}}), 2, 3, 2.0 / 3.0, 66},
        {"TwentyNineOfFifty", projectWith({statuses(20, 30), statuses(9, 20)}), 29, 50, 0.58, 57},
        {"TwentyNineOfHundred", projectWith({statuses(29, 100)}), 29, 100, 0.29, 28},
        {"FiftySevenOfHundred", projectWith({statuses(57, 100)}), 57, 100, 0.57, 56},
        {"OneOfHundred", projectWith({statuses(1, 100)}), 1, 100, 0.01, 1},
        {"AllDone", projectWith({statuses(50, 50), {}, statuses(50, 50)}), 100, 100, 1.0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.project.completedTaskCount(), c.completed);
        EXPECT_EQ(c.project.totalTaskCount(), c.total);
        EXPECT_DOUBLE_EQ(c.project.progress(), c.fraction);
        EXPECT_EQ(c.project.progressPercentage(), c.percentage);
    }
}

TEST(Progress, MilestoneCountsOnlyCompleted)
{
    const Project p = projectWith({{TaskStatus::completed, TaskStatus::onHold, TaskStatus::completed},
                                   {TaskStatus::planned, TaskStatus::inProgress}, {}});
    EXPECT_EQ(p.milestones[0].completedTaskCount(), 2);
    EXPECT_EQ(p.milestones[1].completedTaskCount(), 0);
    EXPECT_EQ(p.milestones[2].completedTaskCount(), 0);
}

// ---------------------------------------------------------------------------

TEST(Equality, Cases)
{
    const Project base = decodeProjectWrapper(plan())->project;
    struct Case {
        const char* name;
        void (*change)(Project&);
        bool equal;
    };
    const Case cases[] = {
        {"Unchanged", [](Project&) {}, true},
        {"OneChecklistEntry", [](Project& p) { p.milestones[0].tasks[1].detail.checklistUx[1] = "c"; }, false},
        {"CreatedAt", [](Project& p) { p.createdAt = "2025-03-02"; }, false},
        {"TestStatus", [](Project& p) { p.milestones[0].tasks[0].testStatus = TestStatus::checking; }, false},
        {"DescriptionLine", [](Project& p) { p.milestones[0].tasks[0].detail.descriptionUx.general.append("x"); },
         false},
        {"TaskOrder", [](Project& p) { p.milestones[0].tasks.swapItemsAt(0, 1); }, false},
        {"MilestoneType", [](Project& p) { p.milestones[0].type = MilestoneType::uiImplementation; }, false},
        // Decomposed Hangul (jamo) is canonically equivalent to the precomposed text.
        {"CanonicallyEquivalentTitle",
         [](Project& p) {
             auto& t = p.milestones[0].tasks[0].titleUx;
             t = t.normalized(QString::NormalizationForm_D);
         },
         true},
    };
    for (const Case& c : cases) {
        Project changed = base;
        c.change(changed);
        EXPECT_EQ(changed == base, c.equal) << c.name;
        EXPECT_EQ(changed != base, !c.equal) << c.name;
    }
}

TEST(Vocabulary, TextsConvertBothWays)
{
    EXPECT_EQ(allMilestoneTypes(), (QList<MilestoneType>{MilestoneType::setupAndModeling,
                                                         MilestoneType::featureImplementation,
                                                         MilestoneType::uiImplementation}));
    for (TaskStatus s : allTaskStatuses())
        EXPECT_EQ(taskStatusFromString(toString(s)), s);
    for (TestStatus s : allTestStatuses())
        EXPECT_EQ(testStatusFromString(toString(s)), s);
    for (MilestoneType t : allMilestoneTypes())
        EXPECT_EQ(milestoneTypeFromString(toString(t)), t);
    EXPECT_EQ(toString(TaskStatus::inProgress), "inProgress");
    EXPECT_EQ(InterviewState::toString(InterviewState::Status::inProgress), "in_progress");
    EXPECT_FALSE(taskStatusFromString("in_progress"));
    EXPECT_FALSE(testStatusFromString("Ready"));
    EXPECT_FALSE(InterviewState::statusFromString("inProgress"));
    EXPECT_EQ(interviewStatusFromString("completed"), InterviewState::Status::completed);
    const QSet<TaskStatus> set{TaskStatus::completed, TaskStatus::completed, TaskStatus::onHold};
    EXPECT_EQ(set.size(), 2);
}

TEST(Gadget, PropertiesReachableThroughVariant)
{
    registerModelMetaTypes();
    const Project p = decodeProjectWrapper(plan())->project;
    const QMetaObject& mo = Project::staticMetaObject;
    EXPECT_EQ(mo.property(mo.indexOfProperty("progressPercentage")).readOnGadget(&p).toInt(), 50);
    const QVariantList milestones = mo.property(mo.indexOfProperty("milestones")).readOnGadget(&p).toList();
    ASSERT_EQ(milestones.size(), 1);
    const Milestone m = milestones[0].value<Milestone>();
    const TaskItem t = m.tasksValue()[1].value<TaskItem>();
    const QMetaObject& tmo = TaskItem::staticMetaObject;
    EXPECT_EQ(tmo.property(tmo.indexOfProperty("statusText")).readOnGadget(&t).toString(), "planned");
    EXPECT_EQ(tmo.property(tmo.indexOfProperty("testStatusText")).readOnGadget(&t).toString(), "ready");
}

} // namespace
