import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// The work screen: its columns, its overlays and the completion celebration,
// over the shared monitor's plan.
TestCase {
    id: testCase
    name: "WorkView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    WorkTestRig { id: rig }

    Component {
        id: workComponent
        WorkView {
            property int newProjects: 0
            width: 1120
            height: 880
            focus: true
            onNewProjectRequested: newProjects++
        }
    }

    function planPath() { return helpers.containerPath + "/ZAVE/project/Task.json" }

    function initTestCase() {
        AppGroupMonitorService.startTaskDashboardMonitoring()
    }
    function init() {
        failOnWarning(/.*/)
        // The screen of the test before is gone: so are its shell and `claude`.
        tryVerify(() => rig.childProcesses().length === 0, helpers.waitDeadline, rig.childProcesses().join(", "))
        helpers.setBoolDefault("hasLaunchedBefore", true)
        helpers.removeUserDefault("TerminalDirectoryBookmark")
    }
    function cleanup() {
        helpers.removePath(planPath())
        tryCompare(AppGroupMonitorService, "hasProject", false, helpers.waitDeadline)
    }
    function cleanupTestCase() {
        tryVerify(() => rig.childProcesses().length === 0, helpers.waitDeadline, rig.childProcesses().join(", "))
    }

    function loadPlan(text) {
        verify(helpers.writeFile(planPath(), text))
        const expected = JSON.stringify(JSON.parse(text).project)
        tryVerify(() => AppGroupMonitorService.hasProject
                  && AppGroupMonitorService.project.name === JSON.parse(text).project.name
                  && AppGroupMonitorService.project.completedTaskCount === countCompleted(text), helpers.waitDeadline)
    }
    function countCompleted(text) {
        let n = 0
        const milestones = JSON.parse(text).project.milestones
        for (let m = 0; m < milestones.length; ++m)
            for (let t = 0; t < milestones[m].tasks.length; ++t)
                if (milestones[m].tasks[t].status === "completed")
                    ++n
        return n
    }

    function makeScreen() {
        const screen = createTemporaryObject(workComponent, testCase, { viewModel: rig.createWorkViewModel() })
        verify(screen)
        screen.forceActiveFocus()
        return screen
    }

    function test_noProjectShowsNoSidebarAndNoDashboard() {
        const screen = makeScreen()
        compare(screen.sidebar, null)
        verify(screen.terminalPanel.visible)
        screen.showDashboard = true
        compare(screen.dashboardOverlay, null)
        // The plan arrives: the sidebar and the wanted dashboard appear.
        loadPlan(Plans.threeMilestones())
        verify(screen.sidebar)
        verify(screen.dashboardOverlay)
    }

    function test_backdropClosesTheDashboard() {
        loadPlan(Plans.threeMilestones())
        const screen = makeScreen()
        mouseClick(findChild(screen.sidebar, "dashboardButton"))
        compare(screen.showDashboard, true)
        const overlay = screen.dashboardOverlay
        verify(overlay)
        compare(overlay.dashboard.parent.parent.width, 1020)
        compare(overlay.dashboard.parent.parent.height, 800)
        verify(overlay.dashboard.viewModel)
        // A tap on the frame is not the backdrop's.
        mouseClick(overlay, 560, 440)
        compare(screen.showDashboard, true)
        mouseClick(overlay, 10, 10)
        compare(screen.showDashboard, false)
        compare(screen.dashboardOverlay, null)
        // Reopened: a new dashboard model.
        const firstModel = overlay.dashboard ? overlay.dashboard.viewModel : null
        screen.showDashboard = true
        verify(screen.dashboardOverlay.dashboard.viewModel !== firstModel)
    }

    function test_popupShowsTheTappedAndTheCurrentTask() {
        const text = Plans.plan("P", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "completed", "checked"), Plans.task(2, "onHold", "ready"), Plans.task(3, "planned", "pending")])])
        loadPlan(text)
        const screen = makeScreen()
        const sidebar = screen.sidebar
        tryCompare(sidebar, "isViewAppeared", true, helpers.waitDeadline)
        const board = sidebar.board
        tryVerify(() => board.parent.opacity > 0.99, helpers.waitDeadline)
        mouseClick(board.taskCards.itemAt(2))
        verify(screen.taskPopup)
        compare(screen.taskPopup.shownTask.title, "Task 3")
        verify(screen.taskPopup.activeFocus, "the popup holds the keyboard")
        mouseClick(screen.taskPopup.closeButton)
        compare(screen.taskPopup, null)
        compare(screen.showTaskDetail, false)
        compare(screen.viewModel.selectedTask.title, "Task 3", "closing leaves the selection")

        // The card's test action: the current task, not the previous selection.
        screen.viewModel.startWork()
        compare(sidebar.card.cardState.viewState, CurrentWorkCardState.TestReady)
        tryVerify(() => sidebar.card.parent.opacity > 0.99, helpers.waitDeadline)
        mouseClick(sidebar.card)
        verify(screen.taskPopup)
        compare(screen.taskPopup.shownTask.title, "Task 2")

        // A reload while it is open does not change the open popup.
        const popup = screen.taskPopup
        const reloaded = JSON.parse(text)
        reloaded.project.milestones[0].tasks[1].detail.checklist_ux = ["하나"]
        reloaded.project.name = "P2"
        loadPlan(JSON.stringify(reloaded))
        compare(screen.taskPopup, popup)
        compare(popup.rows.count, 2)
        compare(screen.sidebar, sidebar, "the sidebar is kept across reloads")
    }

    function test_typingReachesThePopupAndNotTheTerminal() {
        loadPlan(Plans.threeMilestones())
        const screen = makeScreen()
        const terminal = screen.terminalPanel.wrapper.terminalView
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline, "the terminal has the keyboard at first")
        screen.viewModel.selectedTask = screen.viewModel.currentTask
        screen.showTaskDetail = true
        const popup = screen.taskPopup
        verify(popup.activeFocus)
        verify(!terminal.activeFocus)
        keyClick(Qt.Key_X)
        mouseClick(popup.rows.itemAt(0).failsBox)
        mouseClick(popup.explanationField)
        keyClick(Qt.Key_O)
        keyClick(Qt.Key_K)
        compare(popup.verdict.additionalInput, "ok")
        verify(!terminal.activeFocus)
        mouseClick(popup.closeButton)
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline, "the keyboard goes back to the terminal")
    }

    function test_completionCelebration() {
        const open = Plans.plan("끝", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "completed", "checked"), Plans.task(2, "onHold", "ready")])])
        const done = Plans.plan("끝", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "completed", "checked"), Plans.task(2, "completed", "checked")])])
        loadPlan(open)
        const screen = makeScreen()
        compare(screen.confetti, null)
        let confettiAt = 0
        let popupAt = 0
        screen.confettiChanged.connect(() => { if (screen.confetti && !confettiAt) confettiAt = Date.now() })
        screen.completionPopupChanged.connect(() => { if (screen.completionPopup && !popupAt) popupAt = Date.now() })
        loadPlan(done)
        verify(screen.confetti, "confetti at once")
        tryVerify(() => screen.completionPopup !== null, helpers.waitDeadline)
        // The popup not at once but after its half second (a busy machine may
        // only make it later, and may have it up before the plan is seen here).
        const delay = popupAt - confettiAt
        verify(delay >= 450, "popup after " + delay + " ms")
        verify(screen.screenState.hasShownCompletion)

        // "확인": both go.
        mouseClick(findChild(screen.completionPopup, "confirmButton"))
        tryCompare(screen, "completionPopup", null, helpers.waitDeadline)
        compare(screen.confetti, null)
        // A complete reload after dismissal shows nothing.
        loadPlan(open)
        loadPlan(done)
        compare(screen.confetti, null)
        compare(screen.newProjects, 0)
    }

    function test_completeAtFirstIsNotCelebratedAndNewProjectCallsBackOnce() {
        const done = Plans.plan("완료", [Plans.milestone(1, "M", "setupAndModeling", [Plans.task(1, "completed", "checked")])])
        // The screen is built before its plan arrives.
        const screen = makeScreen()
        loadPlan(done)
        verify(screen.sidebar)
        compare(screen.confetti, null, "the first plan seen is the initial one")
        // The next complete plan is news.
        loadPlan(Plans.plan("완료!", [Plans.milestone(1, "M", "setupAndModeling", [Plans.task(1, "completed", "checked")])]))
        verify(screen.confetti)
        tryVerify(() => screen.completionPopup !== null, helpers.waitDeadline)
        const button = findChild(screen.completionPopup, "newProjectButton")
        mouseClick(button)
        mouseClick(button)
        tryCompare(screen, "newProjects", 1, helpers.waitDeadline)
        tryCompare(screen, "completionPopup", null, helpers.waitDeadline)
        compare(screen.newProjects, 1)
    }

    // The completion popup holds the keys: Escape does what "확인" does
    // (both it and the confetti go), nothing typed while it is up reaches the
    // terminal, and the keyboard goes back to the terminal after it. Tab
    // goes between its buttons; Return presses the one with the keyboard.
    function celebrate(screen) {
        const open = Plans.plan("끝", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "completed", "checked"), Plans.task(2, "onHold", "ready")])])
        const done = Plans.plan("끝", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "completed", "checked"), Plans.task(2, "completed", "checked")])])
        loadPlan(open)
        loadPlan(done)
        tryVerify(() => screen.completionPopup !== null, helpers.waitDeadline)
        return screen.completionPopup
    }
    function test_completionPopupByTheKeyboard_data() {
        return [
            { tag: "Escape", keys: [Qt.Key_Escape], newProject: false },
            { tag: "Tab to 확인, Return", keys: [Qt.Key_Tab, Qt.Key_Tab, Qt.Key_Return], newProject: false },
            { tag: "Tab to 새 프로젝트, Space", keys: [Qt.Key_Tab, Qt.Key_Space], newProject: true },
            { tag: "Shift+Tab to 확인, Return", keys: [Qt.Key_Backtab, Qt.Key_Return], newProject: false },
        ]
    }
    function test_completionPopupByTheKeyboard(data) {
        loadPlan(Plans.plan("끝", [Plans.milestone(1, "M", "setupAndModeling", [Plans.task(1, "completed", "checked")])]))
        const screen = makeScreen()
        const terminal = screen.terminalPanel.wrapper.terminalView
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline)
        const popup = celebrate(screen)
        tryVerify(() => !terminal.activeFocus, helpers.waitDeadline, "the popup holds the keyboard")
        helpers.startCapturingOutput()
        // Keys the terminal would send on: none reaches it.
        keyClick(Qt.Key_X)
        keyClick(Qt.Key_Return, Qt.ShiftModifier)
        compare(screen.completionPopup, popup, "still up")
        for (const key of data.keys)
            keyClick(key)
        tryCompare(screen, "completionPopup", null, helpers.waitDeadline)
        const output = helpers.stopCapturingOutput()
        verify(output.indexOf("[LocalProcessTerminalView] Sending 1 bytes") < 0, "a key reached the terminal: " + output)
        compare(screen.confetti, null)
        if (data.newProject)
            tryCompare(screen, "newProjects", 1, helpers.waitDeadline)
        else {
            compare(screen.newProjects, 0)
            tryVerify(() => terminal.activeFocus, helpers.waitDeadline, "the keyboard goes back to the terminal")
        }
    }

    // The work screen's keyboard round: Control+Tab leaves the terminal for
    // the dashboard button, Tab goes on to the card's button and back to the
    // terminal, Shift+Tab the other way; in the terminal Tab and Shift+Tab
    // stay the shell's. Return and Space press the button with the keyboard;
    // the keyboard comes back to the terminal when the card's button goes.
    function test_theKeyboardRound() {
        loadPlan(Plans.plan("P", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "onHold", "ready"), Plans.task(2, "planned", "pending")])]))
        const screen = makeScreen()
        const terminal = screen.terminalPanel.wrapper.terminalView
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline)
        const dashboardButton = findChild(screen, "dashboardButton")
        // No folder chosen yet: the banner's button is in the round too.
        const folderButton = findChild(screen, "chooseFolderButton")
        verify(folderButton.visible)
        const cardButton = () => findChild(screen, "cardButton")
        tryVerify(() => cardButton() !== null, helpers.waitDeadline)
        const on = (control, name) => {
            tryVerify(() => control.activeFocus, helpers.waitDeadline, name + " has the keyboard")
            if (control.focusRing)
                verify(control.focusRing.visible, name + " shows its ring")
        }
        const sent = output => output.indexOf("[LocalProcessTerminalView] Sending") >= 0

        helpers.startCapturingOutput()
        keyClick(Qt.Key_Tab, Qt.ControlModifier)
        on(dashboardButton, "the dashboard button")
        keyClick(Qt.Key_Tab)
        on(cardButton(), "the card's button")
        keyClick(Qt.Key_Tab)
        on(folderButton, "디렉토리 선택")
        keyClick(Qt.Key_Tab)
        on(terminal, "the terminal")
        keyClick(Qt.Key_Backtab, Qt.ControlModifier | Qt.ShiftModifier)
        on(folderButton, "디렉토리 선택, backwards")
        keyClick(Qt.Key_Backtab, Qt.ShiftModifier)
        on(cardButton(), "the card's button, backwards")
        keyClick(Qt.Key_Backtab, Qt.ShiftModifier)
        on(dashboardButton, "the dashboard button, backwards")
        keyClick(Qt.Key_Backtab, Qt.ShiftModifier)
        on(terminal, "round to the terminal")
        verify(!sent(helpers.stopCapturingOutput()), "a round key reached the shell")

        helpers.startCapturingOutput()
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Backtab, Qt.ShiftModifier)
        verify(terminal.activeFocus, "Tab and Shift+Tab stay in the terminal")
        verify(sent(helpers.stopCapturingOutput()), "Tab reached the shell")

        // The dashboard by Return, and back by Escape.
        keyClick(Qt.Key_Tab, Qt.ControlModifier)
        on(dashboardButton, "the dashboard button")
        keyClick(Qt.Key_Return)
        tryVerify(() => screen.dashboardOverlay !== null, helpers.waitDeadline, "Return opened the dashboard")
        keyClick(Qt.Key_Escape)
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline)

        // The test by Space on the card, and back by Escape.
        keyClick(Qt.Key_Tab, Qt.ControlModifier)
        keyClick(Qt.Key_Tab)
        on(cardButton(), "the card's button")
        keyClick(Qt.Key_Space)
        tryVerify(() => screen.taskPopup !== null, helpers.waitDeadline, "Space opened the task popup")
        keyClick(Qt.Key_Escape)
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline)

        // Return on the card's "시작하기" starts the work. Once claude has
        // taken it (played here by the card's own flag), the card's button
        // goes, and the terminal has the keyboard again.
        loadPlan(Plans.plan("P 2", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "inProgress", "pending"), Plans.task(2, "planned", "pending")])]))
        tryCompare(screen.sidebar.card.cardState, "buttonTitle", "시작하기", helpers.waitDeadline)
        keyClick(Qt.Key_Tab, Qt.ControlModifier | Qt.ShiftModifier)
        keyClick(Qt.Key_Backtab, Qt.ShiftModifier)
        on(cardButton(), "the card's button from the terminal, backwards")
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Return)
        const pressed = helpers.stopCapturingOutput()
        verify(pressed.indexOf("Planned State: 작업 시작") >= 0, pressed)
        screen.sidebar.card.forceShowAsPlanned = false
        tryVerify(() => !screen.sidebar.card.cardState.hasButton, helpers.waitDeadline)
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline, "the keyboard went back to the terminal")
    }

    // Escape closes the dashboard and the task popup, sending nothing; the
    // keyboard goes back to the terminal each time.
    function test_escapeClosesTheOverlays() {
        const text = Plans.plan("P", [Plans.milestone(1, "M", "setupAndModeling",
            [Plans.task(1, "onHold", "ready")])])
        loadPlan(text)
        const screen = makeScreen()
        const terminal = screen.terminalPanel.wrapper.terminalView
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline)

        screen.showDashboard = true
        tryVerify(() => screen.dashboardOverlay !== null && !terminal.activeFocus, helpers.waitDeadline)
        keyClick(Qt.Key_Escape)
        compare(screen.showDashboard, false)
        compare(screen.dashboardOverlay, null)
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline, "back to the terminal after the dashboard")

        screen.viewModel.selectedTask = AppGroupMonitorService.project.milestones[0].tasks[0]
        screen.showTaskDetail = true
        const popup = screen.taskPopup
        verify(popup)
        mouseClick(popup.rows.itemAt(0).worksBox)
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Escape)
        const output = helpers.stopCapturingOutput()
        compare(screen.showTaskDetail, false)
        compare(screen.taskPopup, null)
        verify(output.indexOf("[TaskCardDetailPopup]") < 0, "nothing sent: " + output)
        tryVerify(() => terminal.activeFocus, helpers.waitDeadline, "back to the terminal after the popup")
    }

    // The dashboard's frame: 1020 by 800 with corners rounded 16; what is
    // drawn inside it stays clear of them.
    function test_theDashboardFrameHasRoundedCorners() {
        loadPlan(Plans.threeMilestones())
        const screen = makeScreen()
        screen.showDashboard = true
        const dashboard = screen.dashboardOverlay.dashboard
        compare(dashboard.cornerRadius, 16)
        const frame = findChild(screen.dashboardOverlay, "dashboardFrame")
        const header = dashboard.headerBand
        verify(header.x >= 16 && header.x + header.width <= frame.width - 16)
    }

    // A plan of a thousand tasks with long titles: the sidebar and the
    // dashboard make the cards in sight, not a thousand.
    function test_aThousandTasksMakeOnlyTheCardsInSight() {
        const tasks = []
        const title = "아주 긴 작업 제목이 한 줄에 다 들어가지 않는 작업 ".repeat(40)
        for (let i = 0; i < 1000; ++i)
            tasks.push(Plans.task(i + 1, "planned", "pending", { title_ux: (i + 1) + ". " + title }))
        loadPlan(Plans.plan("천 개", [Plans.milestone(1, "전부", "setupAndModeling", tasks)]))
        const screen = makeScreen()
        tryVerify(() => screen.sidebar !== null)
        const board = screen.sidebar.board
        verify(board.taskCards.count > 0)
        verify(board.taskCards.count < 20, "sidebar cards made: " + board.taskCards.count)
        screen.showDashboard = true
        const column = screen.dashboardOverlay.dashboard.milestoneList.columns.itemAt(0)
        verify(column.taskList.cards.count > 0)
        verify(column.taskList.cards.count < 20, "dashboard cards made: " + column.taskList.cards.count)
        compare(column.taskList.height, 1000 * 110 + 999 * 10)
        // Scrolled far down, the cards there are made.
        const area = screen.dashboardOverlay.dashboard.scrollArea
        area.contentY = 500 * 120
        tryVerify(() => column.taskList.cardWindow.first > 400, helpers.waitDeadline)
        verify(column.taskList.cards.count < 20)
    }
}
