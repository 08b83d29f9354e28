// The road of one project through the application's own window: Main.qml
// with the real models and services, driven only by clicks and keys at the
// items a person would use, on a machine of its own (temporary HOME and XDG
// folders, the fake `claude` first in PATH, a real zsh in a pseudo-terminal,
// a fake folder panel in place of the real one). It waits on what the window
// shows and saves a picture of each screen it passes to ORVA_ROAD_PICTURES.
#include "ScreenTestEnvironment.h"
#include "app/AppStart.h"
#include "fakes/FakeCalls.h"
#include "platform/UserDefaults.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"
#include "workspace/XcodeService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <functional>
#include <memory>

namespace orva::test {
namespace {

using namespace std::chrono_literals;

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

void collectNamed(QQuickItem* item, const QString& name, QList<QQuickItem*>& found)
{
    if (item->objectName() == name)
        found << item;
    for (QQuickItem* child : item->childItems())
        collectNamed(child, name, found);
}

// The application's window on the test's machine, and what a person does with it.
class AppWindow {
public:
    explicit AppWindow(std::shared_ptr<FakeFolderPanel> panel)
        : panel_(std::move(panel))
    {
        // The folder panel is injected the way services are; the application
        // itself always shows the real one.
        directory_ = std::make_unique<DirectoryAccessService>(panel_);
        xcode_ = std::make_unique<XcodeService>(*directory_);
        WorkflowServices::defaults().directoryAccess = directory_.get();
        WorkflowServices::defaults().xcode = xcode_.get();
        engine_ = std::make_unique<QQmlApplicationEngine>();
        loaded_ = loadMainWindow(*engine_);
        if (loaded_ && !engine_->rootObjects().isEmpty())
            window_ = qobject_cast<QQuickWindow*>(engine_->rootObjects().first());
    }
    ~AppWindow() { close(); }

    // Closes the window as quitting would; the screens and their terminal go with it.
    void close()
    {
        engine_.reset();
        window_ = nullptr;
        WorkflowServices::defaults().directoryAccess = nullptr;
        WorkflowServices::defaults().xcode = nullptr;
        xcode_.reset();
        directory_.reset();
    }

    bool isShown()
    {
        if (!loaded_ || !window_)
            return false;
        window_->requestActivate();
        return QTest::qWaitForWindowExposed(window_) && QTest::qWaitForWindowActive(window_);
    }

    QQuickWindow* window() const { return window_; }
    DirectoryAccessService& directory() const { return *directory_; }

    // The item named `name` that is on screen (the first in tree order), or
    // null. "page/button" names the button inside the item named "page".
    QQuickItem* item(const QString& name) const { return find(name, true); }
    // The same, shown or not.
    QQuickItem* anyItem(const QString& name) const { return find(name, false); }
    QQuickItem* waitForItem(const QString& name, std::chrono::milliseconds deadline = kWaitDeadline) const
    {
        QQuickItem* found = nullptr;
        waitUntil([&] { return (found = item(name)) != nullptr; }, deadline);
        return found;
    }
    bool waitForGone(const QString& name, std::chrono::milliseconds deadline = kWaitDeadline) const
    {
        return waitUntil([&] { return item(name) == nullptr; }, deadline);
    }
    QVariant read(const QString& name, const char* property) const
    {
        QQuickItem* found = anyItem(name);
        return found ? found->property(property) : QVariant();
    }
    bool waitForProperty(const QString& name, const char* property, const QVariant& value,
                         std::chrono::milliseconds deadline = kWaitDeadline) const
    {
        return waitUntil([&] { return read(name, property) == value; }, deadline);
    }

