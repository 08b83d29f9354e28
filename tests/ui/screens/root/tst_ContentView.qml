import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens

TestCase {
    id: testCase
    name: "ContentView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    Component {
        id: rootView
        ContentView {
            width: 1120
            height: 880
            viewModel: ContentViewModel {}
        }
    }

    function init() {
        failOnWarning(/.*/)
        helpers.removeUserDefault("hasSeenOnboarding")
    }

    function test_phaseShowsItsScreen() {
        const view = createTemporaryObject(rootView, testCase)
        verify(view)
        compare(view.viewModel.currentPhase, ViewPhase.Entry)
        compare(view.screen.objectName, "entryView")
        const firstEntry = view.screen
        const firstModel = view.screen.viewModel
        verify(firstModel)
        view.viewModel.navigateToProjectGuiding()
        compare(view.screen.objectName, "projectGuidingView")
        view.viewModel.navigateToDashboard()
        compare(view.screen.objectName, "workView")
        view.viewModel.startNewProject()
        compare(view.screen.objectName, "entryView")
        // Built anew on each visit, with a new model.
        verify(view.screen !== firstEntry)
        verify(view.screen.viewModel !== firstModel)
    }

    function test_overlayOnFirstShowAndClosedOnlyByItsFinish() {
        const view = createTemporaryObject(rootView, testCase)
        verify(view.viewModel.showOnboarding)
        verify(view.overlay)
        compare(view.overlay.objectName, "onboardingView")
        verify(!helpers.hasUserDefault("hasSeenOnboarding"))
        view.overlay.finished()
        verify(!view.viewModel.showOnboarding)
        tryCompare(view, "overlay", null, helpers.waitDeadline)
        verify(helpers.boolDefault("hasSeenOnboarding"))
        // Seen: a new window shows no overlay.
        const again = createTemporaryObject(rootView, testCase)
        verify(!again.viewModel.showOnboarding)
        compare(again.overlay, null)
    }

    function test_destroyingTheOverlayRecordsNothing() {
        const view = createTemporaryObject(rootView, testCase)
        verify(view.overlay)
        helpers.destroyNow(view)
        verify(!helpers.hasUserDefault("hasSeenOnboarding"))
        const again = createTemporaryObject(rootView, testCase)
        verify(again.viewModel.showOnboarding)
    }

    // The road from the idea to the first reply, on the real models with the
    // fake claude.
    function test_fromTheIdeaToTheFirstReply() {
        helpers.setBoolDefault("hasSeenOnboarding", true)
        const view = createTemporaryObject(rootView, testCase)
        verify(!view.overlay)
        const entry = view.screen
        compare(entry.objectName, "entryView")
        tryVerify(() => entry.viewModel.isReadyForInterview && !entry.viewModel.isInitializing, helpers.waitDeadline)

        entry.inputField.isTextFieldFocused = true
        tryVerify(() => entry.inputField.editor.activeFocus, helpers.waitDeadline)
        helpers.commit(entry.inputField.editor, "매일 운동을 기록하는 앱")
        keyClick(Qt.Key_Return)

        compare(view.viewModel.currentPhase, ViewPhase.Chat)
        tryCompare(view.screen, "objectName", "chatView", helpers.waitDeadline)
        const chat = view.screen
        const turns = view.viewModel.chatViewModel.chatHistories
        tryCompare(turns, "count", 2, helpers.waitDeadline)
        compare(turns.get(0).question, "User")
        compare(turns.get(0).answer, "매일 운동을 기록하는 앱")
        compare(turns.get(1).question, "Claude")
        compare(turns.get(1).answer, "답변 1 확인\n\n질문 2: 어떤 기능이 가장 중요한가요?")
        tryVerify(() => chat.revealer.visibleIds.length === 2, helpers.waitDeadline)
        tryVerify(() => !chat.loadingRow.visible, helpers.waitDeadline)
        verify(chat.inputField.visible)
        verify(!chat.errorRow.visible)
        const state = JSON.parse(helpers.readFile(helpers.containerPath + "/ZAVE/interview_state.json"))
        compare(state.status, "in_progress")
    }

    // Typing right after the idea goes into the chat's field; an answer
    // given while the reply is awaited shows at once and goes to claude when
    // its turn comes.
    function test_theKeystrokesAfterTheIdeaReachTheChat() {
        helpers.setBoolDefault("hasSeenOnboarding", true)
        const view = createTemporaryObject(rootView, testCase)
        const entry = view.screen
        tryVerify(() => entry.viewModel.isReadyForInterview && !entry.viewModel.isInitializing, helpers.waitDeadline)
        tryVerify(() => entry.inputField.editor.activeFocus, helpers.waitDeadline, "the idea field has the keyboard")
        helpers.commit(entry.inputField.editor, "매일 운동을 기록하는 앱")
        helpers.setFakeClaudeMode("hold")
        keyClick(Qt.Key_Return)
        tryCompare(view.screen, "objectName", "chatView")
        const chat = view.screen
        tryVerify(() => chat.inputField.editor.activeFocus, helpers.waitDeadline, "the chat's field has the keyboard")
        keyClick(Qt.Key_A)
        compare(chat.inputField.text, "a")
        chat.inputField.text = ""

        const turns = view.viewModel.chatViewModel.chatHistories
        compare(turns.count, 1)
        helpers.commit(chat.inputField.editor, "혼자 쓰는 앱이에요")
        keyClick(Qt.Key_Return)
        compare(chat.waitingRows.count, 1, "the answer shows at once")
        compare(turns.count, 1, "its turn comes when it is sent")

        helpers.setFakeClaudeMode("")
        tryCompare(turns, "count", 4, helpers.waitDeadline)
        compare(turns.get(2).question, "User")
        compare(turns.get(2).answer, "혼자 쓰는 앱이에요")
        compare(turns.get(3).question, "Claude", "it went to claude")
        compare(chat.waitingRows.count, 0)
        tryVerify(() => chat.inputField.editor.activeFocus, helpers.waitDeadline)
    }

    // On a first launch the onboarding keeps the keyboard while the entry
    // screen prepares below it; once it closes, the idea field has it.
    function test_theOnboardingKeepsTheKeyboardAndTheFieldGetsItAfter() {
        const view = createTemporaryObject(rootView, testCase)
        const overlay = view.overlay
        verify(overlay)
        tryVerify(() => overlay.activeFocus)
        keyClick(Qt.Key_Tab)
        const focused = overlay.Window.activeFocusItem
        verify(focused !== overlay, "a control of the onboarding")
        const entry = view.screen
        tryVerify(() => entry.viewModel.isReadyForInterview && !entry.viewModel.isInitializing, helpers.waitDeadline)
        compare(overlay.Window.activeFocusItem, focused, "the preparation took nothing from the onboarding")
        verify(!entry.inputField.editor.activeFocus)
        overlay.finished()
        tryCompare(view, "overlay", null)
        tryVerify(() => entry.inputField.editor.activeFocus, helpers.waitDeadline, "the idea field has the keyboard")
        keyClick(Qt.Key_A)
        compare(entry.inputField.text, "a")
    }
}
