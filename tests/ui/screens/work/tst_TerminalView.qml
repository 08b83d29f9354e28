import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// The terminal panel with a real /bin/zsh in a pseudo-terminal and the fake
// `claude` first in PATH: where `claude` starts, what reaches it, the
// banners, a folder chosen through the banner, the removal, and what is typed
// for `claude` once it is gone (never into the shell).
TestCase {
    id: testCase
    name: "TerminalView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    WorkTestRig { id: rig }

    Component {
        id: verdictComponent
        TaskDetailVerdict {}
    }

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
    function cleanup() {
        rig.setFakeClaudeStart("")
        helpers.removePath(zshrc())
        helpers.removePath(zshLinesLog())
    }

    readonly property string instructionLine: "    아래 경로의 명세서를 기반으로 개발을 진행하세요."
    readonly property string claudeCommand: "claude --dangerously-skip-permissions"
    readonly property string approval: "사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요."

    // The shell of the panels made from now on writes down every line its
    // line editor reads, before it runs it.
    function zshrc() { return helpers.rootPath + "/home/.zshrc" }
    function zshLinesLog() { return helpers.rootPath + "/zsh-lines.log" }
    function recordShellLines() {
        verify(helpers.writeFile(zshrc(), "zshaddhistory() { print -r -- \"${1%$'\\n'}\" >> '" + zshLinesLog() + "' }\n"))
    }
    function shellLines() {
        const text = helpers.readFile(zshLinesLog())
        return text === "" ? [] : text.replace(/\n$/, "").split("\n")
    }
    function countOf(list, line) {
        return list.filter(entry => entry === line).length
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

    // A plan that cannot be read is said under the folder banner, as plain
    // text, with the reason; the last good plan stays; a readable plan
    // takes the words away.
    function test_aPlanThatCannotBeReadIsSaid() {
        const plan = helpers.containerPath + "/ZAVE/project/Task.json"
        AppGroupMonitorService.startTaskDashboardMonitoring()
        const good = JSON.stringify({ project: { id: 1, name: "읽힌 계획", createdAt: "x", milestones: [] } })
        helpers.writeFile(plan, good)
        tryVerify(() => AppGroupMonitorService.hasProject && AppGroupMonitorService.project.name === "읽힌 계획", helpers.waitDeadline)
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const banner = findChild(panel, "planLoadBanner")
        verify(!banner.visible)
        compare(banner.height, 0)

        helpers.writeFile(plan, "{\"project\":{\"id\":1,\"name\":\"<b>깨진</b> 계획\"}}")
        tryVerify(() => banner.visible, helpers.waitDeadline, "nothing was said")
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
        tryVerify(() => !banner.visible, helpers.waitDeadline)
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

    // A fix request from a plan whose texts would run commands in a shell.
    function hostileFixRequest(markers) {
        const text = Plans.plan("위험한 계획", [Plans.milestone(1, "M", "setupAndModeling", [
            Plans.task(1, "onHold", "ready", {
                title: "\u007f\u007ftouch '" + markers + "/title' $(touch '" + markers + "/dollar')",
                detail: {
                    description_ux: { general: [], view: [], feature: [] },
                    modifiedFiles: ["a.swift; touch '" + markers + "/file'"],
                    checklist_ux: ["빌드된다\n; touch '" + markers + "/item'"]
                }
            })])])
        const verdict = createTemporaryObject(verdictComponent, testCase, { task: rig.decodeProject(text).milestones[0].tasks[0] })
        verify(verdict.hasTask)
        verdict.setFails(0, true)
        return verdict
    }

    function test_claudeGoneThenWorkApprovalAndFixReachOnlyANewClaude() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        recordShellLines()
        const markers = helpers.rootPath + "/markers"
        verify(helpers.makeFolder(markers))
        // `claude` stops at a first-run question whose default leaves.
        rig.setFakeClaudeStart("exit")
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gone = waitForClaude(before)
        tryVerify(() => linesOf(gone.pid).done, helpers.waitDeadline, "the first claude did not leave")
        rig.setFakeClaudeStart("")

        // Start of work, approval, fix request: held, nothing typed.
        const gate = panel.wrapper.claudeGate
        model.startWork()
        verify(gate.showsNotice)
        model.sendPrompt(approval)
        const verdict = hostileFixRequest(markers)
        const fix = verdict.promptToSend()
        verdict.submit(model)
        compare(gate.heldCount, 3)
        verify(!model.hasLaunchedBefore, "work has not started while nothing was typed")
        verify(findChild(panel, "claudeNotice").visible)
        compare(findChild(panel, "claudeNoticeText").text, "claude가 준비되는 대로 보낼게요.")

        // `claude` is started again and receives the instruction, the path,
        // then each text, in that order, once.
        tryVerify(() => callsAfter(before).length > 1, helpers.waitDeadline, "claude was not started again")
        const fresh = callsAfter(before)[1]
        const fixLines = fix.split("\n")
        tryVerify(() => linesOf(fresh.pid).lines.indexOf(fixLines[fixLines.length - 1]) >= 0, helpers.waitDeadline,
                  "the fix request never reached the new claude: " + linesOf(fresh.pid).lines.join("|"))
        const lines = linesOf(fresh.pid).lines
        compare(lines[0], instructionLine)
        compare(lines[1], "    " + model.promptFilePathText())
        compare(countOf(lines, instructionLine), 1)
        compare(countOf(lines, approval), 1)
        compare(countOf(lines, fixLines[0]), 1)
        verify(lines.indexOf(approval) > 1 && lines.indexOf(fixLines[0]) > lines.indexOf(approval), lines.join("|"))
        compare(gone.lines, [], "the claude that left read nothing")
        tryVerify(() => !gate.showsNotice && gate.heldCount === 0)
        verify(model.hasLaunchedBefore)
        verify(!findChild(panel, "claudeNotice").visible)

        // The shell read nothing but the `claude` command, twice; nothing ran.
        compare(shellLines(), [claudeCommand, claudeCommand])
        for (const name of ["title", "dollar", "file", "item"])
            verify(!helpers.exists(markers + "/" + name), name)
        panel.destroy()
        waitForNoChildren()
    }

    function test_folderChosenThroughTheBannerThenAnApprovalCarriesTheInstruction() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        waitForClaude(before)
        verify(!model.forceShowAsPlanned)

        mouseClick(findChild(panel, "chooseFolderButton"))
        tryCompare(rig, "panelShowing", true)
        rig.answerPanel(helpers.rootPath + "/Approval Folder")
        tryCompare(panel.wrapper, "startCount", 2)
        tryVerify(() => model.forceShowAsPlanned, helpers.waitDeadline, "the new claude has not read the guide")
        model.sendPrompt(approval)
        tryVerify(() => callsAfter(before).length > 1
                  && linesOf(callsAfter(before)[1].pid).lines.indexOf(approval) >= 0, 20000,
                  "the approval never reached the new claude")
        const lines = linesOf(callsAfter(before)[1].pid).lines
        compare(lines.slice(0, 3), [instructionLine, "    " + model.promptFilePathText(), approval])
        verify(!model.forceShowAsPlanned)
        panel.destroy()
        waitForNoChildren()
    }

    function test_claudeThatNeverComesUpIsReportedAndTriedAgain() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        recordShellLines()
        rig.setFakeClaudeStart("exit")
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        gate.deadlineMs = 3000
        const gone = waitForClaude(before)
        tryVerify(() => linesOf(gone.pid).done, helpers.waitDeadline)

        model.sendPrompt(approval)
        tryVerify(() => gate.isFailed, helpers.waitDeadline, "the gate never gave up")
        compare(gate.heldCount, 1)
        verify(findChild(panel, "claudeNotice").visible)
        compare(findChild(panel, "claudeNoticeText").text,
                "claude가 시작되지 않아 보내지 못했어요. 터미널을 확인하고 다시 시도해 주세요.")
        const retry = findChild(panel, "claudeRetryButton")
        verify(retry.visible)
        // Nothing sent: the shell read only the two start commands, no
        // `claude` read a line.
        compare(shellLines(), [claudeCommand, claudeCommand])
        for (const call of callsAfter(before))
            compare(call.lines, [])

        // "다시 시도" once `claude` can start: the approval reaches it, after the instruction.
        rig.setFakeClaudeStart("")
        mouseClick(retry)
        tryVerify(() => !gate.showsNotice, helpers.waitDeadline, "the retry did not deliver")
        const last = callsAfter(before)[callsAfter(before).length - 1]
        tryVerify(() => linesOf(last.pid).lines.indexOf(approval) >= 0, helpers.waitDeadline)
        compare(linesOf(last.pid).lines.slice(0, 3), [instructionLine, "    " + model.promptFilePathText(), approval])
        compare(shellLines(), [claudeCommand, claudeCommand, claudeCommand])
        panel.destroy()
        waitForNoChildren()
    }
}
