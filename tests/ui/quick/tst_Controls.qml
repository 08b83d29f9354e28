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
        id: customLabelComponent
        ReselectButtonStyle {
            label: Rectangle { implicitWidth: 40; implicitHeight: 12; color: "#ff0000" }
        }
    }
    Component {
        id: plainLabelComponent
        Rectangle { implicitWidth: 30; implicitHeight: 10; color: "#00ff00" }
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

        // Whether the colour drawn at the centre of an item is `expected`.
        function drawsAtCentre(item, expected) {
            const image = grabImage(item)
            return Qt.colorEqual(image.pixel(Math.floor(item.width / 2), Math.floor(item.height / 2)), expected)
        }

        function test_reselectDrawsACustomLabel() {
            const b = createTemporaryObject(customLabelComponent, window)
            // The pill wraps the label with its padding.
            compare(b.width, 40 + 2 * Padding.p8)
            compare(b.height, 12 + 2 * Padding.p4)
            verify(drawsAtCentre(b, "#ff0000"))
            // A label given later replaces the first; the first is no longer drawn.
            const first = b.label
            b.label = createTemporaryObject(plainLabelComponent, window)
            compare(b.width, 30 + 2 * Padding.p8)
            verify(drawsAtCentre(b, "#00ff00"))
            verify(first.parent === null)
            // Clicks still reach the button through the label.
            let clicks = 0
            b.clicked.connect(() => clicks += 1)
            mouseClick(b)
            compare(clicks, 1)
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
