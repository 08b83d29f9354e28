#include "ui/screens/guiding/ProjectGuidingRules.h"
#include "ui/screens/guiding/ProjectGuidingViewState.h"
#include "ui/screens/guiding/ProjectVerificationResultRules.h"
#include "workflow/interview/InterviewFixture.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workspace/XcodeService.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace orva::test {
namespace {

using guiding::Stage;

// ---- What the screen shows -------------------------------------------------

TEST(ProjectGuidingRules, StageHeaderIndicatorAndFailureRow)
{
    enum Verdict { none, failed, passed };
    struct Case {
        bool folder;
        bool plan;
        Verdict verdict;
        bool generationFailed;
        Stage stage;
        const char* header; // "" for none
        bool indicator;
        bool failureRow;
    };
    const char* writing = "AI가 앱을 만들기 위한 명세서를 작성 중이에요";
    const char* written = "AI가 명세서를 모두 생성했어요. 프로젝트 생성을 완료해주세요!";
    const Stage choose = Stage::chooseFolder;
    const Stage setUp = Stage::setUpProject;
    const Stage ready = Stage::ready;
    const Case cases[] = {
        // folder, plan,  verdict, failed | stage, header,  indicator, failure row
        {false, false, none, false, choose, writing, true, false},
        {false, false, none, true, choose, "", false, true},
        {false, false, failed, false, choose, writing, true, false},
        {false, false, failed, true, choose, "", false, true},
        {false, false, passed, false, choose, writing, true, false},
        {false, false, passed, true, choose, "", false, true},
        {false, true, none, false, choose, written, false, false},
        {false, true, none, true, choose, written, false, false},
        {false, true, failed, false, choose, written, false, false},
        {false, true, failed, true, choose, written, false, false},
        {false, true, passed, false, choose, written, false, false},
        {false, true, passed, true, choose, written, false, false},
        {true, false, none, false, setUp, writing, true, false},
        {true, false, none, true, setUp, "", false, true},
        {true, false, failed, false, setUp, writing, true, false},
        {true, false, failed, true, setUp, "", false, true},
        {true, false, passed, false, setUp, writing, true, false},
        {true, false, passed, true, setUp, "", false, true},
        {true, true, none, false, setUp, written, false, false},
        {true, true, none, true, setUp, written, false, false},
        {true, true, failed, false, setUp, written, false, false},
        {true, true, failed, true, setUp, written, false, false},
        {true, true, passed, false, ready, "", false, false},
        {true, true, passed, true, ready, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "folder " << c.folder << ", plan " << c.plan << ", verdict " << c.verdict
                                        << ", generation failed " << c.generationFailed);
        const guiding::Display shown = guiding::display({c.folder, c.plan, c.verdict == passed, c.generationFailed});
        EXPECT_EQ(shown.stage, c.stage);
        EXPECT_EQ(shown.showsHeader, c.stage != ready);
        EXPECT_EQ(shown.headerText, QString::fromUtf8(c.header));
        EXPECT_EQ(shown.showsIndicator, c.indicator);
        EXPECT_EQ(shown.showsGenerationFailure, c.failureRow);
    }
}

TEST(ProjectGuidingRules, GuideTextCarriesTheFolderPathVerbatim)
{
    // The pieces around the placeholder and the path, byte for byte.
    EXPECT_EQ(guiding::guideTextBeforeName().toUtf8().size(), 152);
    EXPECT_EQ(guiding::guideTextNamePlaceholder().toUtf8().size(), 17);
    EXPECT_EQ(guiding::guideTextBeforePath().toUtf8().size(), 253);
    EXPECT_EQ(guiding::guideTextAfterPath().toUtf8().size(), 144);

    const QString paths[] = {
        QStringLiteral("/Users/me/Documents/MyApp"),
        QStringLiteral("/Users/me/Documents/My App's Folder"),
        QStringLiteral("/Users/me/문서/나의 첫 번째 앱"),
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QString text = guiding::guideText(path);
        EXPECT_EQ(text,
                  QStringLiteral("1. Xcode 실행 → \"Create a new project\" 선택\n"
                                 "2. iOS 탭 → \"App\" 선택 → Next 버튼 클릭\n"
                                 "3. 프로젝트 설정\n"
                                 "    '''\n"
                                 "    * Product Name: [프로젝트명]\n"
                                 "    * Team: (본인 계정 선택)\n"
                                 "    * Organization Identifier: com.yourname\n"
                                 "    * Interface: SwiftUI\n"
                                 "    * Language: Swift\n"
                                 "    * Storage: Core Data\n"
                                 "    * Include Tests: 선택 x\n"
                                 "    '''\n"
                                 "\n"
                                 "4. 생성한 폴더로 이동하고 Create 클릭\n"
                                 "    '''\n"
                                 "    ")
                      + path
                      + QStringLiteral("\n"
                                       "    '''\n"
                                       "\n"
                                       "5. 프로젝트가 생성되면 빌드 확인 (⌘+B) 로 정상 빌드되는지 테스트\n"
                                       "6. 프로젝트 생성 완료 버튼 클릭"));
        // The path is one line of its own, between two fences.
        const QStringList lines = text.split(QLatin1Char('\n'));
        const qsizetype at = lines.indexOf(QStringLiteral("    ") + path);
        ASSERT_GT(at, 0);
        EXPECT_EQ(lines[at - 1], QStringLiteral("    '''"));
        EXPECT_EQ(lines[at + 1], QStringLiteral("    '''"));
    }
}

TEST(ProjectGuidingRules, ResultBoxFollowsTheVerdict)
{
    const QString noProject = XcodeService::noProjectMessage();
    struct Case {
        const char* name;
        bool verified;
        std::optional<QString> projectName;
        std::optional<QString> errorMessage;
        guiding::ResultDisplay expected;
    };
    const QString success = QStringLiteral("✅ Xcode 프로젝트 확인 완료");
    const QString failure = QStringLiteral("❌ 프로젝트를 찾을 수 없습니다");
    const Case cases[] = {
        {"verified with a name", true, QStringLiteral("App"), std::nullopt,
         {guiding::ResultBox::success, success, {}, QStringLiteral("App")}},
        {"verified without a name", true, std::nullopt, std::nullopt,
         {guiding::ResultBox::success, success, {}, std::nullopt}},
        {"verified, an old error left", true, QStringLiteral("App"), noProject,
         {guiding::ResultBox::success, success, {}, QStringLiteral("App")}},
        {"not verified, an error", false, std::nullopt, noProject,
         {guiding::ResultBox::failure, failure, noProject, std::nullopt}},
        {"not verified, no error", false, std::nullopt, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(guiding::verificationResult(c.verified, c.projectName, c.errorMessage), c.expected);

        // The same through the view's QML element.
        ProjectVerificationResultRules rules;
        rules.setIsVerified(c.verified);
        rules.setHasProjectName(c.projectName.has_value());
        rules.setProjectName(c.projectName.value_or(QString()));
        rules.setHasErrorMessage(c.errorMessage.has_value());
        rules.setErrorMessage(c.errorMessage.value_or(QString()));
        EXPECT_EQ(rules.showsSuccess(), c.expected.box == guiding::ResultBox::success);
        EXPECT_EQ(rules.showsFailure(), c.expected.box == guiding::ResultBox::failure);
        EXPECT_EQ(rules.title(), c.expected.title);
        EXPECT_EQ(rules.message(), c.expected.message);
        EXPECT_EQ(rules.showsProjectName(), c.expected.projectName.has_value());
    }
    // The folder lookup's message keeps its line break: two lines.
    EXPECT_EQ(guiding::verificationResult(false, std::nullopt, noProject).message.split(QLatin1Char('\n')).size(), 2);
}

// ---- The screen's state over a real model ------------------------------------

class ProjectGuidingViewStateTest : public InterviewFixture {
protected:
    void SetUp() override
    {
        InterviewFixture::SetUp();
        services.xcode = &xcode;
        QDir().mkpath(workspacePath(QStringLiteral("ZAVE/project")));
        monitor.startTaskDashboardMonitoring();
    }

    void chooseFolder(const QString& folder) { chooseFolderThroughPanel(directory, *panel, folder); }

    void verify(ProjectGuidingViewModel& model)
    {
        model.verifyProject();
        ASSERT_TRUE(waitUntil([&] { return !model.isVerifyingProject(); }));
    }

    // A plan the monitor can read, as `claude` would leave it.
    void writePlan(const QString& name)
    {
        writeFile(QStringLiteral("ZAVE/project/Task.json"),
                  QStringLiteral("{\"project\":{\"id\":1,\"name\":\"%1\",\"createdAt\":\"2025-01-01\",\"milestones\":[]}}")
                      .arg(name)
                      .toUtf8());
        ASSERT_TRUE(waitUntil([&] { return monitor.project() && monitor.project()->name == name; }));
    }

    XcodeService xcode{directory};
};

TEST_F(ProjectGuidingViewStateTest, AGenerationFailureShowsUntilARetryWhateverTheVerdicts)
{
    ProjectGuidingViewModel model(services);
    ProjectGuidingViewState state;
    state.setViewModel(&model);
    EXPECT_TRUE(state.showsFolderCard());
    EXPECT_TRUE(state.showsIndicator());
    EXPECT_FALSE(state.showsGenerationFailure());

    // No conversation is open: the generation fails at once.
    state.appear();
    ASSERT_TRUE(waitUntil([&] { return state.showsGenerationFailure(); }));
    EXPECT_EQ(state.generationError(), QStringLiteral("Claude process is not running"));
    EXPECT_FALSE(state.showsIndicator());
    EXPECT_EQ(state.headerText(), QString()) << "the header no longer says the documents are being written";
    EXPECT_FALSE(state.hasResultErrorMessage()) << "the failure is not a verdict";

    const QString folder = context.root() + QStringLiteral("/Folder");
    chooseFolder(folder);
    EXPECT_TRUE(state.showsGuideColumn());
    EXPECT_TRUE(state.showsGenerationFailure());
    verify(model);
    EXPECT_EQ(state.resultErrorMessage(), XcodeService::noProjectMessage());
    EXPECT_TRUE(state.showsGenerationFailure());
    QDir().mkpath(folder + QStringLiteral("/App.xcodeproj"));
    verify(model);
    EXPECT_TRUE(state.hasProjectName());
    EXPECT_EQ(state.projectName(), QStringLiteral("App"));
    EXPECT_TRUE(state.showsGenerationFailure()) << "a passed verdict keeps the failure";
    EXPECT_EQ(state.generationError(), QStringLiteral("Claude process is not running"));

    // "다시 시도" with a conversation open: the failure goes at once.
    openConversation();
    const int callsBefore = static_cast<int>(claudeCalls().size());
    state.retryGeneration();
    EXPECT_FALSE(state.showsGenerationFailure());
    EXPECT_TRUE(state.showsIndicator());
    ASSERT_TRUE(waitUntil([&] { return state.showsCompletion(); })) << "the plan the fake writes completes the set-up";
    EXPECT_EQ(claudeCalls().size(), callsBefore + 2);
    EXPECT_FALSE(state.showsGenerationFailure());
}

TEST_F(ProjectGuidingViewStateTest, TheGenerationStartsOnceOnTheFirstAppearance)
{
    ProjectGuidingViewModel model(services);
    QSignalSpy started(&model, &ProjectGuidingViewModel::isGeneratingSpecChanged);
    ProjectGuidingViewState state;
    state.appear(); // before the model is given: the generation waits for it
    EXPECT_EQ(started.count(), 0);
    state.setViewModel(&model);
    ASSERT_TRUE(waitUntil([&] { return model.hasGenerationError(); }));
    state.appear();
    state.appear();
    QCoreApplication::processEvents();
    EXPECT_EQ(started.count(), 2) << "one generation: raised, then lowered by its failure";
}

TEST_F(ProjectGuidingViewStateTest, TheEntranceReplaysOnAFolderOrPlanChangeButNotOnAVerdict)
{
    ProjectGuidingViewModel model(services);
    ProjectGuidingViewState state;
    state.setViewModel(&model);
    state.appear();
    ASSERT_TRUE(state.isViewAppeared());
    ASSERT_TRUE(waitUntil([&] { return model.hasGenerationError(); })); // no conversation is open

    // Whenever the shown section changes, the flag is already down.
    QList<bool> flagWhenShown;
    QObject::connect(&state, &ProjectGuidingViewState::displayChanged, &state,
                     [&] { flagWhenShown << state.isViewAppeared(); });
    QSignalSpy flag(&state, &ProjectGuidingViewState::isViewAppearedChanged);

    const QString folder = context.root() + QStringLiteral("/프로젝트 폴더");
    QDir().mkpath(folder + QStringLiteral("/App.xcodeproj"));
    chooseFolder(folder);
    EXPECT_EQ(state.folderPath(), folder) << "the path as the folder service holds it";
    EXPECT_TRUE(state.guideText().contains(QStringLiteral("\n    ") + folder + QStringLiteral("\n")));
    ASSERT_FALSE(flagWhenShown.isEmpty());
    EXPECT_FALSE(flagWhenShown.first()) << "the guide column must be built hidden";
    EXPECT_FALSE(state.isViewAppeared());
    ASSERT_TRUE(waitUntil([&] { return state.isViewAppeared(); }));
    EXPECT_EQ(flag.count(), 2);

    writePlan(QStringLiteral("First"));
    EXPECT_EQ(state.headerText(), guiding::writtenHeader());
    ASSERT_TRUE(waitUntil([&] { return state.isViewAppeared(); }));
    EXPECT_EQ(flag.count(), 4);

    // The same plan read again is no change.
    QSignalSpy loaded(&monitor, &AppGroupMonitorService::taskFileLoaded);
    writePlan(QStringLiteral("First"));
    ASSERT_TRUE(waitUntil([&] { return loaded.count() > 0; }));
    EXPECT_EQ(flag.count(), 4);

    // The verdict completes the set-up: the completion section shows at once.
    flagWhenShown.clear();
    verify(model);
    EXPECT_TRUE(state.showsCompletion());
    EXPECT_TRUE(state.isViewAppeared());
    EXPECT_EQ(flag.count(), 4);
    ASSERT_FALSE(flagWhenShown.isEmpty());
    EXPECT_TRUE(flagWhenShown.last());

    // Another plan replays it.
    writePlan(QStringLiteral("Second"));
    EXPECT_EQ(flag.count(), 5);
    ASSERT_TRUE(waitUntil([&] { return state.isViewAppeared(); }));
}

TEST_F(ProjectGuidingViewStateTest, AnotherFolderClearsAPassedVerification)
{
    ProjectGuidingViewModel model(services);
    ProjectGuidingViewState state;
    state.setViewModel(&model);
    const QString first = context.root() + QStringLiteral("/First");
    QDir().mkpath(first + QStringLiteral("/App.xcodeproj"));
    chooseFolder(first);
    verify(model);
    ASSERT_TRUE(model.isProjectVerified());
    ASSERT_TRUE(state.hasProjectName());

    chooseFolder(context.root() + QStringLiteral("/Second"));
    EXPECT_FALSE(model.isProjectVerified());
    EXPECT_FALSE(state.hasProjectName());
    EXPECT_FALSE(state.hasResultErrorMessage());
    EXPECT_TRUE(state.showsGuideColumn());
}

// A check asked for through the screen reports its verdict once the model
// has published it, so the screen can bring the result into view; one
// asked for elsewhere reports nothing.
TEST_F(ProjectGuidingViewStateTest, ACheckReportsItsVerdictOncePublished)
{
    ProjectGuidingViewModel model(services);
    ProjectGuidingViewState state;
    state.setViewModel(&model);
    QList<std::optional<QString>> seen;
    QObject::connect(&state, &ProjectGuidingViewState::verdictArrived,
                     [&] { seen << state.resultErrorMessageValue(); });

    // No folder: the verdict is there at once.
    state.verify();
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 1; }));
    EXPECT_FALSE(seen[0].has_value()) << "without a folder the box shows nothing";

    chooseFolder(context.root() + QStringLiteral("/Empty"));
    state.verify();
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[1], XcodeService::noProjectMessage()) << "reported after the verdict was published";

    verify(model);
    QCoreApplication::processEvents();
    EXPECT_EQ(seen.size(), 2);
}

} // namespace
} // namespace orva::test
