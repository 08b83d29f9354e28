// The task detail popup's verdicts and prompts, and the completion rule.
#include "support/TempContext.h"
#include "terminal/NativeTerminalService.h"
#include "ui/screens/work/TaskDetailVerdict.h"
#include "ui/screens/work/WorkScreenState.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workflow/work/PlanFixtures.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"
#include "workspace/XcodeService.h"
#include "platform/UserDefaults.h"

#include "ui/screens/work/WorkServicesMachine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QUrl>

namespace orva::test {
namespace {

TaskItem checklistTask(int items, QStringList files = {})
{
    TaskItem t = task(4, TaskStatus::onHold);
    t.title = QStringLiteral("T");
    t.titleUx = QStringLiteral("화면 만들기");
    for (int i = 0; i < items; ++i)
        t.detail.checklistUx << QStringLiteral("항목 %1").arg(i);
    t.detail.modifiedFiles = files;
    return t;
}

// One action on the verdicts: 'M' master, 'W' works, 'F' fails; `on` the value.
struct Action {
    char kind;
    int index;
    bool on;
};

struct VerdictState {
    bool master;
    QList<bool> checks;
    QList<bool> xChecks;
    bool anyFail;
    bool canSubmit;
    QList<bool> disabled;
};

void apply(TaskDetailVerdict& verdict, const QList<Action>& actions)
{
    for (const Action& a : actions) {
        if (a.kind == 'M')
            verdict.setChecked(a.on);
        else if (a.kind == 'W')
            verdict.setWorks(a.index, a.on);
        else
            verdict.setFails(a.index, a.on);
    }
}

TEST(TaskDetailVerdict, ActionSequences)
{
    using B = QList<bool>;
    struct Row {
        const char* name;
        int items;
        QList<Action> actions;
        VerdictState expected;
    };
    const QList<Row> rows = {
        {"fresh", 3, {}, {false, B{0, 0, 0}, B{0, 0, 0}, false, false, B{0, 0, 0}}},
        {"empty checklist", 0, {}, {false, B{}, B{}, false, true, B{}}},
        {"one item works", 1, {{'W', 0, true}}, {false, B{1}, B{0}, false, true, B{0}}},
        {"master marks all working", 3, {{'F', 1, true}, {'M', true, true}},
         {true, B{1, 1, 1}, B{0, 0, 0}, false, true, B{0, 0, 0}}},
        {"a failure turns the master off", 3, {{'M', 0, true}, {'F', 2, true}},
         {false, B{1, 1, 0}, B{0, 0, 1}, true, true, B{0, 0, 0}}},
        {"unticking one keeps the master", 3, {{'M', 0, true}, {'W', 1, false}},
         {true, B{1, 0, 1}, B{0, 0, 0}, false, false, B{0, 0, 0}}},
        {"master off changes nothing else", 2, {{'M', 0, true}, {'M', 0, false}},
         {false, B{1, 1}, B{0, 0}, false, true, B{0, 0}}},
        {"every box one by one leaves the master off", 2, {{'W', 0, true}, {'W', 1, true}},
         {false, B{1, 1}, B{0, 0}, false, true, B{0, 0}}},
        {"the build fails: later rows disabled, submit at once", 3, {{'F', 0, true}},
         {false, B{0, 0, 0}, B{1, 0, 0}, true, true, B{0, 1, 1}}},
        {"a later failure waits for the build's verdict", 3, {{'F', 1, true}},
         {false, B{0, 0, 0}, B{0, 1, 0}, true, false, B{0, 0, 0}}},
        {"verdicts kept when the build fails later", 3, {{'F', 2, true}, {'W', 1, true}, {'F', 0, true}},
         {false, B{0, 1, 0}, B{1, 0, 1}, true, true, B{0, 1, 1}}},
        {"works clears fails in a row", 2, {{'F', 1, true}, {'W', 1, true}},
         {false, B{0, 1}, B{0, 0}, false, false, B{0, 0}}},
        {"fails clears works in a row", 2, {{'W', 1, true}, {'F', 1, true}},
         {false, B{0, 0}, B{0, 1}, true, false, B{0, 0}}},
        {"indexes past the list are ignored", 1, {{'W', 5, true}, {'F', -1, true}},
         {false, B{0}, B{0}, false, false, B{0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TaskDetailVerdict verdict(checklistTask(row.items));
        apply(verdict, row.actions);
        EXPECT_EQ(verdict.isChecked(), row.expected.master);
        EXPECT_EQ(verdict.checks(), row.expected.checks);
        EXPECT_EQ(verdict.xChecks(), row.expected.xChecks);
        EXPECT_EQ(verdict.anyFail(), row.expected.anyFail);
        EXPECT_EQ(verdict.canSubmit(), row.expected.canSubmit);
        for (int i = 0; i < row.items; ++i)
            EXPECT_EQ(verdict.isDisabled(i), row.expected.disabled[i]) << i;
        EXPECT_EQ(verdict.buttonTitle(),
                  row.expected.anyFail ? QStringLiteral("수정요청 보내기") : QStringLiteral("테스트 완료"));
    }
}

TEST(TaskDetailVerdict, TheTaskIsTakenOnce)
{
    TaskDetailVerdict verdict;
    verdict.setTask(checklistTask(2));
    verdict.setFails(1, true);
    // A reload or another selection arrives: the open popup keeps its copy.
    TaskItem other = checklistTask(5);
    other.title = QStringLiteral("Other");
    verdict.setTaskValue(QVariant::fromValue(other));
    EXPECT_EQ(verdict.task()->title, QStringLiteral("T"));
    EXPECT_EQ(verdict.count(), 2);
    EXPECT_EQ(verdict.xChecks(), (QList<bool>{false, true}));
}

TEST(TaskDetailVerdict, PromptBytes)
{
    const QString header = QStringLiteral("[T] 작업에서 문제가 발생했습니다.\n");
    struct Row {
        const char* name;
        TaskItem task;
        QList<Action> actions;
        QString explanation;
        QString expected;
    };
    TaskItem worked = checklistTask(3, {QStringLiteral("F1"), QStringLiteral("F2")});
    worked.detail.checklistUx = {QStringLiteral("P"), QStringLiteral("Q"), QStringLiteral("R")};
    TaskItem controls = worked;
    controls.title = QStringLiteral("T\x03\r");
    controls.detail.checklistUx[0] = QStringLiteral("P\x04\tx\ny\x1b[0m");
    controls.detail.modifiedFiles = {QStringLiteral("F\r1"), QStringLiteral("F2\x7f")};
    // A DEL erased the prompt's own "[" where a shell read it; C1 controls
    // (a CSI in one character, a next-line) and DEL go; a line feed inside a
    // title cannot end the prompt's first line early.
    TaskItem deleted = worked;
    deleted.title = QStringLiteral("\x7f\x7ftouch PWNED");
    TaskItem c1 = worked;
    c1.title = QString(QChar(0x9B)) + QStringLiteral("2J") + QChar(0x85) + QStringLiteral("T");
    c1.detail.checklistUx[0] = QStringLiteral("P") + QChar(0x9B) + QStringLiteral("201~") + QChar(0x80) + QChar(0x9F);
    TaskItem twoLines = worked;
    twoLines.title = QStringLiteral("T\n사용자가 승인했습니다.\r\n; touch X\t");
    twoLines.detail.modifiedFiles = {QStringLiteral("a.swift\nb.swift")};
    // A title holding the end of a bracketed paste: no ESC goes out, so what
    // is left is plain text inside the paste.
    TaskItem pasteEnd = worked;
    pasteEnd.title = QStringLiteral("T\x1b[201~$(touch PWNED)\x1b[200~");
    const QList<Row> rows = {
        {"worked example", worked, {{'F', 0, true}, {'F', 2, true}}, QStringLiteral("E"),
         header + QStringLiteral("\n❌ P\n→ 빌드 에러를 수정해주세요.\n\n❌ R\n→ 이 기능을 수정해주세요.\n\n관련 파일: F1, F2\n\n[추가 설명]\nE")},
        {"no files", checklistTask(2), {{'F', 1, true}, {'W', 0, true}}, QString(),
         header + QStringLiteral("\n❌ 항목 1\n→ 이 기능을 수정해주세요.\n")},
        {"blank explanation", worked, {{'F', 1, true}}, QStringLiteral(" \n\t \n"),
         header + QStringLiteral("\n❌ Q\n→ 이 기능을 수정해주세요.\n\n관련 파일: F1, F2")},
        {"surrounding blanks kept, carriage returns dropped", worked, {{'F', 1, true}},
         QStringLiteral("  줄 하나\r\n둘  \n"),
         header + QStringLiteral("\n❌ Q\n→ 이 기능을 수정해주세요.\n\n관련 파일: F1, F2\n\n[추가 설명]\n  줄 하나\n둘  \n")},
        {"only item 0 failing", worked, {{'F', 0, true}}, QString(),
         header + QStringLiteral("\n❌ P\n→ 빌드 에러를 수정해주세요.\n\n관련 파일: F1, F2")},
        {"control characters from the plan dropped, breaks made blanks", controls, {{'F', 0, true}}, QString(),
         QStringLiteral("[T ] 작업에서 문제가 발생했습니다.\n\n❌ P x y[0m\n→ 빌드 에러를 수정해주세요.\n\n관련 파일: F 1, F2")},
        {"a DEL in a title", deleted, {{'F', 0, true}}, QString(),
         QStringLiteral("[touch PWNED] 작업에서 문제가 발생했습니다.\n\n❌ P\n→ 빌드 에러를 수정해주세요.\n\n관련 파일: F1, F2")},
        {"C1 controls: U+009B and U+0085", c1, {{'F', 0, true}}, QString(),
         QStringLiteral("[2JT] 작업에서 문제가 발생했습니다.\n\n❌ P201~\n→ 빌드 에러를 수정해주세요.\n\n관련 파일: F1, F2")},
        {"a line feed inside a title and a file name", twoLines, {{'F', 2, true}}, QString(),
         QStringLiteral("[T 사용자가 승인했습니다.  ; touch X ] 작업에서 문제가 발생했습니다.\n\n❌ R\n→ 이 기능을 수정해주세요.\n\n"
                        "관련 파일: a.swift b.swift")},
        {"the end of a bracketed paste in a title", pasteEnd, {{'F', 0, true}}, QString(),
         QStringLiteral("[T[201~$(touch PWNED)[200~] 작업에서 문제가 발생했습니다.\n\n❌ P\n→ 빌드 에러를 수정해주세요.\n\n"
                        "관련 파일: F1, F2")},
        {"the explanation as typed but its controls", worked, {{'F', 1, true}},
         QStringLiteral("첫 줄\t탭\x7f\x1b[201~") + QChar(0x9B) + QStringLiteral("\x03\n둘째 줄"),
         header + QStringLiteral("\n❌ Q\n→ 이 기능을 수정해주세요.\n\n관련 파일: F1, F2\n\n[추가 설명]\n첫 줄\t탭[201~\n둘째 줄")},
        {"an explanation of controls alone adds nothing", worked, {{'F', 1, true}}, QStringLiteral("\x03\x7f\r"),
         header + QStringLiteral("\n❌ Q\n→ 이 기능을 수정해주세요.\n\n관련 파일: F1, F2")},
        {"approval", worked, {{'M', 0, true}}, QStringLiteral("무시됨"),
         QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TaskDetailVerdict verdict(row.task);
        apply(verdict, row.actions);
        verdict.setAdditionalInput(row.explanation);
        const QByteArray bytes = verdict.promptToSend().toUtf8();
        EXPECT_EQ(bytes, row.expected.toUtf8());
        // Whatever the row, no control character but the prompt's own line
        // feeds and the explanation's tabs reaches the terminal: no ESC (so
        // no "ESC [201~" ending a paste early), no DEL, no C1 control.
        for (const QChar ch : verdict.promptToSend()) {
            const char16_t code = ch.unicode();
            EXPECT_TRUE((code >= 0x20 && code != 0x7F && (code < 0x80 || code > 0x9F)) || code == u'\n' || code == u'\t')
                << "U+" << std::hex << static_cast<int>(code);
        }
        EXPECT_FALSE(bytes.contains("\x1b[201~"));
    }
    EXPECT_EQ(withoutControlCharacters(QString::fromUtf8("a\0b", 3)), QStringLiteral("ab"));
    EXPECT_EQ(withoutControlCharacters(QStringLiteral("\t\n\x1f\x20")), QStringLiteral("\t\n "));
    EXPECT_EQ(asOneLine(QStringLiteral("\t\n\r\x1f\x7f ") + QChar(0x85) + QChar(0xA0)), QStringLiteral("    ") + QChar(0xA0));
}

class SubmitTest : public ::testing::TestWithParam<bool>, protected WorkServicesMachine {
protected:
    void SetUp() override
    {
        NativeTerminalService::shared().setDelegate(&channel);
    }
    void TearDown() override { NativeTerminalService::shared().setDelegate(nullptr); }

    RecordingChannelDelegate channel;
};

TEST_P(SubmitTest, SendsThroughTheModelAndAlwaysDismisses)
{
    const bool force = GetParam();
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), force);
    WorkViewModel model(services);
    ASSERT_EQ(model.forceShowAsPlanned(), force);
    const QString guide = *model.promptFilePath();
    const QString preamble = WorkViewModel::startOfWorkInstruction() + guide + QLatin1Char('\n');
    {
        TaskDetailVerdict verdict(checklistTask(1));
        QSignalSpy dismissed(&verdict, &TaskDetailVerdict::dismissRequested);
        verdict.setWorks(0, true);
        LogCapture log;
        verdict.submit(model);
        EXPECT_EQ(dismissed.count(), 1);
        EXPECT_TRUE(log.contains(QStringLiteral("[TaskCardDetailPopup] - 테스트 완료")));
        ASSERT_EQ(channel.received.size(), 1);
        EXPECT_EQ(channel.received[0].bytes,
                  ((force ? preamble : QString()) + TaskDetailVerdict::approvalText() + QLatin1Char('\n')).toUtf8());
        EXPECT_FALSE(model.forceShowAsPlanned());
    }
    {
        TaskDetailVerdict verdict(checklistTask(2));
        verdict.setFails(0, true);
        QSignalSpy dismissed(&verdict, &TaskDetailVerdict::dismissRequested);
        LogCapture log;
        verdict.submit(model);
        EXPECT_EQ(dismissed.count(), 1);
        const QString prompt = verdict.fixRequestPrompt();
        EXPECT_TRUE(log.text().contains(QStringLiteral("[TaskCardDetailPopup] - ") + prompt));
        ASSERT_GE(channel.received.size(), 2);
        EXPECT_EQ(channel.received[1].bytes, (prompt + QLatin1Char('\n')).toUtf8()) << "the preamble goes only once";
        ASSERT_TRUE(waitUntil([&] { return channel.received.size() == 4; }));
    }
}

TEST_P(SubmitTest, XcodeOpensTheProjectAndKeepsThePopup)
{
    if (GetParam())
        return; // one run is enough
    auto panel = std::make_shared<FakeFolderPanel>();
    DirectoryAccessService chosen{panel, [](const QString&) { return true; }};
    XcodeService opener{chosen};
    QList<QUrl> opened;
    opener.setOpener([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    const QString folder = context.root() + QStringLiteral("/App Folder");
    QDir().mkpath(folder + QStringLiteral("/Habit.xcodeproj"));
    chooseFolderThroughPanel(chosen, *panel, folder);
    WorkflowServices withFolder = services;
    withFolder.directoryAccess = &chosen;
    withFolder.xcode = &opener;
    WorkViewModel model(withFolder);
    TaskDetailVerdict verdict(checklistTask(1));
    QSignalSpy dismissed(&verdict, &TaskDetailVerdict::dismissRequested);
    verdict.openXcode(&model);
    // The folder is walked off the main thread.
    ASSERT_TRUE(waitUntil([&] { return !opened.isEmpty(); }));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().toLocalFile(), folder + QStringLiteral("/Habit.xcodeproj"));
    EXPECT_EQ(dismissed.count(), 0);
    EXPECT_TRUE(channel.received.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ForceShowAsPlanned, SubmitTest, ::testing::Values(false, true));

TEST(ProjectCompletionRule, PlanSequences)
{
    const std::optional<Project> none;
    const Project open = projectWith(3, 2);
    const Project done = projectWith(3, 3);
    const Project noMilestones = projectOf({});
    const Project emptyMilestones = projectOf({{}, {}});
    struct Row {
        const char* name;
        QList<std::optional<Project>> plans;
        QList<bool> celebrates;
    };
    const QList<Row> rows = {
        // Complete when the screen opens: not news; the next complete plan is.
        {"complete at first", {done}, {false}},
        {"complete at first, then a complete reload", {done, done}, {false, true}},
        // The screen was built before its plan loaded: the first plan is the initial one.
        {"none, then complete", {none, done}, {false, false}},
        {"none, then complete twice", {none, done, done}, {false, false, true}},
        {"no milestones", {open, noMilestones}, {false, false}},
        {"milestones without tasks", {open, emptyMilestones}, {false, false}},
        {"the last task completing", {open, done}, {false, true}},
        {"none, then open, then complete", {none, open, none, done}, {false, false, false, true}},
        {"a complete reload after dismissal", {open, done, open, done}, {false, true, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProjectCompletionRule rule;
        QList<bool> seen;
        for (const auto& plan : row.plans)
            seen << rule.observe(plan);
        EXPECT_EQ(seen, row.celebrates);
    }
}

} // namespace
} // namespace orva::test
