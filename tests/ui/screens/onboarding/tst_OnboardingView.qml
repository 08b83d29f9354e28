import QtQuick
import QtTest
import Orva.Design
import Orva.Components
import Orva.Screens.Onboarding

// The onboarding overlay over a stand-in screen: its pages and their ways
// between them, the requirement ticks, the finish, modality, the guide link and
// the size limits of the pages' panels.
TestCase {
    id: testCase
    name: "OnboardingView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    // A screen below the overlay that counts what reaches it.
    Component {
        id: sceneComponent
        Item {
            id: scene
            width: 1120
            height: 880
            property int presses: 0
            property int wheels: 0
            readonly property alias under: under
            readonly property alias underHover: underHover
            readonly property alias input: input
            readonly property alias overlay: overlay

            MouseArea {
                id: under
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.AllButtons
                onPressed: scene.presses += 1
                onWheel: scene.wheels += 1
                HoverHandler {
                    id: underHover
                }
            }
            TextInput {
                id: input
                x: 20
                y: 20
                width: 300
                height: 30
                focus: true
            }
            OnboardingView {
                id: overlay
            }
        }
    }
    Component {
        id: guideBoxComponent
        ClaudeCodeGuideBox {}
    }
    Component {
        id: spyComponent
        SignalSpy {}
    }

    function init() {
        failOnWarning(/.*/)
    }

    function makeScene() {
        const scene = createTemporaryObject(sceneComponent, testCase)
        verify(scene)
        waitForSettled(scene.overlay)
        return scene
    }
    function spyOn(target, signalName) {
        return createTemporaryObject(spyComponent, testCase, { target: target, signalName: signalName })
    }
    function findNamed(item, name) {
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findNamed(item.children[i], name)
            if (found)
                return found
        }
        return null
    }
    function findAllNamed(item, name, into) {
        if (item.objectName === name)
            into.push(item)
        for (let i = 0; i < item.children.length; ++i)
            findAllNamed(item.children[i], name, into)
        return into
    }
    // The page slots alive in the page area (one once nothing moves).
    function slots(view) {
        const alive = []
        for (let i = 0; i < view.pageArea.children.length; ++i)
            alive.push(view.pageArea.children[i])
        return alive
    }
    function slotOf(page) {
        return page.parent.parent
    }
    function waitForSettled(view) {
        tryVerify(() => slots(view).length === 1 && slotOf(view.page).x === 0 && slotOf(view.page).opacity === 1,
                  helpers.waitDeadline, "the page area settles on one page")
    }
    function pageIndexOf(page) {
        return ["welcomePage", "requirementPage", "startGuidePage"].indexOf(page.objectName)
    }
    function dot(view, index) {
        return findNamed(view.indicator, "pageDot" + index)
    }
    function tickBoth(page) {
        mouseClick(page.guideBox.installedRow)
        mouseClick(page.guideBox.loggedInRow)
        verify(page.isInstalledChecked && page.isLoggedInChecked)
    }
    // The button an action presses on the page shown, or null when the page has none.
    function buttonFor(view, action) {
        const page = view.page
        switch (action) {
        case "다음":
            if (page.objectName === "welcomePage")
                return page.nextButton
            if (page.objectName === "requirementPage") {
                tickBoth(page)
                return page.navigation.nextButton
            }
            return null
        case "시작하기":
            return page.objectName === "startGuidePage" ? page.navigation.nextButton : null
        case "이전":
            return page.objectName === "welcomePage" ? null : page.navigation.previousButton
        }
        return null
    }

    // Page x action -> page shown, finish count.
    function test_pageActions_data() {
        const rows = []
        const expectations = {
            "0 다음": [1, 0], "1 다음": [2, 0], "1 이전": [0, 0], "2 이전": [1, 0], "2 시작하기": [2, 1],
        }
        for (let page = 0; page < 3; ++page) {
            for (const action of ["다음", "이전", "시작하기"]) {
                const key = page + " " + action
                if (expectations[key] !== undefined)
                    rows.push({ tag: key, page: page, action: action, shown: expectations[key][0],
                                finishes: expectations[key][1] })
            }
            for (let k = 0; k < 3; ++k)
                rows.push({ tag: page + " dot " + k, page: page, action: "dot", dot: k, shown: k, finishes: 0 })
        }
        return rows
    }
    function test_pageActions(data) {
        const scene = makeScene()
        const view = scene.overlay
        const finished = spyOn(view, "finished")
        compare(view.currentPage, 0)
        if (data.page !== 0) {
            mouseClick(dot(view, data.page))
            waitForSettled(view)
        }
        compare(view.currentPage, data.page)
        compare(pageIndexOf(view.page), data.page)
        const button = data.action === "dot" ? dot(view, data.dot) : buttonFor(view, data.action)
        verify(button, data.action)
        mouseClick(button)
        waitForSettled(view)
        compare(view.currentPage, data.shown)
        compare(pageIndexOf(view.page), data.shown)
        compare(finished.count, data.finishes)
        // The dots follow the page (changing colour with the page).
        for (let k = 0; k < 3; ++k) {
            const d = dot(view, k)
            const expected = k === data.shown ? Colors.indigo : Colors.white20
            tryVerify(() => Qt.colorEqual(d.color, expected), helpers.waitDeadline, "dot " + k)
        }
    }

    // Ticks -> "다음" enabled, and what a press of it does.
    function test_requirementTicks_data() {
        return [
            { tag: "none", installed: false, loggedIn: false, enabled: false },
            { tag: "installed only", installed: true, loggedIn: false, enabled: false },
            { tag: "logged in only", installed: false, loggedIn: true, enabled: false },
            { tag: "both", installed: true, loggedIn: true, enabled: true },
        ]
    }
    function test_requirementTicks(data) {
        const scene = makeScene()
        const view = scene.overlay
        mouseClick(view.page.nextButton)
        waitForSettled(view)
        const page = view.page
        compare(page.objectName, "requirementPage")
        const box = page.guideBox
        // A new page starts unticked.
        verify(!page.isInstalledChecked && !page.isLoggedInChecked)
        compare(box.installedRow.symbol.name, "circle")
        verify(!page.navigation.isNextEnabled)
        if (data.installed)
            mouseClick(box.installedRow)
        if (data.loggedIn)
            mouseClick(box.loggedInRow)
        compare(page.isInstalledChecked, data.installed)
        compare(page.isLoggedInChecked, data.loggedIn)
        compare(box.installedRow.symbol.name, data.installed ? "checkmark.circle.fill" : "circle")
        verify(Qt.colorEqual(box.loggedInRow.symbol.color, data.loggedIn ? Colors.green : Colors.white40))
        compare(page.navigation.isNextEnabled, data.enabled)
        mouseClick(page.navigation.nextButton)
        waitForSettled(view)
        compare(view.currentPage, data.enabled ? 2 : 1)
        compare(view.page === page, !data.enabled)
        if (!data.enabled) {
            // Ticking the rest enables it at once; unticking one disables it again.
            if (!data.installed)
                mouseClick(box.installedRow)
            if (!data.loggedIn)
                mouseClick(box.loggedInRow)
            verify(page.navigation.isNextEnabled)
            mouseClick(box.installedRow)
            verify(!page.navigation.isNextEnabled)
        }
    }

    // Leaving page 1 and coming back builds it anew, unticked; its own dot keeps it.
    function test_revisitingTheRequirementPage_data() {
        return [
            { tag: "back to the welcome page", away: "이전", back: "다음", ticksKept: false },
            { tag: "on to the start guide", away: "다음", back: "이전", ticksKept: false },
            { tag: "its own dot", away: "dot", back: "", ticksKept: true },
        ]
    }
    function test_revisitingTheRequirementPage(data) {
        const scene = makeScene()
        const view = scene.overlay
        mouseClick(dot(view, 1))
        waitForSettled(view)
        const first = view.page
        tickBoth(first)
        if (data.away === "dot") {
            mouseClick(dot(view, 1))
            compare(slots(view).length, 1)
        } else {
            mouseClick(data.away === "다음" ? first.navigation.nextButton : first.navigation.previousButton)
            waitForSettled(view)
            verify(view.currentPage !== 1)
            const back = view.page.objectName === "welcomePage" ? view.page.nextButton
                                                                 : view.page.navigation.previousButton
            mouseClick(back)
            waitForSettled(view)
        }
        compare(view.currentPage, 1)
        compare(view.page === first, data.ticksKept)
        compare(view.page.isInstalledChecked, data.ticksKept)
        compare(view.page.isLoggedInChecked, data.ticksKept)
        compare(view.page.navigation.isNextEnabled, data.ticksKept)
    }

    // Two dots tapped within 100 ms end on the second, with one page alive.
    function test_quickDotsEndOnTheLast() {
        const scene = makeScene()
        const view = scene.overlay
        mouseClick(dot(view, 1))
        mouseClick(dot(view, 2))
        compare(view.currentPage, 2)
        waitForSettled(view)
        compare(slots(view).length, 1)
        compare(view.page.objectName, "startGuidePage")
        // And back the same way.
        mouseClick(dot(view, 1))
        mouseClick(dot(view, 0))
        waitForSettled(view)
        compare(view.page.objectName, "welcomePage")
        compare(slots(view).length, 1)
    }

    // A page enters from the trailing edge and leaves to the leading edge,
    // fading, in both directions.
    function test_pagesEnterTrailingAndLeaveLeading_data() {
        return [
            { tag: "forwards", from: 0, to: 1 },
            { tag: "backwards", from: 2, to: 1 },
            { tag: "back to the start", from: 1, to: 0 },
        ]
    }
    function test_pagesEnterTrailingAndLeaveLeading(data) {
        const scene = makeScene()
        const view = scene.overlay
        if (data.from !== 0) {
            view.goToPage(data.from)
            waitForSettled(view)
        }
        // A slower change, so that frames fall on the way even on a busy machine.
        view.transitionDuration = 1500
        const leaving = slotOf(view.page)
        view.goToPage(data.to)
        const entering = slotOf(view.page)
        verify(entering !== leaving)
        compare(slots(view).length, 2)
        // Each moves its own way, fading, until only the new one is left: every
        // frame of each is looked at.
        let enteringOnItsWay = false
        let leavingOnItsWay = false
        const lookAtEntering = () => {
            enteringOnItsWay = enteringOnItsWay || (entering.x > 0 && entering.x < view.pageArea.width
                                                    && entering.opacity > 0 && entering.opacity < 1)
        }
        const lookAtLeaving = () => {
            leavingOnItsWay = leavingOnItsWay || (leaving.x < 0 && leaving.x > -view.pageArea.width
                                                  && leaving.opacity > 0 && leaving.opacity < 1)
        }
        entering.xChanged.connect(lookAtEntering)
        entering.opacityChanged.connect(lookAtEntering)
        leaving.xChanged.connect(lookAtLeaving)
        leaving.opacityChanged.connect(lookAtLeaving)
        waitForSettled(view)
        verify(enteringOnItsWay, "the new page came in from the trailing edge, fading in")
        verify(leavingOnItsWay, "the old page went out to the leading edge, fading out")
        compare(entering.x, 0)
        compare(pageIndexOf(view.page), data.to)
    }

    function test_finishIsTheOnlyWayOutAndDestroyingSendsNothing() {
        helpers.removeUserDefault("hasSeenOnboarding")
        const scene = makeScene()
        const view = scene.overlay
        const finished = spyOn(view, "finished")
        // The backdrop has no way out.
        mouseClick(scene, 5, 5)
        mouseClick(scene, 1100, 860)
        compare(finished.count, 0)
        view.goToPage(2)
        waitForSettled(view)
        verify(view.page.navigation.isNextEnabled, "시작하기 is enabled from the start")
        mouseClick(view.page.navigation.nextButton)
        compare(finished.count, 1)
        // The overlay itself records nothing; and destroying it sends nothing.
        verify(!helpers.hasUserDefault("hasSeenOnboarding"))
        const other = makeScene()
        const otherFinished = spyOn(other.overlay, "finished")
        helpers.destroyNow(other)
        compare(otherFinished.count, 0)
        verify(!helpers.hasUserDefault("hasSeenOnboarding"))
    }

    // Nothing reaches the screen under the overlay: no press, wheel, hover or key.
    function test_modal_data() {
        return [
            { tag: "on the backdrop", x: 10, y: 10 },
            { tag: "on the card, off its buttons", x: 560, y: 100 },
        ]
    }
    function test_modal(data) {
        const scene = makeScene()
        const view = scene.overlay
        verify(view.activeFocus, "the overlay holds the keyboard focus")
        mouseMove(scene, data.x, data.y)
        mouseClick(scene, data.x, data.y)
        mouseClick(scene, data.x, data.y, Qt.RightButton)
        mouseDoubleClickSequence(scene, data.x, data.y)
        mouseWheel(scene, data.x, data.y, 0, -120)
        compare(scene.presses, 0)
        compare(scene.wheels, 0)
        verify(!scene.under.containsMouse, "no hover reaches a mouse area below")
        verify(!scene.underHover.hovered, "no hover reaches a hover handler below")
        keyClick(Qt.Key_A)
        keyClick(Qt.Key_Return)
        keyClick(Qt.Key_Tab)
        compare(scene.input.text, "")
        verify(!scene.input.activeFocus)
        // A screen below that takes the focus gets it taken back.
        scene.input.forceActiveFocus()
        tryVerify(() => view.activeFocus, helpers.waitDeadline, "the overlay takes the focus back")
        keyClick(Qt.Key_B)
        compare(scene.input.text, "")
        compare(view.currentPage, 0)
    }

    function test_guideLinkCallsTheOpenerWithTheAddress() {
        const scene = makeScene()
        const view = scene.overlay
        const opened = []
        view.openLink = address => opened.push(String(address))
        view.goToPage(1)
        waitForSettled(view)
        mouseClick(view.page.guideBox.guideLink)
        compare(opened, [String(OnboardingContent.guideAddress)])
        verify(String(OnboardingContent.guideAddress).startsWith("https://"))
        compare(view.currentPage, 1)
    }

    // The welcome panel: at most 500 x 270 inside its 20-point padding, five
    // cards in order, two on the second row, every name and description whole.
    function test_welcomePanelLimits() {
        const scene = makeScene()
        const view = scene.overlay
        const page = view.page
        const panel = page.examples
        verify(panel.width <= 540 && panel.height <= 310, panel.width + "x" + panel.height)
        verify(panel.content.implicitWidth <= 500 && panel.content.implicitHeight <= 270,
               panel.content.implicitWidth + "x" + panel.content.implicitHeight)
        const contentTopLeft = panel.content.mapToItem(panel, 0, 0)
        verify(contentTopLeft.y >= 20 && contentTopLeft.y + panel.content.height <= panel.height - 20)
        const cards = findAllNamed(panel, "sampleCard", [])
        compare(cards.length, 5)
        compare(cards.map(c => c.name), ["포모도로 앱", "습관 만들기", "소음 측정기", "나침반/수평계", "방명록"])
        const positions = cards.map(c => c.mapToItem(panel.grid, 0, 0))
        compare(positions[3].y, positions[4].y)
        verify(positions[3].y > positions[0].y)
        verify(Math.abs(positions[3].x - positions[0].x) < 0.5 && Math.abs(positions[4].x - positions[1].x) < 0.5)
        for (const card of cards) {
            compare(card.width, 72)
            verify(!card.nameText.truncated, card.name + " is whole")
            verify(!card.descriptionText.truncated, card.description + " is whole")
            verify(card.nameText.implicitWidth <= 72, card.name + " " + card.nameText.implicitWidth)
        }
        // The page stays in its area: the panel ends above "다음".
        const bottom = page.content.y + page.content.height
        verify(bottom <= page.nextButton.y, bottom + " > " + page.nextButton.y)
        verify(page.nextButton.y + page.nextButton.height <= view.pageArea.height)
    }

    // The guide box: at most 500 x 270, its content inside the padding, nothing
    // crossing the border, and the page within its 710 area.
    function test_guideBoxLimits() {
        const scene = makeScene()
        const view = scene.overlay
        view.goToPage(1)
        waitForSettled(view)
        const page = view.page
        const box = page.guideBox
        verify(box.width <= 500 && box.height <= 270, box.width + "x" + box.height)
        const top = box.content.mapToItem(box, 0, 0)
        verify(top.y >= 32 - 0.5, "top " + top.y)
        verify(top.y + box.content.height <= box.height - 32 + 0.5, "content " + box.content.height)
        verify(box.content.implicitHeight <= 270 - 64, "content " + box.content.implicitHeight)
        // Every text's drawn lines lie inside the box.
        const explanation = findNamed(box, "guideExplanation")
        compare(explanation.lineCount, 2)
        verify(!explanation.truncated)
        const texts = []
        collectTexts(box, texts)
        verify(texts.length >= 5)
        for (const text of texts) {
            const r = text.mapToItem(box, 0, 0)
            verify(r.y >= 1 && r.y + text.contentHeight <= box.height - 1, text.text)
            verify(r.x >= 1 && r.x + text.contentWidth <= box.width - 1, text.text)
        }
        const bottom = page.content.y + page.content.height
        verify(bottom <= page.navigation.y, bottom + " > " + page.navigation.y)
        verify(page.navigation.y + page.navigation.height <= view.pageArea.height)
        // Drawn: the border and a 6-pixel band inside it are the same colour
        // all round (no glyph reaches them), away from the rounded corners.
        // (A box of its own near the window's origin: the offscreen screen is
        // smaller than the window, and grabs are only whole within it.)
        const alone = createTemporaryObject(guideBoxComponent, testCase, { x: 10, y: 10 })
        verify(alone)
        compare(alone.height, box.height)
        waitForRendering(alone)
        const image = grabImage(alone)
        const w = image.width, h = image.height
        const corner = 24
        for (let d = 0; d <= 6; ++d) {
            const top = image.pixel(w / 2, d), bottom = image.pixel(w / 2, h - 1 - d)
            const leading = image.pixel(d, h / 2), trailing = image.pixel(w - 1 - d, h / 2)
            for (let x = corner; x < w - corner; ++x) {
                verify(Qt.colorEqual(image.pixel(x, d), top), "top band " + d + " at " + x)
                verify(Qt.colorEqual(image.pixel(x, h - 1 - d), bottom), "bottom band " + d + " at " + x)
            }
            for (let y = corner; y < h - corner; ++y) {
                verify(Qt.colorEqual(image.pixel(d, y), leading), "leading band " + d + " at " + y)
                verify(Qt.colorEqual(image.pixel(w - 1 - d, y), trailing), "trailing band " + d + " at " + y)
            }
        }
    }
    function collectTexts(item, into) {
        if (item instanceof Text)
            into.push(item)
        for (let i = 0; i < item.children.length; ++i)
            collectTexts(item.children[i], into)
    }

    function test_startGuidePage() {
        const scene = makeScene()
        const view = scene.overlay
        view.goToPage(2)
        waitForSettled(view)
        const page = view.page
        const cards = findAllNamed(page, "ideaCard", [])
        compare(cards.map(c => c.text), OnboardingContent.exampleIdeas)
        compare(cards[0].text, OnboardingContent.ideaPlaceholder)
        for (const card of cards) {
            compare(card.openingQuote.name, "quote.opening")
            compare(card.closingQuote.name, "quote.closing")
            verify(card.openingQuote.x < card.sentence.x && card.sentence.x < card.closingQuote.x)
            // Cards are inert.
            mouseClick(card)
        }
        compare(view.currentPage, 2)
        const bottom = page.content.y + page.content.height
        verify(bottom <= page.navigation.y, bottom + " > " + page.navigation.y)
    }

    // Right after "이전" on the last page, a click lands on the disabled
    // "다음" of the page coming in or on the start button of the page going:
    // neither presses anything, and nothing passes under.
    function test_aClickDuringThePageChangePressesNothing() {
        const scene = makeScene()
        const view = scene.overlay
        const finished = spyOn(view, "finished")
        mouseClick(dot(view, 2))
        waitForSettled(view)
        const leaving = view.page
        const start = leaving.navigation.nextButton
        const at = start.mapToItem(scene, start.width / 2, start.height / 2)
        mouseClick(leaving.navigation.previousButton)
        compare(view.currentPage, 1)
        const coming = view.page
        verify(!coming.navigation.isNextEnabled)
        // Both within the first frames of the change.
        mouseClick(scene, at.x, at.y)
        mouseClick(coming.navigation.nextButton)
        compare(finished.count, 0, "the leaving page's start button was not pressed")
        compare(view.currentPage, 1)
        compare(scene.presses, 0)
        waitForSettled(view)
        compare(view.page, coming)
        compare(finished.count, 0)
    }

    // Tab and Shift+Tab go round the dots and the page's controls (a
    // disabled button is passed over); Return and Space press the one that
    // has the keyboard; a page reached by a key hands the keyboard to its
    // main control. Nothing of it reaches the screen below.
    function test_theKeyboardGoesRoundTheControls() {
        const scene = makeScene()
        const view = scene.overlay
        const finished = spyOn(view, "finished")
        const focused = () => view.Window.activeFocusItem
        tryVerify(() => view.activeFocus)

        const welcome = view.page
        const expected = [dot(view, 0), dot(view, 1), dot(view, 2), welcome.nextButton.pill, dot(view, 0)]
        for (const control of expected) {
            keyClick(Qt.Key_Tab)
            compare(focused(), control)
        }
        keyClick(Qt.Key_Backtab)
        compare(focused(), welcome.nextButton.pill)
        keyClick(Qt.Key_Return)
        compare(view.currentPage, 1)
        const requirement = view.page
        compare(focused(), requirement.guideBox.installedRow, "the page's main control")
        keyClick(Qt.Key_Space)
        verify(requirement.isInstalledChecked)
        keyClick(Qt.Key_Tab)
        compare(focused(), requirement.guideBox.loggedInRow)
        keyClick(Qt.Key_Tab)
        compare(focused(), requirement.navigation.previousButton)
        keyClick(Qt.Key_Tab)
        compare(focused(), dot(view, 0), "the disabled 다음 is passed over")
        keyClick(Qt.Key_Backtab)
        keyClick(Qt.Key_Backtab)
        compare(focused(), requirement.guideBox.loggedInRow)
        keyClick(Qt.Key_Space)
        verify(requirement.isLoggedInChecked)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        compare(focused(), requirement.navigation.nextButton)
        keyClick(Qt.Key_Enter)
        compare(view.currentPage, 2)
        const startPage = view.page
        compare(focused(), startPage.navigation.nextButton)
        keyClick(Qt.Key_Backtab)
        compare(focused(), startPage.navigation.previousButton)
        keyClick(Qt.Key_Tab)
        compare(finished.count, 0)
        keyClick(Qt.Key_Space)
        compare(finished.count, 1)
        compare(scene.input.text, "")
        verify(!scene.input.activeFocus)
    }

    // The guide link takes the keyboard as well.
    function test_theGuideLinkOpensFromTheKeyboard() {
        const scene = makeScene()
        const view = scene.overlay
        const opened = []
        view.openLink = address => opened.push(address)
        mouseClick(dot(view, 1))
        waitForSettled(view)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        compare(view.Window.activeFocusItem, view.page.guideBox.guideLink)
        keyClick(Qt.Key_Return)
        compare(opened.length, 1)
    }
}
