import QtQuick
import Orva.Design
import Orva.Components

// Says that the task plan that is there cannot be used, and why; nothing at
// all while there is nothing to say.
Rectangle {
    id: root
    // The work model's planLoadMessage: empty, or the text to show.
    property string message: ""

    visible: message.length > 0
    height: visible ? Math.max(text.height, icon.height) + 2 * Padding.p8 : 0
    color: Qt.rgba(Colors.red.r, Colors.red.g, Colors.red.b, 0.12)

    SymbolIcon {
        id: icon
        x: Padding.standard
        y: Padding.p8 + 1
        name: "exclamationmark.triangle.fill"
        size: Fonts.caption.pixelSize + 2
        color: Colors.red
    }
    Text {
        id: text
        objectName: "planLoadMessage"
        anchors.left: icon.right
        anchors.leftMargin: Spacing.standard
        anchors.right: parent.right
        anchors.rightMargin: Padding.standard
        y: Padding.p8
        text: root.message
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        maximumLineCount: 3
        elide: Text.ElideRight
        font: Fonts.caption
        color: Colors.textPrimary
    }
}
