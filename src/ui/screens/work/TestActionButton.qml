import QtQuick
import Orva.Design
import Orva.Components

// The popup's submit button: a title and a chevron on a filled rounded
// rectangle, in its dimmed colours and ignoring taps while not enabled.
// Return and Space press it while it has the keyboard and is enabled.
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
    readonly property bool keyboardControl: root.isEnabled
    readonly property alias focusRing: ring

    signal action()

    implicitWidth: row.implicitWidth + 2 * root.horizontalPadding
    implicitHeight: row.implicitHeight + 2 * root.verticalPadding

    Accessible.role: Accessible.Button
    Accessible.name: title
    Keys.onPressed: (event) => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            if (root.isEnabled)
                root.action()
        }
    }

    FocusRing {
        id: ring
        shown: root.activeFocus
        controlRadius: CornerRadius.r4
    }

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
