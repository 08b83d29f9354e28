import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// The sidebar, its cards and its board, with plan values given directly and
// through the shared monitor.
TestCase {
    id: testCase
    name: "Sidebar"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    WorkTestRig { id: rig }

    Component {
        id: sidebarComponent
        SidebarView {
            id: sidebar
            property int dashboardRequests: 0
            property var detailRequests: []
            width: 348
            height: 880
            onDashboardRequested: dashboardRequests++
            // What the model holds at the moment the popup is asked for.
            onTaskDetailRequested: detailRequests.push(sidebar.viewModel.hasSelectedTask ? sidebar.viewModel.selectedTask.id : -1)
        }
    }
    Component {
        id: cardComponent
        CurrentWorkCard { width: 316 }
    }
    Component {
        id: progressComponent
        TotalProgressCard { width: 316 }
    }
    Component {
        id: boardComponent
        PlanningBoard { width: 348 }
    }

    function planPath() { return helpers.containerPath + "/ZAVE/project/Task.json" }

    function initTestCase() {
        AppGroupMonitorService.startTaskDashboardMonitoring()
    }
    function init() {
        failOnWarning(/.*/)
        helpers.setBoolDefault("hasLaunchedBefore", false)
    }
    function cleanup() {
        helpers.removePath(planPath())
        tryCompare(AppGroupMonitorService, "hasProject", false, helpers.waitDeadline)
    }

    function loadPlan(text) {
        verify(helpers.writeFile(planPath(), text))
        tryVerify(() => AppGroupMonitorService.hasProject
                  && JSON.stringify(AppGroupMonitorService.project.name) === JSON.stringify(JSON.parse(text).project.name), helpers.waitDeadline)
    }

    function makeSidebar(project) {
        const model = rig.createWorkViewModel()
        const sidebar = createTemporaryObject(sidebarComponent, testCase, { viewModel: model, project: project })
        verify(sidebar)
        return sidebar
    }

    function test_firstVisitOpensTheDashboardAndShowsTheEmptyCard() {
        loadPlan(Plans.threeMilestones())
        const sidebar = makeSidebar(AppGroupMonitorService.project)
        compare(sidebar.dashboardRequests, 1)
        verify(sidebar.viewModel.hasCurrentTask)
        compare(sidebar.card.cardState.viewState, CurrentWorkCardState.Empty)
        compare(sidebar.card.cardState.subtitle, "언제든 새로운 작업을 시작헤보세요")
        compare(sidebar.title, "습관 기록")
        tryCompare(sidebar, "isViewAppeared", true, helpers.waitDeadline)
        // The card's test action does nothing before work started.
        sidebar.card.startTest()
        compare(sidebar.detailRequests.length, 0)
        compare(sidebar.viewModel.hasSelectedTask, false)

        // Starting work: the card follows the current task from then on.
        sidebar.viewModel.startWork()
        verify(sidebar.viewModel.hasLaunchedBefore)
        compare(sidebar.card.cardState.viewState, CurrentWorkCardState.InProgress)
        compare(sidebar.card.cardState.subtitle, "작업 2입니다")
        loadPlan(Plans.plan("습관 기록 2", [Plans.milestone(1, "준비", "setupAndModeling",
                 [Plans.task(1, "completed", "checked"), Plans.task(2, "onHold", "ready")])]))
        compare(sidebar.card.cardState.viewState, CurrentWorkCardState.TestReady)
        sidebar.card.startTest()
        compare(sidebar.detailRequests, [2])
        // Later visits do not open the dashboard by themselves.
        const again = makeSidebar(AppGroupMonitorService.project)
        compare(again.dashboardRequests, 0)
    }

    function test_theTaskIsSelectedBeforeThePopupIsAskedFor() {
        const project = rig.decodeProject(Plans.threeMilestones())
        const sidebar = makeSidebar(project)
        sidebar.viewModel.selectedTask = project.milestones[0].tasks[0]
        tryCompare(sidebar, "isViewAppeared", true, helpers.waitDeadline)
        const board = sidebar.board
        mouseClick(board.tabs.itemAt(2))
        compare(board.selectedMilestoneId, 3)
        const card = board.taskCards.itemAt(0)
        verify(card)
        tryVerify(() => card.opacity > 0.99 && sidebar.board.parent.opacity > 0.99, helpers.waitDeadline)
        mouseClick(card)
        compare(sidebar.detailRequests, [3])
        compare(sidebar.viewModel.selectedTask.title, "Task 3")
    }

    function test_reloadKeepsSelectionAndCardAnimation() {
        helpers.setBoolDefault("hasLaunchedBefore", true)
        loadPlan(Plans.threeMilestones())
        const sidebar = makeSidebar(AppGroupMonitorService.project)
        const card = sidebar.card
        compare(card.cardState.viewState, CurrentWorkCardState.Planned) // shown as planned until work restarts
        sidebar.viewModel.startWork()
        compare(card.cardState.viewState, CurrentWorkCardState.InProgress)
        const form = card.form
        const icon = findChild(form, "cardIcon")
        verify(icon)
        tryVerify(() => icon.rotation > 1, helpers.waitDeadline)
        mouseClick(sidebar.board.tabs.itemAt(2))
        compare(sidebar.board.selectedMilestoneId, 3)
        const tabs = sidebar.board.tabs.count

        // The plan is rewritten: names and summaries change, the states do not.
        const reloaded = JSON.parse(Plans.threeMilestones("습관 기록 (새로)"))
        reloaded.project.milestones[0].tasks[1].summary_ux = "바뀐 요약"
        loadPlan(JSON.stringify(reloaded))
        sidebar.project = AppGroupMonitorService.project
        compare(sidebar.title, "습관 기록 (새로)")
        compare(sidebar.board.selectedMilestoneId, 3)
        compare(sidebar.board.tabs.count, tabs)
        verify(card.form === form, "the card was rebuilt")
        verify(icon.rotation > 0 || icon.isRotating)
        compare(icon.isRotating, true)
    }

    function test_boardSelection_data() {
        return [
            { tag: "vanished id", plan: Plans.threeMilestones(), next: Plans.plan("P", [
                  Plans.milestone(7, "다른", "uiImplementation", [Plans.task(9, "planned", "pending")])]),
              before: 1, highlighted: [false], list: false },
            { tag: "duplicate ids", plan: Plans.plan("P", [
                  Plans.milestone(5, "앞", "setupAndModeling", [Plans.task(1, "planned", "pending")]),
                  Plans.milestone(5, "뒤", "uiImplementation", [Plans.task(2, "planned", "pending"), Plans.task(3, "planned", "pending")])]),
              next: "", before: 5, highlighted: [true, true], list: true, tasks: ["Task 1"] },
            { tag: "no milestones", plan: Plans.plan("P", []), next: "", before: 0, highlighted: [], list: false },
            { tag: "milestone without tasks", plan: Plans.plan("P", [Plans.milestone(4, "빈", "featureImplementation", [])]),
              next: "", before: 4, highlighted: [true], list: true, tasks: [] }
        ]
    }
    function test_boardSelection(data) {
        const board = createTemporaryObject(boardComponent, testCase, { project: rig.decodeProject(data.plan) })
        compare(board.selectedMilestoneId, data.before)
        if (data.next !== "")
            board.project = rig.decodeProject(data.next)
        compare(board.selectedMilestoneId, data.before, "a reload does not reset the selection")
        compare(board.tabs.count, data.highlighted.length)
        for (let i = 0; i < data.highlighted.length; ++i)
            compare(board.tabs.itemAt(i).isSelected, data.highlighted[i])
        const list = findChild(board, "taskList")
        const spacer = findChild(board, "emptySelection")
        compare(list.visible, data.list)
        compare(spacer.visible, !data.list)
        if (!data.list)
            compare(spacer.height, 100)
        if (data.tasks) {
            compare(board.taskCards.count, data.tasks.length)
            for (let t = 0; t < data.tasks.length; ++t)
                compare(board.taskCards.itemAt(t).taskItem.title, data.tasks[t])
        }
    }

    function test_progressCard_data() {
        return [
            { tag: "0/0", plan: Plans.plan("P", []), percent: "0%", progress: 0, count: "전체 0개 태스크 중 0개를 완료했어요" },
            { tag: "1/3", plan: Plans.progressPlan(3, 1), percent: "33%", progress: 1 / 3, count: "전체 3개 태스크 중 1개를 완료했어요" },
            { tag: "2/3", plan: Plans.progressPlan(3, 2), percent: "66%", progress: 2 / 3, count: "전체 3개 태스크 중 2개를 완료했어요" },
            { tag: "29/50", plan: Plans.progressPlan(50, 29), percent: "57%", progress: 0.58, count: "전체 50개 태스크 중 29개를 완료했어요" },
            { tag: "all done", plan: Plans.progressPlan(4, 4), percent: "100%", progress: 1, count: "전체 4개 태스크 중 4개를 완료했어요" }
        ]
    }
    function test_progressCard(data) {
        const card = createTemporaryObject(progressComponent, testCase, { project: rig.decodeProject(data.plan) })
        compare(findChild(card, "percentage").text, data.percent)
        fuzzyCompare(findChild(card, "bar").progress, data.progress, 1e-9)
        compare(findChild(card, "count").text, data.count)
    }

    function test_everyCardStateHasTheSameHeight_data() {
        const planTask = (status, test) => rig.decodeProject(Plans.plan("P", [Plans.milestone(1, "M", "setupAndModeling",
                              [Plans.task(1, status, test, { modifiedFiles: undefined })])])).milestones[0].tasks[0]
        return [
            { tag: "empty", task: undefined, state: CurrentWorkCardState.Empty, strip: true },
            { tag: "planned", task: planTask("planned", "pending"), state: CurrentWorkCardState.Planned, strip: true },
            { tag: "inProgress", task: planTask("inProgress", "pending"), state: CurrentWorkCardState.InProgress, strip: false },
            { tag: "testReady", task: planTask("onHold", "ready"), state: CurrentWorkCardState.TestReady, strip: true },
            { tag: "testChecking", task: planTask("onHold", "checking"), state: CurrentWorkCardState.TestChecking, strip: false }
        ]
    }
    function test_everyCardStateHasTheSameHeight(data) {
        const card = createTemporaryObject(cardComponent, testCase, { task: data.task })
        compare(card.cardState.viewState, data.state)
        compare(card.height, 182)
        compare(card.form.objectName, data.strip ? "cardWithStrip" : "cardWithoutStrip")
        compare(findChild(card.form, "cardButton") !== null, data.strip)
    }

    function milestones(titles) {
        const types = ["setupAndModeling", "featureImplementation", "uiImplementation"]
        return Plans.plan("P", titles.map((t, i) => Plans.milestone(i + 1, t, types[i % 3], [Plans.task(i + 1, "planned", "pending")])))
    }
    function titleOf(tab) {
        return findChild(tab, "tabTitle")
    }

    // A tab whose title fits one line takes one line; the two-line height
    // is taken only when a title wraps, and the row is as tall as its
    // tallest tab, the others centred in it.
    function test_tabsTakeTheLinesTheirTitlesNeed_data() {
        return [
            { tag: "every title fits", titles: ["준비", "기능", "화면"], lines: [1, 1, 1] },
            { tag: "one title wraps", titles: ["준비", "기능 구현과 마무리 손질", "화면"], lines: [1, 2, 1] },
        ]
    }
    function test_tabsTakeTheLinesTheirTitlesNeed(data) {
        const board = createTemporaryObject(boardComponent, testCase, { project: rig.decodeProject(milestones(data.titles)) })
        compare(board.tabs.count, data.titles.length)
        const oneLine = Math.ceil(titleOf(board.tabs.itemAt(0)).font.pixelSize * 1.5)
        let tallest = 0
        for (let i = 0; i < data.titles.length; ++i) {
            const tab = board.tabs.itemAt(i)
            compare(tab.titleLines, data.lines[i], data.titles[i])
            compare(titleOf(tab).height, Math.ceil(data.lines[i] * titleOf(tab).font.pixelSize * 1.5))
            compare(titleOf(tab).lineCount, data.lines[i])
            tallest = Math.max(tallest, tab.height)
        }
        compare(board.tabStrip.height, tallest)
        for (let i = 0; i < data.titles.length; ++i) {
            const tab = board.tabs.itemAt(i)
            verify(Math.abs(tab.y + tab.height / 2 - board.tabStrip.height / 2) < 0.6, "centred")
        }
        if (data.lines.indexOf(2) < 0)
            verify(board.tabStrip.height < board.tabHeight(2), "no two-line height without a wrapping title")
    }

    // Any number of milestones: the tabs share the row down to a readable
    // width; past that they keep it, never overlap, and the row scrolls
    // sideways (a drag, a sideways wheel or the bar above). Only the tabs in
    // sight are made.
    function test_manyMilestonesScrollSideways_data() {
        return [
            { tag: "four share the row", count: 4, scrolls: false },
            { tag: "forty", count: 40, scrolls: true },
            { tag: "a thousand", count: 1000, scrolls: true },
        ]
    }
    function test_manyMilestonesScrollSideways(data) {
        const titles = []
        for (let i = 0; i < data.count; ++i)
            titles.push((i + 1) + "단계")
        const board = createTemporaryObject(boardComponent, testCase, { project: rig.decodeProject(milestones(titles)) })
        compare(board.tabsScroll, data.scrolls)
        compare(board.tabScrollBar.visible, data.scrolls)
        verify(board.tabWidth >= 64)
        verify(board.tabs.count <= Math.min(data.count, 8), "tabs made: " + board.tabs.count)
        for (let i = 1; i < board.tabs.count; ++i) {
            const a = board.tabs.itemAt(i - 1)
            const b = board.tabs.itemAt(i)
            verify(b.x >= a.x + a.width + 16 - 0.01, "no overlap")
        }
        if (!data.scrolls) {
            const last = board.tabs.itemAt(data.count - 1)
            verify(Math.abs(last.x + last.width - board.tabStrip.width) < 0.5, "the row's width is shared")
            return
        }
        // A sideways wheel turn moves the row; the last tab can be reached
        // and selected.
        mouseWheel(board.tabStrip, 50, 20, -240, 0)
        tryVerify(() => board.tabStrip.contentX > 0, helpers.waitDeadline)
        board.tabStrip.contentX = board.tabStrip.contentWidth - board.tabStrip.width
        tryVerify(() => {
            for (let i = 0; i < board.tabs.count; ++i)
                if (board.tabs.itemAt(i).milestone.id === data.count)
                    return true
            return false
        }, 5000)
        let last = null
        for (let i = 0; i < board.tabs.count; ++i)
            if (board.tabs.itemAt(i).milestone.id === data.count)
                last = board.tabs.itemAt(i)
        waitForRendering(board)
        mouseClick(last)
        compare(board.selectedMilestoneId, data.count)
        verify(board.tabs.count <= 8)
    }
}
