import QtQuick
import Orva.Design
import Orva.Components

// The popup's submit button: a title and a chevron on a filled rounded
// rectangle, in its dimmed colours and ignoring taps while not enabled.
Item {
    id: root
    property string title
    property bool isEnabled: true
    property color backgroundColor: Colors.indigo
    property color textColor: Colors.black
    property color disabledBackgroundColor: Colors.white10
    property color disabledTextColor: Colors.textSecondary
    property font fontSize: Fonts.headline
    property real horizontalPadding: Padding.p16
    property real verticalPadding: Padding.p10
    property real iconSize: 11
    readonly property color shownTextColor: root.isEnabled ? root.textColor : root.disabledTextColor
    readonly property color shownBackgroundColor: root.isEnabled ? root.backgroundColor : root.disabledBackgroundColor

    signal action()

    implicitWidth: row.implicitWidth + 2 * root.horizontalPadding
    implicitHeight: row.implicitHeight + 2 * root.verticalPadding

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r4
        color: root.shownBackgroundColor
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: Spacing.s10
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            textFormat: Text.PlainText
            font: root.fontSize
            color: root.shownTextColor
        }
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: "chevron.right"
            size: root.iconSize + 3
            color: root.shownTextColor
        }
    }
    MouseArea {
        anchors.fill: parent
        enabled: root.isEnabled
        cursorShape: root.isEnabled ? Qt.PointingHandCursor : Qt.ArrowCursor
        onClicked: root.action()
    }
}
