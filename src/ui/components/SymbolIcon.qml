import QtQuick
import Orva.Design

// One platform symbol, drawn as its Material Icons glyph. An unknown name
// logs one line and leaves an empty square of `size`.
Item {
    id: root
    property string name
    property real size: 16
    property color color: Colors.white

    readonly property string glyph: name === "" ? "" : Symbols.glyph(name)

    implicitWidth: size
    implicitHeight: size

    Text {
        anchors.centerIn: parent
        visible: root.glyph !== ""
        text: root.glyph
        textFormat: Text.PlainText
        font.family: Symbols.fontFamily
        font.pixelSize: Math.round(root.size * 1.15)
        color: root.color
        renderType: Text.QtRendering
    }
}
