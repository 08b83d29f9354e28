import QtQuick
import Orva.Design

// The whole of a text that its place cuts short, shown under that place
// while the pointer rests on it; nothing while `text` is empty. The text is
// plain: markup in it is shown as typed.
Item {
    id: root
    property string text: ""
    readonly property bool showing: hover.hovered && root.text.length > 0

    HoverHandler {
        id: hover
    }
    Rectangle {
        id: bubble
        objectName: "hoverTextBubble"
        visible: root.showing
        z: 1000
        y: root.height + Padding.p4
        width: Math.min(label.implicitWidth, Math.max(root.width, 240)) + 2 * Padding.p8
        height: label.height + 2 * Padding.p4
        radius: CornerRadius.r4
        color: Colors.cardBackground
        border.width: 1
        border.color: Colors.white20
        Text {
            id: label
            x: Padding.p8
            y: Padding.p4
            width: Math.min(implicitWidth, Math.max(root.width, 240))
            text: root.text
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.caption
            color: Colors.textPrimary
        }
    }
}
