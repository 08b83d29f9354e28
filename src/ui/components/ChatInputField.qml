import QtQuick
import Orva.Design
import Orva.Components

// The multi-line field for the idea and the interview answers. Return sends
// (submit()), Shift+Return starts a new line. The caller owns the text and
// the focus flag: read `text` and write it (e.g. clear it after a send), and
// read or write `isTextFieldFocused`. While `isDisabled` the editor takes no
// input, is dimmed, shows the waiting text, and any change of the text is
// undone once, back to the last text accepted while enabled (the text the
// field is made with counts as accepted). The text scrolls by whole lines:
// no part of a line shows at the field's edges.
Item {
    id: root
    property alias text: editor.text
    property bool isTextFieldFocused: false
    property string placeholder
    property bool isDisabled: false
    property bool isSubmitEnabled: true

    readonly property alias editor: editor
    readonly property bool placeholderShown: placeholderText.visible
    readonly property string placeholderShownText: placeholderText.text
    readonly property real fieldWidth: Math.max(LayoutMetrics.inputMinWidth, Math.min(LayoutMetrics.inputMaxWidth, width))
    readonly property alias sendButton: sendButton

    signal submit()

    implicitWidth: LayoutMetrics.inputMaxWidth
    implicitHeight: LayoutMetrics.inputHeight + 2 * Padding.p24

    // The text the field is made with is its first accepted text, whatever
    // the order in which the caller gives `text` and `isDisabled`: the guard
    // only judges changes once the field is complete.
    TextGuard { id: guard }
    property bool _guarding: false
    Component.onCompleted: {
        guard.reset(editor.text)
        _guarding = true
    }

    // Gives the editor the keyboard within its focus scope: at once when
    // the scope has it, else as soon as the scope gets it back (an overlay
    // above keeps it meanwhile).
    function requestFocus() {
        if (!root.isDisabled)
            editor.focus = true
    }

    onIsTextFieldFocusedChanged: {
        if (isTextFieldFocused && !editor.activeFocus)
            editor.forceActiveFocus()
        else if (!isTextFieldFocused && editor.activeFocus)
            editor.focus = false
    }

    Item {
        id: field
        width: root.fieldWidth
        height: root.height
        anchors.horizontalCenter: parent.horizontalCenter
        opacity: root.isDisabled ? 0.5 : 1.0

        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r12
            color: Qt.rgba(Colors.cardBackground.r, Colors.cardBackground.g, Colors.cardBackground.b, 0.8)
            gradientEnd: Qt.rgba(Colors.background.r, Colors.background.g, Colors.background.b, 0.9)
            borderColor: Qt.rgba(Colors.indigo.r, Colors.indigo.g, Colors.indigo.b, 0.6)
            borderWidth: 2
            borderMode: SmoothRect.Clipped
        }

        // One line of the editor's text, to measure a line by.
        TextEdit {
            id: oneLine
            visible: false
            text: "가"
            textFormat: TextEdit.PlainText
            font: Fonts.title3
        }

        // As many whole lines as the editor's 48 points hold, so that a
        // line is either shown or not.
        Flickable {
            id: scroller
            objectName: "inputScroller"
            readonly property real lineHeight: oneLine.implicitHeight
            x: Padding.p24
            y: Padding.p24
            width: field.width - 2 * Padding.p24 - Padding.p48
            height: ViewRules.wholeLinesHeight(LayoutMetrics.inputHeight, lineHeight)
            clip: true
            contentWidth: width
            contentHeight: editor.height
            boundsBehavior: Flickable.StopAtBounds
            interactive: !root.isDisabled

            function ensureVisible(r) {
                let wanted = contentY
                if (wanted >= r.y)
                    wanted = r.y
                else if (wanted + height <= r.y + r.height)
                    wanted = r.y + r.height - height
                contentY = ViewRules.lineAlignedOffset(wanted, lineHeight, contentHeight, height, r.y, r.y + r.height)
            }
            // Scrolled by the wheel or a drag: it comes to rest on the
            // nearest line (no cursor line to keep in view).
            function settle() {
                contentY = ViewRules.lineAlignedOffset(contentY, lineHeight, contentHeight, height, contentHeight, 0)
            }
            onMovementEnded: settle()

            TextEdit {
                id: editor
                width: scroller.width
                // The whole visible area takes clicks, not only the lines typed.
                height: Math.max(editor.implicitHeight, scroller.height)
                wrapMode: TextEdit.Wrap
                textFormat: TextEdit.PlainText
                font: Fonts.title3
                color: Colors.white
                selectionColor: Qt.rgba(Colors.indigo.r, Colors.indigo.g, Colors.indigo.b, 0.6)
                enabled: !root.isDisabled
                onCursorRectangleChanged: scroller.ensureVisible(cursorRectangle)
                onActiveFocusChanged: {
                    if (root.isTextFieldFocused !== activeFocus)
                        root.isTextFieldFocused = activeFocus
                }
                onTextChanged: {
                    if (root._guarding && guard.textChanged(text, root.isDisabled))
                        text = guard.restoreText
                }
                Keys.onReturnPressed: (event) => root._returnPressed(event)
                Keys.onEnterPressed: (event) => root._returnPressed(event)
            }
        }
    }

    function _returnPressed(event) {
        if (ComponentRules.isShiftHeld(event.modifiers)) {
            event.accepted = false
            return
        }
        // A syllable still being composed becomes text before the send.
        ComponentRules.commitComposition(editor)
        event.accepted = true
        root.submit()
    }

    Text {
        id: placeholderText
        visible: !editor.activeFocus && editor.text.length === 0 && editor.preeditText.length === 0
        x: field.x + Padding.p24
        width: field.width - 2 * Padding.p24
        anchors.verticalCenter: parent.verticalCenter
        anchors.verticalCenterOffset: -Padding.p24 / 2
        text: root.isDisabled ? "잠시만 기다려주세요..." : root.placeholder
        textFormat: Text.PlainText
        font: Fonts.title3
        color: Qt.rgba(Colors.textSecondary.r, Colors.textSecondary.g, Colors.textSecondary.b, Colors.textSecondary.a * 0.5)
        elide: Text.ElideRight
    }

    InputFieldButton {
        id: sendButton
        anchors.right: field.right
        anchors.bottom: field.bottom
        anchors.bottomMargin: Padding.p10
        isEnabled: editor.text.length > 0 && root.isSubmitEnabled
        onSubmit: root.submit()
    }
}
