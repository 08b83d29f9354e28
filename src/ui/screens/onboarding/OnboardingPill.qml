import QtQuick
import Orva.Design
import Orva.Components

// The pill every onboarding button draws: the title and at most one glyph,
// 8 apart, padded 20 across and 12 down, on `fill` with 8-point continuous
// corners. A click emits clicked() while `active` is true.
Item {
    id: root
    property string title
    property string icon
    property bool iconLeading: false
    property color foreground: Colors.white
    property color fill: Colors.indigo
    property bool active: true

    readonly property bool pressed: mouse.pressed && root.active
    // A stop of the onboarding's keyboard round.
    activeFocusOnTab: root.active
    // The parts in drawing order, for tests: "icon" and "title".
    readonly property var partOrder: iconLeading ? ["icon", "title"] : ["title", "icon"]

    signal clicked()

    implicitWidth: row.implicitWidth + 2 * Padding.p20
    implicitHeight: row.implicitHeight + 2 * Padding.p12
    opacity: pressed ? 0.7 : 1.0

    Accessible.role: Accessible.Button
    Accessible.name: title

    Keys.onPressed: (event) => {
        if (root.active && ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            root.clicked()
        }
    }

    FocusRing {
        shown: root.activeFocus
        controlRadius: CornerRadius.r8
    }
    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r8
        color: root.fill
    }
    Row {
        id: row
        anchors.centerIn: parent
        spacing: Spacing.s8
        layoutDirection: root.iconLeading ? Qt.LeftToRight : Qt.RightToLeft

        SymbolIcon {
            objectName: "pillIcon"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.icon !== ""
            name: root.icon
            size: Fonts.icon10.pixelSize
            color: root.foreground
        }
        Text {
            objectName: "pillTitle"
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            textFormat: Text.PlainText
            font: Fonts.body
            color: root.foreground
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        cursorShape: root.active ? Qt.PointingHandCursor : Qt.ArrowCursor
        onClicked: {
            if (root.active)
                root.clicked()
        }
    }
}
