import QtQuick
import QtTest
import Orva.Design
import Orva.Components

Item {
    id: window
    width: 600
    height: 400

    Component {
        id: reselectComponent
        ReselectButtonStyle { text: "다시 선택"; property int clicks: 0; onClicked: clicks += 1 }
    }
    Component {
        id: primaryComponent
        PrimaryButton { title: "다음"; property int actions: 0; onAction: actions += 1 }
    }
    Component {
        id: symbolComponent
        SymbolIcon { size: 20 }
    }
    Component {
        id: codeComponent
        CodeBlockView { width: 400 }
    }

    TestCase {
        name: "Controls"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function test_reselectDimsExactlyWhilePressed() {
            const b = createTemporaryObject(reselectComponent, window)
            compare(b.opacity, 1.0)
            mousePress(b)
            compare(b.opacity, 0.7)
            mouseRelease(b)
            compare(b.opacity, 1.0)
            compare(b.clicks, 1)
        }

        function test_primaryButtonReportsItsAction() {
            const b = createTemporaryObject(primaryComponent, window)
            verify(b.width > 48)
            mouseClick(b)
            compare(b.actions, 1)
        }

        function test_unknownSymbolLogsAndKeepsItsSize() {
            helpers.startCapturingOutput()
            const icon = createTemporaryObject(symbolComponent, window, { name: "no.such.symbol" })
            const output = helpers.stopCapturingOutput()
            compare(icon.glyph, "")
            compare(icon.width, 20)
            compare(icon.height, 20)
            compare(output, "[SymbolIcon] - Unknown symbol name: no.such.symbol\n")
            const known = createTemporaryObject(symbolComponent, window, { name: "paperplane" })
            verify(known.glyph !== "")
        }

        function test_codeBlockRows() {
            const block = createTemporaryObject(codeComponent, window, { code: "a\n\n  b" })
            compare(block.rows, ["a", "  b"])
            const blank = createTemporaryObject(codeComponent, window, { code: " \n\t\n" })
            compare(blank.rows.length, 0)
            compare(blank.height, 0)
        }
    }
}