    // A click at the middle of the item, as a person would make it.
    bool click(QQuickItem* target)
    {
        return target && clickAt(target, QPointF(target->width() / 2, target->height() / 2));
    }
    // A click at a point of the item.
    bool clickAt(QQuickItem* target, QPointF point)
    {
        if (!target || !window_)
            return false;
        const QPoint at = target->mapToScene(point).toPoint();
        if (!QRect(QPoint(0, 0), window_->size()).contains(at))
            return false;
        QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, at);
        return true;
    }
    // Waits for the item to show with its entrance settled (fully opaque and
    // still), then clicks it.
    bool click(const QString& name, std::chrono::milliseconds deadline = kWaitDeadline) { return click(waitSettled(name, deadline)); }
    QQuickItem* waitSettled(const QString& name, std::chrono::milliseconds deadline = kWaitDeadline)
    {
        QQuickItem* target = nullptr;
        QPointF lastPlace(-1e9, -1e9);
        waitUntil([&] {
            target = item(name);
            if (!target || !target->isEnabled() || effectiveOpacity(target) < 0.99)
                return false;
            // Settled: in the same place as the look before.
            const QPointF place = target->mapToScene(QPointF(0, 0));
            const bool settled = place == lastPlace;
            lastPlace = place;
            return settled;
        }, deadline);
        return target;
    }
    // Every item of that name on screen, in tree order.
    QList<QQuickItem*> items(const QString& name) const
    {
        QList<QQuickItem*> found;
        if (window_)
            collectNamed(window_->contentItem(), name, found);
        QList<QQuickItem*> shown;
        for (QQuickItem* candidate : found) {
            if (candidate->isVisible() && candidate->opacity() > 0)
                shown << candidate;
        }
        return shown;
    }
    // Turns the mouse wheel over the scrolling area that holds the item until
    // the whole item is in its view.
    bool scrollIntoView(QQuickItem* target)
    {
        if (!target)
            return false;
        QQuickItem* area = target->parentItem();
        while (area && !area->inherits("QQuickFlickable"))
            area = area->parentItem();
        if (!area)
            return true;
        auto inView = [&] {
            const QRectF rect = target->mapRectToItem(area, QRectF(0, 0, target->width(), target->height()));
            return rect.top() >= 0 && rect.bottom() <= area->height();
        };
        for (int turn = 0; turn < 60 && !inView(); ++turn) {
            const QRectF rect = target->mapRectToItem(area, QRectF(0, 0, target->width(), target->height()));
            const QPointF at = area->mapToScene(QPointF(area->width() / 2, area->height() / 2));
            const int delta = rect.top() < 0 ? 120 : -120;
            QWheelEvent wheel(at, window_->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(window_, &wheel);
            // Let the area settle before the next turn.
            waitUntil([&] { return !area->property("moving").toBool(); });
        }
        return inView();
    }
    bool scrollIntoView(const QString& name) { return scrollIntoView(waitForItem(name)); }

    // Text as an input method commits it into the focused field (Korean included).
    void type(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        if (QQuickItem* focus = window_->activeFocusItem())
            QCoreApplication::sendEvent(focus, &event);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window_, key, modifiers);
    }

    // Whether the keyboard is in the item named `name` (on it, or in a field
    // inside it); a control that has a ring shows it.
    bool hasKeyboard(const QString& name) const
    {
        QQuickItem* target = item(name);
        QQuickItem* focus = window_ ? window_->activeFocusItem() : nullptr;
        if (!target || !focus)
            return false;
        bool within = false;
        for (QQuickItem* at = focus; at && !within; at = at->parentItem())
            within = at == target;
        if (!within)
            return false;
        auto* ring = target->property("focusRing").value<QQuickItem*>();
        return !ring || ring->isVisible();
    }
    bool waitForKeyboard(const QString& name, std::chrono::milliseconds deadline = kWaitDeadline) const
    {
        return waitUntil([&] { return hasKeyboard(name); }, deadline);
    }
    // Tab (with `modifiers`) pressed until the keyboard is in the item, as a
    // person looks for a control: at most `presses` times.
    bool tabTo(const QString& name, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int presses = 12)
    {
        if (!waitForItem(name))
            return false;
        for (int i = 0; i < presses && !hasKeyboard(name); ++i)
            press(Qt::Key_Tab, modifiers);
        return waitForKeyboard(name, std::chrono::milliseconds(2000));
    }

