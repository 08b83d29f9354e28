import QtQuick
import Orva.Design
import Orva.Components

// The chosen project folder's path, wrapping when long, and the button that
// chooses again (reselect()).
Item {
    id: root
    property string path
    signal reselect()

    // The row is as wide as its content, up to the width it is given; a
    // longer path wraps.
    readonly property real pathWidth: Math.min(pathMetrics.advanceWidth + 1,
                                               Math.max(0, root.width - button.implicitWidth - Spacing.standard))

    implicitWidth: pathMetrics.advanceWidth + 1 + Spacing.standard + button.implicitWidth
    implicitHeight: Math.max(pathText.implicitHeight, button.implicitHeight)

    TextMetrics {
        id: pathMetrics
        font: Fonts.callout
        text: root.path
    }

    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.verticalCenter: parent.verticalCenter
        spacing: Spacing.standard

        Text {
            id: pathText
            objectName: "directoryPath"
            anchors.verticalCenter: parent.verticalCenter
            width: root.pathWidth
            text: root.path
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.callout
            color: Colors.white60
        }
        ReselectButtonStyle {
            id: button
            objectName: "reselectButton"
            anchors.verticalCenter: parent.verticalCenter
            text: "다시 선택하기"
            onClicked: root.reselect()
        }
    }
}
