#include "InterviewFixture.h"

#include "workflow/ProjectGuidingViewModel.h"
#include "workspace/PromptFileService.h"
#include "workspace/XcodeService.h"

#include <QSignalSpy>

namespace orva::test {
namespace {

class ProjectGuidingViewModelTest : public InterviewFixture {
protected:
    void SetUp() override
    {
        InterviewFixture::SetUp();
        services.xcode = &xcode;
        QDir().mkpath(workspacePath(QStringLiteral("ZAVE/project")));
    }

    void generate(ProjectGuidingViewModel& model)
    {
        bool done = false;
        model.generateSpec([&done] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    // Checks the folder and waits for the verdict.
    void verify(ProjectGuidingViewModel& model)
    {
        model.verifyProject();
        ASSERT_TRUE(waitUntil([&] { return !model.isVerifyingProject(); }));
    }

    // Chooses the folder through the folder panel, as the user would.
    void chooseFolder(const QString& folder) { chooseFolderThroughPanel(directory, *panel, folder); }

    // A stand-in for `claude` that answers every prompt with the given shell lines.
    void useScriptedClaude(const QByteArray& body)
    {
        const QString script = writeScript(context.root() + QStringLiteral("/bin/claude"),
                                           "#!/bin/bash\nprompt=\"${@: -2:1}\"\n" + body + "\necho OK\n");
        claude.reset();
        useFakeClaude(claude, context.context().homePath, logFile(), {}, script);
    }

    XcodeService xcode{directory};
};

TEST_F(ProjectGuidingViewModelTest, GenerationAsksForTheDocumentsThenForTheTaskPlan)
{
    openConversation();
    ProjectGuidingViewModel model(services);
    LogCapture log;
    generate(model);

    EXPECT_TRUE(model.isGeneratingSpec());
    EXPECT_FALSE(model.hasGenerationError());
    EXPECT_FALSE(model.hasErrorMessage());
    const QStringList lines = log.lines();
    const QStringList expected = {QStringLiteral("[ProjectGuidingViewModel] Starting spec generation..."),
                                  QStringLiteral("[ProjectGuidingViewModel] Spec generation completed, starting task generation..."),
                                  QStringLiteral("[ProjectGuidingViewModel] Task generation completed")};
    QStringList ours;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("[ProjectGuidingViewModel]")))
            ours << line;
    }
    EXPECT_EQ(ours, expected);

    const QList<FakeCall> calls = claudeCalls();
    ASSERT_EQ(calls.size(), 3);
    const QString documentPath = QStringLiteral("@ZAVE/system/agents/agent.docs.prd.md");
    EXPECT_EQ(model.documentPath(), documentPath);
    EXPECT_EQ(calls[1].arguments, (QStringList{QStringLiteral("-p"), QStringLiteral("-c"),
                                               ClaudeProcessService::documentPrompt(documentPath),
                                               QStringLiteral("--dangerously-skip-permissions")}));
    EXPECT_EQ(calls[2].arguments, (QStringList{QStringLiteral("-p"), QStringLiteral("-c"),
                                               ProjectGuidingViewModel::taskPlanPrompt(),
                                               QStringLiteral("--dangerously-skip-permissions")}));
    EXPECT_EQ(ProjectGuidingViewModel::taskPlanPrompt().toUtf8().size(), 215);
    EXPECT_EQ(ProjectGuidingViewModel::taskPlanPrompt().toUtf8(),
              QByteArrayLiteral("Read '@ZAVE/system/agents/agent.docs.Task.md' and create 'Task.md' in @ZAVE/project. "
                                "Then read @ZAVE/system/agents/agent.docs.Task.json.md and create 'Task.json' in "
                                "@ZAVE/project.\nCreate both sequentially this turn."));

