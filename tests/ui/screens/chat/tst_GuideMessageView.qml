import QtQuick
import QtTest
import Orva.Design
import Orva.Screens.Chat

// The guide message view: lines in order with step lines set apart, code in
// the code block view.
TestCase {
    id: testCase
    name: "GuideMessageView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    Component {
        id: guide
        GuideMessageView {
            width: 1000
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    function collect(item, name, out) {
        for (let i = 0; i < item.children.length; ++i) {
            const child = item.children[i]
            if (child.objectName === name && child.visible !== false)
                out.push(child)
            collect(child, name, out)
        }
        return out
    }

    function test_linesCodeAndBlankLines() {
        const text = "Xcode를 여세요.\n1. 새 프로젝트\n\n  2. iOS App <b>선택</b>\nv1.2. 버전\n'''\nopen -a Xcode\n\n  cd MyApp\n'''\n끝"
        const view = createTemporaryObject(guide, testCase, { text: text })
        verify(view)
        const shown = collect(view, "guideLine", [])
        compare(shown.map(line => line.text),
                ["Xcode를 여세요.", "1. 새 프로젝트", "", "  2. iOS App <b>선택</b>", "v1.2. 버전", "끝"])
        compare(shown.map(line => line.isNumbered), [false, true, false, true, false, false])
        verify(Qt.colorEqual(shown[1].color, Colors.gray))
        verify(Qt.colorEqual(shown[0].color, Colors.white))
        for (let i = 0; i < shown.length; ++i)
            compare(shown[i].textFormat, Text.PlainText)
        // The blank line keeps its place.
        verify(shown[2].height > 0)
        verify(shown[3].mapToItem(view, 0, 0).y > shown[1].mapToItem(view, 0, 0).y + shown[1].height + 2 * 16)

        const code = collect(view, "guideCodeBlock", [])
        compare(code.length, 1)
        compare(code[0].code, "open -a Xcode\n\n  cd MyApp")
        // A code block takes the width on offer.
        compare(findChild(view, "guideBox").width, view.width)
    }

    function test_withoutCodeTheBoxHugsItsText() {
        const view = createTemporaryObject(guide, testCase, { text: "1. 짧게" })
        verify(view)
        const box = findChild(view, "guideBox")
        verify(box.width < view.width)
        verify(box.width > 0)
    }

    function test_anEmptyTextShowsOneEmptyLine() {
        const view = createTemporaryObject(guide, testCase, { text: "" })
        const shown = collect(view, "guideLine", [])
        compare(shown.length, 1)
        compare(shown[0].text, "")
        compare(collect(view, "guideCodeBlock", []).length, 0)
    }

    function test_anUnclosedFenceHidesWhatFollows() {
        const view = createTemporaryObject(guide, testCase, { text: "보임\n'''\n안 보임" })
        const shown = collect(view, "guideLine", [])
        compare(shown.map(line => line.text), ["보임"])
        compare(collect(view, "guideCodeBlock", []).length, 0)
    }
}
