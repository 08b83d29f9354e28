import QtQuick
import Orva.Workflow
import Orva.Screens.Guiding

// The project-guiding screen in each of its states, each picture taken once
// the state is reached and the entrance has settled. Scenes share the
// process's services, so their order matters: the first two run before any
// conversation is open (the generation fails at once); from the third on,
// the conversation is open and the fake's task-plan turn stays in its long
// pause (FAKE_CLAUDE_PLAN_STEP_DELAY), so the plan is still being written;
// the last two write a plan themselves.
Item {
    id: root
    width: 1120
    height: 880

    readonly property var scenes: ({
        "choose-folder-failed": {},
        "set-up-generation-failure": {folder: "/Projects/FocusTimer"},
        // The conversation is open, but claude cannot reach its service.
        "set-up-generation-failure-offline": {conversation: true, folder: "/Projects/FocusTimer",
            claudeMode: "stdout-only", claudeText: "API Error: Unable to connect to API (ConnectionRefused)"},
        "choose-folder-writing": {conversation: true},
        "set-up-no-verdict": {conversation: true, folder: "/Projects/FocusTimer"},
        // Scrolled halfway: both edges fade, the indicator's thumb midway.
        "set-up-scrolled-halfway": {conversation: true, folder: "/Projects/FocusTimer", scrollHalfway: true},
        "set-up-failure-box": {conversation: true, folder: "/Projects/FocusTimer", verify: true, scrollToEnd: true},
        // Checked through the screen's button: the column brings the box
        // into view by itself.
        "set-up-failure-box-brought-into-view": {conversation: true, folder: "/Projects/FocusTimer", verify: true,
            throughScreen: true},
        "set-up-success-box": {conversation: true, folder: "/Projects/HabitLog", project: "HabitLog", verify: true,
            scrollToEnd: true},
        "set-up-long-korean-path": {conversation: true, scrollToEnd: true,
            folder: "/사용자/문서/개발 프로젝트/2025년 겨울 학기 모바일 앱 개발 수업 최종 과제/나의 첫 번째 아이폰 앱 — 하루 습관 기록장 (최종 수정본)"},
        "choose-folder-written": {conversation: true, plan: true},
        "ready": {conversation: true, plan: true, folder: "/Projects/HabitLog", project: "HabitLog", verify: true}
    })
    property var sceneNames: ["choose-folder-failed", "set-up-generation-failure", "set-up-generation-failure-offline",
        "choose-folder-writing",
        "set-up-no-verdict", "set-up-scrolled-halfway", "set-up-failure-box", "set-up-failure-box-brought-into-view", "set-up-success-box", "set-up-long-korean-path",
        "choose-folder-written", "ready"]
    property int sceneWait: 300
    property bool sceneReady: reached && settled

    property var current: ({})
    property string currentName
    property bool reached: false
    property bool settled: false
    property bool folderRequested: false
    property bool verifyRequested: false
    property bool planWritten: false
    property ProjectGuidingView screen: null
    property EntryViewModel entry: null

    readonly property string folderPath: current.folder ? helpers.rootPath + current.folder : ""
    readonly property string planPath: helpers.containerPath + "/ZAVE/project/Task.json"
    readonly property string plan: "{\"project\":{\"id\":1,\"name\":\"HabitLog\",\"createdAt\":\"2025-01-01T00:00:00Z\","
        + "\"milestones\":[]}}"

    Component {
        id: screenComponent
        ProjectGuidingView {
            id: guiding
            width: root.width
            height: root.height
            viewModel: helpers.createProjectGuidingViewModel(guiding)
        }
    }
    Component {
        id: entryComponent
        EntryViewModel {}
    }

    function show(name) {
        poll.stop()
        settle.stop()
        if (screen)
            helpers.destroyNow(screen)
        screen = null
        currentName = name
        current = scenes[name]
        reached = false
        settled = false
        folderRequested = false
        verifyRequested = false
        planWritten = false
        helpers.setFakeClaudeMode("")
        // Each screen starts without a folder; the scene chooses its own.
        helpers.removeUserDefault("TerminalDirectoryBookmark")
        if (current.folder)
            helpers.makeFolder(folderPath)
        if (current.project)
            helpers.makeFolder(folderPath + "/" + current.project + ".xcodeproj")
        if (current.conversation && !entry) {
            entry = entryComponent.createObject(root)
            entry.startPreparation()
        }
        poll.start()
    }

    function reachedState() {
        const state = screen.viewState
        switch (currentName) {
        case "choose-folder-failed": return state.showsFolderCard && state.showsGenerationFailure
        case "set-up-generation-failure":
        case "set-up-generation-failure-offline": return state.showsGuideColumn && state.showsGenerationFailure
        case "choose-folder-writing": return state.showsFolderCard && state.showsIndicator
        case "set-up-no-verdict":
        case "set-up-scrolled-halfway":
        case "set-up-long-korean-path": return state.showsGuideColumn && state.showsIndicator
        case "set-up-failure-box":
        case "set-up-failure-box-brought-into-view": return state.showsGuideColumn && state.hasResultErrorMessage
        case "set-up-success-box": return state.showsGuideColumn && screen.viewModel.isProjectVerified
        case "choose-folder-written": return state.showsFolderCard && !state.showsIndicator
                                             && !state.showsGenerationFailure
        case "ready": return state.showsCompletion
        }
        return false
    }

    function findItem(item, name) {
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findItem(item.children[i], name)
            if (found)
                return found
        }
        return null
    }

    function step() {
        if (!screen) {
            if (current.conversation && !entry.isReadyForInterview)
                return
            if (current.claudeMode)
                helpers.setFakeClaudeMode(current.claudeMode, current.claudeText || "")
            screen = screenComponent.createObject(root)
            return
        }
        const model = screen.viewModel
        if (current.plan && !planWritten) {
            helpers.writeFile(planPath, plan)
            planWritten = true
        }
        if (current.plan && !AppGroupMonitorService.hasProject)
            return
        if (current.folder && model.directoryAccessService.selectedDirectory !== folderPath) {
            if (!folderRequested) {
                model.requestProjectDirectory()
                folderRequested = true
            } else if (helpers.isFolderPanelShowing()) {
                helpers.answerFolderPanel(folderPath)
            }
            return
        }
        if (current.verify && !verifyRequested) {
            if (current.throughScreen)
                screen.viewState.verify()
            else
                model.verifyProject()
            verifyRequested = true
            return
        }
        if (model.isVerifyingProject || !reachedState())
            return
        // The boxes and the path stand at the foot of the guide column.
        if (current.scrollToEnd) {
            const scroller = findItem(screen, "guideScroller")
            scroller.contentY = Math.max(0, scroller.contentHeight - scroller.height)
        }
        if (current.scrollHalfway) {
            const scroller = findItem(screen, "guideScroller")
            scroller.contentY = Math.max(0, (scroller.contentHeight - scroller.height) / 2)
        }
        poll.stop()
        reached = true
        settle.restart()
    }

    Timer {
        id: poll
        interval: 20
        repeat: true
        onTriggered: root.step()
    }
    // The entrance, the folder icon's stroke included, takes under four
    // seconds; a replay starts the wait again.
    Timer {
        id: settle
        interval: 4000
        onTriggered: root.settled = true
    }
    Connections {
        target: root.screen
        function onIsViewAppearedChanged() {
            if (settle.running)
                settle.restart()
        }
    }
}
