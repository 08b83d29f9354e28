import QtQuick
import Orva.Design
import Orva.Components

// The AI-side bubble that stands in for a reply while one is awaited: a
// turning indicator and a caption.
Item {
    id: root
    property string text

    implicitWidth: row.implicitWidth + 2 * Padding.p20
    implicitHeight: row.implicitHeight + 2 * Padding.p20

    SmoothRect {
        anchors.fill: parent
        topLeftRadius: CornerRadius.r12
        topRightRadius: CornerRadius.r12
        bottomRightRadius: CornerRadius.r12
        bottomLeftRadius: 0
        color: Colors.white10
    }

    Row {
        id: row
        x: Padding.p20
        y: Padding.p20
        spacing: Spacing.s12
        Item {
            anchors.verticalCenter: parent.verticalCenter
            width: 24
            height: 24
            ActivitySpinner {
                objectName: "thinkingSpinner"
                anchors.centerIn: parent
                size: 19
                color: Colors.white
            }
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.text
            textFormat: Text.PlainText
            font: Fonts.title3
            color: Colors.white
        }
    }
}
