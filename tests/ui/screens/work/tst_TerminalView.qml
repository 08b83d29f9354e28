import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work

// The terminal panel with a real /bin/zsh in a pseudo-terminal and the fake
// `claude` first in PATH: where `claude` starts, what reaches it, the
// banners, a folder chosen through the banner, and the removal.
TestCase {
    id: testCase
    name: "TerminalView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    WorkTestRig { id: rig }

    Component {
        id: panelComponent
        TerminalView {
            width: 772
            height: 880
        }
    }

    function init() {
        failOnWarning(/.*/)
        // Each panel starts with no remembered folder.
        helpers.removeUserDefault("TerminalDirectoryBookmark")
    }

    // The interactive `claude` calls started since `before` calls were logged.
    function callsAfter(before) {
        return rig.interactiveCalls().slice(before)
    }
    function waitForClaude(before) {
        tryVerify(() => callsAfter(before).length > 0, 20000, "claude never started in the terminal")
        return callsAfter(before)[0]
    }
    function linesOf(pid) {
        const calls = rig.interactiveCalls()
        for (let i = 0; i < calls.length; ++i) {
            if (calls[i].pid === pid)
                return calls[i]
        }
        return null
    }
    function waitForNoChildren() {
        tryVerify(() => rig.childProcesses().length === 0, 15000, "a child is left: " + rig.childProcesses().join(", "))
    }

    function test_claudeStartsInTheChosenFolderAndReceivesCommands() {
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const folder = helpers.rootPath + "/Projects/My App"
        rig.chooseFolder(folder)
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        verify(panel.showsGrantedBanner)
        verify(findChild(panel, "grantedBanner").visible)
        verify(!findChild(panel, "missingBanner").visible)
        compare(findChild(panel, "folderPath").text, folder)

        const view = panel.wrapper.terminalView
        verify(view)
        compare(NativeTerminalService.hasDelegate, true)
        const call = waitForClaude(before)
        compare(call.cwd, folder)
        verify(NativeTerminalService.isProcessRunning)
        // Fitted to the panel after being made at 80 x 24.
        verify(view.cols !== 80 || view.rows !== 24)
        compare(view.width, 700)

        // A command typed through the channel reaches `claude`.
        tryVerify(() => view.isRunning, 5000)
        NativeTerminalService.sendCommand("지금 무엇을 하나요?")
        tryVerify(() => linesOf(call.pid).lines.indexOf("지금 무엇을 하나요?") >= 0, 20000, "the command never reached claude")

        // Removal: no child left, the channel cleared.
        panel.destroy()
        tryCompare(NativeTerminalService, "hasDelegate", false)
        compare(NativeTerminalService.isProcessRunning, false)
        waitForNoChildren()
    }

    function test_folderChosenThroughTheBannerRestartsTheTerminalThere() {
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        verify(!panel.showsGrantedBanner)
        verify(findChild(panel, "missingBanner").visible)
        const first = waitForClaude(before)
        const firstView = panel.wrapper.terminalView
        compare(panel.wrapper.startCount, 1)

        // Cancelled: nothing changes.
        mouseClick(findChild(panel, "chooseFolderButton"))
        tryCompare(rig, "panelShowing", true)
        rig.cancelPanel()
        verify(findChild(panel, "missingBanner").visible)
        compare(panel.wrapper.startCount, 1)

        const folder = helpers.rootPath + "/Chosen Folder"
        mouseClick(findChild(panel, "chooseFolderButton"))
        tryCompare(rig, "panelShowing", true)
        rig.answerPanel(folder)
        tryVerify(() => panel.showsGrantedBanner)
        compare(findChild(panel, "folderPath").text, folder)
        compare(panel.wrapper.startCount, 2)
        verify(panel.wrapper.terminalView !== firstView)
        tryVerify(() => callsAfter(before).length > 1, 20000, "claude was not started again")
        const second = callsAfter(before)[1]
        compare(second.cwd, folder)
        verify(first.cwd !== folder)
        tryVerify(() => !rig.isRunning(first.pid), 10000, "the first claude still runs")
        compare(NativeTerminalService.hasDelegate, true)
        tryVerify(() => NativeTerminalService.isProcessRunning)
        // The new terminal receives what the channel types.
        tryVerify(() => panel.wrapper.terminalView.isRunning, 5000)
        NativeTerminalService.sendCommand("폴더가 바뀌었나요?")
        tryVerify(() => linesOf(second.pid).lines.indexOf("폴더가 바뀌었나요?") >= 0, 20000)
        verify(linesOf(first.pid).lines.indexOf("폴더가 바뀌었나요?") < 0)
        panel.destroy()
        waitForNoChildren()
    }

    function test_aNewerPanelKeepsTheChannel() {
        const model = rig.createWorkViewModel()
        const older = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const newer = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        tryVerify(() => older.wrapper.terminalView.isRunning && newer.wrapper.terminalView.isRunning, 10000)
        helpers.destroyNow(older)
        compare(NativeTerminalService.hasDelegate, true)
        compare(NativeTerminalService.isProcessRunning, true)
        newer.destroy()
        tryCompare(NativeTerminalService, "hasDelegate", false)
        compare(NativeTerminalService.isProcessRunning, false)
        waitForNoChildren()
    }

    // A plan that cannot be read is said under the folder banner, as plain
    // text, with the reason; the last good plan stays; a readable plan
    // takes the words away.
    function test_aPlanThatCannotBeReadIsSaid() {
        const plan = helpers.containerPath + "/ZAVE/project/Task.json"
        AppGroupMonitorService.startTaskDashboardMonitoring()
        const good = JSON.stringify({ project: { id: 1, name: "읽힌 계획", createdAt: "x", milestones: [] } })
        helpers.writeFile(plan, good)
        tryVerify(() => AppGroupMonitorService.hasProject && AppGroupMonitorService.project.name === "읽힌 계획", 5000)
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const banner = findChild(panel, "planLoadBanner")
        verify(!banner.visible)
        compare(banner.height, 0)

        helpers.writeFile(plan, "{\"project\":{\"id\":1,\"name\":\"<b>깨진</b> 계획\"}}")
        tryVerify(() => banner.visible, 5000, "nothing was said")
        const text = findChild(banner, "planLoadMessage")
        compare(text.textFormat, Text.PlainText)
        compare(text.text, model.planLoadMessage)
        verify(text.text.startsWith("작업 계획(Task.json)을 읽을 수 없습니다. 올바른 작업 계획이 아닙니다: "))
        verify(text.text.endsWith("마지막으로 읽은 계획을 그대로 보여줍니다."))
        compare(AppGroupMonitorService.project.name, "읽힌 계획")
        verify(banner.height > 0)
        // The terminal moves down to make room, never under the words.
        verify(panel.wrapper.y >= banner.y + banner.height)

        helpers.writeFile(plan, good)
        tryVerify(() => !banner.visible, 5000)
        compare(model.planLoadMessage, "")
        panel.destroy()
        waitForNoChildren()
    }

    function test_accessWithoutAFolderShowsTheMissingBanner() {
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        // The shell runs; no folder is chosen, whatever the access flag says.
        verify(!panel.showsGrantedBanner)
        compare(panel.wrapper.folderPath, "")
        panel.destroy()
        waitForNoChildren()
    }
}
