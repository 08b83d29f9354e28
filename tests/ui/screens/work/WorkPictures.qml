import QtQuick
import Orva.Design
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// The work screen's pieces in each of their states, at the window size.
Item {
    id: root
    width: 1120
    height: 880

    readonly property string longName: "아주 긴 프로젝트 이름이 들어가면 어떻게 보이는지 확인하는 습관 기록 앱 프로젝트"
    property var sceneNames: [
        "sidebar_firstVisit_longTitle", "sidebar_planned", "sidebar_inProgress", "sidebar_testReady",
        "sidebar_testChecking", "sidebar_emptyTitle", "cards_allStates",
        "board_0_milestones", "board_1_milestone", "board_4_milestones", "board_oneLineTitles",
        "board_40_milestones", "board_40_milestones_scrolled", "board_12_named_milestones", "board_1000_tasks",
        "terminal_missingBanner", "terminal_grantedBanner", "terminal_claudeWaiting", "terminal_claudeAsking",
        "terminal_claudeEnded", "terminal_planUnreadableAndAsking",
        "popup_fresh", "popup_allWorking", "popup_item0Failing", "popup_failingWithExplanation",
        "popup_emptyChecklist", "popup_longTexts", "popup_longTexts_scrolled", "popup_20000_items", "popup_20000_items_files",
        "screen_noProject", "screen_withProject", "screen_dashboard", "screen_dashboard_1000_tasks",
        "screen_dashboard_titles_of_a_million", "screen_popup_titles_of_a_million",
        "screen_taskPopup", "screen_completion",
        "screen_planUnreadable_lastGoodPlan", "screen_planUnreadable_noPlan"
    ]
    property int sceneWait: 2500
    property bool sceneReady: false
    property string expectedName: ""
    property int callsBefore: 0
    property bool wantsClaude: false
    // A terminal scene with the notice the panel shows once an approval waits
    // for `claude`: "waiting" (a slow start), "asking" (its trust question),
    // "ended" (its bypass warning declined).
    property string wantsNotice: ""
    property bool pendingSidebar: false
    // What is done to the sidebar once it stands: "scrollTabs" moves its
    // tab row to the end, "scrollTasks" its column down the task list.
    property string sidebarStep: ""
    // A popup scrolled once it is laid out: "end" to its end, "middle" to
    // the middle of its checklist, "files" down to its list of files.
    property string popupStep: ""
    // A work screen scene: built once the monitor holds `expectedName` (or
    // no plan at all when it is empty), then `screenStep` runs on it.
    property bool pendingScreen: false
    property string screenStep: ""
    property bool completionWritten: false
    property WorkViewModel preparedModel: null
    property int settleTicks: 0

    WorkTestRig { id: rig }

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }
    Loader {
        id: stage
        anchors.fill: parent
    }

    function planPath() { return helpers.containerPath + "/ZAVE/project/Task.json" }

    function inState(status, test, files) {
        const t = Plans.task(2, status, test)
        t.title_ux = "데이터 모델 만들기"
        t.detail.modifiedFiles = files || []
        return Plans.plan("습관 기록", [
            Plans.milestone(1, "프로젝트 준비", "setupAndModeling", [Plans.task(1, "completed", "checked"), t]),
            Plans.milestone(2, "기능 구현", "featureImplementation", [Plans.task(3, "planned", "pending")]),
            Plans.milestone(3, "화면 구현", "uiImplementation", [Plans.task(4, "planned", "pending")])
        ])
    }

    function fourMilestones() {
        return Plans.plan("네 단계", [
            Plans.milestone(1, "프로젝트 준비와 데이터 모델링", "setupAndModeling", [Plans.task(1, "completed", "checked"), Plans.task(2, "inProgress", "pending")]),
            Plans.milestone(2, "기능 구현", "featureImplementation", [Plans.task(3, "planned", "pending")]),
            Plans.milestone(3, "화면", "uiImplementation", [Plans.task(4, "planned", "pending")]),
            Plans.milestone(4, "마무리 손질과 출시 준비", "uiImplementation", [])
        ])
    }

    // Short titles: every tab takes one line.
    function oneLineTitles() {
        return Plans.plan("짧은 제목", [
            Plans.milestone(1, "준비", "setupAndModeling", [Plans.task(1, "completed", "checked"), Plans.task(2, "inProgress", "pending")]),
            Plans.milestone(2, "기능", "featureImplementation", [Plans.task(3, "planned", "pending")]),
            Plans.milestone(3, "화면", "uiImplementation", [Plans.task(4, "planned", "pending")])
        ])
    }

    // `count` milestones of one task each.
    function manyMilestones(count) {
        const types = ["setupAndModeling", "featureImplementation", "uiImplementation"]
        const milestones = []
        for (let i = 0; i < count; ++i)
            milestones.push(Plans.milestone(i + 1, (i + 1) + "단계 작업", types[i % 3],
                                            [Plans.task(i + 1, i < 3 ? "completed" : "planned", i < 3 ? "checked" : "pending")]))
        return Plans.plan("마흔 단계", milestones)
    }

    // Twelve milestones named as a plan names them: too long for their tabs.
    function namedMilestones() {
        const themes = ["프로젝트 준비", "데이터 모델", "습관 목록 화면", "습관 추가와 편집", "알림 설정",
                        "통계와 차트", "위젯", "iCloud 동기화", "설정 화면", "접근성", "다크 모드", "출시 준비"]
        const types = ["setupAndModeling", "featureImplementation", "uiImplementation"]
        const milestones = []
        for (let i = 0; i < themes.length; ++i)
            milestones.push(Plans.milestone(i + 1, "마일스톤 " + (i + 1) + ": " + themes[i], types[i % 3],
                                            [Plans.task(i + 1, i < 2 ? "completed" : "planned", i < 2 ? "checked" : "pending")]))
        return Plans.plan("열두 단계", milestones)
    }

    // `count` tasks in one milestone with long titles.
    function manyTasks(count, name) {
        const tasks = []
        const title = "아주 긴 작업 제목이 카드 한 줄에 다 들어가지 않을 때 끝이 줄임표로 잘리는지 확인하는 작업 ".repeat(20)
        for (let i = 0; i < count; ++i)
            tasks.push(Plans.task(i + 1, i < 2 ? "completed" : (i === 2 ? "inProgress" : "planned"),
                                  i < 2 ? "checked" : "pending", { title_ux: (i + 1) + ". " + title, summary_ux: title }))
        return Plans.plan(name, [Plans.milestone(1, "천 개의 작업", "setupAndModeling", tasks),
                                 Plans.milestone(2, "기능 구현", "featureImplementation", [Plans.task(count + 1, "planned", "pending")])])
    }

    // A name and titles of a million characters; the other texts of a
    // hundred thousand, so that the plan stays within the 8 MiB it is read up to.
    function millionCharacterTitles() {
        const huge = "긴 이름이 이어지는 very long plan ".repeat(38462)
        const shorter = "긴 이름이 이어지는 very long plan ".repeat(3846)
        const t = Plans.task(1, "onHold", "ready", { title_ux: huge, summary_ux: shorter, title: shorter })
        t.detail.description_ux.general = [shorter]
        t.detail.checklist_ux = ["Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다", shorter]
        return Plans.plan(huge, [Plans.milestone(1, huge, "setupAndModeling", [t, Plans.task(2, "planned", "pending",
                                                                                             { title_ux: shorter })])])
    }

    function sidebarScene(plan, launched, name) {
        helpers.setBoolDefault("hasLaunchedBefore", launched)
        helpers.removeUserDefault("TerminalDirectoryBookmark")
        expectedName = name
        helpers.writeFile(planPath(), plan)
        // The sidebar is made once the plan is loaded, as the work screen does.
        pendingSidebar = true
    }

    function show(name) {
        sceneReady = false
        wantsClaude = false
        wantsNotice = ""
        rig.setFakeClaudeStart("")
        rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "")
        helpers.removePath(helpers.rootPath + "/home/.fake-claude")
        pendingSidebar = false
        pendingScreen = false
        screenStep = ""
        sidebarStep = ""
        popupStep = ""
        completionWritten = false
        sceneWait = 300
        settleTicks = 0
        stage.sourceComponent = null
        AppGroupMonitorService.startTaskDashboardMonitoring()
        switch (name) {
        case "sidebar_firstVisit_longTitle":
            sidebarScene(Plans.plan(longName, JSON.parse(inState("inProgress", "pending")).project.milestones), false, longName)
            break
        case "sidebar_planned":
            sidebarScene(inState("planned", "pending"), true, "습관 기록")
            break
        case "sidebar_inProgress":
            sidebarScene(inState("inProgress", "pending", ["HabitStore.swift", "Habit.swift"]), true, "습관 기록")
            break
        case "sidebar_testReady":
            sidebarScene(inState("onHold", "ready"), true, "습관 기록")
            break
        case "sidebar_testChecking":
            sidebarScene(inState("onHold", "checking"), true, "습관 기록")
            break
        case "sidebar_emptyTitle":
            sidebarScene(Plans.plan("", JSON.parse(inState("planned", "pending")).project.milestones), true, "")
            break
        case "cards_allStates":
            stage.sourceComponent = cardsStage
            sceneReady = true
            break
        case "board_0_milestones":
            sidebarScene(Plans.plan("마일스톤 없음", []), true, "마일스톤 없음")
            break
        case "board_1_milestone":
            sidebarScene(Plans.plan("하나", [Plans.milestone(1, "프로젝트 준비", "setupAndModeling",
                [Plans.task(1, "completed", "checked"), Plans.task(2, "onHold", "ready"), Plans.task(3, "planned", "pending")])]), true, "하나")
            break
        case "board_4_milestones":
            sidebarScene(fourMilestones(), true, "네 단계")
            break
        case "board_oneLineTitles":
            sidebarScene(oneLineTitles(), true, "짧은 제목")
            break
        case "board_40_milestones":
            sidebarScene(manyMilestones(40), true, "마흔 단계")
            break
        case "board_40_milestones_scrolled":
            sidebarScene(manyMilestones(40), true, "마흔 단계")
            sidebarStep = "scrollTabs"
            break
        case "board_12_named_milestones":
            sidebarScene(namedMilestones(), true, "열두 단계")
            sidebarStep = "selectAndHoverLastTab"
            break
        case "board_1000_tasks":
            sidebarScene(manyTasks(1000, "천 개의 작업"), true, "천 개의 작업")
            sidebarStep = "scrollTasks"
            break
        case "terminal_missingBanner":
            helpers.removeUserDefault("TerminalDirectoryBookmark")
            terminalScene(false)
            break
        case "terminal_grantedBanner":
            terminalScene(true)
            break
        case "terminal_claudeWaiting":
            wantsNotice = "waiting"
            rig.setFakeClaudeStart("slow")
            terminalScene(true)
            break
        case "terminal_claudeAsking":
            wantsNotice = "asking"
            rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "trust")
            terminalScene(true)
            break
        case "terminal_claudeEnded":
            wantsNotice = "ended"
            rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "bypass")
            terminalScene(true)
            break
        case "terminal_planUnreadableAndAsking":
            wantsNotice = "asking"
            rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "trust")
            helpers.writeFile(planPath(), "{\"project\":{\"id\":1,\"name\":\"<b>깨진</b> 계획\"}}")
            terminalScene(true)
            break
        case "popup_fresh":
        case "popup_allWorking":
        case "popup_item0Failing":
        case "popup_failingWithExplanation":
        case "popup_emptyChecklist":
        case "popup_longTexts":
        case "popup_longTexts_scrolled":
        case "popup_20000_items":
        case "popup_20000_items_files":
            popupScene(name)
            break
        case "screen_noProject":
            helpers.removePath(planPath())
            screenScene("", "")
            break
        case "screen_withProject":
            screenScene(inState("inProgress", "pending", ["HabitStore.swift", "Habit.swift"]), "")
            break
        case "screen_dashboard":
            screenScene(inState("inProgress", "pending", ["HabitStore.swift"]), "dashboard")
            break
        case "screen_dashboard_1000_tasks":
            screenScene(manyTasks(1000, "천 개의 작업이 있는 계획"), "dashboard")
            break
        case "screen_dashboard_titles_of_a_million":
            screenScene(millionCharacterTitles(), "dashboard")
            break
        case "screen_popup_titles_of_a_million":
            screenScene(millionCharacterTitles(), "popup")
            break
        case "screen_taskPopup":
            screenScene(inState("onHold", "ready", ["HabitStore.swift", "Habit.swift"]), "popup")
            break
        case "screen_completion":
            screenScene(inState("onHold", "ready", ["HabitStore.swift"]), "complete")
            break
        case "screen_planUnreadable_lastGoodPlan":
            screenScene(inState("inProgress", "pending", ["HabitStore.swift"]), "unreadable")
            break
        case "screen_planUnreadable_noPlan":
            // A folder where the plan should be, before the screen is built.
            helpers.removePath(planPath())
            screenScene("", "unreadableAtStart")
            break
        }
    }

    function popupTask(kind) {
        const t = Plans.task(2, "onHold", "ready")
        t.title_ux = "습관 목록 화면 만들기"
        t.detail.description_ux = {
            general: ["매일 지킬 습관을 한눈에 볼 수 있는 첫 화면이에요."],
            view: ["습관마다 이름과 오늘 완료 여부가 보여요.", "아래로 당기면 목록이 새로 고쳐져요."],
            feature: ["습관을 눌러 오늘 완료로 표시할 수 있어요."]
        }
        t.detail.modifiedFiles = ["HabitListView.swift", "HabitRow.swift", "HabitStore.swift"]
        t.detail.checklist_ux = ["Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다",
                                 "첫 화면에 습관 목록이 보인다", "습관을 누르면 완료 표시가 바뀐다"]
        if (kind === "popup_emptyChecklist")
            t.detail.checklist_ux = []
        if (kind === "popup_20000_items" || kind === "popup_20000_items_files") {
            const files = []
            for (let f = 0; f < 300; ++f)
                files.push("Sources/Features/Feature" + (f + 1) + "/Feature" + (f + 1) + "View.swift")
            t.detail.modifiedFiles = files
            const items = []
            for (let c = 0; c < 20000; ++c)
                items.push(c === 0 ? "Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다" : (c + 1) + "번째 기능이 화면에서 동작한다")
            t.detail.checklist_ux = items
        }
        if (kind === "popup_longTexts" || kind === "popup_longTexts_scrolled") {
            const longLine = "아주 긴 설명이 들어가면 줄이 바뀌어 여러 줄로 보이는지, 잘리지 않는지 확인하기 위한 문장입니다."
            t.title_ux = "아주 긴 작업 제목이 들어가도 잘리지 않고 여러 줄로 보이는지 확인하는 작업"
            t.detail.description_ux.general = [longLine, longLine]
            t.detail.description_ux.view = [longLine]
            t.detail.modifiedFiles = ["Sources/Features/Habits/Presentation/HabitListViewController+DataSource.swift",
                                      "B.swift", "C.swift", "D.swift", "E.swift"]
            t.detail.checklist_ux = [longLine, longLine, longLine, longLine, longLine]
        }
        return rig.decodeProject(Plans.plan("P", [Plans.milestone(1, "M", "setupAndModeling", [t])])).milestones[0].tasks[0]
    }

    function popupScene(kind) {
        stage.sourceComponent = popupStage
        const popup = stage.item.popup
        popup.task = popupTask(kind)
        if (kind === "popup_allWorking")
            popup.verdict.isChecked = true
        if (kind === "popup_item0Failing") {
            popup.verdict.setWorks(1, true)
            popup.verdict.setFails(0, true)
        }
        if (kind === "popup_failingWithExplanation") {
            popup.verdict.setWorks(0, true)
            popup.verdict.setWorks(1, true)
            popup.verdict.setFails(2, true)
            popup.explanationField.text = "완료 표시를 눌러도 체크가 바뀌지 않아요.\nThread 1: Fatal error: Index out of range"
        }
        if (kind === "popup_longTexts_scrolled") {
            popup.verdict.setFails(2, true)
            popupStep = "end"
        }
        if (kind === "popup_20000_items")
            popupStep = "middle"
        if (kind === "popup_20000_items_files")
            popupStep = "files"
        sceneReady = popupStep === ""
    }

    function screenScene(plan, step) {
        helpers.setBoolDefault("hasLaunchedBefore", true)
        helpers.removeUserDefault("TerminalDirectoryBookmark")
        callsBefore = rig.interactiveCalls().length
        expectedName = plan === "" ? "" : JSON.parse(plan).project.name
        if (plan !== "")
            helpers.writeFile(planPath(), plan)
        screenStep = step
        pendingScreen = true
    }

    function completePlan() {
        const done = JSON.parse(inState("completed", "checked", ["HabitStore.swift"]))
        const tasks = done.project.milestones
        for (let m = 0; m < tasks.length; ++m)
            for (let t = 0; t < tasks[m].tasks.length; ++t) {
                tasks[m].tasks[t].status = "completed"
                tasks[m].tasks[t].testStatus = "checked"
            }
        return JSON.stringify(done)
    }

    function terminalScene(withFolder) {
        callsBefore = rig.interactiveCalls().length
        wantsClaude = true
        stage.sourceComponent = null
        stage.sourceComponent = withFolder ? terminalGrantedStage : terminalStage
    }

    Timer {
        interval: 100
        repeat: true
        running: true
        onTriggered: {
            if (root.sceneReady)
                return
            if (root.popupStep !== "") {
                const popup = stage.item.popup
                if (++root.settleTicks < 3)
                    return
                if (root.popupStep === "end")
                    popup.scroller.contentY = popup.scroller.originY + popup.scroller.contentHeight - popup.scroller.height
                else if (root.popupStep === "files")
                    popup.scroller.contentY = popup.scroller.originY + 420
                else
                    popup.scroller.positionViewAtIndex(9990, ListView.Beginning)
                root.popupStep = ""
                root.settleTicks = 0
                return
            }
            if (stage.item && stage.item.popup && ++root.settleTicks > 3) {
                root.sceneReady = true
                return
            }
            if (root.pendingScreen) {
                const planReady = root.expectedName === "" ? !AppGroupMonitorService.hasProject
                    : AppGroupMonitorService.hasProject && AppGroupMonitorService.project.name === root.expectedName
                if (!planReady)
                    return
                if (root.screenStep === "unreadableAtStart") {
                    if (!helpers.exists(root.planPath()))
                        helpers.makeFolder(root.planPath())
                    if (AppGroupMonitorService.taskFileErrorText === "")
                        return
                }
                root.pendingScreen = false
                // Work was started before this screen: the card shows its task
                // as it is, and nothing is typed into the new terminal.
                root.preparedModel = rig.createWorkViewModel(root)
                if (root.expectedName !== "")
                    root.preparedModel.startWork()
                stage.sourceComponent = screenStage
                const screen = stage.item
                if (root.screenStep === "dashboard")
                    screen.showDashboard = true
                if (root.screenStep === "popup") {
                    screen.viewModel.selectedTask = screen.viewModel.currentTask
                    screen.showTaskDetail = true
                    screen.taskPopup.verdict.setWorks(0, true)
                }
                return
            }
            if (stage.item && root.sceneNeedsScreen()) {
                const calls = rig.interactiveCalls()
                const claudeReady = calls.length > root.callsBefore
                if (!claudeReady)
                    return
                if (root.screenStep === "unreadable") {
                    // A plan `claude` broke while the screen stood.
                    if (!root.completionWritten) {
                        root.completionWritten = true
                        helpers.writeFile(root.planPath(), root.inState("finished", "pending", ["HabitStore.swift"]))
                    }
                    if (AppGroupMonitorService.taskFileErrorText === "")
                        return
                }
                if (root.screenStep === "complete") {
                    // The last task completes once the screen stands; the
                    // picture is taken while the confetti still flies.
                    if (!root.completionWritten) {
                        root.completionWritten = true
                        helpers.writeFile(root.planPath(), root.completePlan())
                    }
                    if (stage.item.completionPopup !== null && ++root.settleTicks > 6)
                        root.sceneReady = true
                    return
                }
                if (++root.settleTicks > 25)
                    root.sceneReady = true
                return
            }
            if (root.wantsNotice !== "") {
                const panel = stage.item ? stage.item.panel : null
                const gate = panel ? panel.wrapper.claudeGate : null
                let shown = gate !== null && gate.showsNotice
                if (shown && root.wantsNotice === "waiting")
                    shown = gate.isWaiting
                else if (shown && root.wantsNotice === "asking")
                    shown = gate.heldCount === 1 && rig.screenText(panel.wrapper.terminalView).indexOf("Yes, I trust this folder") >= 0
                else if (shown && root.wantsNotice === "ended")
                    shown = gate.actionText === "다시 시도"
                if (shown && ++root.settleTicks > 3)
                    root.sceneReady = true
                return
            }
            if (root.wantsClaude) {
                const calls = rig.interactiveCalls()
                if (calls.length > root.callsBefore && calls[calls.length - 1].lines.indexOf("이 폴더에 무엇이 있나요?") >= 0)
                    root.sceneReady = true
                return
            }
            if (root.pendingSidebar && AppGroupMonitorService.hasProject
                    && AppGroupMonitorService.project.name === root.expectedName) {
                root.pendingSidebar = false
                stage.sourceComponent = sidebarStage
            }
            // The sections rise in over about two seconds.
            if (stage.item && !root.pendingSidebar && ++root.settleTicks > 25) {
                const sidebar = stage.item.sidebar
                if (sidebar && root.sidebarStep === "scrollTabs") {
                    const strip = sidebar.board.tabStrip
                    strip.contentX = strip.contentWidth - strip.width
                    root.sidebarStep = ""
                    root.settleTicks = 20
                    return
                }
                if (sidebar && root.sidebarStep === "selectAndHoverLastTab") {
                    // The last tab selected, the pointer resting on the one before it.
                    const board = sidebar.board
                    board.tabStrip.contentX = board.tabStrip.contentWidth - board.tabStrip.width
                    board.selectedMilestoneId = 12
                    board.hoveredTab = findTab(board.tabStrip, 11)
                    root.sidebarStep = ""
                    root.settleTicks = 15
                    return
                }
                if (sidebar && root.sidebarStep === "scrollTasks") {
                    const scroller = findSidebarScroller(sidebar)
                    scroller.contentY = 500 * 120
                    root.sidebarStep = ""
                    root.settleTicks = 20
                    return
                }
                root.sceneReady = true
            }
        }
    }

    function findTab(item, id) {
        if (item.milestoneValue !== undefined && item.milestoneValue.id === id)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findTab(item.children[i], id)
            if (found)
                return found
        }
        return null
    }

    function findSidebarScroller(item) {
        for (let i = 0; i < item.children.length; ++i) {
            if (item.children[i].objectName === "sidebarScroller")
                return item.children[i]
        }
        return null
    }

    Component {
        id: sidebarStage
        Item {
            readonly property alias sidebar: sidebar
            SidebarView {
                id: sidebar
                width: LayoutMetrics.sidebarWidth
                height: parent.height
                project: AppGroupMonitorService.project
                viewModel: rig.createWorkViewModel(this)
                // Work started in this run: the card shows the task as it is.
                Component.onCompleted: if (sidebar.viewModel.hasLaunchedBefore) sidebar.viewModel.startWork()
            }
        }
    }

    function sceneNeedsScreen() {
        return stage.sourceComponent === screenStage
    }

    Component {
        id: screenStage
        WorkView {
            width: root.width
            height: root.height
            viewModel: root.preparedModel
        }
    }

    Component {
        id: popupStage
        Item {
            readonly property alias popup: popup
            TaskCardDetailPopup {
                id: popup
                anchors.fill: parent
                viewModel: rig.createWorkViewModel(this)
            }
        }
    }

    Component {
        id: cardsStage
        Grid {
            x: 24
            y: 24
            columns: 3
            spacing: 24
            Repeater {
                model: [
                    { status: "", test: "" },
                    { status: "planned", test: "pending" },
                    { status: "inProgress", test: "pending" },
                    { status: "onHold", test: "ready" },
                    { status: "onHold", test: "checking" },
                    { status: "inProgress", test: "ready" }
                ]
                delegate: CurrentWorkCard {
                    required property var modelData
                    width: 316
                    task: modelData.status === "" ? undefined
                        : rig.decodeProject(root.inState(modelData.status, modelData.test, ["HabitStore.swift"])).milestones[0].tasks[1]
                }
            }
        }
    }

    Component {
        id: terminalStage
        TerminalPictureStage { withFolder: false }
    }
    Component {
        id: terminalGrantedStage
        TerminalPictureStage { withFolder: true }
    }

    component TerminalPictureStage: Item {
        id: stageItem
        property bool withFolder: false
        property var model: null
        readonly property var panel: panelLoader.item
        Component.onCompleted: {
            stageItem.model = rig.createWorkViewModel(stageItem)
            if (stageItem.withFolder)
                rig.chooseFolder(helpers.rootPath + "/Projects/습관 기록")
            panelLoader.active = true
        }
        Loader {
            id: panelLoader
            active: false
            x: LayoutMetrics.sidebarWidth
            width: parent.width - LayoutMetrics.sidebarWidth
            height: parent.height
            sourceComponent: TerminalView {
                id: panel
                viewModel: stageItem.model
                Timer {
                    interval: 200
                    repeat: true
                    running: true
                    property bool sent: false
                    property bool declined: false
                    onTriggered: {
                        const calls = rig.interactiveCalls()
                        if (root.wantsNotice !== "") {
                            // An approval as soon as claude has started; for "ended", the
                            // person then says no to its warning (its default).
                            if (!sent && calls.length > root.callsBefore) {
                                sent = true
                                stageItem.model.sendPrompt("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.")
                            }
                            if (sent && !declined && root.wantsNotice === "ended"
                                    && rig.screenText(panel.wrapper.terminalView).indexOf("Bypass Permissions mode") >= 0) {
                                declined = true
                                panel.wrapper.terminalView.send("\r")
                            }
                            return
                        }
                        if (!sent && calls.length > root.callsBefore) {
                            sent = true
                            stageItem.model.sendPrompt("이 폴더에 무엇이 있나요?")
                        }
                    }
                }
            }
        }
    }
}