    // Saves what the window shows as <pictures>/<name>.png.
    bool picture(const QString& name)
    {
        const QString folder = QStringLiteral(ORVA_ROAD_PICTURES);
        QDir().mkpath(folder);
        const QImage image = window_->grabWindow();
        return !image.isNull() && image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    FakeFolderPanel& panel() const { return *panel_; }

private:
    QQuickItem* find(const QString& path, bool shownOnly) const
    {
        if (!window_)
            return nullptr;
        QList<QQuickItem*> scopes{window_->contentItem()};
        const QStringList names = path.split(QLatin1Char('/'));
        for (const QString& name : names) {
            QList<QQuickItem*> found;
            for (QQuickItem* scope : scopes)
                collectNamed(scope, name, found);
            scopes.clear();
            for (QQuickItem* candidate : found) {
                if (!shownOnly || (candidate->isVisible() && effectiveOpacity(candidate) > 0))
                    scopes << candidate;
            }
        }
        return scopes.value(0);
    }
    static qreal effectiveOpacity(QQuickItem* item)
    {
        qreal opacity = 1;
        for (QQuickItem* at = item; at; at = at->parentItem())
            opacity *= at->opacity();
        return opacity;
    }

    std::shared_ptr<FakeFolderPanel> panel_;
    std::unique_ptr<DirectoryAccessService> directory_;
    std::unique_ptr<XcodeService> xcode_;
    std::unique_ptr<QQmlApplicationEngine> engine_;
    QQuickWindow* window_ = nullptr;
    bool loaded_ = false;
};

// ---- The machine ------------------------------------------------------------

class RoadThroughTheWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The fake's pauses kept short: the road waits on every one of them.
        qputenv("FAKE_CLAUDE_COMPLETE_DELAY", "0.1");
        qputenv("FAKE_CLAUDE_PLAN_STEP_DELAY", "0.1");
        qputenv("FAKE_CLAUDE_WORK_DELAY", "0.1");
        qputenv("FAKE_CLAUDE_CHECK_DELAY", "0.05");
        // The machine's folder is named for the application (it shows in the pictures).
        QCoreApplication::setApplicationName(QStringLiteral("orva"));
        environment_ = new ScreenTestEnvironment;
        configureApplication();
    }
    static void TearDownTestSuite()
    {
        ClaudeProcessService::shared().shutdown();
        EXPECT_TRUE(waitUntil([] { return childProcesses().isEmpty(); }))
            << childProcesses().join(QLatin1Char('\n')).toStdString();
        delete environment_;
        environment_ = nullptr;
    }

    static ScreenTestEnvironment& machine() { return *environment_; }
    QString projectFolder() const { return machine().containerPath() + QStringLiteral("/ZAVE/project"); }
    QList<FakeCall> calls(const QString& kind) const { return fakeCallsOfKind(machine().fakeClaudeLog(), kind); }

    // No `claude` and no shell outlive the window. (The interview's service
    // stays for the next window, as it does while the application runs; the
    // suite's end stops it as quitting does.)
    void expectNoChildLeft()
    {
        EXPECT_TRUE(waitUntil([] { return childProcesses().isEmpty(); }))
            << childProcesses().join(QLatin1Char('\n')).toStdString();
    }

    static ScreenTestEnvironment* environment_;
};

ScreenTestEnvironment* RoadThroughTheWindowTest::environment_ = nullptr;

// ---- One helper per screen --------------------------------------------------

// First launch: the onboarding overlay's three pages, both ticks of the
// requirement page, "시작하기".
void passOnboarding(AppWindow& app)
{
    ASSERT_TRUE(app.waitForItem(QStringLiteral("onboardingView"))) << "no onboarding on the first launch";
    ASSERT_TRUE(app.waitSettled(QStringLiteral("welcomePage/nextButton")));
    ASSERT_TRUE(app.picture(QStringLiteral("onboarding")));
    ASSERT_TRUE(app.click(QStringLiteral("welcomePage/nextButton")));
    ASSERT_TRUE(app.waitForItem(QStringLiteral("requirementPage")));
    EXPECT_FALSE(app.read(QStringLiteral("requirementPage/nextButton"), "active").toBool())
        << "the requirement page lets the person on before both ticks";
    ASSERT_TRUE(app.click(QStringLiteral("requirementPage/installedRow")));
    ASSERT_TRUE(app.click(QStringLiteral("requirementPage/loggedInRow")));
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("requirementPage/nextButton"), "active", true));
    ASSERT_TRUE(app.click(QStringLiteral("requirementPage/nextButton")));
    ASSERT_TRUE(app.waitForItem(QStringLiteral("startGuidePage")));
    ASSERT_TRUE(app.click(QStringLiteral("startGuidePage/nextButton")));
    ASSERT_TRUE(app.waitForGone(QStringLiteral("onboardingView")));
}

