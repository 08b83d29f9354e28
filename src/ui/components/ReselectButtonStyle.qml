import QtQuick
import Orva.Design
import Orva.Components

// The small secondary button (re-choosing a folder, retrying): the label in
// the caption font on a faint white fill, at 0.7 opacity while pressed.
// Give `text` (and `textColor`), or give `label` an item of your own, which
// the button then draws centred on its fill instead of the text. Return and
// Space press it while it has the keyboard (a screen's Tab round gives it).
Item {
    id: root
    property string text
    property color textColor: Colors.textPrimary
    property font font: Fonts.caption
    property Item label: defaultLabel
    readonly property bool pressed: mouse.pressed
    readonly property bool keyboardControl: true
    readonly property alias focusRing: ring

    signal clicked()

    Accessible.role: Accessible.Button
    Accessible.name: text
    Keys.onPressed: (event) => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            root.clicked()
        }
    }

    implicitWidth: (label ? label.implicitWidth : 0) + 2 * Padding.p8
    implicitHeight: (label ? label.implicitHeight : 0) + 2 * Padding.p4
    opacity: pressed ? 0.7 : 1.0

    FocusRing {
        id: ring
        shown: root.activeFocus
        controlRadius: CornerRadius.r2
    }
    Rectangle {
        anchors.fill: parent
        radius: CornerRadius.r2
        color: Colors.white20
    }
    Item {
        id: labelSlot
        anchors.fill: parent
        Text {
            id: defaultLabel
            visible: root.label === defaultLabel
            anchors.centerIn: parent
            text: root.text
            textFormat: Text.PlainText
            font: root.font
            color: root.textColor
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onClicked: root.clicked()
    }

    // A label of the caller's own is drawn in the slot; one it replaces is
    // taken off the button again.
    property Item _shownLabel: null
    function _showLabel() {
        if (_shownLabel && _shownLabel !== defaultLabel && _shownLabel !== label)
            _shownLabel.parent = null
        if (label && label !== defaultLabel) {
            label.parent = labelSlot
            label.anchors.centerIn = labelSlot
        }
        _shownLabel = label
    }
    onLabelChanged: _showLabel()
    Component.onCompleted: _showLabel()
}
