import QtQuick
import Orva.Design
import Orva.Components

// The square toggle of CheckBoxButton and XBoxButton. The caller owns the
// Boolean: a click reports the negation through toggled(checked), and the
// caller writes it back (e.g. onToggled: (checked) => model.flag = checked).
// While it has the keyboard (a Tab round gives it), Return and Space toggle
// it too, unless it is disabled.
Item {
    id: root
    property bool isChecked: false
    property bool isDisabled: false
    property real size: 24
    property real cornerRadius: CornerRadius.r4
    property color onColor: Colors.indigo
    property color offColor: Colors.white10
    property color disabledColor: Colors.darkGray
    property string glyphName: "checkmark"
    property string accessibleLabel: "체크박스"

    // What is drawn now (while the 0.15 s change runs, its current value).
    readonly property color displayedColor: box.color
    readonly property real displayedGlyphOpacity: glyph.opacity
    readonly property bool clickable: mouse.enabled
    readonly property bool keyboardControl: !root.isDisabled
    readonly property alias focusRing: ring

    signal toggled(bool checked)

    function fillColorNow() {
        return isDisabled ? disabledColor : (isChecked ? onColor : offColor)
    }
    function glyphOpacityNow() {
        return isDisabled ? 0.4 : (isChecked ? 1.0 : 0.5)
    }
    // Only a change of isChecked animates (0.15 s ease-in-out); every other
    // change shows at once.
    function refresh(animated) {
        fade.stop()
        if (animated) {
            colorStep.to = fillColorNow()
            opacityStep.to = glyphOpacityNow()
            fade.start()
        } else {
            box.color = fillColorNow()
            glyph.opacity = glyphOpacityNow()
        }
    }
    onIsCheckedChanged: refresh(true)
    onIsDisabledChanged: refresh(false)
    onOnColorChanged: refresh(false)
    onOffColorChanged: refresh(false)
    onDisabledColorChanged: refresh(false)
    Component.onCompleted: refresh(false)

    implicitWidth: size
    implicitHeight: size

    Accessible.role: Accessible.Button
    Accessible.name: accessibleLabel
    Accessible.description: isChecked ? "체크됨" : "미체크"
    Accessible.checkable: true
    Accessible.checked: isChecked

    Keys.onPressed: (event) => {
        if (ViewRules.isPressKey(event.key, event.modifiers)) {
            event.accepted = true
            if (!root.isDisabled)
                root.toggled(!root.isChecked)
        }
    }

    FocusRing {
        id: ring
        shown: root.activeFocus
        controlRadius: root.cornerRadius
    }
    SmoothRect {
        id: box
        anchors.fill: parent
        radius: root.cornerRadius
    }
    SymbolIcon {
        id: glyph
        anchors.centerIn: parent
        name: root.glyphName
        size: root.size * 0.5
        color: Colors.white
    }
    ParallelAnimation {
        id: fade
        ColorAnimation { id: colorStep; target: box; property: "color"; duration: 150; easing.type: Easing.InOutQuad }
        NumberAnimation { id: opacityStep; target: glyph; property: "opacity"; duration: 150; easing.type: Easing.InOutQuad }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        enabled: !root.isDisabled
        onClicked: root.toggled(!root.isChecked)
    }
}