// Entry: wait until the interview is ready, type the idea, Return.
void enterIdea(AppWindow& app, const QString& idea)
{
    ASSERT_TRUE(app.waitForItem(QStringLiteral("entryView")));
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("entryView/ideaInput"), "isSubmitEnabled", true))
        << "the preparation never made the interview ready";
    ASSERT_TRUE(app.waitForItem(QStringLiteral("entryView/idleForm")));
    ASSERT_TRUE(app.click(QStringLiteral("entryView/ideaInput")));
    app.type(idea);
    ASSERT_TRUE(app.picture(QStringLiteral("entry")));
    app.press(Qt::Key_Return);
}

// Interview: answer each question once its reply is in, until the fake
// completes the interview; then the document button.
void answerInterview(AppWindow& app, const QStringList& answers)
{
    ASSERT_TRUE(app.waitForItem(QStringLiteral("chatView")));
    int turns = 2; // the idea and the first question
    for (const QString& answer : answers) {
        ASSERT_TRUE(waitUntil([&] {
            return app.anyItem(QStringLiteral("chatView/turnRow%1").arg(turns))
                   && !app.read(QStringLiteral("chatView/loadingRow"), "isShown").toBool();
        })) << "no reply to turn " << turns - 1;
        ASSERT_TRUE(app.click(QStringLiteral("chatView/answerInput")));
        app.type(answer);
        app.press(Qt::Key_Return);
        turns += 2;
    }
    ASSERT_TRUE(app.waitForItem(QStringLiteral("chatView/documentsButton"))) << "the interview never completed";
    // The closing reply in, the thinking bubble gone.
    ASSERT_TRUE(app.waitSettled(QStringLiteral("chatView/turnRow%1").arg(turns)));
    ASSERT_TRUE(app.waitForGone(QStringLiteral("chatView/loadingRow")));
    ASSERT_TRUE(app.picture(QStringLiteral("interview")));
    ASSERT_TRUE(app.click(QStringLiteral("chatView/documentsButton")));
}

// Project guiding: the plan is written; the folder is created through the
// panel; Xcode's project appears in it; verified; on to the work.
void guideProject(AppWindow& app, const QString& folder)
{
    ASSERT_TRUE(app.waitForItem(QStringLiteral("projectGuidingView")));
    ASSERT_TRUE(app.click(QStringLiteral("folderButton")));
    ASSERT_TRUE(waitUntil([&] { return app.panel().isShowing(); })) << "the folder panel never showed";
    ASSERT_TRUE(QDir().mkpath(folder));
    app.panel().answer(PanelResponse::ok, folder);
    ASSERT_TRUE(app.waitForItem(QStringLiteral("guideColumn")));
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("headerText"), "text",
                                    QStringLiteral("AI가 명세서를 모두 생성했어요. 프로젝트 생성을 완료해주세요!")))
        << "the plan never appeared";
    // The person creates the project in Xcode, inside the folder.
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/HabitApp/HabitApp.xcodeproj")));
    ASSERT_TRUE(app.scrollIntoView(QStringLiteral("verificationButton")));
    ASSERT_TRUE(app.picture(QStringLiteral("guiding")));
    ASSERT_TRUE(app.click(QStringLiteral("verificationButton")));
    ASSERT_TRUE(app.waitForItem(QStringLiteral("completionSection"))) << "the project was not verified";
    ASSERT_TRUE(app.click(QStringLiteral("completionButton")));
}

// Work: the card shows `subtitle` (its task and state); its button is pressed.
void pressCard(AppWindow& app, const QString& subtitle)
{
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("sidebar/cardSubtitle"), "text", subtitle, 30s))
        << "the card never showed " << subtitle.toStdString() << "; it shows "
        << app.read(QStringLiteral("sidebar/cardSubtitle"), "text").toString().toStdString();
    ASSERT_TRUE(app.click(QStringLiteral("sidebar/cardButton")));
}

