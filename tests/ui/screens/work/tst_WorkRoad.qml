import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// End to end through the work screen, as the root view shows it: a real zsh
// in a pseudo-terminal and the fake `claude` playing the development guide on
// a plan of three tasks, from the first visit to the new-project action.
TestCase {
    id: testCase
    name: "WorkRoad"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    WorkTestRig { id: rig }

    Component {
        id: rootComponent
        ContentView {
            width: 1120
            height: 880
            viewModel: ContentViewModel {}
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    function projectFolder() { return helpers.containerPath + "/ZAVE/project" }
    function claudeCall(before) {
        const calls = rig.interactiveCalls()
        return calls.length > before ? calls[before] : null
    }
    function currentIs(work, id, status, testStatus) {
        const model = work.viewModel
        return model.hasCurrentTask && model.currentTask.id === id
            && model.currentTask.statusText === status && model.currentTask.testStatusText === testStatus
    }
    function clickCard(work) {
        const card = work.sidebar.card
        tryVerify(() => card.parent.opacity > 0.99, helpers.waitDeadline)
        mouseClick(card)
    }
    function approveFromCard(work, id) {
        tryVerify(() => work.sidebar.card.cardState.viewState === CurrentWorkCardState.TestReady
                  && currentIs(work, id, "onHold", "ready"), helpers.waitDeadline, "task " + id + " never became ready for its test")
        clickCard(work)
        const popup = work.taskPopup
        verify(popup, "the card's test action opens the popup")
        compare(popup.shownTask.id, id)
        mouseClick(popup.masterBox)
        mouseClick(popup.submitButton)
        compare(work.taskPopup, null)
    }

    function test_aPlanFromTheFirstVisitToANewProject() {
        helpers.setBoolDefault("hasSeenOnboarding", true)
        helpers.setBoolDefault("hasLaunchedBefore", false)
        helpers.removeUserDefault("TerminalDirectoryBookmark")
        AppGroupMonitorService.startTaskDashboardMonitoring()
        verify(helpers.writeFile(projectFolder() + "/CLAUDE_DEV.md", "# guide\n"))
        const plan = Plans.plan("습관 기록", [
            Plans.milestone(1, "프로젝트 준비", "setupAndModeling", [Plans.task(1, "planned", "pending"), Plans.task(2, "planned", "pending")]),
            Plans.milestone(2, "화면", "uiImplementation", [Plans.task(3, "planned", "pending")])
        ])
        verify(helpers.writeFile(projectFolder() + "/Task.json", plan))
        tryVerify(() => AppGroupMonitorService.hasProject && AppGroupMonitorService.project.name === "습관 기록", helpers.waitDeadline)
        const before = rig.interactiveCalls().length

        const root = createTemporaryObject(rootComponent, testCase)
        compare(root.viewModel.currentPhase, ViewPhase.Dashboard)
        const work = root.screen
        compare(work.objectName, "workView")

        // The first visit opens the dashboard; a tap on the backdrop closes it.
        tryVerify(() => work.dashboardOverlay !== null, helpers.waitDeadline)
        mouseClick(work.dashboardOverlay, 5, 5)
        compare(work.dashboardOverlay, null)

        // `claude` runs in the terminal; work starts from the card.
        tryVerify(() => claudeCall(before) !== null, helpers.waitDeadline, "claude never started in the terminal")
        const pid = claudeCall(before).pid
        compare(work.sidebar.card.cardState.viewState, CurrentWorkCardState.Empty)
        tryCompare(work.sidebar, "isViewAppeared", true, helpers.waitDeadline)
        clickCard(work)
        // Typed once claude's box is drawn: work has started then.
        tryVerify(() => work.viewModel.hasLaunchedBefore, helpers.waitDeadline, "the start of work never reached claude")

        // Task 1: ready, opened from the card, every item works, approved.
        approveFromCard(work, 1)
        tryVerify(() => AppGroupMonitorService.project.completedTaskCount === 1, helpers.waitDeadline, "the approval did not complete task 1")

        // Task 2: started from the card; its build fails, with an explanation.
        tryVerify(() => work.sidebar.card.cardState.viewState === CurrentWorkCardState.Planned && currentIs(work, 2, "planned", "pending"), helpers.waitDeadline)
        clickCard(work)
        tryVerify(() => currentIs(work, 2, "onHold", "ready"), helpers.waitDeadline, "task 2 never became ready")
        clickCard(work)
        let popup = work.taskPopup
        compare(popup.shownTask.id, 2)
        mouseClick(popup.rows.itemAt(0).failsBox)
        mouseClick(popup.explanationField)
        keyClick(Qt.Key_E)
        keyClick(Qt.Key_R)
        keyClick(Qt.Key_R)
        const plansBefore = claudeCall(before).plans
        // The fake names its tasks itself once it rewrites the plan.
        const header = "[" + popup.shownTask.title + "] 작업에서 문제가 발생했습니다."
        mouseClick(popup.submitButton)
        compare(work.taskPopup, null)
        tryVerify(() => claudeCall(before).lines.indexOf(header) >= 0
                  && claudeCall(before).lines.indexOf("err") >= 0, helpers.waitDeadline,
                  "claude never received the fix request")
        const lines = claudeCall(before).lines
        verify(lines.indexOf("❌ Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다") >= 0, lines.join("|"))
        verify(lines.indexOf("[추가 설명]") >= 0, lines.join("|"))
        // The fake works on it again: in progress, checking, ready.
        tryVerify(() => claudeCall(before).plans >= plansBefore + 3 && currentIs(work, 2, "onHold", "ready"), helpers.waitDeadline,
                  "task 2 was not reopened")
        approveFromCard(work, 2)
        tryVerify(() => AppGroupMonitorService.project.completedTaskCount === 2, helpers.waitDeadline)

        // Task 3, the last: confetti, then the completion popup.
        tryVerify(() => currentIs(work, 3, "planned", "pending"), helpers.waitDeadline)
        clickCard(work)
        approveFromCard(work, 3)
        tryVerify(() => work.confetti !== null, helpers.waitDeadline, "no confetti after the last task")
        tryVerify(() => work.completionPopup !== null, helpers.waitDeadline)

        // "새 프로젝트": back to the entry screen.
        mouseClick(findChild(work.completionPopup, "newProjectButton"))
        tryCompare(root.viewModel, "currentPhase", ViewPhase.Entry, helpers.waitDeadline)
        compare(root.screen.objectName, "entryView")
        tryVerify(() => !rig.isRunning(pid), helpers.waitDeadline, "claude still runs")
        tryVerify(() => rig.childProcesses().length === 0, helpers.waitDeadline, rig.childProcesses().join(", "))
    }
}
