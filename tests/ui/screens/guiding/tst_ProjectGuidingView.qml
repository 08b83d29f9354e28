import QtQuick
import QtTest
import Orva.Design
import Orva.Workflow
import Orva.Components
import Orva.Design
import Orva.Screens.Guiding

// The real project-guiding screen over a model whose folder service shows a
// fake panel, with the fake `claude` writing the documents and the plan into
// a temporary workspace.
TestCase {
    id: testCase
    name: "ProjectGuidingView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    Component {
        id: screenComponent
        ProjectGuidingView {
            id: screen
            width: 1120
            height: 880
            viewModel: helpers.createProjectGuidingViewModel(screen)
        }
    }
    Component {
        id: entryModel
        EntryViewModel {}
    }
    Component {
        id: spyComponent
        SignalSpy {}
    }

    readonly property string claudeModeFile: helpers.rootPath + "/claude.mode"
    readonly property string startLine: "[ProjectGuidingViewModel] Starting spec generation..."

    function log() {
        return helpers.readFile(helpers.fakeClaudeLog)
    }
    function count(text, pattern) {
        return (text.match(pattern) || []).length
    }
    function printCalls() {
        return count(log(), /^kind: print$/mg)
    }
    function callsEnded() {
        const text = log()
        return count(text, /^=== call /mg) === count(text, /^done /mg)
    }
    function setClaudeMode(mode) {
        verify(helpers.writeFile(claudeModeFile, mode + "\n"))
    }

    // A fresh project: the entry screen's preparation empties the workspace,
    // forgets the folder and opens the conversation.
    function init() {
        failOnWarning(/.*/)
        tryVerify(callsEnded, helpers.waitDeadline, "a claude call of the last test still runs")
        setClaudeMode("normal")
        const entry = createTemporaryObject(entryModel, testCase)
        entry.startPreparation()
        tryCompare(entry, "isReadyForInterview", true, helpers.waitDeadline)
        tryCompare(AppGroupMonitorService, "hasProject", false, helpers.waitDeadline)
    }

    function item(screen, name) {
        const found = findChild(screen, name)
        verify(found, name)
        return found
    }
    function showScreen() {
        const screen = createTemporaryObject(screenComponent, testCase)
        verify(screen)
        tryCompare(screen, "isViewAppeared", true, helpers.waitDeadline)
        return screen
    }
    // The values the entrance flag takes from now on, in order.
    function recordEntrance(screen) {
        const values = []
        screen.isViewAppearedChanged.connect(() => values.push(screen.isViewAppeared))
        return values
    }
    function spyOn(target, signalName) {
        return createTemporaryObject(spyComponent, testCase, {target: target, signalName: signalName})
    }
    // Lays the screen out and scrolls the guide column until `target` is in
    // view; returns it.
    function reveal(screen, target) {
        waitForRendering(screen)
        const scroller = findChild(screen, "guideScroller")
        if (scroller) {
            const at = target.mapToItem(scroller.contentItem, 0, 0)
            scroller.contentY = Math.max(0, Math.min(scroller.contentHeight - scroller.height,
                                                     at.y - (scroller.height - target.height) / 2))
        }
        return target
    }
    function chooseFolder(screen, button, path) {
        mouseClick(reveal(screen, button))
        tryVerify(() => helpers.isFolderPanelShowing(), helpers.waitDeadline, "the folder panel never showed")
        helpers.answerFolderPanel(path)
        tryCompare(screen.viewModel.directoryAccessService, "selectedDirectory", path, helpers.waitDeadline)
    }
    function verifyProject(screen) {
        const verifying = spyOn(screen.viewModel, "isVerifyingProjectChanged")
        mouseClick(reveal(screen, item(screen, "verificationButton")))
        tryCompare(verifying, "count", 2, helpers.waitDeadline)
        verify(!screen.viewModel.isVerifyingProject)
    }

    function test_appearanceRunsTheGenerationOnce() {
        const before = printCalls()
        helpers.startCapturingOutput()
        const screen = showScreen()
        compare(item(screen, "headerText").text, "AI가 앱을 만들기 위한 명세서를 작성 중이에요")
        verify(item(screen, "headerIndicator").visible)
        tryCompare(AppGroupMonitorService, "hasProject", true, helpers.waitDeadline)
        tryCompare(item(screen, "headerText"), "text", "AI가 명세서를 모두 생성했어요. 프로젝트 생성을 완료해주세요!", helpers.waitDeadline)
        verify(!item(screen, "headerIndicator").visible)

        // Re-layout and visibility changes start nothing.
        screen.width = 700
        screen.visible = false
        screen.visible = true
        screen.width = 1120
        chooseFolder(screen, item(screen, "folderButton"), helpers.rootPath + "/Once")
        tryVerify(callsEnded, helpers.waitDeadline)
        const output = helpers.stopCapturingOutput()
        compare(count(output, /\[ProjectGuidingViewModel\] Starting spec generation\.\.\./g), 1)
        compare(printCalls(), before + 2)
    }

    function test_folderButtonOpensThePanelAndThePathShows() {
        setClaudeMode("exit1")
        const screen = showScreen()
        verify(item(screen, "folderCard"))
        const path = helpers.rootPath + "/문서/My App's \"first\" <b>project</b>"
        chooseFolder(screen, item(screen, "folderButton"), path)
        tryVerify(() => findChild(screen, "guideColumn") !== null, helpers.waitDeadline)
        compare(item(screen, "directoryPath").text, path)
        verify(screen.viewState.guideText.indexOf("\n    " + path + "\n") >= 0)
        verify(helpers.exists(path))
    }

    // A generation failure is shown with its retry in every state before the
    // plan, whatever the verdicts; another folder clears a passed verdict.
    function test_verificationBoxesAndTheGenerationFailure() {
        setClaudeMode("exit1")
        const screen = showScreen()
        tryVerify(() => item(screen, "generationFailure").visible, helpers.waitDeadline, "the failure never showed")
        verify(!item(screen, "headerIndicator").visible)
        verify(item(screen, "generationError").text.length > 0)
        compare(item(screen, "retryButton").text, "다시 시도")

        const folder = helpers.rootPath + "/Empty Folder"
        chooseFolder(screen, item(screen, "folderButton"), folder)
        const result = item(screen, "resultView")
        verify(!result.visible)
        verifyProject(screen)
        verify(result.visible)
        verify(result.showsFailure)
        compare(item(screen, "resultTitle").text, "❌ 프로젝트를 찾을 수 없습니다")
        compare(item(screen, "resultMessage").text,
                "선택한 디렉토리와 하위 폴더에 Xcode 프로젝트가 없습니다.\n(.xcodeproj 또는 .xcworkspace 파일을 찾을 수 없습니다)")
        verify(item(screen, "resultMessage").lineCount >= 2)
        verify(item(screen, "generationFailure").visible, "a verdict keeps the failure")

        verify(helpers.makeFolder(folder + "/App.xcodeproj"))
        verifyProject(screen)
        verify(result.showsSuccess)
        compare(item(screen, "resultTitle").text, "✅ Xcode 프로젝트 확인 완료")
        compare(item(screen, "resultProjectName").text, "App")
        verify(item(screen, "verifiedMark").visible)
        verify(item(screen, "generationFailure").visible, "a passed verdict keeps the failure")

        // Another folder: the passed verdict no longer holds.
        const other = helpers.rootPath + "/Other Folder"
        chooseFolder(screen, item(screen, "reselectButton"), other)
        compare(item(screen, "directoryPath").text, other)
        verify(!result.visible)
        verify(!item(screen, "verifiedMark").visible)
        verify(!screen.viewModel.isProjectVerified)
        verify(item(screen, "generationFailure").visible)
    }

    function test_retryWritesThePlanAndTheCompletionLeadsOn() {
        setClaudeMode("exit1")
        const screen = showScreen()
        tryVerify(() => item(screen, "generationFailure").visible, helpers.waitDeadline)
        const folder = helpers.rootPath + "/Ready"
        verify(helpers.makeFolder(folder + "/App.xcodeproj"))
        chooseFolder(screen, item(screen, "folderButton"), folder)
        verifyProject(screen)
        verify(item(screen, "resultView").showsSuccess)

        setClaudeMode("normal")
        const calls = printCalls()
        tryCompare(screen, "isViewAppeared", true, helpers.waitDeadline)
        const entrance = recordEntrance(screen)
        mouseClick(item(screen, "retryButton"))
        verify(!item(screen, "generationFailure").visible)
        verify(item(screen, "headerIndicator").visible)
        tryVerify(() => findChild(screen, "completionSection") !== null, helpers.waitDeadline, "the plan never completed the set-up")
        verify(!findChild(screen, "header").visible)
        // The plan arrived after the verdict: the section rose in.
        tryCompare(screen, "isViewAppeared", true, helpers.waitDeadline)
        compare(entrance, [false, true])
        compare(printCalls(), calls + 2)

        const finished = spyOn(screen, "finished")
        mouseClick(item(screen, "completionButton"))
        compare(finished.count, 1)
    }

    function test_entranceReplaysOnAFolderOrPlanChangeNotOnAVerification() {
        const screen = showScreen()
        const entrance = recordEntrance(screen)
        tryCompare(AppGroupMonitorService, "hasProject", true, helpers.waitDeadline)
        tryCompare(screen, "isViewAppeared", true, helpers.waitDeadline)
        compare(entrance, [false, true], "the plan replays the entrance")

        const folder = helpers.rootPath + "/Replay"
        verify(helpers.makeFolder(folder + "/App.xcodeproj"))
        chooseFolder(screen, item(screen, "folderButton"), folder)
        tryCompare(screen, "isViewAppeared", true, helpers.waitDeadline)
        compare(entrance, [false, true, false, true], "the folder replays the entrance")

        verifyProject(screen)
        verify(findChild(screen, "completionSection"))
        verify(screen.isViewAppeared)
        compare(entrance.length, 4, "the verdict does not replay the entrance")
    }

    // At the window's size the guide fills the column; after a check the
    // column brings the result box into view, whole.
    function test_theVerdictIsBroughtIntoView() {
        const screen = showScreen()
        tryCompare(AppGroupMonitorService, "hasProject", true, helpers.waitDeadline)
        const folder = helpers.rootPath + "/No Project Here"
        chooseFolder(screen, item(screen, "folderButton"), folder)
        tryVerify(() => findChild(screen, "guideColumn") !== null)
        // The column has risen into place.
        tryCompare(screen, "isViewAppeared", true)
        tryCompare(item(screen, "guideColumn"), "opacity", 1, helpers.waitDeadline)
        const scroller = item(screen, "guideScroller")
        waitForRendering(screen)
        scroller.contentY = 0
        const button = item(screen, "verificationButton")
        const buttonAt = button.mapToItem(scroller, 0, 0)
        verify(buttonAt.y + button.height <= scroller.height, "the button is in view at the top")
        const verifying = spyOn(screen.viewModel, "isVerifyingProjectChanged")
        mouseClick(button)
        tryCompare(verifying, "count", 2)
        const box = item(screen, "resultView")
        verify(box.showsFailure)
        tryVerify(() => {
            const at = box.mapToItem(scroller, 0, 0)
            return at.y >= 0 && at.y + box.height <= scroller.height + 0.5 && !scroller.moving
        }, 5000, "the failure box comes into view")
    }

    // As drawn: the colour's alpha times every opacity above the item.
    function drawnColor(item, color) {
        let alpha = color.a
        for (let p = item; p !== null; p = p.parent)
            alpha *= p.opacity
        return Qt.rgba(color.r, color.g, color.b, alpha)
    }
    // The column laid out in a screen of the given height, at rest, once
    // the generation has written the plan (no call of it outlives the test).
    function showColumn(height, folder) {
        const screen = showScreen()
        screen.height = height
        tryCompare(AppGroupMonitorService, "hasProject", true, helpers.waitDeadline)
        chooseFolder(screen, item(screen, "folderButton"), folder)
        tryVerify(() => findChild(screen, "guideColumn") !== null)
        tryCompare(item(screen, "guideColumn"), "opacity", 1, helpers.waitDeadline)
        waitForRendering(screen)
        return screen
    }

    // The column says where it stands: while it holds more than it shows, an
    // indicator whose thumb stands out from the background and follows the
    // scroll, and faded edges where it goes on (none where it ends), so
    // that no line is seen cut in half under the header and the foot says
    // that more follows. A column that fits shows neither.
    function test_theColumnShowsWhereItStands_data() {
        return [
            { tag: "taller than the window", height: 880, overflows: true },
            { tag: "fits a tall window", height: 2400, overflows: false },
        ]
    }
    function test_theColumnShowsWhereItStands(data) {
        const screen = showColumn(data.height, helpers.rootPath + "/Column " + data.height)
        const column = item(screen, "guideColumn")
        const scroller = item(screen, "guideScroller")
        const indicator = item(screen, "guideScrollIndicator")
        const topFade = item(screen, "topFade")
        const bottomFade = item(screen, "bottomFade")
        scroller.contentY = 0
        compare(indicator.visible, data.overflows)
        tryCompare(bottomFade, "visible", data.overflows)
        verify(!topFade.visible, "nothing above the top")
        if (!data.overflows)
            return
        // The thumb, drawn over its faint white track, is seen against the
        // page at 3:1 or more.
        const thumb = indicator.thumb
        const covered = 1 - (1 - Colors.white10.a) * (1 - drawnColor(thumb, thumb.color).a)
        const thumbContrast = ViewRules.contrastRatio(Qt.rgba(1, 1, 1, covered), Colors.background)
        verify(thumbContrast >= 3, "thumb at " + thumbContrast.toFixed(2) + ":1")
        // The indicator stands beside the content, inside the screen.
        const at = indicator.mapToItem(screen, 0, 0)
        verify(at.x + indicator.width <= screen.width && at.y >= scroller.mapToItem(screen, 0, 0).y)

        // Scrolled into the middle: both edges fade, the top one lying over
        // the scroller's top edge, right under the header.
        const before = thumb.y
        mouseWheel(scroller, scroller.width / 2, scroller.height / 2, 0, -240)
        tryVerify(() => !scroller.moving && scroller.contentY > 0, helpers.waitDeadline)
        tryVerify(() => thumb.y > before, helpers.waitDeadline, "the thumb follows the scroll")
        if (scroller.contentY < scroller.contentHeight - scroller.height - 1) {
            tryCompare(topFade, "opacity", 1, helpers.waitDeadline)
            tryCompare(bottomFade, "opacity", 1, helpers.waitDeadline)
        }
        const fadeAt = topFade.mapToItem(screen, 0, 0)
        const scrollerAt = scroller.mapToItem(screen, 0, 0)
        compare(fadeAt.y, scrollerAt.y)
        verify(fadeAt.y >= item(screen, "header").mapToItem(screen, 0, 0).y + item(screen, "header").height,
               "the fade starts under the header")
        // At the end: the foot no longer fades.
        scroller.contentY = scroller.contentHeight - scroller.height
        tryVerify(() => !bottomFade.visible, helpers.waitDeadline)
        verify(topFade.visible)
    }

    // After a failed check the result and the folder row with "다시 선택하기"
    // under it come into view, out of the fade at the foot.
    function test_aFailedCheckBringsTheFolderRowIntoView() {
        const screen = showColumn(880, helpers.rootPath + "/No Xcode Here")
        const scroller = item(screen, "guideScroller")
        scroller.contentY = 0
        const row = item(screen, "directoryPathView")
        mouseClick(item(screen, "verificationButton"))
        const box = item(screen, "resultView")
        tryVerify(() => box.showsFailure, helpers.waitDeadline)
        // The box pushed the row past the foot of the view it was asked from.
        tryVerify(() => row.mapToItem(scroller.contentItem, 0, 0).y + row.height > scroller.height,
                  helpers.waitDeadline, "the row is below the fold at the column's top")
        const bottomFade = item(screen, "bottomFade")
        const inView = target => {
            const at = target.mapToItem(scroller, 0, 0)
            const foot = bottomFade.visible ? scroller.height - bottomFade.height : scroller.height
            return at.y >= 0 && at.y + target.height <= foot + 0.5
        }
        tryVerify(() => !scroller.moving && inView(box) && inView(row) && inView(item(screen, "reselectButton")),
                  5000, "the result and the folder row come into view")
    }

    // A failed generation reads clearly: its heading and reason at 4.5:1 or
    // more against the background, and the header no longer says that the
    // documents are being written.
    function test_aFailedGenerationIsReadable() {
        setClaudeMode("exit1")
        const screen = showScreen()
        tryVerify(() => item(screen, "generationFailure").visible, helpers.waitDeadline)
        verify(!item(screen, "headerText").visible || item(screen, "headerText").text === "")
        verify(!findChild(screen, "headerIndicator").visible)
        const background = Qt.color("#111111")
        // As drawn once the header has risen in: its colour at every
        // opacity on the way up.
        const contrast = name => {
            const text = item(screen, name)
            let alpha = text.color.a
            for (let p = text; p !== null; p = p.parent)
                alpha *= p.opacity
            return ViewRules.contrastRatio(Qt.rgba(text.color.r, text.color.g, text.color.b, alpha), background)
        }
        tryCompare(item(screen, "header"), "opacity", 1, helpers.waitDeadline)
        for (const name of ["generationFailureTitle", "generationError"])
            verify(contrast(name) >= 4.5, name + " at " + contrast(name).toFixed(2) + ":1")
        compare(item(screen, "generationFailureTitle").text, "준비 실패")
    }

    // ---- The keyboard ----

    // The button has the keyboard, shows its ring and lies in view.
    function verifyKeyboardOn(screen, name) {
        const button = item(screen, name)
        tryVerify(() => button.activeFocus, helpers.waitDeadline, name + " has the keyboard")
        verify(button.focusRing.visible, name + " shows its ring")
        const scroller = findChild(screen, "guideScroller")
        if (scroller && ViewRules.isWithin(button, scroller)) {
            tryVerify(() => {
                const at = button.mapToItem(scroller, 0, 0)
                return at.y >= 0 && at.y + button.height <= scroller.height + 0.5
            }, helpers.waitDeadline, name + " in view")
        }
        return button
    }

    // The whole set-up by Tab, Return and Space: the folder button takes the
    // keyboard from Tab, Return opens the panel; the guide column's first
    // button, "프로젝트 생성 완료", then has it, and Tab goes on to
    // "다시 선택하기" and round; Space verifies; the completion button has
    // the keyboard once everything is ready, and Return leads on.
    function test_theSetUpByTheKeyboard() {
        const screen = showScreen()
        screen.forceActiveFocus()
        tryCompare(AppGroupMonitorService, "hasProject", true, helpers.waitDeadline)
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(screen, "folderButton")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(screen, "folderButton") // the only button: round to itself
        keyClick(Qt.Key_Return)
        tryVerify(() => helpers.isFolderPanelShowing(), helpers.waitDeadline, "Return opened the folder panel")
        const folder = helpers.rootPath + "/By Keys"
        verify(helpers.makeFolder(folder + "/App.xcodeproj"))
        helpers.answerFolderPanel(folder)
        tryVerify(() => findChild(screen, "guideColumn") !== null, helpers.waitDeadline)
        verifyKeyboardOn(screen, "verificationButton")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(screen, "reselectButton")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(screen, "verificationButton")
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(screen, "reselectButton")
        keyClick(Qt.Key_Backtab)
        keyClick(Qt.Key_Space)
        tryVerify(() => findChild(screen, "completionSection") !== null, helpers.waitDeadline, "Space verified the project")
        verifyKeyboardOn(screen, "completionButton")
        const finished = spyOn(screen, "finished")
        keyClick(Qt.Key_Enter)
        compare(finished.count, 1)
    }

    // "다시 선택하기" by the keyboard opens the panel again; a failed
    // generation's "다시 시도" is in the round before the section's buttons.
    function test_reselectAndRetryByTheKeyboard() {
        setClaudeMode("exit1")
        const screen = showScreen()
        screen.forceActiveFocus()
        tryVerify(() => item(screen, "generationFailure").visible, helpers.waitDeadline)
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(screen, "retryButton")
        keyClick(Qt.Key_Tab)
        verifyKeyboardOn(screen, "folderButton")
        chooseFolder(screen, item(screen, "folderButton"), helpers.rootPath + "/Again")
        verifyKeyboardOn(screen, "verificationButton")
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(screen, "retryButton")
        keyClick(Qt.Key_Backtab)
        verifyKeyboardOn(screen, "reselectButton")
        keyClick(Qt.Key_Space)
        tryVerify(() => helpers.isFolderPanelShowing(), helpers.waitDeadline, "Space opened the folder panel again")
        helpers.answerFolderPanel(helpers.rootPath + "/Again 2")
        tryCompare(screen.viewModel.directoryAccessService, "selectedDirectory", helpers.rootPath + "/Again 2", helpers.waitDeadline)
    }

    // The texts of the set-up read at 4.5:1 or more on the background, the
    // buttons' on indigo.
    function test_textsAreReadable() {
        const screen = showScreen()
        tryCompare(AppGroupMonitorService, "hasProject", true, helpers.waitDeadline)
        const background = Qt.color("#111111")
        const readable = (scope, under, what) => {
            const walk = node => {
                if (!node.visible)
                    return
                if (node.text !== undefined && node.font !== undefined && node.text !== "" && node.color !== undefined) {
                    const ratio = ViewRules.contrastRatio(node.color, under(node))
                    verify(ratio >= 4.5, what + ": " + node.text + " at " + ratio.toFixed(2))
                }
                for (let i = 0; i < node.children.length; ++i)
                    walk(node.children[i])
            }
            walk(scope)
        }
        const onButton = node => ViewRules.isWithin(node, findChild(screen, "folderButton"))
            || ViewRules.isWithin(node, findChild(screen, "verificationButton"))
            || ViewRules.isWithin(node, findChild(screen, "completionButton")) ? Colors.indigo : background
        readable(screen, onButton, "folder card")
        chooseFolder(screen, item(screen, "folderButton"), helpers.rootPath + "/Readable")
        tryVerify(() => findChild(screen, "guideColumn") !== null, helpers.waitDeadline)
        for (const name of ["headerText", "directoryPath"]) {
            const ratio = ViewRules.contrastRatio(item(screen, name).color, background)
            verify(ratio >= 4.5, name + " at " + ratio.toFixed(2))
        }
        const label = findChild(item(screen, "verificationButton"), "verifiedMark").parent.children[0]
        verify(ViewRules.contrastRatio(label.color, Colors.indigo) >= 4.5, "프로젝트 생성 완료 on indigo")
    }
}
