import QtQuick
import QtTest
import Orva.Workflow
import Orva.Components
import Orva.Design
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

    // ---- Controls never lie over one another ----

    // Task 261 of a 300-task plan in 12 milestones: 15 checklist items.
    function largeTask() {
        const project = rig.decodeProject(Plans.largePlan(12, 25, 15))
        const task = project.milestones[10].tasks[10]
        compare(task.id, 261)
        compare(task.detail.checklistUx.length, 15)
        return task
    }
    function makePopupFor(task) {
        const popup = createTemporaryObject(popupComponent, testCase, { task: task, viewModel: rig.createWorkViewModel() })
        verify(popup)
        waitForRendering(popup)
        return popup
    }

    // What takes a click or the keyboard: the controls of the keyboard
    // round, the explanation box and the scroll tracks (whose grip reaches 6
    // beyond their width).
    function controlsOf(popup) {
        const found = []
        const walk = item => {
            if (!item.visible)
                return
            if (item.keyboardControl === true || item.objectName === "explanationBox")
                found.push({ item: item, grip: 0 })
            else if (item.thumb !== undefined && item.flickable !== undefined)
                found.push({ item: item, grip: 6 })
            for (let i = 0; i < item.children.length; ++i)
                walk(item.children[i])
        }
        walk(popup.card)
        return found
    }
    function intersect(a, b) {
        const x = Math.max(a.x, b.x), y = Math.max(a.y, b.y)
        const r = Math.min(a.x + a.width, b.x + b.width), bottom = Math.min(a.y + a.height, b.y + b.height)
        return { x: x, y: y, width: Math.max(0, r - x), height: Math.max(0, bottom - y) }
    }
    // The part of a control that shows, in the card: its rectangle within
    // every clipping item above it.
    function shownRect(control, card) {
        const item = control.item
        const at = item.mapToItem(card, -control.grip, 0)
        let rect = { x: at.x, y: at.y, width: item.width + 2 * control.grip, height: item.height }
        for (let p = item.parent; p !== null && p !== card; p = p.parent) {
            if (p.clip) {
                const clipAt = p.mapToItem(card, 0, 0)
                rect = intersect(rect, { x: clipAt.x, y: clipAt.y, width: p.width, height: p.height })
            }
        }
        return rect
    }
    function nameOf(item) {
        return item.objectName !== "" ? item.objectName + (item.popupRow !== undefined ? " " + item.popupRow : "") : String(item)
    }
    function overlapsAt(popup) {
        const shown = controlsOf(popup).map(c => ({ item: c.item, rect: shownRect(c, popup.card) }))
            .filter(c => c.rect.width > 0 && c.rect.height > 0)
        const found = []
        for (let i = 0; i < shown.length; ++i)
            for (let k = i + 1; k < shown.length; ++k) {
                if (ViewRules.isWithin(shown[i].item, shown[k].item) || ViewRules.isWithin(shown[k].item, shown[i].item))
                    continue
                const common = intersect(shown[i].rect, shown[k].rect)
                if (common.width > 0.5 && common.height > 0.5)
                    found.push(nameOf(shown[i].item) + " over " + nameOf(shown[k].item))
            }
        return found
    }

    // At every scroll position, the end included, no control's shown part
    // lies over another's: the close button has a band the rows never
    // scroll under.
    function test_noControlLiesOverAnother_data() {
        return [
            { tag: "task 261 of 300, 15 items", failing: -1 },
            { tag: "task 261 of 300, an item failing (the explanation shows)", failing: 5 },
        ]
    }
    function test_noControlLiesOverAnother(data) {
        const popup = makePopupFor(largeTask())
        if (data.failing >= 0)
            popup.verdict.setFails(data.failing, true)
        const scroller = popup.scroller
        verify(scroller.contentHeight > scroller.height, "the card scrolls")
        const end = () => scroller.originY + scroller.contentHeight - scroller.height
        let checked = 0
        for (let y = scroller.originY; ; y += 37) {
            scroller.contentY = Math.min(y, end())
            scroller.forceLayout()
            const found = overlapsAt(popup)
            verify(found.length === 0, "at " + scroller.contentY.toFixed(0) + ": " + found.join(", "))
            ++checked
            if (y >= end())
                break
        }
        // The end, reached as a person does, by the wheel.
        scroller.positionViewAtEnd()
        scroller.forceLayout()
        compare(scroller.contentY, end())
        verify(popup.submitButton.visible)
        const found = overlapsAt(popup)
        verify(found.length === 0, "at the end: " + found.join(", "))
        verify(checked > 5)
    }

    // Fifteen wheel notches down, a click on the upper part of each row's
    // cross that shows: it marks the item as failing; the popup stays, with
    // every verdict.
    function test_aClickOnARowsCrossNeverClosesThePopup() {
        const popup = makePopupFor(largeTask())
        const scroller = popup.scroller
        for (let i = 0; i < 15; ++i)
            mouseWheel(scroller, scroller.width / 2, scroller.height / 2, 0, -120)
        tryVerify(() => !scroller.moving && !scroller.flicking, helpers.waitDeadline)
        tryVerify(() => scroller.contentY > scroller.originY, helpers.waitDeadline, "the wheel scrolled")
        waitForRendering(popup)
        let clicked = 0
        for (let i = 1; i < popup.rows.count; ++i) {
            const row = popup.rows.itemAt(i)
            if (!row)
                continue
            const rect = shownRect({ item: row.failsBox, grip: 0 }, popup.card)
            if (rect.height < 3)
                continue
            const at = popup.card.mapToItem(row.failsBox, rect.x + rect.width / 2, rect.y + 2)
            mouseClick(row.failsBox, at.x, at.y)
            compare(popup.dismissals, 0, "a click on row " + i + "'s cross")
            verify(popup.verdict.fails(i), "row " + i + " fails")
            ++clicked
        }
        verify(clicked >= 3, "crosses clicked: " + clicked)
        verify(popup.verdict.anyFail)
    }

    // ---- The keyboard ----

    // The ring drawn around a control with the keyboard.
    function ringOf(item) {
        for (let i = 0; i < item.children.length; ++i) {
            const child = item.children[i]
            if (child.controlRadius !== undefined && child.shown !== undefined)
                return child
        }
        return null
    }
    // The control has the keyboard, shows its ring and lies in the card's view.
    function verifyKeyboardOn(popup, control, name) {
        tryVerify(() => control.activeFocus, helpers.waitDeadline, name + " has the keyboard")
        const ring = ringOf(control.objectName === "explanationField" ? popup.explanationBox : control)
        verify(ring && ring.visible, name + " shows its ring")
        if (ViewRules.isWithin(control, popup.scroller)) {
            const at = control.mapToItem(popup.scroller, 0, 0)
            verify(at.y >= 0 && at.y + control.height <= popup.scroller.height,
                   name + " in view (at " + at.y.toFixed(0) + ")")
        }
    }

    // Tab goes round every control in reading order and back to the first;
    // Shift+Tab goes back; Space and Return press the control.
    function test_tabGoesRoundThePopup() {
        const popup = makePopup(["빌드된다", "목록이 보인다", "저장된다"], ["A.swift"])
        popup.forceActiveFocus()
        const row = i => popup.rows.itemAt(i)
        const order = [
            ["Xcode 열기", () => popup.xcodeButton],
            ["다 잘 작동해요", () => popup.masterBox],
            ["row 1 ✓", () => row(0).worksBox], ["row 1 ✗", () => row(0).failsBox],
            ["row 2 ✓", () => row(1).worksBox], ["row 2 ✗", () => row(1).failsBox],
            ["row 3 ✓", () => row(2).worksBox], ["row 3 ✗", () => row(2).failsBox],
            ["✕ (테스트 완료 is not enabled yet)", () => popup.closeButton],
            ["Xcode 열기 again", () => popup.xcodeButton],
        ]
        for (const [name, control] of order) {
            keyClick(Qt.Key_Tab)
            verifyKeyboardOn(popup, control(), name)
        }
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(popup, popup.closeButton, "Shift+Tab: ✕")
        keyClick(Qt.Key_Tab, Qt.ShiftModifier)
        verifyKeyboardOn(popup, row(2).failsBox, "Shift+Tab again: row 3 ✗")

        // Space ticks the master box: every item works; the submit button
        // joins the round.
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.masterBox, "다 잘 작동해요")
        keyClick(Qt.Key_Space)
        compare(popup.verdict.checks, [true, true, true])
        for (let i = 0; i < 7; ++i)
            keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.submitButton, "테스트 완료")
        compare(popup.submitButton.title, "테스트 완료")
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Return)
        const output = helpers.stopCapturingOutput()
        compare(popup.dismissals, 1)
        verify(output.indexOf("[TaskCardDetailPopup] - 테스트 완료") >= 0, output)
    }

    // A failing build by the keyboard: Space on row 1's cross, Tab passes
    // the disabled rows to the explanation, typed there; Tab to
    // "수정요청 보내기", Return sends the fix request with it.
    function test_aFixRequestByTheKeyboard() {
        const popup = makePopup(["빌드된다", "목록이 보인다", "저장된다"], ["A.swift"])
        popup.forceActiveFocus()
        for (let i = 0; i < 4; ++i)
            keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.rows.itemAt(0).failsBox, "row 1 ✗")
        keyClick(Qt.Key_Space)
        verify(popup.verdict.fails(0))
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.explanationField, "the explanation")
        keyClick(Qt.Key_O)
        keyClick(Qt.Key_K)
        keyClick(Qt.Key_Space)
        compare(popup.verdict.additionalInput, "ok ", "Space types in the field")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.submitButton, "수정요청 보내기")
        compare(popup.submitButton.title, "수정요청 보내기")
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(popup, popup.explanationField, "back to the explanation")
        compare(popup.verdict.additionalInput, "ok ", "Tab types nothing")
        keyClick(Qt.Key_Tab)
        helpers.startCapturingOutput()
        keyClick(Qt.Key_Enter)
        const output = helpers.stopCapturingOutput()
        compare(popup.dismissals, 1)
        verify(output.indexOf("→ 빌드 에러를 수정해주세요.") >= 0, output)
        verify(output.indexOf("[추가 설명]\nok ") >= 0, output)
    }

    // A long checklist: every row's boxes take the keyboard in turn, each
    // made and brought into view first; Shift+Tab from the close button
    // comes back to the last row.
    function test_tabReachesEveryRowOfALongChecklist() {
        const items = []
        for (let i = 0; i < 40; ++i)
            items.push(i % 4 === 3 ? "항목 " + (i + 1) + ": 목록 화면에서 새 기록을 추가하고 앱을 다시 열어도 그 기록이 남아 있다"
                                   : "항목 " + (i + 1))
        const popup = makePopup(items, ["A.swift"])
        waitForRendering(popup)
        popup.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        for (let i = 0; i < 40; ++i) {
            keyClick(Qt.Key_Tab)
            verifyKeyboardOn(popup, popup.rows.itemAt(i).worksBox, "row " + (i + 1) + " ✓")
            keyClick(Qt.Key_Space)
            keyClick(Qt.Key_Tab)
            verifyKeyboardOn(popup, popup.rows.itemAt(i).failsBox, "row " + (i + 1) + " ✗")
        }
        compare(popup.verdict.canSubmit, true)
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.submitButton, "테스트 완료 at the end")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.closeButton, "✕")
        // Scrolled away by the wheel, the focused row is gone; Tab goes on
        // from its place.
        keyClick(Qt.Key_Backtab)
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(popup, popup.rows.itemAt(39).failsBox, "row 40 ✗ again")
        popup.scroller.positionViewAtBeginning()
        popup.scroller.forceLayout()
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(popup, popup.submitButton, "on from row 40")
    }

    // The close button by the keyboard closes and sends nothing.
    function test_closeByTheKeyboard_data() {
        return [{ tag: "Return", key: Qt.Key_Return }, { tag: "Space", key: Qt.Key_Space }]
    }
    function test_closeByTheKeyboard(data) {
        const popup = makePopup(["빌드된다"], [])
        popup.forceActiveFocus()
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(popup, popup.closeButton, "✕")
        helpers.startCapturingOutput()
        keyClick(data.key)
        const output = helpers.stopCapturingOutput()
        compare(popup.dismissals, 1)
        verify(output.indexOf("[TaskCardDetailPopup]") < 0, output)
        // An empty checklist: the close button is the only stop.
        const empty = makePopup([], [])
        empty.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(empty, empty.closeButton, "✕ alone")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(empty, empty.closeButton, "✕ still")
    }

    // The popup's texts read at 4.5:1 or more on what lies under them.
    function test_textsAreReadable() {
        const popup = makePopup(["빌드된다", "저장된다"], ["A.swift"])
        const card = Qt.color("#030303")
        const over = (color, alpha, under) => Qt.rgba(color.r * alpha + under.r * (1 - alpha),
                                                       color.g * alpha + under.g * (1 - alpha),
                                                       color.b * alpha + under.b * (1 - alpha), 1)
        const white10 = over(Qt.color("white"), 0.1, card)
        const textNamed = text => {
            let found = null
            const walk = item => {
                if (found || !item.visible)
                    return
                if (item.text === text && item.color !== undefined && item.font !== undefined)
                    found = item
                for (let i = 0; i < item.children.length; ++i)
                    walk(item.children[i])
            }
            walk(popup)
            verify(found, text)
            return found
        }
        const ratio = (text, under) => ViewRules.contrastRatio(text.color, under)
        const rows = [
            ["아래 항목들을 확인해 보세요", card],
            ["다 잘 작동해요", card],
            ["여기에서는", card],
            ["총 1개의 파일이 수정 또는 생성되었어요", card],
            ["빌드된다", white10],
            ["Xcode 열기", Colors.blue],
        ]
        for (const [text, under] of rows)
            verify(ratio(textNamed(text), under) >= 4.5, text + " at " + ratio(textNamed(text), under).toFixed(2))
        mouseClick(popup.masterBox)
        verify(ratio(textNamed("테스트 완료"), Colors.indigo) >= 4.5, "테스트 완료 on indigo")
        mouseClick(popup.rows.itemAt(1).failsBox)
        for (const [text, under] of [["추가 설명", card], ["에러 메시지를 복사해서 붙이거나 추가 설명을 입력해주세요", white10],
                                     ["수정요청 보내기", Colors.yellow]])
            verify(ratio(textNamed(text), under) >= 4.5, text + " at " + ratio(textNamed(text), under).toFixed(2))
    }
}
