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
        tryVerify(() => callsAfter(before).length > 0, helpers.waitDeadline, "claude never started in the terminal")
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
        tryVerify(() => rig.childProcesses().length === 0, helpers.waitDeadline, "a child is left: " + rig.childProcesses().join(", "))
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
        tryVerify(() => view.isRunning, helpers.waitDeadline)
        NativeTerminalService.sendCommand("지금 무엇을 하나요?")
        tryVerify(() => linesOf(call.pid).lines.indexOf("지금 무엇을 하나요?") >= 0, helpers.waitDeadline, "the command never reached claude")

        // Removal: no child left, the channel cleared.
        panel.destroy()
        tryCompare(NativeTerminalService, "hasDelegate", false, helpers.waitDeadline)
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
        tryCompare(rig, "panelShowing", true, helpers.waitDeadline)
        rig.cancelPanel()
        verify(findChild(panel, "missingBanner").visible)
        compare(panel.wrapper.startCount, 1)

        const folder = helpers.rootPath + "/Chosen Folder"
        mouseClick(findChild(panel, "chooseFolderButton"))
        tryCompare(rig, "panelShowing", true, helpers.waitDeadline)
        rig.answerPanel(folder)
        tryVerify(() => panel.showsGrantedBanner, helpers.waitDeadline)
        compare(findChild(panel, "folderPath").text, folder)
        compare(panel.wrapper.startCount, 2)
        verify(panel.wrapper.terminalView !== firstView)
        tryVerify(() => callsAfter(before).length > 1, helpers.waitDeadline, "claude was not started again")
        const second = callsAfter(before)[1]
        compare(second.cwd, folder)
        verify(first.cwd !== folder)
        tryVerify(() => !rig.isRunning(first.pid), helpers.waitDeadline, "the first claude still runs")
        compare(NativeTerminalService.hasDelegate, true)
        tryVerify(() => NativeTerminalService.isProcessRunning, helpers.waitDeadline)
        // The new terminal receives what the channel types.
        tryVerify(() => panel.wrapper.terminalView.isRunning, helpers.waitDeadline)
        NativeTerminalService.sendCommand("폴더가 바뀌었나요?")
        tryVerify(() => linesOf(second.pid).lines.indexOf("폴더가 바뀌었나요?") >= 0, helpers.waitDeadline)
        verify(linesOf(first.pid).lines.indexOf("폴더가 바뀌었나요?") < 0)
        panel.destroy()
        waitForNoChildren()
    }

    function test_aNewerPanelKeepsTheChannel() {
        const model = rig.createWorkViewModel()
        const older = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const newer = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        tryVerify(() => older.wrapper.terminalView.isRunning && newer.wrapper.terminalView.isRunning, helpers.waitDeadline)
        helpers.destroyNow(older)
        compare(NativeTerminalService.hasDelegate, true)
        compare(NativeTerminalService.isProcessRunning, true)
        newer.destroy()
        tryCompare(NativeTerminalService, "hasDelegate", false, helpers.waitDeadline)
        compare(NativeTerminalService.isProcessRunning, false)
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
