#include "InterviewFixture.h"

#include "platform/AppContext.h"
#include "workflow/EntryViewModel.h"

#include <QSignalSpy>

namespace orva::test {
namespace {

class EntryViewModelTest : public InterviewFixture {
protected:
    void prepare(EntryViewModel& model)
    {
        model.startPreparation();
        ASSERT_TRUE(waitUntil([&] { return model.hasStartedPreparation() && !model.isInitializing()
                                           && (model.isReadyForInterview() || model.hasInitializationError()); }));
    }
};

TEST_F(EntryViewModelTest, PreparationEmptiesTheWorkspaceAndOpensTheConversation)
{
    writeFile(QStringLiteral("ZAVE/project/PRD.md"), "old");
    writeFile(QStringLiteral("ZAVE/project/Task.json"), "{}");
    writeFile(QStringLiteral("ZAVE/project/.hidden/x"), "old");
    const QString folder = context.root() + QStringLiteral("/MyApp");
    QDir().mkpath(folder);
    directory.saveBookmark(folder);
    directory.restoreBookmark();
    ASSERT_EQ(directory.selectedDirectory(), folder);
    UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), true);

    EntryViewModel model(services);
    EXPECT_FALSE(model.isInitializing());
    EXPECT_FALSE(model.isReadyForInterview());
    LogCapture log;
    prepare(model);

    EXPECT_TRUE(model.isReadyForInterview());
    EXPECT_FALSE(model.hasInitializationError());
    EXPECT_EQ(QDir(workspacePath(QStringLiteral("ZAVE/project"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("CLAUDE_DEV.md")});
    EXPECT_TRUE(QFileInfo::exists(workspacePath(QStringLiteral("ZAVE/system/CLAUDE_SYSTEM.md"))));
    EXPECT_TRUE(directory.selectedDirectory().isEmpty());
    EXPECT_FALSE(UserDefaults::contains(QStringLiteral("TerminalDirectoryBookmark")));
    EXPECT_FALSE(UserDefaults::boolValue(QStringLiteral("hasLaunchedBefore"), true));

    const QList<FakeCall> calls = claudeCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].arguments, (QStringList{QStringLiteral("-p"), ClaudeProcessService::openingPrompt(),
                                               QStringLiteral("--dangerously-skip-permissions")}));
    EXPECT_EQ(calls[0].cwd, container());
    EXPECT_EQ(calls[0].stdinKind, QStringLiteral("null"));
    EXPECT_TRUE(claude.isProcessRunning());

    // One preparation per instance.
    model.startPreparation();
    QTest::qWait(50);
    EXPECT_EQ(claudeCalls().size(), 1);
}

