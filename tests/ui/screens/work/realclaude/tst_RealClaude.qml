import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "../PlanData.js" as Plans

// The terminal panel and its gate with the real claude CLI (installed into
// the build folder by ./test.sh), offline, in a scratch home: the questions
// of a new folder are the person's, and every prompt of the work screen
// arrives in claude's own transcript as one message, byte for byte.
TestCase {
    id: testCase
    name: "RealClaude"
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
    Component {
        id: verdictComponent
        TaskDetailVerdict {}
    }

    readonly property string approval: "사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요."
    readonly property string asking: "claude가 터미널에서 묻고 있어요. 터미널에서 답하면 기다리던 내용을 보낼게요."
    // claude may take its time to come up on a busy machine.
    readonly property int deadline: 2 * helpers.waitDeadline

    function init() {
        failOnWarning(/.*/)
        helpers.removeUserDefault("TerminalDirectoryBookmark")
    }

    function screenHolds(view, text) {
        return rig.screenText(view).indexOf(text) >= 0
    }
    // A verdict on a task of its own: a fix request of the first item, with
    // an explanation, or the approval.
    function verdictFor(id, title, explanation) {
        const text = Plans.plan("진짜 claude", [Plans.milestone(1, "M", "setupAndModeling", [
            Plans.task(id, "onHold", "ready", { title: title })])])
        const verdict = createTemporaryObject(verdictComponent, testCase, { task: rig.decodeProject(text).milestones[0].tasks[0] })
        if (explanation === undefined) {
            verdict.isChecked = true
        } else {
            verdict.setFails(1, true)
            verdict.additionalInput = explanation
        }
        return verdict
    }
    function waitForMessages(count, what) {
        tryVerify(() => rig.realClaudeMessages().length >= count, deadline,
                  what + " never reached claude: " + JSON.stringify(rig.realClaudeMessages()))
        compare(rig.realClaudeMessages().length, count, "more than one message")
    }

    function test_promptsReachTheRealClaudeOnlyAtItsReadyPrompt() {
        if (rig.useRealClaude() === "")
            skip("the claude CLI is not installed in the build folder (./test.sh installs it with npm): skipped")
        helpers.setBoolDefault("hasLaunchedBefore", false)
        const model = rig.createWorkViewModel()
        rig.chooseFolder(helpers.rootPath + "/Projects/Real App")
        const panel = createTemporaryObject(panelComponent, testCase, { viewModel: model })
        const gate = panel.wrapper.claudeGate
        const view = panel.wrapper.terminalView
        const guide = model.promptFilePathText()
        const instruction = "    아래 경로의 명세서를 기반으로 개발을 진행하세요.\n    " + guide

        // A new folder: the trust question. "시작하기" is held, nothing typed.
        tryVerify(() => screenHolds(view, "Yes, I trust this folder"), deadline, rig.screenText(view))
        model.startWork()
        tryCompare(gate, "noticeText", asking, deadline)
        verify(screenHolds(view, "Yes, I trust this folder"), "the question was answered for the person")
        compare(gate.heldCount, 1)
        compare(rig.realClaudeMessages(), [])

        // The person answers: trust, then the bypass warning ("Yes, I accept").
        view.send("\r")
        tryVerify(() => screenHolds(view, "Bypass Permissions mode"), deadline, rig.screenText(view))
        compare(gate.noticeText, asking)
        view.send("\x1b[B")
        tryVerify(() => screenHolds(view, "❯ 2. Yes, I accept"), deadline, rig.screenText(view))
        view.send("\r")
        waitForMessages(1, "the start of work")
        compare(rig.realClaudeMessages()[0], instruction)
        tryVerify(() => !gate.showsNotice && gate.heldCount === 0, deadline)
        verify(model.hasLaunchedBefore)

        // claude quit by the person: the approval brings a new claude and
        // reaches it after the instruction, as one message.
        tryVerify(() => screenHolds(view, "Please run /login"), deadline, rig.screenText(view))
        tryVerify(() => screenHolds(view, "bypass permissions on"), deadline)
        view.send("/exit")
        // The prompt sign is followed by a no-break space.
        tryVerify(() => screenHolds(view, "❯\u00a0/exit"), deadline, rig.screenText(view))
        view.send("\r")
        tryVerify(() => screenHolds(view, "claude --resume"), deadline, rig.screenText(view))
        verdictFor(1, "첫 작업").submit(model)
        waitForMessages(2, "the approval")
        compare(rig.realClaudeMessages()[1], instruction + "\n" + approval)

        // Every kind of prompt, byte for byte.
        const long4 = "설명 ".repeat(1024)
        const long12 = "긴 설명, with ASCII too. ".repeat(540)
        const kinds = [
            verdictFor(2, "한글 제목 👩‍👩‍👧 ZWJ", "첫 줄\n\n빈 줄 뒤의 줄 ✅"),
            verdictFor(3, "T".repeat(212), "짧은 설명"),
            verdictFor(4, "4 KB", long4),
            verdictFor(5, "12 KB", long12),
            verdictFor(6, "승인")
        ]
        let count = 2
        for (const verdict of kinds) {
            const prompt = verdict.promptToSend()
            verdict.submit(model)
            count += 1
            waitForMessages(count, "a prompt of " + prompt.length + " characters")
            const arrived = rig.realClaudeMessages()[count - 1]
            let first = 0
            while (first < prompt.length && arrived[first] === prompt[first])
                ++first
            compare(arrived, prompt, "they differ from character " + first + " of " + prompt.length + " ("
                    + arrived.length + " arrived): " + JSON.stringify(arrived.slice(Math.max(0, first - 10), first + 10))
                    + " for " + JSON.stringify(prompt.slice(Math.max(0, first - 10), first + 10)))
        }
        tryVerify(() => !gate.showsNotice, deadline)
        panel.destroy()
        tryVerify(() => rig.childProcesses().length === 0, deadline, rig.childProcesses().join(", "))
    }
}
