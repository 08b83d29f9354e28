import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Chat
import Orva.Screens.Chat.Testing

// The chat screen over a scripted chat model.
TestCase {
    id: testCase
    name: "ChatView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    Component {
        id: scriptedModel
        ScriptedChatViewModel {}
    }

    Component {
        id: chatScreen
        ChatView {
            width: 1120
            height: 880
        }
    }

    Component {
        id: messageRow
        ChatMessageRow {
            width: 790
        }
    }

    Component {
        id: loadingBubble
        ChatLoadingBubble {
            text: "Claude가 생각하는 중..."
        }
    }

    // Something else that takes the keyboard.
    TextInput {
        id: elsewhere
        width: 10
        height: 10
    }

    SignalSpy {
        id: documentsSpy
        signalName: "documentsRequested"
    }

    function init() {
        failOnWarning(/.*/)
        documentsSpy.clear()
    }

    function makeModel(turns) {
        const model = createTemporaryObject(scriptedModel, testCase)
        verify(model)
        for (let i = 0; i < (turns || []).length; ++i)
            model.addTurn(turns[i][0], turns[i][1])
        return model
    }

    function makeScreen(model) {
        const view = createTemporaryObject(chatScreen, testCase, { viewModel: model })
        verify(view)
        documentsSpy.target = view
        return view
    }

    function row(view, id) {
        return findChild(view, "turnRow" + id)
    }

    function test_appearingStartsMonitoringAndLeavingDropsTheHandler() {
        const model = makeModel([["User", "idea"]])
        let view = makeScreen(model)
        compare(model.monitoringStarts, 1)
        verify(model.monitorHasInterviewHandler())
        view.destroy()
        tryVerify(() => !model.monitorHasInterviewHandler(), helpers.waitDeadline)
        // Coming back starts it again.
        view = makeScreen(model)
        compare(model.monitoringStarts, 2)
        verify(model.monitorHasInterviewHandler())
    }

    function test_rowsAreRevealedInOrder() {
        const model = makeModel([["User", "운동 기록 앱"], ["Claude", "질문 1"], ["User", "답변"]])
        const order = []
        const view = makeScreen(model)
        view.revealer.revealed.connect(id => order.push(id))
        // The first row at once, the others one after another.
        compare(view.revealer.visibleIds, [1])
        verify(row(view, 1).isVisible)
        verify(!row(view, 3).isVisible)
        tryVerify(() => view.revealer.visibleIds.length === 3, helpers.waitDeadline)
        compare(order, [2, 3])
        for (let id = 1; id <= 3; ++id) {
            verify(row(view, id).isVisible)
            tryCompare(row(view, id), "opacity", 1, helpers.waitDeadline)
        }

        // Two turns at once show together after the wait.
        model.addTurn("Claude", "질문 2")
        model.addTurn("User", "답변 2")
        verify(!row(view, 4).isVisible)
        tryVerify(() => view.revealer.visibleIds.length === 5, helpers.waitDeadline)
        compare(order, [2, 3, 4, 5])
    }

    function test_theAIsRowsAreOnTheLeftThePersonsOnTheRight() {
        const model = makeModel([["User", "짧은 답"], ["Claude", "<b>굵게</b> 안 됨"], ["Mail", "x"]])
        const view = makeScreen(model)
        const column = row(view, 1).parent
        verify(column.width <= 790)
        compare(column.x, Math.round((view.width - column.width) / 2))

        const user = findChild(row(view, 1), "messageText")
        const userBubble = user.parent.parent
        verify(!findChild(row(view, 1), "aiLabel").visible)
        compare(userBubble.mapToItem(column, userBubble.width, 0).x, column.width)

        const ai = findChild(row(view, 2), "messageText")
        const aiBubble = ai.parent.parent
        verify(findChild(row(view, 2), "aiLabel").visible)
        compare(aiBubble.mapToItem(column, 0, 0).x, 0)
        // Markup in a reply is shown as typed.
        compare(ai.textFormat, Text.PlainText)
        compare(ai.text, "<b>굵게</b> 안 됨")

        verify(findChild(row(view, 3), "aiLabel").visible)
        verify(!findChild(row(view, 2), "exampleText").visible)
    }

    function test_aLongReplyWrapsWithinTheColumn() {
        const reply = "아주 긴 답변입니다. ".repeat(40)
        const model = makeModel([["Claude", reply]])
        const view = makeScreen(model)
        const text = findChild(row(view, 1), "messageText")
        const column = row(view, 1).parent
        verify(text.lineCount > 1)
        verify(text.parent.parent.width <= column.width)
    }

    function test_submitClearsTheFieldAndSendsTheTextAsTyped_data() {
        return [
            { tag: "word with blanks", typed: "  운동 기록  ", composing: "", sent: "  운동 기록  " },
            { tag: "blank", typed: "   ", composing: "", sent: "   " },
            { tag: "Korean still composing", typed: "매일 ", composing: "운동", sent: "매일 운동" },
        ]
    }

    function test_submitClearsTheFieldAndSendsTheTextAsTyped(data) {
        const model = makeModel([])
        const view = makeScreen(model)
        view.inputField.isTextFieldFocused = true
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        helpers.commit(view.inputField.editor, data.typed)
        if (data.composing !== "")
            helpers.compose(view.inputField.editor, data.composing)
        keyClick(Qt.Key_Return)
        compare(view.inputField.text, "")
        compare(model.sentAnswers, [data.sent])
    }

    function test_theFieldStaysUsableWhileAReplyIsAwaited() {
        const model = makeModel([["User", "idea"]])
        const view = makeScreen(model)
        model.setWaiting(true)
        verify(!view.inputField.isDisabled)
        verify(view.inputField.isSubmitEnabled)
        view.inputField.isTextFieldFocused = true
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        helpers.commit(view.inputField.editor, "다음 답")
        keyClick(Qt.Key_Return)
        compare(model.sentAnswers, ["다음 답"])
    }

    function test_bottomStates_data() {
        return [
            { tag: "interview running", completed: false, waiting: false, field: true, button: false },
            { tag: "running, reply awaited", completed: false, waiting: true, field: true, button: false },
            { tag: "completed, last reply awaited", completed: true, waiting: true, field: false, button: false },
            { tag: "completed", completed: true, waiting: false, field: false, button: true },
        ]
    }

    function test_bottomStates(data) {
        const model = makeModel([["User", "idea"], ["Claude", "질문"]])
        const view = makeScreen(model)
        model.setCompleted(data.completed)
        model.setWaiting(data.waiting)
        compare(view.showsInputField, data.field)
        compare(view.inputField.visible, data.field)
        compare(view.showsDocumentsButton, data.button)
        compare(view.documentsButton.visible, data.button)
        if (data.button) {
            mouseClick(view.documentsButton)
            compare(documentsSpy.count, 1)
        }
    }

    // When the interview completes, the document button takes the keyboard
    // from the answer field, with its ring; Return (or Space) presses it, and
    // Tab keeps it there, the screen's only control.
    function test_theDocumentButtonTakesTheKeyboard_data() {
        return [{ tag: "Return", key: Qt.Key_Return }, { tag: "Space", key: Qt.Key_Space }, { tag: "Enter", key: Qt.Key_Enter }]
    }
    function test_theDocumentButtonTakesTheKeyboard(data) {
        const model = makeModel([["User", "idea"], ["Claude", "질문"]])
        const view = makeScreen(model)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
        model.setWaiting(true)
        model.setCompleted(true)
        verify(!view.documentsButton.visible, "the last reply is still on its way")
        model.addTurn("Claude", "인터뷰가 끝났어요")
        model.setWaiting(false)
        tryVerify(() => view.documentsButton.activeFocus, helpers.waitDeadline, "the button has the keyboard")
        verify(view.documentsButton.focusRing.visible, "its ring shows")
        keyClick(Qt.Key_Tab)
        verify(view.documentsButton.activeFocus, "Tab keeps it on the only control")
        compare(documentsSpy.count, 0)
        keyClick(data.key)
        compare(documentsSpy.count, 1)
    }

    function test_theThinkingBubbleFollowsTheWait() {
        const model = makeModel([["User", "idea"]])
        const view = makeScreen(model)
        verify(!view.loadingRow.visible)
        model.setWaiting(true)
        verify(view.loadingRow.isShown)
        tryVerify(() => view.loadingRow.visible, helpers.waitDeadline)
        tryCompare(view.loadingRow, "opacity", 1, helpers.waitDeadline)
        model.addTurn("Claude", "답")
        model.setWaiting(false)
        verify(!view.loadingRow.isShown)
        tryVerify(() => !view.loadingRow.visible, helpers.waitDeadline)
    }

    function test_theErrorRowShowsTheFailureUntilItIsCleared() {
        const model = makeModel([["User", "idea"]])
        const view = makeScreen(model)
        verify(!view.errorRow.visible)
        model.setError("Claude process is not running")
        verify(view.errorRow.visible)
        const text = findChild(view.errorRow, "errorText")
        compare(text.text, "Claude process is not running")
        compare(text.textFormat, Text.PlainText)
        compare(Qt.colorEqual(text.color, "#FF383C"), true)
        model.setError("")
        verify(!view.errorRow.visible)
    }

    function test_aNewTurnIsScrolledIntoView() {
        const model = makeModel([])
        for (let i = 1; i <= 12; ++i)
            model.addTurn(i % 2 ? "User" : "Claude", "줄 " + i + "\n둘째 줄\n셋째 줄")
        const view = makeScreen(model)
        tryVerify(() => view.scroller.contentHeight > view.scroller.height, helpers.waitDeadline)
        model.addTurn("User", "마지막 답")
        model.setWaiting(true)
        // The end of the column, thinking bubble included, comes into view.
        tryVerify(() => Math.abs(view.scroller.contentY - (view.scroller.contentHeight - view.scroller.height)) < 1, helpers.waitDeadline)
        // Its place in the column (it may still be sliding in).
        const bubble = view.loadingRow
        const bottom = bubble.parent.y + bubble.y + bubble.height - view.scroller.contentY
        verify(bottom <= view.scroller.height + 1)
        verify(bottom > view.scroller.height - 40)

        // Scrolled up by the person: a row growing below leaves the view
        // where they put it.
        tryVerify(() => !view.isScrolling, helpers.waitDeadline)
        view.scroller.contentY = 100
        verify(!view.followsEnd)
        const before = view.scroller.contentHeight
        model.setError("Claude process is not running")
        tryVerify(() => view.scroller.contentHeight > before, helpers.waitDeadline)
        compare(view.scroller.contentY, 100)
    }

    function test_bubbleVariants_data() {
        return [
            { tag: "person", isAI: false, example: false, highlighted: false,
              label: false, exampleShown: false, squareCorner: "bottomRight", top: 20 },
            { tag: "person with an example answer", isAI: false, example: true, highlighted: false,
              label: false, exampleShown: false, squareCorner: "bottomRight", top: 20 },
            { tag: "AI", isAI: true, example: false, highlighted: false,
              label: true, exampleShown: false, squareCorner: "bottomLeft", top: 16 },
            { tag: "AI with an example answer, highlighted", isAI: true, example: true, highlighted: true,
              label: true, exampleShown: true, squareCorner: "bottomLeft", top: 16 },
        ]
    }

    function test_bubbleVariants(data) {
        const row = createTemporaryObject(messageRow, testCase, {
            text: "", isAI: data.isAI, isHighlighted: data.highlighted,
            exampleAnswer: "매일 30분 달리기", hasExampleAnswer: data.example })
        verify(row)
        const bubble = row.bubble
        compare(findChild(bubble, "aiLabel").visible, data.label)
        const example = findChild(bubble, "exampleText")
        compare(example.visible, data.exampleShown)
        compare(example.text, "예시: 매일 30분 달리기")
        compare(example.textFormat, Text.PlainText)
        // An empty message still draws a bubble of padding.
        verify(bubble.height >= data.top + 20)
        const message = findChild(bubble, "messageText")
        const expectedY = data.top + (data.label ? findChild(bubble, "aiLabel").height + 6 : 0)
        tryVerify(() => Math.abs(message.mapToItem(bubble, 0, 0).y - expectedY) < 1, helpers.waitDeadline,
                  "message at " + message.mapToItem(bubble, 0, 0).y + ", expected " + expectedY)
        // The AI's bubble hugs the left edge, the person's the right.
        compare(bubble.x, data.isAI ? 0 : row.width - bubble.width)
        compare(bubble.bottomLeftRadius, data.squareCorner === "bottomLeft" ? 0 : 12)
        compare(bubble.bottomRightRadius, data.squareCorner === "bottomRight" ? 0 : 12)
        compare(bubble.borderShown, data.highlighted)
    }

    function test_theLoadingBubbleTurnsItsSpinner() {
        const bubble = createTemporaryObject(loadingBubble, testCase)
        verify(bubble)
        const spinner = findChild(bubble, "thinkingSpinner")
        verify(spinner)
        verify(spinner.visible)
        verify(Qt.colorEqual(spinner.color, "white"))
        verify(bubble.width > spinner.width)
    }

    // Typing right after the screen comes goes into the field, and so does
    // typing after each reply, wherever the keyboard was meanwhile.
    function test_theFieldHasTheKeyboardOnAppearanceAndAfterEachReply() {
        const model = makeModel([["User", "운동 기록 앱"]])
        model.setWaiting(true)
        const view = makeScreen(model)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline, "the field has the keyboard when the screen appears")
        keyClick(Qt.Key_A)
        compare(view.inputField.text, "a")
        view.inputField.text = ""

        elsewhere.forceActiveFocus()
        verify(!view.inputField.editor.activeFocus)
        model.addTurn("Claude", "질문 1")
        model.setWaiting(false)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline, "the field has the keyboard after the reply")
        keyClick(Qt.Key_B)
        compare(view.inputField.text, "b")

        // A failed send ends the wait too.
        model.setWaiting(true)
        elsewhere.forceActiveFocus()
        model.setError("Claude process is not running")
        model.setWaiting(false)
        tryVerify(() => view.inputField.editor.activeFocus, helpers.waitDeadline)
    }

    // An answer typed while a reply is awaited shows as its bubble at once,
    // below the thinking bubble; when it is sent its turn takes its place
    // without a second entrance.
    function test_anAnswerGivenWhileAReplyIsAwaitedShowsAtOnce() {
        const model = makeModel([["User", "운동 기록 앱"]])
        const view = makeScreen(model)
        model.setWaiting(true)
        tryVerify(() => view.inputField.editor.activeFocus)
        helpers.commit(view.inputField.editor, "혼자 쓰는 앱이에요")
        keyClick(Qt.Key_Return)
        compare(view.inputField.text, "")
        compare(model.sentAnswers, ["혼자 쓰는 앱이에요"])
        compare(view.waitingRows.count, 1)
        const waiting = view.waitingRows.itemAt(0)
        compare(findChild(waiting, "messageText").text, "혼자 쓰는 앱이에요")
        verify(!findChild(waiting, "aiLabel").visible)
        verify(waiting.visible)
        verify(waiting.y > view.loadingRow.y, "below the thinking bubble")
        tryVerify(() => Math.abs(view.scroller.contentY - Math.max(0, view.scroller.contentHeight - view.scroller.height)) < 1, helpers.waitDeadline)

        // The reply arrives, then the waiting answer is sent.
        model.addTurn("Claude", "질문 1")
        model.sendWaiting()
        compare(view.waitingRows.count, 0)
        const turn = row(view, 3)
        verify(turn.isVisible, "shown at once")
        compare(turn.opacity, 1)
        verify(view.revealer.instantIds.indexOf(3) >= 0)
        compare(findChild(turn, "messageText").text, "혼자 쓰는 앱이에요")
        verify(view.revealer.instantIds.indexOf(2) < 0, "the reply still rises in")
    }

    // A reply of megabytes or one unbroken line is laid out only so far,
    // with the mark where it is cut; the transcript keeps it whole.
    function test_aHugeReplyIsCutForDisplayWithAMark_data() {
        return [
            { tag: "1 MB of lines", text: "이 앱에서 가장 중요한 화면은 무엇인가요?\n".repeat(40000) },
            { tag: "one line of 200 KB", text: "abcdefghij".repeat(20480) },
        ]
    }
    function test_aHugeReplyIsCutForDisplayWithAMark(data) {
        const model = makeModel([["Claude", data.text], ["User", "짧은 답"]])
        const view = makeScreen(model)
        const message = findChild(row(view, 1), "messageText")
        verify(message.text.length <= 6000)
        verify(data.text.startsWith(message.text))
        const mark = findChild(row(view, 1), "cutMark")
        verify(mark.visible)
        verify(mark.text.startsWith("… 너무 길어 앞부분만 보여드려요 (전체 "), mark.text)
        tryVerify(() => row(view, 1).height < 8000, helpers.waitDeadline, "the bubble stays within bounds: " + row(view, 1).height)
        compare(model.chatHistories.get(0).answer.length, data.text.length)
        verify(!findChild(row(view, 2), "cutMark").visible)
    }

    // Lines scrolled out of the answer field show no part of themselves:
    // it shows whole lines and moves by whole lines.
    function test_theAnswerFieldShowsWholeLinesOnly() {
        const model = makeModel([])
        const view = makeScreen(model)
        tryVerify(() => view.inputField.editor.activeFocus)
        for (let i = 1; i <= 5; ++i) {
            helpers.commit(view.inputField.editor, "줄 " + i)
            if (i < 5)
                keyClick(Qt.Key_Return, Qt.ShiftModifier)
        }
        const scroller = findChild(view.inputField, "inputScroller")
        const line = scroller.lineHeight
        verify(line > 0)
        verify(Math.abs(scroller.height / line - Math.round(scroller.height / line)) < 0.01, "whole lines high")
        verify(scroller.height <= 48)
        verify(scroller.contentY > 0, "scrolled to the last line")
        verify(Math.abs(scroller.contentY / line - Math.round(scroller.contentY / line)) < 0.01,
               "the top edge on a line start: " + scroller.contentY)
        // The cursor's line is in view.
        const cursor = view.inputField.editor.cursorRectangle
        verify(cursor.y >= scroller.contentY - 0.5 && cursor.y + cursor.height <= scroller.contentY + scroller.height + 0.5)
        // A wheel turn comes to rest on a line.
        mouseWheel(scroller, 20, 10, 0, 40)
        tryVerify(() => !scroller.moving, helpers.waitDeadline)
        tryVerify(() => Math.abs(scroller.contentY / line - Math.round(scroller.contentY / line)) < 0.01, helpers.waitDeadline,
                  "at rest on a line start: " + scroller.contentY)
    }

    function test_theErrorRowShowsTheOutlinedTriangle() {
        const model = makeModel([["User", "idea"]])
        const view = makeScreen(model)
        model.setError("Claude process is not running")
        const icon = findChild(view.errorRow, "warningIcon")
        compare(icon.name, "exclamationmark.triangle")
    }
}
