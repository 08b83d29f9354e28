import QtQuick
import QtTest
import Orva.Design
import Orva.Components

Item {
    id: window
    width: 300
    height: 200

    Component {
        id: checkComponent
        Item {
            property bool flag: false
            property alias box: box
            width: 100; height: 100
            CheckBoxButton {
                id: box
                isChecked: parent.flag
                size: 32
                cornerRadius: 6
                onColor: "#0000ff"
                offColor: "#333333"
                disabledColor: "#111111"
                onToggled: (checked) => parent.flag = checked
            }
        }
    }
    Component {
        id: xComponent
        XBoxButton { size: 24; onColor: "red"; offColor: "gray"; disabledColor: "black" }
    }

    TestCase {
        name: "ToggleButtons"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function test_clickChecksAndAnimatesTheFill() {
            const holder = createTemporaryObject(checkComponent, window)
            const box = holder.box
            compare(box.width, 32)
            compare(box.height, 32)
            compare(box.displayedColor, Qt.color("#333333"))
            compare(box.displayedGlyphOpacity, 0.5)
            compare(box.Accessible.description, "미체크")
            mouseClick(box)
            compare(holder.flag, true)
            compare(box.isChecked, true)
            // The change runs over 0.15 s.
            verify(box.displayedGlyphOpacity < 1.0)
            tryCompare(box, "displayedGlyphOpacity", 1.0, helpers.waitDeadline)
            tryCompare(box, "displayedColor", Qt.color("#0000ff"), helpers.waitDeadline)
            compare(box.Accessible.description, "체크됨")
            mouseClick(box)
            compare(holder.flag, false)
            compare(box.Accessible.description, "미체크")
        }

        function test_disabledIgnoresClicksWhateverTheState() {
            const holder = createTemporaryObject(checkComponent, window)
            const box = holder.box
            holder.flag = true
            box.isDisabled = true
            tryCompare(box, "displayedColor", Qt.color("#111111"), helpers.waitDeadline)
            compare(box.displayedGlyphOpacity, 0.4)
            mouseClick(box)
            compare(holder.flag, true)
            holder.flag = false
            tryCompare(box, "displayedGlyphOpacity", 0.4, helpers.waitDeadline)
            compare(box.displayedColor, Qt.color("#111111"))
        }

        function test_disabledContainerBlocksClicksButKeepsColours() {
            const holder = createTemporaryObject(checkComponent, window)
            holder.enabled = false
            const box = holder.box
            mouseClick(box)
            compare(holder.flag, false)
            compare(box.displayedColor, Qt.color("#333333"))
            compare(box.displayedGlyphOpacity, 0.5)
        }

        function test_crossBox() {
            const box = createTemporaryObject(xComponent, window)
            compare(box.glyphName, "xmark")
            compare(box.Accessible.name, "엑스박스")
            let toggles = []
            box.toggled.connect((c) => toggles.push(c))
            mouseClick(box)
            compare(toggles, [true])
        }
    }
}
