import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Dashboard
import "Plans.js" as Plans

// The dashboard as its host shows it: 1020x800, with a model made from the
// monitor's plan when it opens; plans are written to the temporary workspace
// and reach the open dashboard through the shared monitor.
TestCase {
    id: testCase
    name: "DashboardView"
    when: windowShown
    width: 1020
    height: 800
    visible: true

    readonly property string planPath: helpers.containerPath + "/ZAVE/project/Task.json"

    Component {
        id: dashboardModel
        DashboardViewModel {}
    }

    Component {
        id: dashboard
        DashboardView {
            width: 1020
            height: 800
        }
    }

    // A host's backdrop under the dashboard: nothing may reach it.
    Component {
        id: hosted
        Item {
            id: host
            width: 1020
            height: 800
            property DashboardViewModel viewModel
            property alias view: view
            property int clicks: 0
            property int wheels: 0
            property int hovers: 0
            property int keys: 0
            Keys.onPressed: keys += 1
            MouseArea {
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.AllButtons
                onClicked: parent.clicks += 1
                onWheel: parent.wheels += 1
                onPositionChanged: parent.hovers += 1
            }
            DashboardView {
                id: view
                anchors.fill: parent
                viewModel: host.viewModel
            }
        }
    }

    Component {
        id: referenceMark
        CopiedMark {}
    }

    // Writes the plan and waits until the monitor has published it.
    function publish(text) {
        verify(helpers.writeFile(testCase.planPath, text))
        const createdAt = JSON.parse(text).project.createdAt
        tryVerify(() => AppGroupMonitorService.hasProject && AppGroupMonitorService.project.createdAt === createdAt,
                  helpers.waitDeadline, "the monitor publishes the plan")
    }

    function removePlan() {
        verify(helpers.removePath(testCase.planPath))
        tryVerify(() => !AppGroupMonitorService.hasProject, helpers.waitDeadline, "the monitor publishes no plan")
    }

    // Opens a dashboard as the work screen does: a new model holding the plan
    // of this moment (a value, not a binding to the monitor).
    function open(component) {
        const model = createTemporaryObject(dashboardModel, testCase, { previewProject: AppGroupMonitorService.project })
        verify(model)
        const object = createTemporaryObject(component || dashboard, testCase, { viewModel: model })
        verify(object)
        return object
    }

    function initTestCase() {
        AppGroupMonitorService.startTaskDashboardMonitoring()
    }

    function init() {
        failOnWarning(/.*/)
    }

    function test_openingEndsTheInitialLoadWithNoPopup() {
        publish(Plans.simple("앱", 5, 2))
        const view = open()
        verify(!view.viewModel.isInitialLoad)
        verify(!view.popupShown)
        compare(view.popup, null)
    }

    // The popup could never fire while the dashboard kept the plan it opened
    // with: it follows the published plans, and the popup is built anew.
    function test_aRisePublishedWhileOpenShowsThePopupBuiltAnewEachTime() {
        publish(Plans.simple("앱", 5, 2))
        const view = open()
        publish(Plans.simple("앱", 5, 3))
        tryCompare(view, "popupShown", true, helpers.waitDeadline)
        let popup = view.popup
        verify(popup)
        compare(popup.copyIcon.name, "doc.on.doc")
        mouseClick(popup.copyButton)
        compare(popup.copyIcon.name, "checkmark")
        compare(popup.copyIcon.color, Qt.color("#5e5ce6"))
        // The mark goes off by itself after its two seconds.
        tryCompare(popup.copyIcon, "name", "doc.on.doc", helpers.waitDeadline)
        mouseClick(popup.copyButton)
        compare(popup.copiedMark.copied, true)

        mouseClick(popup.closeButton)
        verify(!view.popupShown)
        compare(view.popup, null)

        publish(Plans.simple("앱", 5, 4))
        tryCompare(view, "popupShown", true, helpers.waitDeadline)
        popup = view.popup
        verify(popup)
        compare(popup.copiedMark.copied, false)
        compare(popup.copyIcon.name, "doc.on.doc")

        // A fall and the last task never show it.
        mouseClick(popup.closeButton)
        publish(Plans.simple("앱", 5, 3))
        publish(Plans.simple("앱", 5, 5))
        verify(!view.popupShown)
    }

    function test_closingThePopupWhileItsMarkShowsLeavesNoLateReset() {
        publish(Plans.simple("앱", 4, 1))
        const view = open()
        publish(Plans.simple("앱", 4, 2))
        tryCompare(view, "popupShown", true, helpers.waitDeadline)
        const popup = view.popup
        mouseClick(popup.copyButton)
        compare(popup.copiedMark.copied, true)
        // Copied after the popup's copy, so its reset comes after the
        // popup's would have.
        const reference = createTemporaryObject(referenceMark, testCase)
        reference.copy("reference")
        mouseClick(popup.closeButton)
        compare(view.popup, null)
        tryCompare(reference, "copied", false, helpers.waitDeadline)
    }

    function test_figures_data() {
        return [
            { tag: "no task", total: 0, completed: 0, percentage: "0", fraction: 0, count: "0/0" },
            { tag: "2 of 3", total: 3, completed: 2, percentage: "66", fraction: 2 / 3, count: "2/3" },
            { tag: "29 of 50", total: 50, completed: 29, percentage: "57", fraction: 29 / 50, count: "29/50" },
        ]
    }

    function test_figures(data) {
        publish(Plans.simple("앱", data.total, data.completed))
        const view = open()
        compare(view.header.percentageText.text, data.percentage)
        fuzzyCompare(view.header.progressBar.progress, data.fraction, 1e-9)
        compare(view.taskTotal.text, "총 " + data.total + "개의 작업")
        const section = view.milestoneList.columns.itemAt(0)
        compare(section.header.countText.text, data.count)
        const bar = section.progressBar
        fuzzyCompare(bar.fill.width, bar.track.width * data.fraction, 1e-6)
        compare(bar.track.width, 240 - 12)
    }

    function test_threeColumnsLaidOutExactlyWithTheCardsAtTheTop() {
        publish(Plans.plan("앱", [
            { title: "설정", tasks: Plans.tasks(2, 1) },
            { title: "기능", tasks: Plans.tasks(5, 0) },
            { title: "화면", tasks: Plans.tasks(1, 1) },
        ]))
        const view = open()
        const list = view.milestoneList
        verify(!list.scrolls)
        compare(list.columns.count, 3)
        compare(list.width, 1020 - 2 * 16)
        compare(list.row.width, 880)
        const first = list.columns.itemAt(0).mapToItem(view, 0, 0)
        compare(first.x, (1020 - 880) / 2)
        for (let i = 0; i < 3; ++i) {
            const column = list.columns.itemAt(i)
            compare(column.x, i * (288 + 8))
            compare(column.card.width, 288)
            compare(column.card.y, 0)
            compare(column.height, list.columns.itemAt(1).card.height)
        }
        // Each card as tall as its own content: one task, two, five.
        verify(list.columns.itemAt(2).card.height < list.columns.itemAt(0).card.height)
        verify(list.columns.itemAt(0).card.height < list.columns.itemAt(1).card.height)
        // Task cards as wide as their 240 column.
        const cards = list.columns.itemAt(1).taskList.cards
        compare(cards.count, 5)
        for (let i = 0; i < cards.count; ++i)
            compare(cards.itemAt(i).width, 240)
    }

    function test_fourColumnsScrollSidewaysAndLoseNoColumn() {
        publish(Plans.plan("앱", [
            { tasks: Plans.tasks(2, 1) }, { tasks: Plans.tasks(2, 0) },
            { tasks: Plans.tasks(6, 0) }, { title: "마지막", tasks: Plans.tasks(1, 0) },
        ]))
        const view = open()
        const list = view.milestoneList
        verify(list.scrolls)
        // An up-and-down wheel turn over the row still scrolls the page.
        verify(view.scrollArea.contentHeight > view.height)
        mouseWheel(list.strip, 400, 50, 0, -120)
        tryVerify(() => view.scrollArea.contentY > 0, helpers.waitDeadline)
        tryVerify(() => !view.scrollArea.moving, helpers.waitDeadline)
        compare(list.strip.contentX, 0)
        view.scrollArea.contentY = 0
        compare(list.strip.contentWidth, 4 * 288 + 3 * 8)
        // The first column starts at the leading edge, inside the dashboard.
        compare(list.columns.itemAt(0).mapToItem(view, 0, 0).x, 16)
        compare(list.strip.contentX, 0)

        // A sideways wheel turn moves the row; at its end the last column is
        // whole, inside the dashboard's padding.
        mouseWheel(list.strip, 400, 50, -120, 0)
        tryVerify(() => list.strip.contentX > 0, helpers.waitDeadline)
        tryVerify(() => !list.strip.moving, helpers.waitDeadline)
        list.strip.contentX = list.strip.contentWidth - list.strip.width
        const last = list.columns.itemAt(3)
        compare(last.mapToItem(view, last.width, 0).x, 1020 - 16)
        // A reload of the plan (claude rewrites it as it works) keeps the place.
        const end = list.strip.contentX
        publish(Plans.plan("앱", [
            { tasks: Plans.tasks(2, 1) }, { tasks: Plans.tasks(2, 0) },
            { tasks: Plans.tasks(6, 0) }, { title: "마지막 단계", tasks: Plans.tasks(1, 0) },
        ]))
        tryVerify(() => list.columns.itemAt(3) && list.columns.itemAt(3).header.titleText.text === "마지막 단계", helpers.waitDeadline)
        compare(list.strip.contentX, end)
        verify(!view.popupShown)

        // Dragging the bar below the row brings the first back.
        const bar = list.scrollBar
        verify(bar.mapToItem(view, 0, 0).y > view.headerBand.height)
        mousePress(bar, bar.width - 5, bar.height / 2)
        mouseMove(bar, 0, bar.height / 2)
        mouseRelease(bar, 0, bar.height / 2)
        compare(list.strip.contentX, 0)
    }

    function test_scrolledTheHeaderStaysPinnedAndAReloadKeepsThePlace() {
        publish(Plans.plan("긴 목록", [{ tasks: Plans.tasks(12, 3) }, { tasks: Plans.tasks(4, 1) }]))
        const view = open()
        const band = view.headerBand
        compare(band.y, 16 + 48)
        verify(view.scrollArea.contentHeight > view.height)

        // A vertical wheel turn over the columns scrolls the page.
        mouseWheel(view.milestoneList.columns.itemAt(0), 100, 100, 0, -360)
        tryVerify(() => view.scrollArea.contentY > 0, helpers.waitDeadline)
        tryVerify(() => !view.scrollArea.moving, helpers.waitDeadline)
        view.scrollArea.contentY = 400
        compare(band.y, 0)
        const top = band.mapToItem(view, 0, 0)
        compare(top.y, 0)
        // The list passes beneath the opaque band.
        verify(view.milestoneList.mapToItem(view, 0, 0).y < band.height)

        publish(Plans.plan("긴 목록", [{ tasks: Plans.tasks(12, 4) }, { tasks: Plans.tasks(4, 1) }]))
        tryCompare(view.header.percentageText, "text", "31", helpers.waitDeadline)
        compare(view.scrollArea.contentY, 400)
        compare(band.y, 0)
    }

    function test_theLoadingBranchWhileTheMonitorHasNoPlan() {
        publish(Plans.simple("앱", 3, 1))
        const view = open()
        verify(!view.loading.visible)
        verify(view.scrollArea.visible)
        removePlan()
        tryVerify(() => view.loading.visible, helpers.waitDeadline)
        verify(!view.scrollArea.visible)
        verify(!view.headerBand.visible)
        publish(Plans.simple("앱", 3, 2))
        tryVerify(() => !view.loading.visible, helpers.waitDeadline)
        compare(view.header.percentageText.text, "66")
        // Absent, then 2 of 3: the model remembered 1, so this is a rise.
        verify(view.popupShown)
    }

    function test_clicksWheelAndHoverInsideNeverReachTheHost_data() {
        return [ { tag: "with a plan", plan: true }, { tag: "loading", plan: false } ]
    }

    function test_clicksWheelAndHoverInsideNeverReachTheHost(data) {
        if (data.plan)
            publish(Plans.plan("앱", [{ tasks: Plans.tasks(3, 1) }, { tasks: Plans.tasks(2, 0) }]))
        else if (AppGroupMonitorService.hasProject)
            removePlan()
        const host = open(hosted)
        const points = [[5, 5], [510, 100], [510, 400], [1000, 780], [300, 300]]
        for (const p of points) {
            mouseClick(host.view, p[0], p[1])
            mouseClick(host.view, p[0], p[1], Qt.RightButton)
            mouseMove(host.view, p[0] + 1, p[1] + 1)
            mouseWheel(host.view, p[0], p[1], 0, -120)
            mouseWheel(host.view, p[0], p[1], 120, 0)
        }
        compare(host.clicks, 0)
        compare(host.wheels, 0)
        compare(host.hovers, 0)
        // Keys stay with the dashboard too (the terminal lies under it).
        host.view.forceActiveFocus()
        verify(host.view.activeFocus)
        for (const key of [Qt.Key_A, Qt.Key_Space, Qt.Key_Return, Qt.Key_Down])
            keyClick(key)
        compare(host.keys, 0)
    }

    // "Loading..." stands at the top of the scroll area, centred across it.
    function test_loadingStandsAtTheTopOfTheScrollArea() {
        if (AppGroupMonitorService.hasProject)
            removePlan()
        const view = open()
        verify(view.loading.visible)
        compare(view.loading.mapToItem(view, 0, 0).y, 0)
        verify(Math.abs(view.loading.x + view.loading.width / 2 - view.width / 2) <= 1)
    }

    // The completed-task popup: its bottom-left corner rounded 8 (the
    // others 12), and only its own area takes the wheel: around it the
    // dashboard still scrolls.
    function test_theCompletedTaskPopupTakesOnlyItsOwnArea() {
        publish(Plans.plan("긴 목록", [{ tasks: Plans.tasks(12, 3) }, { tasks: Plans.tasks(4, 1) }]))
        const view = open()
        publish(Plans.plan("긴 목록", [{ tasks: Plans.tasks(12, 4) }, { tasks: Plans.tasks(4, 1) }]))
        tryCompare(view, "popupShown", true)
        const popup = view.popup
        const fills = Array.from(popup.card.children).filter(c => c.bottomLeftRadius !== undefined)
        verify(fills.length >= 2)
        for (const fill of fills) {
            compare(fill.bottomLeftRadius, 8)
            compare(fill.topLeftRadius, 12)
            compare(fill.bottomRightRadius, 12)
        }

        // Over the card: nothing moves.
        const card = popup.card
        mouseWheel(card, card.width / 2, card.height / 2, 0, -360)
        verify(!view.scrollArea.moving)
        compare(view.scrollArea.contentY, 0)
        // Beside it: the dashboard scrolls.
        const below = card.mapToItem(view, 0, card.height)
        mouseWheel(view, 100, Math.min(view.height - 10, below.y + 20), 0, -360)
        tryVerify(() => view.scrollArea.contentY > 0, helpers.waitDeadline, "the dashboard scrolls around the popup")
        verify(view.popupShown)
    }
}