TEST_F(EntryViewModelTest, FailuresEndThePreparationWithTheirDescription)
{
    struct Case {
        const char* name;
        QStringList variables;
        bool noExecutable;
        QString expected;
    };
    const QList<Case> cases = {
        {"claude missing", {}, true,
         QStringLiteral("Failed to initialize Claude process: Claude CLI not found. Please ensure Claude Code is installed.")},
        {"opening prompt fails", {QStringLiteral("FAKE_CLAUDE_MODE=exit1")}, false,
         QStringLiteral("Claude process terminated with exit code 1\nfake failure")},
        {"logged out", {QStringLiteral("FAKE_CLAUDE_MODE=stdout-only")}, false,
         QStringLiteral("Claude process terminated with exit code 1\nNot logged in · Please run /login")},
        {"reply past the bound", {QStringLiteral("FAKE_CLAUDE_MODE=huge")}, false,
         QStringLiteral("Claude process wrote more than 16 MiB to standard output and was stopped")},
        {"empty reply", {QStringLiteral("FAKE_CLAUDE_MODE=empty")}, false,
         QStringLiteral("Received invalid response from Claude")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        claude.reset();
        useFakeClaude(claude, context.context().homePath, logFile(), c.variables,
                      c.noExecutable ? context.root() + QStringLiteral("/nowhere/claude") : QString());
        EntryViewModel model(services);
        LogCapture log;
        prepare(model);
        EXPECT_FALSE(model.isReadyForInterview());
        EXPECT_FALSE(model.isInitializing());
        EXPECT_EQ(model.initializationError(), c.expected);
        // One line in the log, the reason after a dash.
        EXPECT_TRUE(log.contains(QStringLiteral("[EntryViewModel] Initialization failed: ")
                                 + QString(c.expected).replace(u'\n', QStringLiteral(" \u2014 "))))
            << log.text().toStdString();
        EXPECT_FALSE(claude.isProcessRunning());
        EXPECT_FALSE(model.isWaitingLong());
        // The workspace was prepared all the same.
        EXPECT_TRUE(QFileInfo::exists(workspacePath(QStringLiteral("ZAVE/project/CLAUDE_DEV.md"))));
    }
}

// A slow opening call: after the notice delay (short here) the model says it
// is waiting long, until the call ends either way or the model is reset.
TEST_F(EntryViewModelTest, ALongWaitForTheOpeningCallIsNoticed)
{
    EXPECT_EQ(EntryViewModel().waitingNoticeDelay(), 20000);
    struct Case {
        const char* name;
        QByteArray thenMode; // how the held call ends; empty: the model is reset meanwhile
        bool ready;
    };
    const Case cases[] = {
        {"answered at last", "normal\n", true},
        {"failed at last", "exit1\n", false},
        // The preparation goes on after a reset and ends as usual.
        {"reset while waiting", {}, true},
    };
    const QString modeFile = context.root() + QStringLiteral("/mode");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        claude.reset();
        writeScript(modeFile, "hold\n");
        useFakeClaude(claude, context.context().homePath, logFile(), {QStringLiteral("FAKE_CLAUDE_MODE_FILE=") + modeFile});
        EntryViewModel model(services);
        model.setWaitingNoticeDelay(150);
        QSignalSpy waiting(&model, &EntryViewModel::isWaitingLongChanged);
        LogCapture log;
        model.startPreparation();
        ASSERT_TRUE(waitUntil([&] { return model.isWaitingLong(); }));
        EXPECT_TRUE(model.isInitializing());
        EXPECT_TRUE(log.contains(QStringLiteral("[EntryViewModel] No answer from claude after 0.15 s; still waiting")))
            << log.text().toStdString();
        if (c.thenMode.isEmpty()) {
            model.reset();
            EXPECT_FALSE(model.isWaitingLong());
            writeScript(modeFile, "normal\n");
            ASSERT_TRUE(waitUntil([&] { return !claude.isBusy() && model.isReadyForInterview(); }));
        } else {
            writeScript(modeFile, c.thenMode);
            prepare(model);
        }
        EXPECT_FALSE(model.isWaitingLong());
        EXPECT_EQ(model.isReadyForInterview(), c.ready);
        EXPECT_EQ(waiting.count(), 2);
    }
}

// An opening call answered within the delay never counts as a long wait.
TEST_F(EntryViewModelTest, AQuickAnswerIsNoLongWait)
{
    EntryViewModel model(services);
    model.setWaitingNoticeDelay(10000);
    QSignalSpy waiting(&model, &EntryViewModel::isWaitingLongChanged);
    prepare(model);
    EXPECT_TRUE(model.isReadyForInterview());
    EXPECT_EQ(waiting.count(), 0);
}

TEST_F(EntryViewModelTest, WithoutAContainerThePreparationFailsBeforeClaude)
{
    AppContext noContainer = context.context();
    noContainer.containerPath.clear();
    AppContext::setCurrent(noContainer);
    EntryViewModel model(services);
    LogCapture log;
    prepare(model);
    AppContext::setCurrent(context.context());
    EXPECT_FALSE(model.isReadyForInterview());
    EXPECT_TRUE(model.initializationError().startsWith(QStringLiteral("Cannot access App Group")))
        << model.initializationError().toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("[EntryViewModel] Initialization failed: ") + model.initializationError()));
    EXPECT_TRUE(claudeCalls().isEmpty());
}

