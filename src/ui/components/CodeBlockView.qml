import QtQuick
import Orva.Design
import Orva.Components

// A code run as tinted rows, one per non-blank line, each with a thin grey
// bar at its left edge; long lines wrap inside their row.
Column {
    id: root
    property string code
    readonly property var rows: ComponentRules.codeBlockRows(code)

    spacing: Spacing.s4

    Repeater {
        model: root.rows
        delegate: Item {
            id: row
            required property string modelData
            width: root.width
            height: line.implicitHeight + 2 * Padding.p8

            SmoothRect {
                anchors.fill: parent
                topLeftRadius: 0
                topRightRadius: CornerRadius.r4
                bottomRightRadius: CornerRadius.r4
                bottomLeftRadius: 0
                color: Colors.cardBackground
            }
            Rectangle {
                width: 3
                height: parent.height
                color: Colors.gray
            }
            Text {
                id: line
                x: 3 + Padding.p16
                y: Padding.p8
                width: parent.width - 3 - 2 * Padding.p16
                text: row.modelData
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font: Fonts.body
                color: Colors.textPrimary
            }
        }
    }
}
