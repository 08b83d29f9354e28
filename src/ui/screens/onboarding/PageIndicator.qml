import QtQuick
import Orva.Design
import Orva.Components

// One dot per page, 8 apart; the current page's dot is indigo, the others
// faint. A tap on a dot emits tap(index), the current one included; so do
// Return and Space on a dot that has the keyboard.
Row {
    id: root
    property int currentPage: 0
    property int totalPages: 0
    // How long a dot takes to change colour when the page changes (0: at once).
    property int colorChangeDuration: 0

    signal tap(int index)

    spacing: Spacing.s8
    topPadding: Padding.p20
    bottomPadding: Padding.p16

    Repeater {
        model: Math.max(0, root.totalPages)
        delegate: Rectangle {
            id: dot
            required property int index
            objectName: "pageDot" + index
            width: 8
            height: 8
            radius: 4
            color: dot.index === root.currentPage ? Colors.indigo : Colors.white20
            Behavior on color {
                enabled: root.colorChangeDuration > 0
                ColorAnimation { duration: root.colorChangeDuration; easing.type: Easing.InOutQuad }
            }
            activeFocusOnTab: true
            Keys.onPressed: (event) => {
                if (ViewRules.isPressKey(event.key, event.modifiers)) {
                    event.accepted = true
                    root.tap(dot.index)
                }
            }
            Rectangle {
                anchors.fill: parent
                anchors.margins: -4
                visible: dot.activeFocus
                radius: width / 2
                color: "transparent"
                border.color: Colors.indigo
                border.width: 2
            }

            MouseArea {
                anchors.fill: parent
                onClicked: root.tap(dot.index)
            }
        }
    }
}
