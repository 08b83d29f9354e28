import QtQuick
import Orva.Design

// The title and summary of a task card, one line each.
Column {
    id: root
    property string title
    property string summary
    spacing: Spacing.s6

    Text {
        width: root.width
        text: root.title
        textFormat: Text.PlainText
        font: Fonts.title3
        color: Colors.textPrimary
        elide: Text.ElideRight
        maximumLineCount: 1
    }
    Text {
        width: root.width
        text: root.summary
        textFormat: Text.PlainText
        font: Fonts.body
        color: Colors.textSecondary
        elide: Text.ElideRight
        maximumLineCount: 1
    }
}
