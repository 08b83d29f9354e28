import QtQuick
import QtTest
import Orva.Components

Item {
    id: window
    width: 800
    height: 600

    // A screen with a focusable field (the live terminal's stand-in), a
    // hover handler and a mouse area over all of it, with an overlay on top
    // that holds one control of its own.
    Component {
        id: screenComponent
        Item {
            id: screen
            anchors.fill: parent
            property int clicks: 0
            property int wheels: 0
            property int moves: 0
            property int keys: 0
            property int dismissals: 0
            property int backdropClicks: 0
            property var tabs: []
            readonly property alias field: field
            readonly property alias hover: hover
            readonly property alias overlay: overlay
            readonly property alias control: control

            Keys.onPressed: screen.keys += 1
            Keys.onReleased: screen.keys += 1
            // The screen's own content under the overlay.
            Item {
                anchors.fill: parent
                HoverHandler {
                    id: hover
                }
            }
            MouseArea {
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.AllButtons
                onPressed: screen.clicks += 1
                onWheel: screen.wheels += 1
                onPositionChanged: screen.moves += 1
            }
            TextInput {
                id: field
                width: 200
                height: 40
                Keys.onPressed: screen.keys += 1
            }
            ModalOverlay {
                id: overlay
                anchors.fill: parent
                dim: Qt.rgba(0, 0, 0, 0.5)
                onDismissRequested: screen.dismissals += 1
                onBackdropClicked: screen.backdropClicks += 1
                onTabPressed: forward => screen.tabs.push(forward)
                Rectangle {
                    id: control
                    x: 300
                    y: 200
                    width: 100
                    height: 40
                    focus: true
                }
            }
        }
    }

    TestCase {
        name: "ModalOverlay"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function makeScreen() {
            const screen = createTemporaryObject(screenComponent, window)
            verify(screen)
            tryVerify(() => screen.control.activeFocus, helpers.waitDeadline, "the overlay's control has the keyboard")
            return screen
        }

        function test_pressesWheelAndHoverStopAtTheBackdrop() {
            const screen = makeScreen()
            const points = [[5, 5], [100, 20], [400, 300], [790, 590]]
            for (const p of points) {
                mouseMove(screen.overlay, p[0], p[1])
                mouseClick(screen.overlay, p[0], p[1])
                mouseClick(screen.overlay, p[0], p[1], Qt.RightButton)
                mouseClick(screen.overlay, p[0], p[1], Qt.MiddleButton)
                mouseWheel(screen.overlay, p[0], p[1], 0, -120)
                mouseWheel(screen.overlay, p[0], p[1], 120, 0)
            }
            compare(screen.clicks, 0)
            compare(screen.wheels, 0)
            compare(screen.moves, 0)
            verify(!screen.hover.hovered, "a hover handler below sees no hover")
            compare(screen.backdropClicks, 3 * points.length)
            verify(screen.control.activeFocus, "a click keeps the keyboard in the overlay")
        }

        function test_keysStopInTheOverlay() {
            const screen = makeScreen()
            for (const key of [Qt.Key_A, Qt.Key_Space, Qt.Key_Return, Qt.Key_Down, Qt.Key_Backspace, Qt.Key_F5])
                keyClick(key)
            keyClick(Qt.Key_C, Qt.ControlModifier)
            keyClick(Qt.Key_Return, Qt.ShiftModifier)
            compare(screen.keys, 0)
            compare(screen.field.text, "")
            compare(screen.dismissals, 0)
        }

        function test_escapeReachesTheHandler() {
            const screen = makeScreen()
            keyClick(Qt.Key_Escape)
            compare(screen.dismissals, 1)
            compare(screen.keys, 0)
            verify(screen.control.activeFocus)
        }

        function test_tabAndShiftTabReachTheirHandler() {
            const screen = makeScreen()
            keyClick(Qt.Key_Tab)
            keyClick(Qt.Key_Backtab, Qt.ShiftModifier)
            keyClick(Qt.Key_Tab, Qt.ShiftModifier)
            compare(screen.tabs, [true, false, false])
            compare(screen.keys, 0)
        }

        function test_theOverlayTakesTheKeyboardBack() {
            const screen = makeScreen()
            screen.field.forceActiveFocus()
            tryVerify(() => screen.control.activeFocus, helpers.waitDeadline, "the keyboard comes back to the overlay")
            keyClick(Qt.Key_X)
            compare(screen.field.text, "")
            compare(screen.keys, 0)
        }
    }
}
