import QtQuick
import Orva.Design
import Orva.Components

// One example idea between an opening and a closing quotation mark, on a
// card as wide as the sentence. The card does nothing when pressed.
Item {
    id: root
    property string text
    readonly property alias openingQuote: openingQuote
    readonly property alias closingQuote: closingQuote
    readonly property alias sentence: sentence

    implicitWidth: row.implicitWidth + 2 * Padding.p16
    implicitHeight: row.implicitHeight + 2 * Padding.p16

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r8
        color: Colors.cardBackground
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: Spacing.s8
        SymbolIcon {
            id: openingQuote
            anchors.verticalCenter: parent.verticalCenter
            name: "quote.opening"
            size: Fonts.caption.pixelSize
            color: Colors.textSecondary
        }
        Text {
            id: sentence
            anchors.verticalCenter: parent.verticalCenter
            text: root.text
            textFormat: Text.PlainText
            font: Fonts.callout
            color: Colors.white
        }
        SymbolIcon {
            id: closingQuote
            anchors.verticalCenter: parent.verticalCenter
            name: "quote.closing"
            size: Fonts.caption.pixelSize
            color: Colors.textSecondary
        }
    }
}
