import QtQuick
import Orva.Design

// One platform symbol, drawn as its Material Icons glyph, turned as the
// symbol table says (the opening quote is the closing mark turned half
// round). An unknown name logs one line and leaves an empty square of `size`.
Item {
    id: root
    property string name
    property real size: 16
    property color color: Colors.white

    readonly property string glyph: name === "" ? "" : Symbols.glyph(name)
    readonly property real glyphRotation: name === "" ? 0 : Symbols.rotation(name)

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
        rotation: root.glyphRotation
        renderType: Text.QtRendering
    }
}
