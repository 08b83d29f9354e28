import QtQuick
import Orva.Design

// "예시" over one card per example idea, in order, centred one under another.
Item {
    id: root
    property var examples: []
    readonly property alias cards: cards

    implicitWidth: column.implicitWidth + 2 * Padding.p32
    implicitHeight: column.implicitHeight

    Column {
        id: column
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: Spacing.s16
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "예시"
            textFormat: Text.PlainText
            font: Fonts.body
            color: Colors.textSecondary
        }
        Column {
            id: cards
            objectName: "ideaCards"
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: Spacing.s12
            Repeater {
                model: root.examples
                delegate: AppIdeaExampleCard {
                    required property string modelData
                    objectName: "ideaCard"
                    x: (cards.width - width) / 2
                    text: modelData
                }
            }
        }
    }
}