// Work, one task at its test: the card opens the task popup; every checklist
// item is ticked as working (or the last one failed, with an explanation);
// the verdict is submitted.
void testTask(AppWindow& app, const QString& explanationOfAFailure = {}, const QString& picture = {})
{
    ASSERT_NO_FATAL_FAILURE(pressCard(app, QStringLiteral("테스트가 준비되었습니다")));
    ASSERT_TRUE(app.waitSettled(QStringLiteral("taskPopup/submitButton")));
    const QList<QQuickItem*> works = app.items(QStringLiteral("worksBox"));
    const QList<QQuickItem*> fails = app.items(QStringLiteral("failsBox"));
    ASSERT_FALSE(works.isEmpty());
    ASSERT_EQ(works.size(), fails.size());
    const bool failing = !explanationOfAFailure.isEmpty();
    for (qsizetype i = 0; i < works.size(); ++i) {
        QQuickItem* box = failing && i == works.size() - 1 ? fails[i] : works[i];
        ASSERT_TRUE(app.scrollIntoView(box));
        ASSERT_TRUE(app.click(box));
        ASSERT_TRUE(waitUntil([&] { return box->property("isChecked").toBool(); }));
    }
    if (failing) {
        ASSERT_TRUE(app.scrollIntoView(QStringLiteral("taskPopup/explanationField")));
        ASSERT_TRUE(app.click(QStringLiteral("taskPopup/explanationField")));
        app.type(explanationOfAFailure);
        ASSERT_TRUE(app.waitForProperty(QStringLiteral("taskPopup/explanationField"), "text", explanationOfAFailure));
    }
    ASSERT_TRUE(app.scrollIntoView(QStringLiteral("taskPopup/submitButton")));
    if (!picture.isEmpty()) {
        ASSERT_TRUE(app.picture(picture));
    }
    ASSERT_TRUE(app.click(QStringLiteral("taskPopup/submitButton")));
    ASSERT_TRUE(app.waitForGone(QStringLiteral("taskPopup")));
}

// Work: `claude` quits in the middle of the work: once the card offers the
// test, the person clicks into the terminal and types "/exit" there. The
// shell has the terminal again; whatever is sent next must reach a new
// `claude`, not the shell.
void quitClaude(AppWindow& app, const QList<FakeCall>& callsBefore, const std::function<QList<FakeCall>()>& calls)
{
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("sidebar/cardSubtitle"), "text",
                                    QStringLiteral("테스트가 준비되었습니다"), 30s));
    ASSERT_FALSE(callsBefore.isEmpty());
    const qint64 running = callsBefore.last().pid;
    ASSERT_TRUE(app.click(QStringLiteral("terminalPanel/terminalWrapper")));
    app.type(QStringLiteral("/exit"));
    app.press(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] {
        for (const FakeCall& call : calls()) {
            if (call.pid == running)
                return call.doneOrder >= 0;
        }
        return false;
    })) << "claude did not quit";
}

