import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// One numbered checklist row: the item and its two boxes, works and fails.
// The row owns no verdict: it reports taps (worksToggled, failsToggled) and
// its owner keeps the two boxes of a row exclusive. Both boxes are stops of
// the popup's keyboard round (TaskPopupKeys), at the row's index `row`.
Item {
    id: root
    property int row: 0
    property int number: 1
    property string text
    property bool isChecked: false
    property bool isXChecked: false
    property bool isDisabled: false
    readonly property color textColor: root.isDisabled ? Colors.textSecondary : Colors.textPrimary
    readonly property alias worksBox: worksBox
    readonly property alias failsBox: failsBox

    signal worksToggled(bool checked)
    signal failsToggled(bool checked)

    width: 335
    implicitHeight: Math.max(texts.implicitHeight, 32) + 2 * Padding.p8

    SmoothRect {
        anchors.fill: parent
        topLeftRadius: 0
        bottomLeftRadius: 0
        topRightRadius: CornerRadius.r8
        bottomRightRadius: CornerRadius.r8
        color: Colors.white10
    }
    Rectangle {
        width: 3
        height: parent.height
        color: Colors.darkGray
    }
    Row {
        id: texts
        x: Padding.p16 + 3
        anchors.verticalCenter: parent.verticalCenter
        width: Math.min(231, worksBox.x - Spacing.s10 - x)
        spacing: 4
        Text {
            id: numberText
            text: root.number + "."
            font: Fonts.body
            color: root.textColor
        }
        Text {
            objectName: "itemText"
            width: texts.width - numberText.width - 4
            text: root.text
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.body
            color: root.textColor
        }
    }
    CheckBoxButton {
        id: worksBox
        objectName: "worksBox"
        readonly property int popupStop: TaskPopupKeys.Works
        readonly property int popupRow: root.row
        anchors.right: failsBox.left
        anchors.rightMargin: Spacing.s8
        anchors.verticalCenter: parent.verticalCenter
        isChecked: root.isChecked
        isDisabled: root.isDisabled
        size: 32
        cornerRadius: CornerRadius.r4
        offColor: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.4)
        disabledColor: Colors.white10
        onToggled: checked => root.worksToggled(checked)
    }
    // "onColor" reads as a handler name in a binding: set it here.
    Binding { target: worksBox; property: "onColor"; value: Colors.green }
    XBoxButton {
        id: failsBox
        objectName: "failsBox"
        readonly property int popupStop: TaskPopupKeys.Fails
        readonly property int popupRow: root.row
        anchors.right: parent.right
        anchors.rightMargin: Padding.p8
        anchors.verticalCenter: parent.verticalCenter
        isChecked: root.isXChecked
        isDisabled: root.isDisabled
        size: 32
        cornerRadius: CornerRadius.r4
        offColor: Qt.rgba(Colors.red.r, Colors.red.g, Colors.red.b, 0.4)
        disabledColor: Colors.white10
        onToggled: checked => root.failsToggled(checked)
    }
    // "onColor" reads as a handler name in a binding: set it here.
    Binding { target: failsBox; property: "onColor"; value: Colors.red }
}
