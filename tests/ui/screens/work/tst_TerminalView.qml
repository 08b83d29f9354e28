import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// The terminal panel with a real /bin/zsh in a pseudo-terminal and the fake
// `claude` first in PATH (it plays the real one: raw a moment before it
// draws, its questions, its box): where `claude` starts, what reaches it, the
// banners, a folder chosen through the banner, the removal, its questions,
// and everything the gate does when claude is not at its ready box: nothing
// typed into the shell, another program or a question, ever.
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
        helpers.setBoolDefault("hasLaunchedBefore", false)
        // Each panel starts with no remembered folder.
        helpers.removeUserDefault("TerminalDirectoryBookmark")
    }
    function cleanup() {
        rig.setFakeClaudeStart("")
        rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "")
        helpers.removePath(zshrc())
        helpers.removePath(zshLinesLog())
        helpers.removePath(helpers.rootPath + "/home/.fake-claude")
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
    function messagesOf(pid) {
        const call = linesOf(pid)
        return call ? call.messages : []
    }
    function screenHolds(panel, text) {
        return rig.screenText(panel.wrapper.terminalView).indexOf(text) >= 0
    }
    // The fake's ready box: its prompt sign, a no-break space, nothing after.
    function waitForBox(panel) {
        tryVerify(() => rig.screenText(panel.wrapper.terminalView).split("\n").indexOf("\u276f\u00a0") >= 0
                  || rig.screenText(panel.wrapper.terminalView).split("\n").indexOf("\u276f") >= 0,
                  helpers.waitDeadline, "claude's box never showed: " + rig.screenText(panel.wrapper.terminalView))
    }
    // A question drawn by the claude just started: the shell's echo of its
    // command is gone from the screen (the fake draws it on a cleared one),
    // so a question left by an earlier claude does not count.
    function waitForFreshQuestion(panel, text) {
        tryVerify(() => screenHolds(panel, text) && !screenHolds(panel, claudeCommand), helpers.waitDeadline,
                  rig.screenText(panel.wrapper.terminalView))
    }
    // What the person types into the terminal.
    function type(panel, text) {
        panel.wrapper.terminalView.send(text)
    }
    // The person quits claude at its box and the shell's prompt is back.
    function quitClaude(panel, pid) {
        waitForBox(panel)
        type(panel, "/exit")
        tryVerify(() => screenHolds(panel, "/exit"), helpers.waitDeadline)
        type(panel, "\r")
        tryVerify(() => !rig.isRunning(pid), helpers.waitDeadline, "claude did not quit")
    }
    // A verdict on a task of its own (approvals of two tasks are two presses).
    function approvalOf(id) {
        const text = Plans.plan("승인", [Plans.milestone(1, "M", "setupAndModeling", [Plans.task(id, "onHold", "ready")])])
        return createTemporaryObject(verdictComponent, testCase, { task: rig.decodeProject(text).milestones[0].tasks[0] })
    }
    function instructionFor(model) {
        return instructionLine + "\n    " + model.promptFilePathText()
    }
    function waitForNoChildren() {
        tryVerify(() => rig.childProcesses().length === 0, helpers.waitDeadline, "a child is left: " + rig.childProcesses().join(", "))
    }

    function test_claudeStartsInTheChosenFolderAndReceivesWhatTheModelTypes() {
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

        // A prompt reaches claude's box as one message; the channel alone
        // types nothing (only the gate's inputs go).
        NativeTerminalService.sendCommand("채널만으로는 안 가요")
        model.sendPrompt("지금 무엇을 하나요?")
        tryVerify(() => messagesOf(call.pid).length === 1 && !panel.wrapper.claudeGate.showsNotice, helpers.waitDeadline)
        compare(messagesOf(call.pid), ["지금 무엇을 하나요?"])

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
        // The new terminal's claude gets the prompt, after the instruction (a new claude).
        model.sendPrompt("폴더가 바뀌었나요?")
        tryVerify(() => messagesOf(second.pid).length === 1, helpers.waitDeadline)
        compare(messagesOf(second.pid), [instructionFor(model) + "\n폴더가 바뀌었나요?"])
        compare(messagesOf(first.pid), [])
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
    // text, with the reason; the last good plan stays; a readable plan takes
    // the words away. The notices' strip never moves nor resizes the terminal.
    function test_aPlanThatCannotBeReadIsSaid() {
        const plan = helpers.containerPath + "/ZAVE/project/Task.json"
        AppGroupMonitorService.startTaskDashboardMonitoring()
        const good = JSON.stringify({ project: { id: 1, name: "읽힌 계획", createdAt: "x", milestones: [] } })
        helpers.writeFile(plan, good)
        tryVerify(() => AppGroupMonitorService.hasProject && AppGroupMonitorService.project.name === "읽힌 계획", helpers.waitDeadline)
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const banner = findChild(panel, "planLoadBanner")
        const strip = findChild(panel, "noticeStrip")
        verify(!banner.visible)
        tryVerify(() => panel.wrapper.terminalView.isRunning, helpers.waitDeadline)
        const top = panel.wrapper.y
        const rows = panel.wrapper.terminalView.rows
        verify(top >= strip.y + strip.height)

        helpers.writeFile(plan, "{\"project\":{\"id\":1,\"name\":\"<b>깨진</b> 계획\"}}")
        tryVerify(() => banner.visible, helpers.waitDeadline, "nothing was said")
        const text = findChild(banner, "planLoadMessage")
        compare(text.textFormat, Text.PlainText)
        compare(text.text, model.planLoadMessage)
        verify(text.text.startsWith("작업 계획(Task.json)을 읽을 수 없습니다. 올바른 작업 계획이 아닙니다: "))
        verify(text.text.endsWith("마지막으로 읽은 계획을 그대로 보여줍니다."))
        compare(AppGroupMonitorService.project.name, "읽힌 계획")
        verify(banner.height > 0 && banner.y + banner.height <= strip.height)
        compare(panel.wrapper.y, top)
        compare(panel.wrapper.terminalView.rows, rows)

        // A notice of the gate beside it: both in the strip, the terminal unmoved.
        model.startWork()
        const notice = findChild(panel, "claudeNotice")
        tryVerify(() => notice.visible || !panel.wrapper.claudeGate.showsNotice, helpers.waitDeadline)
        if (notice.visible)
            verify(notice.y + notice.height <= banner.y)
        compare(panel.wrapper.y, top)
        compare(panel.wrapper.terminalView.rows, rows)

        helpers.writeFile(plan, good)
        tryVerify(() => !banner.visible, helpers.waitDeadline)
        compare(model.planLoadMessage, "")
        compare(panel.wrapper.y, top)
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
    function hostileFixRequest(markers, id) {
        const text = Plans.plan("위험한 계획", [Plans.milestone(1, "M", "setupAndModeling", [
            Plans.task(id === undefined ? 1 : id, "onHold", "ready", {
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
    function markersMade(markers) {
        return ["title", "dollar", "file", "item"].filter(name => helpers.exists(markers + "/" + name))
    }

    // A new folder: the trust question, then the bypass warning, are the
    // person's. "시작하기" is held, said, the keyboard goes to the terminal;
    // once the person has answered, the instruction arrives once.
    function test_claudesQuestionsAreThePersons() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "trust bypass")
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        rig.chooseFolder(helpers.rootPath + "/Projects/New Folder")
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const call = waitForClaude(before)
        waitForFreshQuestion(panel, "Yes, I trust this folder")
        tryCompare(gate, "noticeText", "claude가 터미널에서 묻고 있어요. 터미널에서 답해 주세요.", helpers.waitDeadline)
        model.startWork()
        compare(gate.noticeText, "claude가 터미널에서 묻고 있어요. 터미널에서 답하면 기다리던 내용을 보낼게요.")
        verify(panel.wrapper.terminalView.activeFocus, "the keyboard went to the terminal")
        verify(findChild(panel, "claudeNoticeText").visible)
        compare(findChild(panel, "claudeNoticeText").textFormat, Text.PlainText)
        verify(!model.hasLaunchedBefore)

        type(panel, "\r")
        tryVerify(() => screenHolds(panel, "Bypass Permissions mode"), helpers.waitDeadline)
        compare(messagesOf(call.pid), [], "typed into a question")
        compare(gate.heldCount, 1)
        type(panel, "\x1b[B")
        tryVerify(() => screenHolds(panel, "❯ 2. Yes, I accept"), helpers.waitDeadline)
        type(panel, "\r")
        tryVerify(() => messagesOf(call.pid).length === 1, helpers.waitDeadline, "the instruction never came")
        compare(messagesOf(call.pid), [instructionFor(model)])
        tryVerify(() => !gate.showsNotice && gate.heldCount === 0, helpers.waitDeadline)
        verify(model.hasLaunchedBefore)
        panel.destroy()
        waitForNoChildren()
    }

    // The person says no at the warning (its default): claude ends, is not
    // started again on its own; "다시 시도" starts it once more.
    function test_aDeclinedQuestionEndsClaudeAndOffersATry() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        recordShellLines()
        rig.setEnvironment("FAKE_CLAUDE_QUESTIONS", "bypass")
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const first = waitForClaude(before)
        waitForFreshQuestion(panel, "Bypass Permissions mode")
        approvalOf(1).submit(model)
        type(panel, "\r")
        tryVerify(() => !rig.isRunning(first.pid), helpers.waitDeadline)
        tryCompare(gate, "noticeText", "claude가 종료되어 보내지 못했어요. 터미널을 확인한 뒤 '다시 시도'를 눌러 주세요.", helpers.waitDeadline)
        const button = findChild(panel, "claudeNoticeButton")
        verify(button.visible)
        compare(gate.actionText, "다시 시도")
        // The shell is back at its prompt and the gate has looked at it: no new claude.
        tryVerify(() => shellLines().length === 1, helpers.waitDeadline)
        compare(callsAfter(before).length, 1)

        mouseClick(button)
        tryVerify(() => callsAfter(before).length === 2, helpers.waitDeadline, "not started again")
        const second = callsAfter(before)[1]
        waitForFreshQuestion(panel, "Bypass Permissions mode")
        type(panel, "\x1b[B")
        tryVerify(() => screenHolds(panel, "❯ 2. Yes, I accept"), helpers.waitDeadline)
        type(panel, "\r")
        tryVerify(() => messagesOf(second.pid).length === 1, helpers.waitDeadline)
        compare(messagesOf(second.pid), [instructionFor(model) + "\n" + approval])
        compare(shellLines(), [claudeCommand, claudeCommand])
        panel.destroy()
        waitForNoChildren()
    }

    // Pressed before the first draw: nothing typed early (no text left in
    // the box), the instruction arrives whole once the box is drawn.
    function test_aSlowStartGetsTheInputOnceDrawn() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        rig.setFakeClaudeStart("slow")
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const call = waitForClaude(before)
        model.startWork()
        compare(gate.noticeText, "claude가 준비되는 대로 보낼게요.")
        verify(gate.isWaiting)
        tryVerify(() => messagesOf(call.pid).length === 1, helpers.waitDeadline)
        compare(messagesOf(call.pid), [instructionFor(model)])
        tryVerify(() => !gate.showsNotice, helpers.waitDeadline)
        panel.destroy()
        waitForNoChildren()
    }

    // claude quit by the person: an approval and then another task's approval
    // bring one new claude, which gets the instruction and both, in order.
    function test_afterExitTwoApprovalsOfTwoTasksReachOneNewClaude() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        recordShellLines()
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const first = waitForClaude(before)
        quitClaude(panel, first.pid)
        approvalOf(1).submit(model)
        approvalOf(2).submit(model)
        approvalOf(2).submit(model)
        compare(gate.heldCount, 2, "two tasks: two inputs; the same press again: not held twice")
        tryVerify(() => callsAfter(before).length === 2, helpers.waitDeadline)
        const second = callsAfter(before)[1]
        tryVerify(() => messagesOf(second.pid).length === 2, helpers.waitDeadline, JSON.stringify(messagesOf(second.pid)))
        compare(messagesOf(second.pid), [instructionFor(model) + "\n" + approval, approval])
        tryVerify(() => !gate.showsNotice && gate.heldCount === 0, helpers.waitDeadline)
        compare(shellLines(), [claudeCommand, claudeCommand])
        panel.destroy()
        waitForNoChildren()
    }

    // Another program in front (a shell, an interpreter, a pager the person
    // started): a hostile plan's fix request is held and said; none of its
    // markers is made. When the program ends, the person's keys went to it,
    // so the gate asks before it types the claude command.
    function test_aProgramOfThePersonsInFrontGetsNothing() {
        const programs = [
            { command: "bash --norc --noprofile -i", name: "bash", leave: "exit\r" },
            { command: "less " + helpers.rootPath + "/home/.zshrc", name: "less", leave: "q" }
        ]
        if (helpers.exists("/usr/bin/python3"))
            programs.push({ command: "/usr/bin/python3 -i", name: "python3", leave: "exit()\r" })
        let n = 0
        for (const program of programs) {
            helpers.setBoolDefault("hasLaunchedBefore", false)
            recordShellLines()
            const markers = helpers.rootPath + "/markers-" + program.name
            verify(helpers.makeFolder(markers))
            const before = rig.interactiveCalls().length
            const model = rig.createWorkViewModel()
            const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
            const gate = panel.wrapper.claudeGate
            const first = waitForClaude(before)
            quitClaude(panel, first.pid)
            type(panel, program.command + "\r")
            tryVerify(() => shellLines().indexOf(program.command) >= 0, helpers.waitDeadline)
            const verdict = hostileFixRequest(markers, ++n)
            verdict.submit(model)
            tryCompare(gate, "noticeText", "터미널에서 다른 프로그램(" + program.name
                       + ")이 실행 중이에요. 그 프로그램을 마치면 claude를 시작해서 보낼게요.", helpers.waitDeadline)
            compare(callsAfter(before).length, 1)
            type(panel, program.leave)
            tryCompare(gate, "actionText", "claude 시작", helpers.waitDeadline)
            compare(markersMade(markers), [], program.name)
            mouseClick(findChild(panel, "claudeNoticeButton"))
            tryVerify(() => callsAfter(before).length === 2, helpers.waitDeadline)
            tryVerify(() => messagesOf(callsAfter(before)[1].pid).length === 1, helpers.waitDeadline)
            compare(messagesOf(callsAfter(before)[1].pid), [instructionFor(model) + "\n" + verdict.promptToSend()])
            compare(markersMade(markers), [], program.name)
            panel.destroy()
            waitForNoChildren()
        }
    }

    // A half-typed line at the shell's prompt: the claude command is not
    // glued onto it; the person clears it and says so.
    function test_aHalfTypedLineIsThePersons() {
        recordShellLines()
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const first = waitForClaude(before)
        quitClaude(panel, first.pid)
        type(panel, "HALF")
        tryVerify(() => screenHolds(panel, "HALF"), helpers.waitDeadline)
        approvalOf(1).submit(model)
        tryCompare(gate, "actionText", "claude 시작", helpers.waitDeadline)
        compare(gate.noticeText, "터미널 입력줄에 입력하던 내용이 있을 수 있어요. 입력줄을 비운 뒤 'claude 시작'을 눌러 주세요.")
        compare(callsAfter(before).length, 1)
        type(panel, "\x15")
        mouseClick(findChild(panel, "claudeNoticeButton"))
        tryVerify(() => callsAfter(before).length === 2, helpers.waitDeadline)
        tryVerify(() => messagesOf(callsAfter(before)[1].pid).length === 1, helpers.waitDeadline)
        compare(shellLines(), [claudeCommand, claudeCommand])
        verify(!helpers.exists(helpers.rootPath + "/HALFclaude"))
        panel.destroy()
        waitForNoChildren()
    }

    // claude suspended with Ctrl+Z: brought back with fg, not doubled.
    function test_aSuspendedClaudeIsBroughtBack() {
        recordShellLines()
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const call = waitForClaude(before)
        waitForBox(panel)
        type(panel, "\x1a")
        tryVerify(() => rig.isStopped(call.pid), helpers.waitDeadline)
        approvalOf(1).submit(model)
        tryVerify(() => messagesOf(call.pid).length === 1, helpers.waitDeadline)
        compare(messagesOf(call.pid), [approval])
        compare(callsAfter(before).length, 1)
        compare(shellLines(), [claudeCommand, "fg"])
        tryVerify(() => !gate.showsNotice, helpers.waitDeadline)
        panel.destroy()
        waitForNoChildren()
    }

    // A claude that has drawn its box but reads nothing, killed with the text
    // typed for it unread: the shell runs none of it; the text waits for the
    // next claude, started once the person has cleared the shell's line.
    function test_whatAGoneClaudeLeftUnreadReachesNoShell() {
        helpers.setBoolDefault("hasLaunchedBefore", false)
        recordShellLines()
        const markers = helpers.rootPath + "/markers-unread"
        verify(helpers.makeFolder(markers))
        rig.setFakeClaudeStart("deaf")
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const deaf = waitForClaude(before)
        waitForBox(panel)
        rig.setFakeClaudeStart("")
        const verdict = hostileFixRequest(markers)
        verdict.submit(model)
        // Typed into its box, and left there unread.
        tryVerify(() => gate.heldCount === 0, helpers.waitDeadline, "never typed")
        verify(gate.showsNotice && gate.isWaiting, "not yet read: still said")
        rig.signalProcess(deaf.pid, "KILL")
        tryVerify(() => !rig.isRunning(deaf.pid), helpers.waitDeadline)
        // The fix request waits. Its text may sit on the shell's line, pasted
        // (so not run): the gate asks before it types the claude command.
        tryCompare(gate, "actionText", "claude 시작", helpers.waitDeadline)
        compare(gate.heldCount, 1)
        compare(markersMade(markers), [])
        type(panel, "\x03")
        mouseClick(findChild(panel, "claudeNoticeButton"))
        tryVerify(() => callsAfter(before).length === 2, helpers.waitDeadline, "claude not started again")
        const fresh = callsAfter(before)[1]
        tryVerify(() => messagesOf(fresh.pid).length === 1, helpers.waitDeadline)
        compare(messagesOf(fresh.pid), [instructionFor(model) + "\n" + verdict.promptToSend()])
        compare(shellLines(), [claudeCommand, claudeCommand])
        compare(markersMade(markers), [])
        panel.destroy()
        waitForNoChildren()
    }

    // The shell itself has ended: said, and started again in the same view
    // when the person asks; claude comes back in it and gets the approval.
    function test_anEndedShellIsStartedAgainInTheSameView() {
        const before = rig.interactiveCalls().length
        const model = rig.createWorkViewModel()
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const view = panel.wrapper.terminalView
        const first = waitForClaude(before)
        quitClaude(panel, first.pid)
        type(panel, "exit\r")
        tryVerify(() => !view.isRunning, helpers.waitDeadline)
        approvalOf(1).submit(model)
        tryCompare(gate, "actionText", "터미널 다시 시작", helpers.waitDeadline)
        compare(gate.noticeText, "터미널의 셸이 종료되었어요. 다시 시작하면 claude를 시작해서 보낼게요.")
        mouseClick(findChild(panel, "claudeNoticeButton"))
        tryVerify(() => view.isRunning, helpers.waitDeadline)
        compare(panel.wrapper.terminalView, view)
        verify(screenHolds(panel, "fake-claude: ready"), "the screen and scroll-back are kept")
        tryVerify(() => callsAfter(before).length === 2, helpers.waitDeadline)
        tryVerify(() => messagesOf(callsAfter(before)[1].pid).length === 1, helpers.waitDeadline)
        compare(messagesOf(callsAfter(before)[1].pid), [instructionFor(model) + "\n" + approval])
        panel.destroy()
        waitForNoChildren()
    }
}