// Work: the dashboard opens on the first visit and is closed by a click
// beside it; the card starts the work; every task is tested (the second
// failed once with an explanation, fixed and tested again; before the last
// one's test `claude` quits, and "테스트 완료" brings it back); the confetti
// and the completion popup.
void workThroughThePlan(AppWindow& app, const std::function<QList<FakeCall>()>& interactiveCalls)
{
    ASSERT_TRUE(app.waitForItem(QStringLiteral("workView")));
    ASSERT_TRUE(app.waitSettled(QStringLiteral("dashboardFrame"))) << "the dashboard did not open on the first visit";
    ASSERT_TRUE(app.picture(QStringLiteral("dashboard")));
    ASSERT_TRUE(app.clickAt(app.item(QStringLiteral("dashboardBackdrop")), QPointF(12, 12)));
    ASSERT_TRUE(app.waitForGone(QStringLiteral("dashboardOverlay")));

    ASSERT_NO_FATAL_FAILURE(pressCard(app, QStringLiteral("언제든 새로운 작업을 시작헤보세요")));
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("sidebar/cardSubtitle"), "text",
                                    QStringLiteral("테스트가 준비되었습니다"), 30s));
    ASSERT_TRUE(app.picture(QStringLiteral("work")));
    ASSERT_NO_FATAL_FAILURE(testTask(app, {}, QStringLiteral("task-popup")));

    ASSERT_NO_FATAL_FAILURE(pressCard(app, QStringLiteral("데이터 모델 만들기입니다")));
    ASSERT_NO_FATAL_FAILURE(testTask(app, QStringLiteral("저장한 기록이 다시 열면 사라져요")));
    // The fix request reopened the task; `claude` hands it over again.
    ASSERT_NO_FATAL_FAILURE(testTask(app));

    ASSERT_NO_FATAL_FAILURE(pressCard(app, QStringLiteral("메인 화면 만들기입니다")));
    const QList<FakeCall> before = interactiveCalls();
    ASSERT_NO_FATAL_FAILURE(quitClaude(app, before, interactiveCalls));
    ASSERT_NO_FATAL_FAILURE(testTask(app));
    {
        // A new `claude` took the approval, after the instruction and the guide's path.
        ASSERT_TRUE(waitUntil([&] { return interactiveCalls().size() > before.size(); }, 30s))
            << "claude was not started again";
        const qint64 fresh = interactiveCalls().at(before.size()).pid;
        auto linesOfFresh = [&] {
            for (const FakeCall& call : interactiveCalls()) {
                if (call.pid == fresh)
                    return call.lines;
            }
            return QStringList();
        };
        const QString approval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
        ASSERT_TRUE(waitUntil([&] { return linesOfFresh().contains(approval); }, 30s))
            << linesOfFresh().join(QLatin1Char('|')).toStdString();
        const QStringList lines = linesOfFresh();
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[0], QStringLiteral("    아래 경로의 명세서를 기반으로 개발을 진행하세요."));
        EXPECT_TRUE(lines[1].endsWith(QStringLiteral("/ZAVE/project/CLAUDE_DEV.md"))) << lines[1].toStdString();
        EXPECT_EQ(lines[2], approval);
    }

    ASSERT_TRUE(app.waitForItem(QStringLiteral("confetti"), 30s)) << "no confetti after the last task";
    ASSERT_TRUE(app.waitSettled(QStringLiteral("completionPopup/newProjectButton")));
    ASSERT_TRUE(app.picture(QStringLiteral("completion")));
}

} // namespace

// ---- The road ---------------------------------------------------------------

TEST_F(RoadThroughTheWindowTest, FromTheFirstLaunchToTheLastTaskAndANewProject)
{
    auto panel = std::make_shared<FakeFolderPanel>();
    AppWindow app(panel);
    ASSERT_TRUE(app.isShown()) << "the main window did not open";

    ASSERT_NO_FATAL_FAILURE(passOnboarding(app));
    ASSERT_NO_FATAL_FAILURE(enterIdea(app, QStringLiteral("습관을 기록하는 앱")));
    ASSERT_NO_FATAL_FAILURE(answerInterview(app, {QStringLiteral("매일 물 마시기"), QStringLiteral("알림이 가장 중요해요")}));
    const QString folder = machine().documentsPath() + QStringLiteral("/Habit App");
    ASSERT_NO_FATAL_FAILURE(guideProject(app, folder));
    {
        ASSERT_TRUE(waitUntil([&] { return !calls(QStringLiteral("interactive")).isEmpty(); }))
            << "claude never started in the terminal";
        EXPECT_EQ(calls(QStringLiteral("interactive")).first().cwd, folder);
    }
    ASSERT_NO_FATAL_FAILURE(workThroughThePlan(app, [&] { return calls(QStringLiteral("interactive")); }));
    {
        // What `claude` read in the terminal: the failed item and the explanation.
        const QStringList lines = calls(QStringLiteral("interactive")).first().lines;
        EXPECT_TRUE(lines.contains(QStringLiteral("[Model the data] 작업에서 문제가 발생했습니다.")))
            << lines.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(lines.contains(QStringLiteral("저장한 기록이 다시 열면 사라져요")));
    }

    // "새 프로젝트": back to the entry screen, with the workspace emptied.
    ASSERT_TRUE(app.click(QStringLiteral("completionPopup/newProjectButton")));
    ASSERT_TRUE(app.waitForItem(QStringLiteral("entryView")));
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("entryView/ideaInput"), "isSubmitEnabled", true));
    EXPECT_EQ(entriesOf(projectFolder()), QStringList{QStringLiteral("CLAUDE_DEV.md")});
    EXPECT_TRUE(app.directory().selectedDirectory().isEmpty());
    EXPECT_TRUE(entriesOf(machine().home()).isEmpty()) << "nothing is written into the home folder";
    // The work screen took its shell and `claude` with it.
    EXPECT_TRUE(waitUntil([] { return childProcesses().isEmpty(); }))
        << childProcesses().join(QLatin1Char('\n')).toStdString();

    app.close();
    expectNoChildLeft();
}

