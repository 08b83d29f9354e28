import QtQuick
import Orva.Design
import Orva.Components

// Says that the task plan that is there cannot be used, and why; nothing at
// all while there is nothing to say. Its height is its place's; the text is
// cut to `maximumLines` lines, the whole of it shown on hover.
Rectangle {
    id: root
    // The work model's planLoadMessage: empty, or the text to show.
    property string message: ""
    property int maximumLines: 2

    visible: message.length > 0
    color: Qt.rgba(Colors.red.r, Colors.red.g, Colors.red.b, 0.12)

    SymbolIcon {
        id: icon
        x: Padding.standard
        anchors.verticalCenter: parent.verticalCenter
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
        anchors.verticalCenter: parent.verticalCenter
        text: root.message
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        maximumLineCount: root.maximumLines
        elide: Text.ElideRight
        font: Fonts.caption
        color: Colors.textPrimary
    }
    HoverText {
        anchors.fill: parent
        text: text.truncated ? root.message : ""
    }
}