TEST_F(EntryViewModelTest, RetryAfterAFailurePreparesTheWorkspaceAgain)
{
    const QString modeFile = context.root() + QStringLiteral("/mode");
    writeScript(modeFile, "exit1\n");
    useFakeClaude(claude, context.context().homePath, logFile(), {QStringLiteral("FAKE_CLAUDE_MODE_FILE=") + modeFile});
    EntryViewModel model(services);
    prepare(model);
    ASSERT_TRUE(model.hasInitializationError());

    writeFile(QStringLiteral("ZAVE/project/stray.md"), "written between the tries");
    writeScript(modeFile, "normal\n");
    model.reset();
    EXPECT_FALSE(model.hasInitializationError());
    EXPECT_FALSE(model.hasStartedPreparation());
    prepare(model);
    EXPECT_TRUE(model.isReadyForInterview());
    EXPECT_FALSE(model.hasInitializationError());
    EXPECT_FALSE(QFileInfo::exists(workspacePath(QStringLiteral("ZAVE/project/stray.md"))));
    EXPECT_EQ(claudeCalls().size(), 2);
}

TEST_F(EntryViewModelTest, ResetDuringAPreparationLetsItFinish)
{
    useFakeClaude(claude, context.context().homePath, logFile(), {QStringLiteral("FAKE_CLAUDE_DELAY=0.3")});
    EntryViewModel model(services);
    model.startPreparation();
    ASSERT_TRUE(waitUntil([&] { return model.isInitializing(); }));
    model.reset();
    EXPECT_FALSE(model.isInitializing());
    EXPECT_FALSE(model.hasStartedPreparation());
    ASSERT_TRUE(waitUntil([&] { return model.isReadyForInterview(); }));
    EXPECT_FALSE(model.isInitializing());
}

TEST_F(EntryViewModelTest, AnIdeaIsAcceptedOnlyWhenReadyAndNotBlank)
{
    EntryViewModel model(services);
    EXPECT_FALSE(model.submitUserInput(QStringLiteral("A habit tracker")));
    EXPECT_FALSE(model.hasUserSubmitted());
    prepare(model);
    ASSERT_TRUE(model.isReadyForInterview());

    EXPECT_FALSE(model.submitUserInput(QStringLiteral(" \n\t \r\n")));
    EXPECT_FALSE(model.hasUserSubmitted());
    EXPECT_TRUE(model.userInitialInput().isEmpty());

    EXPECT_TRUE(model.submitUserInput(QStringLiteral("  A habit tracker \n")));
    EXPECT_TRUE(model.hasUserSubmitted());
    EXPECT_EQ(model.userInitialInput(), QStringLiteral("  A habit tracker \n"));

    model.reset();
    EXPECT_FALSE(model.hasUserSubmitted());
    EXPECT_TRUE(model.userInitialInput().isEmpty());
    EXPECT_FALSE(model.isReadyForInterview());
}

TEST_F(EntryViewModelTest, PreparationDropsThePreviousProjectsPlan)
{
    writeFile(QStringLiteral("ZAVE/project/Task.json"),
              R"({"project":{"id":1,"name":"Old","createdAt":"x","milestones":[]}})");
    AppGroupMonitorService planMonitor(std::chrono::milliseconds(50));
    ASSERT_TRUE(planMonitor.hasProject());
    services.appGroupMonitor = &planMonitor;

    EntryViewModel model(services);
    prepare(model);
    ASSERT_TRUE(model.isReadyForInterview());
    EXPECT_TRUE(waitUntil([&] { return !planMonitor.hasProject(); }));
}

} // namespace
} // namespace orva::test
