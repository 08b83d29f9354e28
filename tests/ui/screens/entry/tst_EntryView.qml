import QtQuick
import QtTest
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Entry

// The entry screen on a real model, preparing with the fake claude.
TestCase {
    id: testCase
    name: "EntryView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    Component {
        id: entryScreen
        EntryView {
            width: 1120
            height: 880
            viewModel: EntryViewModel {}
        }
    }

    // A model that counts a wait of 0.2 s as long.
    Component {
        id: impatientScreen
        EntryView {
            width: 1120
            height: 880
            viewModel: EntryViewModel {
                waitingNoticeDelay: 200
            }
        }
    }

    SignalSpy {
        id: submittedSpy
        signalName: "submitted"
    }

    function init() {
        failOnWarning(/.*/)
        helpers.setFakeClaudeMode("")
        submittedSpy.clear()
    }

    function cleanup() {
        // Lets a held preparation finish.
        helpers.setFakeClaudeMode("")
    }

    function makeScreen(component) {
        const view = createTemporaryObject(component || entryScreen, testCase)
        verify(view)
        submittedSpy.target = view
        return view
    }

    function form(view) {
        const names = ["idleForm", "preparingForm", "failedForm"]
        for (let i = 0; i < names.length; ++i) {
            if (findChild(view, names[i]))
                return names[i]
        }
        return ""
    }

    function waitReady(view) {
        tryVerify(() => view.viewModel.isReadyForInterview && !view.viewModel.isInitializing, helpers.waitDeadline)
    }

    function typeIdea(view, idea) {
        view.inputField.isTextFieldFocused = true
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        helpers.commit(view.inputField.editor, idea)
        compare(view.inputField.text, idea)
    }

    function test_returnWhilePreparingDoesNothing() {
        helpers.setFakeClaudeMode("hold")
        const view = makeScreen()
        view.inputField.text = "운동 기록 앱"
        tryVerify(() => view.viewModel.isInitializing, helpers.waitDeadline)
        compare(form(view), "preparingForm")
        verify(view.inputField.isDisabled)
        verify(!view.isSubmitOffered)
        verify(!view.inputField.sendButton.isEnabled)

        helpers.startCapturingOutput()
        // What the field's Return key does, whatever the state.
        view.inputField.submit()
        const output = helpers.stopCapturingOutput()
        compare(submittedSpy.count, 0)
        compare(output, "")
        verify(!view.viewModel.hasUserSubmitted)
        compare(view.inputField.text, "운동 기록 앱")

        helpers.setFakeClaudeMode("")
        waitReady(view)
        compare(form(view), "idleForm")
        verify(!view.inputField.isDisabled)
        verify(view.isSubmitOffered)
    }

    function test_readyReturnCallsBackWithTheExactText_data() {
        return [
            { tag: "plain", typed: "  A habit tracker ", composing: "", idea: "  A habit tracker " },
            { tag: "two lines", typed: "운동 기록\n매일 ", composing: "", idea: "운동 기록\n매일 " },
            { tag: "Korean still composing", typed: "운동 기록 ", composing: "앱", idea: "운동 기록 앱" },
        ]
    }

    function test_readyReturnCallsBackWithTheExactText(data) {
        const view = makeScreen()
        waitReady(view)
        typeIdea(view, data.typed)
        if (data.composing !== "") {
            helpers.compose(view.inputField.editor, data.composing)
            compare(view.inputField.text, data.typed)
        }
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Return)
        const output = helpers.stopCapturingOutput()
        compare(submittedSpy.count, 1)
        compare(submittedSpy.signalArguments[0][0], data.idea)
        compare(view.viewModel.userInitialInput, data.idea)
        verify(view.viewModel.hasUserSubmitted)
        compare(output, "false true " + data.idea + "\n")
        // The screen neither clears the field nor takes the focus away.
        compare(view.inputField.text, data.idea)
    }

    function test_theSendButtonSubmitsToo() {
        const view = makeScreen()
        waitReady(view)
        typeIdea(view, "버튼으로 보내기")
        verify(view.inputField.sendButton.isEnabled)
        mouseClick(view.inputField.sendButton)
        compare(submittedSpy.count, 1)
        compare(submittedSpy.signalArguments[0][0], "버튼으로 보내기")
    }

    function test_aBlankIdeaStaysOnTheEntryScreen_data() {
        return [ { tag: "empty", typed: "" }, { tag: "blanks and a new line", typed: "  \n " } ]
    }

    function test_aBlankIdeaStaysOnTheEntryScreen(data) {
        const view = makeScreen()
        waitReady(view)
        view.inputField.isTextFieldFocused = true
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        view.inputField.text = data.typed
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Return)
        const output = helpers.stopCapturingOutput()
        compare(submittedSpy.count, 0)
        compare(output, "")
        verify(!view.viewModel.hasUserSubmitted)
    }

    function test_retryAfterAFailureKeepsTheIdea() {
        helpers.setFakeClaudeMode("exit1")
        const view = makeScreen()
        tryVerify(() => view.viewModel.hasInitializationError, helpers.waitDeadline)
        tryVerify(() => !view.viewModel.isInitializing, helpers.waitDeadline)
        compare(form(view), "failedForm")
        compare(findChild(view, "initializationError").text, "Claude process terminated with exit code 1\nfake failure")
        compare(findChild(view, "initializationError").textFormat, Text.PlainText)
        verify(!view.inputField.isDisabled)
        verify(!view.isSubmitOffered)
        typeIdea(view, "실패해도 남는 아이디어")

        helpers.setFakeClaudeMode("hold")
        mouseClick(findChild(view, "retryButton"))
        // The failure is gone at once; the new preparation shows as it runs.
        verify(!view.viewModel.hasInitializationError)
        tryCompare(view.viewModel, "isInitializing", true, helpers.waitDeadline)
        compare(form(view), "preparingForm")
        compare(view.inputField.text, "실패해도 남는 아이디어")

        helpers.setFakeClaudeMode("")
        waitReady(view)
        compare(form(view), "idleForm")
        compare(view.inputField.text, "실패해도 남는 아이디어")
        keyClick(Qt.Key_Return)
        compare(submittedSpy.count, 1)
        compare(submittedSpy.signalArguments[0][0], "실패해도 남는 아이디어")
    }

    // Claude's own words follow the error's text on a line of their own,
    // as text: markup in them is not drawn.
    function test_theFailedFormShowsClaudesReasonAsText_data() {
        const exit1 = "Claude process terminated with exit code 1\n"
        return [
            { tag: "logged out", mode: "stdout-only", text: "",
              shown: exit1 + "Not logged in · Please run /login" },
            { tag: "markup in claude's words", mode: "stdout-only",
              text: "<b>Not</b> logged in &amp; <a href=\"https://example.test/\">login</a><br>",
              shown: exit1 + "<b>Not</b> logged in &amp; <a href=\"https://example.test/\">login</a><br>" },
            { tag: "both streams", mode: "exit1", text: "", shown: exit1 + "fake failure" },
        ]
    }

    function test_theFailedFormShowsClaudesReasonAsText(data) {
        helpers.setFakeClaudeMode(data.mode, data.text)
        const view = makeScreen()
        tryVerify(() => view.viewModel.hasInitializationError && !view.viewModel.isInitializing, helpers.waitDeadline)
        compare(form(view), "failedForm")
        const error = findChild(view, "initializationError")
        compare(error.text, data.shown)
        compare(error.textFormat, Text.PlainText)
        // The summary and the reason, each on a line of its own, inside the window.
        compare(error.lineCount, 2)
        const box = error.mapToItem(view, 0, 0, error.width, error.height)
        verify(box.x >= 0 && box.x + box.width <= view.width, "the error stays inside the window")
        verify(!findChild(view, "waitingNotice"))
    }

    // A long wait for the opening call is said in words under the spinner,
    // which give way to claude's reason when the call fails.
    function test_aLongWaitSaysWhatTheSpinnerWaitsFor() {
        helpers.setFakeClaudeMode("hold")
        const view = makeScreen(impatientScreen)
        tryVerify(() => view.viewModel.isInitializing, helpers.waitDeadline)
        compare(form(view), "preparingForm")
        const notice = findChild(view, "waitingNotice")
        verify(notice)
        tryVerify(() => notice.visible, helpers.waitDeadline)
        compare(notice.text, EntryRules.waitingNotice(true, true))
        verify(notice.text.indexOf("인터넷") >= 0)
        compare(notice.textFormat, Text.PlainText)
        compare(view.waitingNotice, notice.text)
        // Laid out under the spinner's row, in its two lines, inside the window.
        tryVerify(() => notice.y >= 24, helpers.waitDeadline, "the notice is under the spinner")
        compare(notice.lineCount, 2)
        const box = notice.mapToItem(view, 0, 0, notice.width, notice.height)
        verify(box.x >= 0 && box.x + box.width <= view.width, "the notice stays inside the window")

        helpers.setFakeClaudeMode("stdout-only", "API Error: Unable to connect to API (ConnectionRefused)")
        tryVerify(() => view.viewModel.hasInitializationError && !view.viewModel.isInitializing, helpers.waitDeadline)
        compare(form(view), "failedForm")
        compare(findChild(view, "initializationError").text,
                "Claude process terminated with exit code 1\nAPI Error: Unable to connect to API (ConnectionRefused)")
        compare(view.waitingNotice, "")
        verify(!view.viewModel.isWaitingLong)
    }

    // Every text of the title and the status row reads on the background at
    // 4.5:1 or more, as drawn once the row has risen in: the idle words, the
    // preparing words with the notice under the spinner, the failure's
    // heading and claude's reason under it.
    function test_theStatusRowReads_data() {
        return [
            { tag: "idle", mode: "", impatient: false, form: "idleForm", texts: ["entryTitle", "idleText"],
              reached: view => view.viewModel.isReadyForInterview && !view.viewModel.isInitializing },
            { tag: "preparing, long awaited", mode: "hold", impatient: true, form: "preparingForm",
              texts: ["preparingText", "waitingNotice"],
              reached: view => view.viewModel.isInitializing && view.waitingNotice !== "" },
            { tag: "failed", mode: "stdout-only", text: "API Error: Unable to connect to API (ConnectionRefused)",
              impatient: false, form: "failedForm", texts: ["failureHeading", "initializationError"],
              reached: view => view.viewModel.hasInitializationError && !view.viewModel.isInitializing },
        ]
    }

    function test_theStatusRowReads(data) {
        helpers.setFakeClaudeMode(data.mode, data.text || "")
        const view = makeScreen(data.impatient ? impatientScreen : entryScreen)
        tryVerify(() => data.reached(view), helpers.waitDeadline)
        compare(form(view), data.form)
        const drawnAlpha = item => {
            let alpha = item.color ? item.color.a : 1
            for (let p = item; p !== null; p = p.parent)
                alpha *= p.opacity
            return alpha
        }
        const row = findChild(view, data.form)
        tryVerify(() => drawnAlpha(row) === 1, helpers.waitDeadline, "the row has risen in")
        for (const name of data.texts) {
            const text = findChild(view, name)
            verify(text && text.visible, name)
            const color = Qt.rgba(text.color.r, text.color.g, text.color.b, drawnAlpha(text))
            const contrast = ViewRules.contrastRatio(color, Colors.background)
            verify(contrast >= 4.5, name + " at " + contrast.toFixed(2) + ":1")
        }
        if (data.form === "failedForm")
            compare(findChild(view, "failureHeading").text, "준비 실패")
    }

    // Answered in time: no notice.
    function test_aQuickAnswerNeedsNoNotice() {
        const view = makeScreen(impatientScreen)
        waitReady(view)
        compare(view.waitingNotice, "")
        verify(!findChild(view, "waitingNotice"))
    }

    function test_tappingTheBackgroundDropsTheFocus() {
        const view = makeScreen()
        view.inputField.isTextFieldFocused = true
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        mouseClick(view, 20, 20)
        verify(!view.inputField.isTextFieldFocused)
        verify(!view.inputField.editor.activeFocus)
        waitReady(view)
    }

    function test_thePartsRiseIntoView() {
        const view = makeScreen()
        verify(!view.isViewAppeared)
        tryCompare(view, "isViewAppeared", true, helpers.waitDeadline)
        waitReady(view)
    }

    function test_clickingTheFieldTakesTheFocus() {
        const view = makeScreen()
        waitReady(view)
        tryCompare(view, "isViewAppeared", true, helpers.waitDeadline)
        const field = view.inputField
        mouseClick(field, field.width / 2, field.height / 2)
        tryVerify(() => field.editor.activeFocus, helpers.waitDeadline)
        verify(field.isTextFieldFocused)
    }

    // The idea field has the keyboard as soon as it takes input, and again
    // after "다시 시도": typing right away goes into it.
    function test_theFieldHasTheKeyboardOnAppearanceAndAfterARetry() {
        helpers.setFakeClaudeMode("exit1")
        const view = makeScreen()
        tryVerify(() => view.viewModel.hasInitializationError && !view.viewModel.isInitializing, helpers.waitDeadline)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline, "the field has the keyboard after the failure too")
        keyClick(Qt.Key_A)
        compare(view.inputField.text, "a")

        helpers.setFakeClaudeMode("")
        mouseClick(findChild(view, "retryButton"))
        tryCompare(view.viewModel, "isInitializing", true)
        waitReady(view)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline, "the field has the keyboard after the retry")
        keyClick(Qt.Key_B)
        compare(view.inputField.text, "ab")
    }

    function test_theFieldHasTheKeyboardOnceReady() {
        const view = makeScreen()
        waitReady(view)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        keyClick(Qt.Key_C)
        compare(view.inputField.text, "c")
    }
}
