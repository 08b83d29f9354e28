import QtQuick
import Orva.Design
import Orva.Components

// A tickable line of the requirement list: a circle, green and ticked while
// `isChecked`, then the label. A press reports the flipped value through
// toggled(checked); the owner of the flag writes it back. It takes the
// keyboard from the onboarding's Tab; Return or Space then tick it.
Item {
    id: root
    property string text
    property bool isChecked: false
    readonly property alias symbol: symbol
    activeFocusOnTab: true

    signal toggled(bool checked)

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: isChecked

    Keys.onPressed: (event) => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            root.toggled(!root.isChecked)
        }
    }

    FocusRing {
        shown: root.activeFocus
        controlRadius: CornerRadius.r4
    }
    Row {
        id: row
        spacing: Spacing.s16
        Item {
            width: 24
            height: symbol.implicitHeight
            anchors.verticalCenter: parent.verticalCenter
            SymbolIcon {
                id: symbol
                anchors.centerIn: parent
                name: root.isChecked ? "checkmark.circle.fill" : "circle"
                size: Fonts.icon20.pixelSize
                color: root.isChecked ? Colors.green : Colors.white40
            }
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: root.text
            textFormat: Text.PlainText
            font: Fonts.body
            color: Colors.white
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: root.toggled(!root.isChecked)
    }
}
