import QtQuick
import Orva.Design
import Orva.Components

// The chat field's send button: a paper plane on an indigo square, at 0.4
// opacity and ignoring clicks while not enabled.
Item {
    id: root
    property bool isEnabled: true

    signal submit()

    implicitWidth: 34 + Padding.p10
    implicitHeight: 34
    opacity: isEnabled ? 1.0 : 0.4

    SmoothRect {
        id: face
        width: 34
        height: 34
        radius: CornerRadius.r8
        color: Colors.indigo
        SymbolIcon {
            anchors.centerIn: parent
            name: "paperplane"
            size: 16
            color: Colors.white
        }
        MouseArea {
            anchors.fill: parent
            enabled: root.isEnabled
            onClicked: root.submit()
        }
    }
}
