import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens.Work
import Orva.Test.Work
import "PlanData.js" as Plans

// The task detail popup on its own: its states, closing, and what it types.
TestCase {
    id: testCase
    name: "TaskPopup"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    WorkTestRig { id: rig }

    Component {
        id: popupComponent
        TaskCardDetailPopup {
            property int dismissals: 0
            width: 1120
            height: 880
            onDismissed: dismissals++
        }
    }

    function init() {
        failOnWarning(/.*/)
        helpers.setBoolDefault("hasLaunchedBefore", true)
    }

    function taskWith(checklist, files) {
        const t = Plans.task(5, "onHold", "ready")
        t.detail.checklist_ux = checklist
        t.detail.modifiedFiles = files
        return rig.decodeProject(Plans.plan("P", [Plans.milestone(1, "M", "setupAndModeling", [t])])).milestones[0].tasks[0]
    }

    function makePopup(checklist, files) {
        const popup = createTemporaryObject(popupComponent, testCase,
                                            { task: taskWith(checklist, files), viewModel: rig.createWorkViewModel() })
        verify(popup)
        return popup
    }

    function test_states() {
        const popup = makePopup(["빌드된다", "목록이 보인다", "저장된다"], ["A.swift"])
        const button = popup.submitButton
        const explanation = findChild(popup, "explanationSection")
        compare(popup.rows.count, 3)
        compare(button.title, "테스트 완료")
        compare(button.isEnabled, false)
        compare(button.shownBackgroundColor, button.disabledBackgroundColor)
        verify(!explanation.visible)

        // Everything works.
        mouseClick(popup.masterBox)
        compare(popup.verdict.checks, [true, true, true])
        compare(button.isEnabled, true)
        compare(button.shownBackgroundColor, button.backgroundColor)

        // Item 0 fails: later rows disabled, the explanation appears.
        mouseClick(popup.rows.itemAt(0).failsBox)
        compare(popup.verdict.isChecked, false)
        compare(button.title, "수정요청 보내기")
        compare(button.isEnabled, true)
        verify(explanation.visible)
        compare(popup.rows.itemAt(1).isDisabled, true)
        compare(popup.rows.itemAt(2).isDisabled, true)
        compare(popup.rows.itemAt(1).isChecked, true, "a disabled row keeps its verdict")
        // A disabled row ignores taps.
        mouseClick(popup.rows.itemAt(1).failsBox)
        compare(popup.verdict.fails(1), false)

        // Works again on item 0: nothing fails, the explanation goes.
        mouseClick(popup.rows.itemAt(0).worksBox)
        verify(!explanation.visible)
        compare(button.title, "테스트 완료")
    }

    function test_emptyChecklistShowsNoChecklist() {
        const popup = makePopup([], [])
        verify(!findChild(popup, "checklistGroup").visible)
        compare(findChild(popup, "modifiedFiles").title, "총 0개의 파일이 수정 또는 생성되었어요")
        verify(findChild(popup, "modifiedFiles").visible)
        mouseClick(popup.closeButton)
        compare(popup.dismissals, 1)
    }

    function test_closeSendsNothing() {
        const popup = makePopup(["빌드된다"], [])
        verify(popup.viewModel.forceShowAsPlanned)
        mouseClick(popup.rows.itemAt(0).worksBox)
        helpers.startCapturingOutput()
        mouseClick(popup.closeButton)
        const output = helpers.stopCapturingOutput()
        compare(popup.dismissals, 1)
        verify(output.indexOf("[TaskCardDetailPopup]") < 0, output)
        verify(popup.viewModel.forceShowAsPlanned, "nothing was sent")
    }

    function test_submitSendsAndDismisses() {
        const popup = makePopup(["빌드된다", "저장된다"], ["A.swift", "B.swift"])
        mouseClick(popup.rows.itemAt(1).failsBox)
        compare(popup.submitButton.isEnabled, false, "item 0 has no verdict yet")
        mouseClick(popup.submitButton)
        compare(popup.dismissals, 0)
        mouseClick(popup.rows.itemAt(0).worksBox)
        mouseClick(popup.explanationField)
        keyClick(Qt.Key_A)
        keyClick(Qt.Key_B)
        compare(popup.verdict.additionalInput, "ab")
        helpers.startCapturingOutput()
        mouseClick(popup.submitButton)
        const output = helpers.stopCapturingOutput()
        compare(popup.dismissals, 1)
        verify(output.indexOf("[TaskCardDetailPopup] - [Task 5] 작업에서 문제가 발생했습니다.") >= 0, output)
        verify(output.indexOf("관련 파일: A.swift, B.swift") >= 0, output)
        verify(!popup.viewModel.forceShowAsPlanned, "the prompt went through the model")
    }

    function test_longTextsScroll() {
        const longText = "아주 긴 체크리스트 항목이 여러 줄로 감싸지는지 확인합니다. ".repeat(4)
        const popup = makePopup([longText, longText, longText, longText, longText, longText], ["Sources/Features/Habits/HabitListView.swift"])
        const scroller = findChild(popup, "popupScroller")
        verify(scroller.contentHeight > scroller.height)
        compare(findChild(popup, "popupCard").height, 600)
    }

    // The whole explanation box takes a click, its middle band included:
    // what is typed next lands in the explanation.
    function test_theWholeExplanationBoxTakesAClick_data() {
        return [
            { tag: "the middle", at: 0.5 },
            { tag: "just below the first line", at: 0.35 },
            { tag: "the top margin", at: 0.05 },
            { tag: "the bottom margin", at: 0.95 },
        ]
    }
    function test_theWholeExplanationBoxTakesAClick(data) {
        const popup = makePopup(["빌드된다", "저장된다"], [])
        mouseClick(popup.rows.itemAt(0).failsBox)
        const box = popup.explanationBox
        verify(box.visible)
        waitForRendering(popup)
        mouseClick(box, box.width / 2, box.height * data.at)
        tryVerify(() => popup.explanationField.activeFocus, helpers.waitDeadline, "the field has the keyboard")
        keyClick(Qt.Key_X)
        keyClick(Qt.Key_Y)
        compare(popup.verdict.additionalInput, "xy")
    }

    // Escape closes the popup and sends nothing.
    function test_escapeClosesWithoutSending() {
        const popup = makePopup(["빌드된다"], [])
        mouseClick(popup.rows.itemAt(0).worksBox)
        popup.forceActiveFocus()
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Escape)
        const output = helpers.stopCapturingOutput()
        compare(popup.dismissals, 1)
        verify(output.indexOf("[TaskCardDetailPopup]") < 0, output)
        verify(popup.viewModel.forceShowAsPlanned, "nothing was sent")
        // Also from the explanation field.
        const other = makePopup(["빌드된다"], [])
        mouseClick(other.rows.itemAt(0).failsBox)
        mouseClick(other.explanationField)
        tryVerify(() => other.explanationField.activeFocus)
        keyClick(Qt.Key_Escape)
        compare(other.dismissals, 1)
    }

    // The card shows where it stands: with more than it shows, its scroll
    // indicator; the submit button below the fold is reached by scrolling.
    function test_theCardShowsItsScrollIndicator() {
        const longText = "아주 긴 체크리스트 항목이 여러 줄로 감싸지는지 확인합니다. ".repeat(4)
        const popup = makePopup([longText, longText, longText, longText, longText, longText], ["A.swift"])
        waitForRendering(popup)
        verify(popup.scrollIndicator.visible)
        const card = findChild(popup, "popupCard")
        verify(popup.submitButton.mapToItem(card, 0, 0).y > card.height, "below the fold")
        const thumb = popup.scrollIndicator.thumb
        const before = thumb.y
        mouseWheel(popup.scroller, popup.scroller.width / 2, popup.scroller.height / 2, 0, -600)
        tryVerify(() => thumb.y > before, helpers.waitDeadline, "the thumb follows the scroll")

        const brief = makePopup(["빌드된다"], ["A.swift"])
        waitForRendering(brief)
        verify(!brief.scrollIndicator.visible)
    }

    // A long file list scrolls in its own box, with its indicator; a short
    // one shows whole, without.
    function test_aLongFileListScrollsInItsBox() {
        const files = []
        for (let i = 0; i < 300; ++i)
            files.push("Sources/Feature" + i + ".swift")
        const popup = makePopup(["빌드된다"], files)
        const section = findChild(popup, "modifiedFiles")
        waitForRendering(popup)
        compare(section.title, "총 300개의 파일이 수정 또는 생성되었어요")
        verify(section.list.height <= section.maximumListHeight)
        verify(section.scrollIndicator.visible)
        verify(section.list.count === 300)
        verify(countRows(section.list) < 60, "only the lines in sight are made")

        const few = makePopup(["빌드된다"], ["A.swift", "B.swift"])
        waitForRendering(few)
        const small = findChild(few, "modifiedFiles")
        verify(!small.scrollIndicator.visible)
        compare(small.list.height, small.list.contentHeight)
    }

    function countRows(list) {
        let made = 0
        for (let i = 0; i < list.contentItem.children.length; ++i) {
            if (list.contentItem.children[i].visible)
                ++made
        }
        return made
    }

    // Twenty thousand checklist items: the popup makes the rows in sight,
    // and a verdict on any of them still counts.
    function test_aChecklistOfTwentyThousandItems() {
        const items = []
        for (let i = 0; i < 20000; ++i)
            items.push("항목 " + (i + 1))
        const popup = makePopup(items, [])
        waitForRendering(popup)
        compare(popup.rows.count, 20000)
        verify(countRows(popup.scroller) < 80, "rows made: " + countRows(popup.scroller))
        mouseClick(popup.masterBox)
        compare(popup.verdict.canSubmit, true)
        popup.scroller.positionViewAtIndex(15000, ListView.Beginning)
        tryVerify(() => popup.rows.itemAt(15000) !== null, helpers.waitDeadline)
        compare(popup.rows.itemAt(15000).text, "항목 15001")
        verify(popup.rows.itemAt(15000).isChecked)
        mouseClick(popup.rows.itemAt(15000).failsBox)
        verify(popup.verdict.fails(15000))
        compare(popup.verdict.buttonTitle, "수정요청 보내기")
    }
}
