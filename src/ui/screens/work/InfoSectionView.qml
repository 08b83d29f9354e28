pragma ComponentBehavior: Bound

import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// A titled box of bulleted lines with a coloured bar on its leading edge.
// Each item is split at its line breaks; empty lines show nothing. No items:
// nothing at all. A box of more lines than `maximumListHeight` holds
// scrolls inside, with its indicator shown, and makes only the lines in
// sight.
Column {
    id: root
    property string title
    property var items: []
    property color accentColor: Colors.teal
    property real maximumListHeight: 320
    readonly property var lines: TaskPopupRules.sectionLines(root.items)
    readonly property alias list: list
    readonly property alias scrollIndicator: indicator

    visible: root.items.length > 0
    spacing: Spacing.s12

    Text {
        text: root.title
        textFormat: Text.PlainText
        font.family: Fonts.body.family
        font.pixelSize: Fonts.body.pixelSize
        font.bold: true
        color: Colors.gray
    }
    Item {
        width: 334
        height: list.height + 2 * Padding.p24
        SmoothRect {
            anchors.fill: parent
            topLeftRadius: 0
            bottomLeftRadius: 0
            topRightRadius: CornerRadius.r8
            bottomRightRadius: CornerRadius.r8
            color: Colors.white10
        }
        Rectangle {
            width: 3
            height: parent.height
            color: root.accentColor
        }
        ListView {
            id: list
            objectName: "sectionLines"
            x: Padding.p20
            y: Padding.p24
            width: 294
            height: Math.min(list.contentHeight, root.maximumListHeight)
            spacing: Spacing.s10
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            interactive: list.contentHeight > list.height + 0.5
            model: root.lines
            delegate: Row {
                id: line
                required property string modelData
                spacing: Spacing.s8
                Rectangle {
                    y: Math.max(5, Math.round((lineText.implicitHeight / Math.max(1, lineText.lineCount) - 4) / 2))
                    width: 4
                    height: 4
                    radius: 2
                    color: Hex.color("#D9D9D9")
                }
                Text {
                    id: lineText
                    width: 294 - 4 - Spacing.s8
                    text: line.modelData
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font: Fonts.body
                    color: Colors.textPrimary
                }
            }
        }
        ScrollTrack {
            id: indicator
            x: parent.width - 10
            y: Padding.p24
            width: 4
            height: list.height
            flickable: list
        }
    }
}
