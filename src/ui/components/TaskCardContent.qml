import QtQuick
import Orva.Design
import Orva.Components

// The title and summary of a task card, one line each (a text of any length
// is laid out only as far as a line can show).
Column {
    id: root
    property string title
    property string summary
    spacing: Spacing.s6

    Text {
        width: root.width
        text: ViewRules.oneLine(root.title)
        textFormat: Text.PlainText
        font: Fonts.title3
        color: Colors.textPrimary
        elide: Text.ElideRight
        maximumLineCount: 1
    }
    Text {
        width: root.width
        text: ViewRules.oneLine(root.summary)
        textFormat: Text.PlainText
        font: Fonts.body
        color: Colors.textSecondary
        elide: Text.ElideRight
        maximumLineCount: 1
    }
}
