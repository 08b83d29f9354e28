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
        "board_0_milestones", "board_1_milestone", "board_4_milestones",
        "terminal_missingBanner", "terminal_grantedBanner"
    ]
    property int sceneWait: 2500
    property bool sceneReady: false
    property string expectedName: ""
    property int callsBefore: 0
    property bool wantsClaude: false
    property bool pendingSidebar: false
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
        pendingSidebar = false
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
        case "terminal_missingBanner":
            helpers.removeUserDefault("TerminalDirectoryBookmark")
            terminalScene(false)
            break
        case "terminal_grantedBanner":
            terminalScene(true)
            break
        }
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
            if (stage.item && !root.pendingSidebar && ++root.settleTicks > 25)
                root.sceneReady = true
        }
    }

    Component {
        id: sidebarStage
        Item {
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
                viewModel: stageItem.model
                Timer {
                    interval: 200
                    repeat: true
                    running: true
                    property bool sent: false
                    onTriggered: {
                        const calls = rig.interactiveCalls()
                        if (!sent && calls.length > root.callsBefore) {
                            sent = true
                            NativeTerminalService.sendCommand("이 폴더에 무엇이 있나요?")
                        }
                    }
                }
            }
        }
    }
}