// Quitting in the middle of the work and starting again: the window opens on
// the work screen, with the terminal in the remembered folder.
TEST_F(RoadThroughTheWindowTest, ReopensOnTheWorkScreenOfAPlanInProgress)
{
    const QString folder = machine().documentsPath() + QStringLiteral("/Half Done");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/HalfDone.xcodeproj")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVA_ROAD_PLAN), projectFolder() + QStringLiteral("/Task.json")));
    {
        // What the earlier run left: the onboarding seen, the work begun, the folder remembered.
        UserDefaults::setBool(QString::fromLatin1(UserDefaults::kHasSeenOnboarding), true);
        UserDefaults::setBool(QString::fromLatin1(UserDefaults::kHasLaunchedBefore), true);
        DirectoryAccessService remembered(std::make_shared<FakeFolderPanel>());
        remembered.saveBookmark(folder);
    }
    const qsizetype terminalsBefore = calls(QStringLiteral("interactive")).size();

    AppWindow app(std::make_shared<FakeFolderPanel>());
    ASSERT_TRUE(app.isShown());
    EXPECT_FALSE(app.item(QStringLiteral("onboardingView"))) << "the onboarding showed again";
    ASSERT_TRUE(app.waitForItem(QStringLiteral("workView")));
    ASSERT_TRUE(waitUntil([&] { return calls(QStringLiteral("interactive")).size() > terminalsBefore; }))
        << "claude never started in the terminal";
    EXPECT_EQ(calls(QStringLiteral("interactive")).last().cwd, folder);
    EXPECT_TRUE(app.waitForProperty(QStringLiteral("terminalPanel/folderPath"), "text", folder));

    app.close();
    expectNoChildLeft();
}

