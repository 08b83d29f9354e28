import QtQuick
import Orva.Components

// A layer laid modally over a screen: the base of the popups and overlays
// (the dashboard, the task popup, the completion popup, the onboarding).
// What is declared inside it lies above its backdrop.
//
//   - The backdrop (dimmed by `dim`, clear by default) takes every press,
//     wheel turn and hover, so no mouse area or hover handler below sees
//     them; a click on it emits backdropClicked().
//   - Every key stops in it, pressed or released, so none reaches the screen
//     or the live terminal below. Escape emits dismissRequested(); Tab and
//     Shift+Tab that no control inside took (by KeyNavigation) emit
//     tabPressed(forward). With `holdsShortcuts`, the shortcuts of the screen
//     below are held off too, all but quitting and closing the window.
//   - It is a focus scope that holds the keyboard: when an item outside it
//     takes the active focus, it takes the focus back (unless that item lies
//     in another modal overlay, which then holds it).
FocusScope {
    id: root
    // The backdrop's colour.
    property color dim: "transparent"
    property bool holdsShortcuts: false
    readonly property alias backdrop: backdrop
    // Marks the items of a modal overlay for the others' focus holding.
    readonly property bool modalOverlay: true

    signal dismissRequested()
    signal backdropClicked()
    signal tabPressed(bool forward)

    focus: true
    Keys.onPressed: event => {
        event.accepted = true
        if (ViewRules.isDismissKey(event.key, event.modifiers))
            root.dismissRequested()
        else if (event.key === Qt.Key_Tab && !(event.modifiers & Qt.ShiftModifier))
            root.tabPressed(true)
        else if (event.key === Qt.Key_Backtab || event.key === Qt.Key_Tab)
            root.tabPressed(false)
    }
    Keys.onReleased: event => event.accepted = true
    Keys.onShortcutOverride: event => event.accepted = root.holdsShortcuts
                                                       && !(event.matches(StandardKey.Quit)
                                                            || event.matches(StandardKey.Close))

    // Anything outside the overlay that takes the focus gives it back.
    function holdFocus() {
        const item = root.Window.activeFocusItem
        if (!root.visible || item === null || item === root)
            return
        for (let p = item; p !== null; p = p.parent) {
            if (p === root || p.modalOverlay === true)
                return
        }
        root.forceActiveFocus()
    }
    Window.onActiveFocusItemChanged: focusCheck.restart()
    Timer {
        id: focusCheck
        interval: 0
        onTriggered: root.holdFocus()
    }

    Rectangle {
        id: backdrop
        anchors.fill: parent
        color: root.dim
        // A hover-enabled mouse area keeps hover from the mouse areas and
        // hover handlers below.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            hoverEnabled: true
            preventStealing: true
            onClicked: root.backdropClicked()
            onWheel: wheel => wheel.accepted = true
        }
    }
}