    // The monitor publishes the plan `claude` wrote.
    ASSERT_TRUE(waitUntil([&] { return monitor.hasProject(); }));
    EXPECT_EQ(monitor.project()->name, QStringLiteral("FakeApp"));
    EXPECT_TRUE(monitor.isMonitoring(MonitorKey::taskDashboardFile));
}

TEST_F(ProjectGuidingViewModelTest, GenerationWithoutAConversationFailsBeforeAnyChild)
{
    ProjectGuidingViewModel model(services);
    LogCapture log;
    generate(model);
    EXPECT_EQ(model.generationError(), QStringLiteral("Claude process is not running"));
    EXPECT_FALSE(model.hasErrorMessage()) << "a generation failure is no verdict";
    EXPECT_FALSE(model.isGeneratingSpec());
    EXPECT_TRUE(log.contains(QStringLiteral("[ProjectGuidingViewModel] Error generating PRD: Claude process is not running")));
    EXPECT_TRUE(claudeCalls().isEmpty());
    // The task-plan watch stays in place.
    EXPECT_TRUE(monitor.isMonitoring(MonitorKey::taskDashboardDirectory));
}

TEST_F(ProjectGuidingViewModelTest, ATurnThatLeavesNoReadableTaskPlanIsAnError)
{
    struct Case {
        const char* name;
        QByteArray body;
        QString reasonStart;
    };
    const QList<Case> cases = {
        {"no file", "", QStringLiteral("the file was not created")},
        {"cut short",
         "case \"$prompt\" in *\"'Task.json'\"*) printf '{\"project\":{\"id\":1' > ZAVE/project/Task.json ;; esac", QString()},
        {"wrong vocabulary",
         "case \"$prompt\" in *\"'Task.json'\"*) printf '{\"project\":{\"id\":1,\"name\":\"A\",\"createdAt\":\"x\","
         "\"milestones\":[{\"id\":1,\"title\":\"M\",\"type\":\"other\",\"tasks\":[]}]}}' > ZAVE/project/Task.json ;; esac",
         QString()},
        // Read as the monitor reads it: never waited on, never past the bound.
        {"a FIFO", "case \"$prompt\" in *\"'Task.json'\"*) mkfifo ZAVE/project/Task.json ;; esac",
         QStringLiteral("The file \u201CTask.json\u201D couldn\u2019t be opened because it isn\u2019t a regular file (it is a FIFO).")},
        {"a sparse 1 TB file", "case \"$prompt\" in *\"'Task.json'\"*) truncate -s 1T ZAVE/project/Task.json ;; esac",
         QStringLiteral("The file \u201CTask.json\u201D couldn\u2019t be opened because it is too large")},
        {"two byte-order marks",
         "case \"$prompt\" in *\"'Task.json'\"*) printf '\\357\\273\\277\\357\\273\\277{}' > ZAVE/project/Task.json ;; esac",
         QStringLiteral("Invalid JSON at byte offset 3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(workspacePath(QStringLiteral("ZAVE/project/Task.json")));
        useScriptedClaude(c.body);
        openConversation();
        ProjectGuidingViewModel model(services);
        generate(model);
        EXPECT_FALSE(model.isGeneratingSpec());
        EXPECT_TRUE(model.generationError().startsWith(ProjectGuidingViewModel::missingTaskPlanMessage(c.reasonStart)))
            << model.generationError().toStdString();
        EXPECT_GT(model.generationError().size(), ProjectGuidingViewModel::missingTaskPlanMessage(QString()).size());
    }
}

TEST_F(ProjectGuidingViewModelTest, AFailingTaskPlanPromptKeepsTheDocuments)
{
    useScriptedClaude("case \"$prompt\" in *\"'PRD.md'\"*) echo prd > ZAVE/project/PRD.md ;; "
                      "*\"'Task.json'\"*) echo broken >&2; exit 3 ;; esac");
    openConversation();
    ProjectGuidingViewModel model(services);
    LogCapture log;
    generate(model);
    // With claude's own words, on a line of their own; on one line in the log.
    EXPECT_EQ(model.generationError(), QStringLiteral("Claude process terminated with exit code 3\nbroken"));
    EXPECT_FALSE(model.isGeneratingSpec());
    EXPECT_TRUE(log.contains(
        QStringLiteral("[ProjectGuidingViewModel] Error generating PRD: Claude process terminated with exit code 3 \u2014 broken")));
    EXPECT_TRUE(QFileInfo::exists(workspacePath(QStringLiteral("ZAVE/project/PRD.md"))));
}

TEST_F(ProjectGuidingViewModelTest, VerificationFollowsTheChosenFolder)
{
    ProjectGuidingViewModel model(services);
    LogCapture log;
    // Without a folder the verdict comes at once.
    model.verifyProject();
    EXPECT_FALSE(model.isVerifyingProject());
    EXPECT_EQ(model.errorMessage(), QStringLiteral("프로젝트 디렉토리가 선택되지 않았습니다."));
    EXPECT_FALSE(model.isProjectVerified());
    EXPECT_TRUE(log.contains(QStringLiteral("[ProjectGuidingViewModel] No project directory selected")));

    const QString empty = context.root() + QStringLiteral("/Empty");
    chooseFolder(empty);
    EXPECT_FALSE(model.hasErrorMessage()) << "the verdict was about no folder";

    // With one, the folder is walked off the main thread; the call returns
    // with the flag raised and the earlier verdict still in place.
    QSignalSpy flag(&model, &ProjectGuidingViewModel::isVerifyingProjectChanged);
    model.verifyProject();
    EXPECT_TRUE(model.isVerifyingProject());
    EXPECT_FALSE(model.hasErrorMessage());
    ASSERT_TRUE(waitUntil([&] { return !model.isVerifyingProject(); }));
    EXPECT_EQ(flag.count(), 2);
    EXPECT_FALSE(model.isProjectVerified());
    EXPECT_FALSE(model.projectNameValue());
    EXPECT_EQ(model.errorMessage(), XcodeService::noProjectMessage());
    EXPECT_TRUE(log.text().contains(QStringLiteral("[ProjectGuidingViewModel] Project verification failed: ")
                                    + XcodeService::noProjectMessage()));

    QDir().mkpath(empty + QStringLiteral("/App.xcodeproj"));
    verify(model);
    EXPECT_TRUE(model.isProjectVerified());
    EXPECT_EQ(model.projectName(), QStringLiteral("App"));
    EXPECT_FALSE(model.hasErrorMessage());
    EXPECT_TRUE(log.contains(QStringLiteral("[ProjectGuidingViewModel] Project verified: App")));
    verify(model);
    EXPECT_TRUE(model.isProjectVerified());

    // Another folder: the verdict no longer holds.
    chooseFolder(context.root() + QStringLiteral("/Other"));
    EXPECT_FALSE(model.isProjectVerified());
    EXPECT_FALSE(model.projectNameValue());
    EXPECT_FALSE(model.hasErrorMessage());
}

TEST_F(ProjectGuidingViewModelTest, OnlyTheLastCheckOfTheSelectedFolderIsPublished)
{
    ProjectGuidingViewModel model(services);
    const QString withProject = context.root() + QStringLiteral("/WithProject");
    QDir().mkpath(withProject + QStringLiteral("/App.xcodeproj"));
    chooseFolder(withProject);

    // Two checks in a row: one verdict, the flag down once, after the last.
    QSignalSpy verdicts(&model, &ProjectGuidingViewModel::isProjectVerifiedChanged);
    model.verifyProject();
    model.verifyProject();
    ASSERT_TRUE(waitUntil([&] { return !model.isVerifyingProject(); }));
    EXPECT_TRUE(model.isProjectVerified());
    EXPECT_EQ(verdicts.count(), 1);

    // A check still walking when another folder is chosen says nothing about
    // the new folder.
    QSignalSpy walks(&xcode, &XcodeService::verdictReady);
    model.verifyProject();
    ASSERT_TRUE(model.isVerifyingProject());
    chooseFolder(context.root() + QStringLiteral("/Empty"));
    EXPECT_FALSE(model.isVerifyingProject());
    EXPECT_FALSE(model.isProjectVerified());
    // The model hears of a walk right after the service has stored it.
    ASSERT_TRUE(waitUntil([&] {
        for (const QList<QVariant>& walk : walks) {
            if (walk.value(0).toString() == withProject)
                return true;
        }
        return false;
    }));
    EXPECT_FALSE(model.isVerifyingProject());
    EXPECT_FALSE(model.isProjectVerified());
    EXPECT_FALSE(model.projectNameValue());
}

TEST_F(ProjectGuidingViewModelTest, AGenerationFailureOutlivesVerdictsAndFoldersUntilTheNextGeneration)
{
    ProjectGuidingViewModel model(services);
    generate(model);
    ASSERT_EQ(model.generationError(), QStringLiteral("Claude process is not running"));

    const QString folder = context.root() + QStringLiteral("/Folder");
    chooseFolder(folder);
    EXPECT_EQ(model.generationError(), QStringLiteral("Claude process is not running"));
    verify(model);
    EXPECT_EQ(model.errorMessage(), XcodeService::noProjectMessage());
    EXPECT_EQ(model.generationError(), QStringLiteral("Claude process is not running"));
    QDir().mkpath(folder + QStringLiteral("/App.xcodeproj"));
    verify(model);
    EXPECT_TRUE(model.isProjectVerified());
    EXPECT_FALSE(model.hasErrorMessage());
    EXPECT_EQ(model.generationError(), QStringLiteral("Claude process is not running"));

    // The retry: the failure goes as the new generation starts.
    openConversation();
    QSignalSpy cleared(&model, &ProjectGuidingViewModel::generationErrorChanged);
    bool done = false;
    model.generateSpec([&done] { done = true; });
    EXPECT_FALSE(model.hasGenerationError());
    EXPECT_TRUE(model.isGeneratingSpec());
    EXPECT_EQ(cleared.count(), 1);
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_FALSE(model.hasGenerationError());
    EXPECT_TRUE(model.isProjectVerified()) << "a generation leaves the verdict alone";
}

TEST_F(ProjectGuidingViewModelTest, RequestingAFolderReturnsBeforeThePanelIsAnswered)
{
    ProjectGuidingViewModel model(services);
    LogCapture log;
    model.requestProjectDirectory();
    EXPECT_TRUE(log.contains(QStringLiteral("[ProjectGuidingViewModel] Requesting project directory creation/selection...")));
    EXPECT_FALSE(panel->isShowing());
    ASSERT_TRUE(waitUntil([&] { return panel->isShowing(); }));
    ASSERT_TRUE(panel->lastSaveOptions.has_value());
    EXPECT_TRUE(directory.selectedDirectory().isEmpty());

    const QString folder = context.root() + QStringLiteral("/Created App");
    panel->answer(PanelResponse::ok, folder);
    ASSERT_TRUE(waitUntil([&] { return directory.selectedDirectory() == folder; }));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

} // namespace
} // namespace orva::test