// The same road by the keyboard alone, from the entry screen to the first
// approval: Tab to a control (its ring showing), Return or Space to press
// it, text typed into the field that has the keyboard, Escape to close the
// dashboard, Control+Tab to leave the terminal.
TEST_F(RoadThroughTheWindowTest, FromTheIdeaToAnApprovalByTheKeyboard)
{
    {
        // A machine past its first launch, with no project begun (what a
        // run before this one left goes).
        UserDefaults::setBool(QString::fromLatin1(UserDefaults::kHasSeenOnboarding), true);
        UserDefaults::remove(QString::fromLatin1(UserDefaults::kTerminalDirectoryBookmark));
        QFile::remove(projectFolder() + QStringLiteral("/Task.json"));
    }
    const qsizetype terminalsBefore = calls(QStringLiteral("interactive")).size();
    auto panel = std::make_shared<FakeFolderPanel>();
    AppWindow app(panel);
    ASSERT_TRUE(app.isShown()) << "the main window did not open";

    // The entry screen: the idea, Return.
    ASSERT_TRUE(app.waitForItem(QStringLiteral("entryView")));
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("entryView/ideaInput"), "isSubmitEnabled", true))
        << "the preparation never made the interview ready";
    ASSERT_TRUE(app.tabTo(QStringLiteral("entryView/ideaInput"))) << "Tab never reached the idea field";
    app.type(QStringLiteral("물 마시기 기록 앱"));
    app.press(Qt::Key_Return);

    // The interview: each answer in the field that has the keyboard; then
    // the document button has it, and Return presses it.
    ASSERT_TRUE(app.waitForItem(QStringLiteral("chatView")));
    int turns = 2;
    for (const QString& answer : {QStringLiteral("하루 여덟 잔"), QStringLiteral("위젯이 있으면 좋겠어요")}) {
        ASSERT_TRUE(waitUntil([&] {
            return app.anyItem(QStringLiteral("chatView/turnRow%1").arg(turns))
                   && !app.read(QStringLiteral("chatView/loadingRow"), "isShown").toBool();
        })) << "no reply to turn " << turns - 1;
        ASSERT_TRUE(app.waitForKeyboard(QStringLiteral("chatView/answerInput"))) << "the answer field lost the keyboard";
        app.type(answer);
        app.press(Qt::Key_Return);
        turns += 2;
    }
    ASSERT_TRUE(app.waitForKeyboard(QStringLiteral("chatView/documentsButton"))) << "the document button never had the keyboard";
    app.press(Qt::Key_Return);

    // The set-up: Tab to "폴더 생성하기", Return; the folder answered in the
    // panel; "프로젝트 생성 완료" has the keyboard, Space verifies; then
    // "작업 화면으로 이동" has it, Return leads on.
    ASSERT_TRUE(app.waitForItem(QStringLiteral("projectGuidingView")));
    ASSERT_TRUE(app.waitSettled(QStringLiteral("folderIcon")));
    ASSERT_TRUE(app.tabTo(QStringLiteral("folderButton")));
    ASSERT_TRUE(app.picture(QStringLiteral("keyboard-guiding")));
    app.press(Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return panel->isShowing(); })) << "Return did not open the folder panel";
    const QString folder = machine().documentsPath() + QStringLiteral("/Water App");
    ASSERT_TRUE(QDir().mkpath(folder));
    panel->answer(PanelResponse::ok, folder);
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("headerText"), "text",
                                    QStringLiteral("AI가 명세서를 모두 생성했어요. 프로젝트 생성을 완료해주세요!")))
        << "the plan never appeared";
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/WaterApp/WaterApp.xcodeproj")));
    ASSERT_TRUE(app.tabTo(QStringLiteral("verificationButton")));
    app.press(Qt::Key_Space);
    ASSERT_TRUE(app.waitForItem(QStringLiteral("completionSection"))) << "Space did not verify the project";
    ASSERT_TRUE(app.waitForKeyboard(QStringLiteral("completionButton")));
    app.press(Qt::Key_Return);

    // The work: Escape closes the dashboard; Control+Tab leaves the
    // terminal, Tab goes on to the card; Return starts the work, and later
    // opens the test.
    ASSERT_TRUE(app.waitSettled(QStringLiteral("dashboardFrame"))) << "the dashboard did not open on the first visit";
    app.press(Qt::Key_Escape);
    ASSERT_TRUE(app.waitForGone(QStringLiteral("dashboardOverlay")));
    ASSERT_TRUE(app.waitForKeyboard(QStringLiteral("terminalPanel/terminalWrapper")));
    ASSERT_TRUE(waitUntil([&] { return calls(QStringLiteral("interactive")).size() > terminalsBefore; }))
        << "claude never started in the terminal";
    ASSERT_TRUE(app.tabTo(QStringLiteral("sidebar/cardButton"), Qt::ControlModifier));
    ASSERT_TRUE(app.waitSettled(QStringLiteral("sidebar/taskList")));
    ASSERT_TRUE(app.picture(QStringLiteral("keyboard-work")));
    app.press(Qt::Key_Return);
    ASSERT_TRUE(app.waitForProperty(QStringLiteral("sidebar/cardSubtitle"), "text",
                                    QStringLiteral("테스트가 준비되었습니다"), 30s))
        << "the work never reached its test";
    ASSERT_TRUE(app.tabTo(QStringLiteral("sidebar/cardButton"), Qt::ControlModifier));
    app.press(Qt::Key_Return);

    // The task popup: "다 잘 작동해요" by Space ticks every item; Tab on to
    // "테스트 완료", Return.
    ASSERT_TRUE(app.waitSettled(QStringLiteral("taskPopup/submitButton")));
    ASSERT_TRUE(app.tabTo(QStringLiteral("taskPopup/masterBox")));
    app.press(Qt::Key_Space);
    ASSERT_TRUE(app.tabTo(QStringLiteral("taskPopup/submitButton"), Qt::NoModifier, 60));
    ASSERT_TRUE(app.picture(QStringLiteral("keyboard-task-popup")));
    app.press(Qt::Key_Return);
    ASSERT_TRUE(app.waitForGone(QStringLiteral("taskPopup")));
    ASSERT_TRUE(app.waitForKeyboard(QStringLiteral("terminalPanel/terminalWrapper")));

    const QString approval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
    ASSERT_TRUE(waitUntil([&] {
        const QList<FakeCall> all = calls(QStringLiteral("interactive"));
        return all.size() > terminalsBefore && all.last().lines.contains(approval);
    }, 30s)) << "the approval never reached claude";

    app.close();
    expectNoChildLeft();
}

} // namespace orva::test
