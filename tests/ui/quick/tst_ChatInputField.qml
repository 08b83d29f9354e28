import QtQuick
import QtTest
import Orva.Design
import Orva.Components

Item {
    id: window
    width: 900
    height: 200

    Component {
        id: fieldComponent
        ChatInputField {
            property int submits: 0
            property var submittedTexts: []
            width: 800
            placeholder: "만들고 싶은 앱을 알려주세요"
            onSubmit: {
                submits += 1
                submittedTexts.push(text)
            }
        }
    }

    QtObject {
        id: holder
        property string idea
    }
    Component {
        id: boundFieldComponent
        ChatInputField {
            width: 800
            isDisabled: true
            text: holder.idea
        }
    }

    TestCase {
        name: "ChatInputField"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function makeField(props) {
            const field = createTemporaryObject(fieldComponent, window, props || {})
            verify(field)
            return field
        }
        function focusField(field) {
            field.isTextFieldFocused = true
            tryVerify(() => field.editor.activeFocus, helpers.waitDeadline)
        }

        function test_returnSubmitsWithoutNewline() {
            const field = makeField()
            focusField(field)
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_B)
            keyClick(Qt.Key_Return)
            compare(field.submits, 1)
            compare(field.text, "ab")
            keyClick(Qt.Key_Enter)
            compare(field.submits, 2)
            compare(field.text, "ab")
        }

        function test_shiftReturnInsertsANewline() {
            const field = makeField()
            focusField(field)
            keyClick(Qt.Key_A)
            keyClick(Qt.Key_Return, Qt.ShiftModifier)
            keyClick(Qt.Key_B)
            compare(field.submits, 0)
            compare(field.text, "a\nb")
        }

        function test_returnSubmitsWhenEmptyOrNotAllowed() {
            const field = makeField({ isSubmitEnabled: false })
            focusField(field)
            keyClick(Qt.Key_Return)
            compare(field.submits, 1)
            compare(field.submittedTexts[0], "")
            keyClick(Qt.Key_X)
            keyClick(Qt.Key_Return)
            compare(field.submits, 2)
            // The send button stays off while sending is not allowed.
            compare(field.sendButton.opacity, 0.4)
        }

        function test_sendButtonOpacityAndClicks() {
            const field = makeField()
            const button = field.sendButton
            compare(button.opacity, 0.4)
            mouseClick(button, 17, 17)
            compare(field.submits, 0)
            field.text = "  "
            compare(button.opacity, 1.0)
            mouseClick(button, 17, 17)
            compare(field.submits, 1)
            field.isSubmitEnabled = false
            compare(button.opacity, 0.4)
            mouseClick(button, 17, 17)
            compare(field.submits, 1)
            // The button sits 10 px in from the field's trailing and bottom edges.
            const topLeft = button.mapToItem(field, 0, 0)
            const fieldRight = (field.width + field.fieldWidth) / 2
            compare(topLeft.x + 34, fieldRight - 10)
            compare(topLeft.y + 34, field.height - 10)
        }

        function test_placeholderFollowsFocusAndText() {
            const field = makeField()
            verify(field.placeholderShown)
            compare(field.placeholderShownText, "만들고 싶은 앱을 알려주세요")
            field.isTextFieldFocused = true
            tryVerify(() => field.editor.activeFocus, helpers.waitDeadline)
            verify(!field.placeholderShown)
            field.isTextFieldFocused = false
            tryVerify(() => !field.editor.activeFocus, helpers.waitDeadline)
            verify(field.placeholderShown)
            field.text = "x"
            verify(!field.placeholderShown)
            // A click into the editor gives focus and sets the caller's flag.
            field.text = ""
            mouseClick(field.editor, 5, 5)
            tryVerify(() => field.isTextFieldFocused, helpers.waitDeadline)
            verify(!field.placeholderShown)
        }

        function test_disabledShowsWaitingTextAndKeepsTheText() {
            const field = makeField({ isDisabled: true })
            verify(field.placeholderShown)
            compare(field.placeholderShownText, "잠시만 기다려주세요...")
            verify(!field.editor.enabled)
            field.destroy()

            const other = makeField()
            other.text = "hello"
            other.isDisabled = true
            // The caller's clear is undone once, and the undo settles.
            other.text = ""
            compare(other.text, "hello")
            other.text = "changed"
            compare(other.text, "hello")
            other.isDisabled = false
            other.text = ""
            compare(other.text, "")
        }

        function test_madeDisabledWithTextKeepsIt_data() {
            return [
                { tag: "disabled given first", source: "ChatInputField { isDisabled: true; text: \"idea\" }" },
                { tag: "text given first", source: "ChatInputField { text: \"idea\"; isDisabled: true }" },
                { tag: "disabled bound", source: "ChatInputField { width: 800; isDisabled: width > 0; text: \"idea\" }" },
                { tag: "initial properties, disabled first", properties: { isDisabled: true, text: "idea" } },
                { tag: "initial properties, text first", properties: { text: "idea", isDisabled: true } },
            ]
        }

        function test_madeDisabledWithTextKeepsIt(data) {
            const field = data.source !== undefined
                ? Qt.createQmlObject("import QtQuick; import Orva.Components; " + data.source, window)
                : makeField(data.properties)
            compare(field.text, "idea")
            compare(field.editor.text, "idea")
            // Edits while disabled are still undone, back to the first text.
            field.text = ""
            compare(field.text, "idea")
            field.text = "other"
            compare(field.text, "idea")
            field.isDisabled = false
            field.text = "other"
            compare(field.text, "other")
            if (data.source !== undefined)
                field.destroy()
        }

        function test_madeDisabledKeepsTheCallersBinding() {
            holder.idea = "first"
            const field = createTemporaryObject(boundFieldComponent, window)
            compare(field.text, "first")
            field.isDisabled = false
            holder.idea = "second"
            compare(field.text, "second")
        }

        function test_composedSyllableIsCommittedBeforeSubmit() {
            const field = makeField()
            focusField(field)
            helpers.commit(field.editor, "안녕")
            helpers.compose(field.editor, "하")
            compare(field.editor.preeditText, "하")
            keyClick(Qt.Key_Return)
            compare(field.submits, 1)
            compare(field.submittedTexts[0], "안녕하")
            compare(field.text, "안녕하")
            compare(field.editor.preeditText, "")
        }

        function test_widthBounds() {
            const wide = makeField({ width: 1000 })
            compare(wide.fieldWidth, 790)
            const narrow = makeField({ width: 300 })
            compare(narrow.fieldWidth, 350)
            compare(narrow.height, 96)
            narrow.text = "1\n2\n3\n4\n5"
            compare(narrow.height, 96)
        }
    }
}
