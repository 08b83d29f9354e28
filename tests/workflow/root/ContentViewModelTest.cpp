#include "InterviewFixture.h"

#include "platform/AppContext.h"
#include "workflow/ContentViewModel.h"

#include <QPointer>
#include <QSignalSpy>

#include <memory>

namespace orva::test {
namespace {

class ContentViewModelTest : public InterviewFixture {};

TEST_F(ContentViewModelTest, TheFirstPhaseFollowsTheTaskPlansPresence)
{
    EXPECT_EQ(ContentViewModel::initialPhase(services), ViewPhase::Entry);
    EXPECT_TRUE(QFileInfo(workspacePath(QStringLiteral("ZAVE/project"))).isDir());

    writeFile(QStringLiteral("ZAVE/project/Task.json"), "not even JSON");
    EXPECT_EQ(ContentViewModel::initialPhase(services), ViewPhase::Dashboard);
    EXPECT_EQ(ContentViewModel(services).currentPhase(), ViewPhase::Dashboard);

    QFile::remove(workspacePath(QStringLiteral("ZAVE/project/Task.json")));
    QDir().mkpath(workspacePath(QStringLiteral("ZAVE/project/Task.json")));
    EXPECT_EQ(ContentViewModel::initialPhase(services), ViewPhase::Dashboard) << "only existence counts";

    AppContext noContainer = context.context();
    noContainer.containerPath.clear();
    AppContext::setCurrent(noContainer);
    EXPECT_EQ(ContentViewModel::initialPhase(services), ViewPhase::Entry);
    AppContext::setCurrent(context.context());
}

TEST_F(ContentViewModelTest, OnboardingShowsUntilItHasBeenClosedOnce)
{
    {
        ContentViewModel root(services);
        EXPECT_EQ(root.onboardingViewModel()->hasSeenOnboardingKey(), QStringLiteral("hasSeenOnboarding"));
        EXPECT_FALSE(root.showOnboarding());
        root.showOnboardingIfNeeded();
        EXPECT_TRUE(root.showOnboarding());
        // Quitting with the overlay up leaves the key unset.
    }
    EXPECT_FALSE(UserDefaults::boolValue(QStringLiteral("hasSeenOnboarding"), false));
    {
        ContentViewModel root(services);
        root.showOnboardingIfNeeded();
        ASSERT_TRUE(root.showOnboarding());
        root.setShowOnboarding(false); // hidden another way: nothing recorded
        EXPECT_FALSE(UserDefaults::contains(QStringLiteral("hasSeenOnboarding")));
        root.setShowOnboarding(true);
        QSignalSpy shown(&root, &ContentViewModel::showOnboardingChanged);
        root.closeOnboarding(); // the overlay's finish
        EXPECT_FALSE(root.showOnboarding());
        EXPECT_EQ(shown.count(), 1);
        EXPECT_TRUE(UserDefaults::boolValue(QStringLiteral("hasSeenOnboarding"), false));
    }
    ContentViewModel later(services);
    later.showOnboardingIfNeeded();
    EXPECT_FALSE(later.showOnboarding());
}

TEST_F(ContentViewModelTest, PhasesMoveByTheScreensCallbacks)
{
    ContentViewModel root(services);
    QList<ViewPhase> phases;
    QObject::connect(&root, &ContentViewModel::currentPhaseChanged, [&] { phases << root.currentPhase(); });
    root.navigateToProjectGuiding();
    root.navigateToDashboard();
    root.startNewProject();
    root.setPhase(ViewPhase::Chat);
    EXPECT_EQ(phases, (QList<ViewPhase>{ViewPhase::ProjectGuiding, ViewPhase::Dashboard, ViewPhase::Entry, ViewPhase::Chat}));
    EXPECT_EQ(toString(ViewPhase::ProjectGuiding), QStringLiteral("projectGuiding"));
}

TEST_F(ContentViewModelTest, SubmittingTheIdeaSwitchesAtOnceAndStartsACleanInterview)
{
    openConversation();
    ContentViewModel root(services);
    ChatViewModel* chat = root.chatViewModel();

    root.startInterview(QStringLiteral("first idea"));
    EXPECT_EQ(root.currentPhase(), ViewPhase::Chat);
    EXPECT_TRUE(chat->chatHistories().isEmpty()) << "the phase changes before the interview starts";
    ASSERT_TRUE(waitUntil([&] { return chat->chatHistories().size() == 2; }));
    const auto state = decodeInterviewState(readFile(workspacePath(QStringLiteral("ZAVE/interview_state.json"))));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->status, InterviewState::Status::inProgress);
    EXPECT_TRUE(monitor.hasInterviewStateHandler());
    chat->checkInterviewState(QStringLiteral(R"({"status":"completed","last_updated":"2025-03-01T09:30:00Z"})"));
    ASSERT_TRUE(chat->isInterviewCompleted());

    // The new-project action, then a new idea in the same window: the chat
    // screen, built on the phase change, finds the interview already empty.
    root.startNewProject();
    openConversation();
    qsizetype turnsAtSwitch = -1;
    bool completedAtSwitch = true;
    const auto watch = QObject::connect(&root, &ContentViewModel::currentPhaseChanged, [&] {
        turnsAtSwitch = chat->chatHistories().size();
        completedAtSwitch = chat->isInterviewCompleted();
    });
    root.startInterview(QStringLiteral("second idea"));
    QObject::disconnect(watch);
    EXPECT_EQ(turnsAtSwitch, 0);
    EXPECT_FALSE(completedAtSwitch);
    EXPECT_EQ(root.chatViewModel(), chat);
    ASSERT_TRUE(waitUntil([&] {
        return !chat->isWaitingForResponse() && chat->chatHistories().size() == 2
            && chat->chatHistories()[0].answer == QStringLiteral("second idea");
    }));
    EXPECT_FALSE(chat->isInterviewCompleted());
    EXPECT_EQ(chat->chatHistories()[0].id, 1);
    EXPECT_EQ(chat->chatHistories()[0].answer, QStringLiteral("second idea"));
}

TEST_F(ContentViewModelTest, ScreenModelsAreNewAndOwnedByTheirScreen)
{
    ContentViewModel root(services);
    auto screen = std::make_unique<QObject>();
    QPointer<EntryViewModel> entry = root.createEntryViewModel(screen.get());
    QPointer<EntryViewModel> again = root.createEntryViewModel(screen.get());
    QPointer<ProjectGuidingViewModel> guiding = root.createProjectGuidingViewModel(screen.get());
    QPointer<WorkViewModel> work = root.createWorkViewModel(screen.get());
    ASSERT_TRUE(entry && again && guiding && work);
    EXPECT_NE(entry, again);
    EXPECT_EQ(entry->parent(), screen.get());
    screen.reset();
    EXPECT_FALSE(entry || again || guiding || work) << "a model goes with its screen";
}

TEST_F(ContentViewModelTest, EachWindowHasItsOwnPhaseAndInterview)
{
    ContentViewModel first(services);
    ContentViewModel second(services);
    first.setPhase(ViewPhase::ProjectGuiding);
    EXPECT_EQ(second.currentPhase(), ViewPhase::Entry);
    EXPECT_NE(first.chatViewModel(), second.chatViewModel());
}

} // namespace
} // namespace orva::test
