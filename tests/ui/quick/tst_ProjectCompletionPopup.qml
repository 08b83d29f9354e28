import QtQuick
import QtTest
import Orva.Design
import Orva.Components

Item {
    id: window
    width: 800
    height: 600

    // The owner keeps the actions and removes the popup on dismiss.
    Component {
        id: ownerComponent
        Item {
            id: owner
            anchors.fill: parent
            property bool showPopup: true
            property var events: []
            property real startedAt: 0
            property alias popupLoader: loader
            property alias actions: ownerActions
            ProjectCompletionActions {
                id: ownerActions
                onDismiss: {
                    owner.events.push(["dismiss", Date.now() - owner.startedAt])
                    owner.showPopup = false
                }
                onNewProject: owner.events.push(["newProject", Date.now() - owner.startedAt])
            }
            Loader {
                id: loader
                anchors.fill: parent
                active: owner.showPopup
                sourceComponent: ProjectCompletionPopup { actions: ownerActions }
            }
        }
    }

    TestCase {
        name: "ProjectCompletionPopup"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function button(popup, name) {
            const found = findChild(popup, name)
            verify(found, name)
            return found
        }

        function test_entranceStartsSmallAndTransparent() {
            const owner = createTemporaryObject(ownerComponent, window)
            const popup = owner.popupLoader.item
            verify(popup.cardScale < 0.6)
            verify(popup.cardOpacity < 0.2)
            compare(popup.card.width, 400)
            tryCompare(popup, "cardScale", 1, helpers.waitDeadline)
            tryCompare(popup, "cardOpacity", 1, helpers.waitDeadline)
        }

        function test_newProjectArrivesAfterThePopupIsGone() {
            const owner = createTemporaryObject(ownerComponent, window)
            const popup = owner.popupLoader.item
            tryCompare(popup, "cardScale", 1, helpers.waitDeadline)
            owner.startedAt = Date.now()
            const newButton = button(popup, "newProjectButton")
            mouseClick(newButton)
            mouseClick(newButton) // a second click during the exit
            tryVerify(() => owner.events.length === 2, helpers.waitDeadline)
            // Nothing is left to report: neither comes twice.
            verify(!owner.actions.closing)
            compare(owner.events.length, 2)
            compare(owner.events[0][0], "dismiss")
            compare(owner.events[1][0], "newProject")
            verify(owner.events[0][1] >= 180, owner.events[0][1])
            verify(owner.events[1][1] >= 280, owner.events[1][1])
            verify(owner.popupLoader.item === null)
        }

        function test_confirmOnlyDismisses() {
            const owner = createTemporaryObject(ownerComponent, window)
            owner.startedAt = Date.now()
            mouseClick(button(owner.popupLoader.item, "confirmButton"))
            tryVerify(() => owner.events.length === 1, helpers.waitDeadline)
            // Nothing is left to report: no new project follows.
            verify(!owner.actions.closing)
            compare(owner.events.length, 1)
            compare(owner.events[0][0], "dismiss")
        }

        function test_backdropClosesAndCardDoesNot() {
            const owner = createTemporaryObject(ownerComponent, window)
            const popup = owner.popupLoader.item
            tryCompare(popup, "cardScale", 1, helpers.waitDeadline)
            // On the card's heading: nothing.
            mouseClick(popup.card, 200, 40)
            verify(!owner.actions.closing, "a click on the card closes nothing")
            compare(owner.events.length, 0)
            // On the backdrop: as the confirm button.
            mouseClick(popup, 20, 20)
            tryVerify(() => owner.events.length === 1, helpers.waitDeadline)
            compare(owner.events[0][0], "dismiss")
        }
    
        // Escape does what "확인" does, once however often it is pressed;
        // Tab and Shift+Tab go between the buttons with their ring, Return
        // and Space press the one that has the keyboard.
        function test_keys_data() {
            return [
                { tag: "Escape", keys: [Qt.Key_Escape, Qt.Key_Escape], events: ["dismiss"] },
                { tag: "Tab, Tab, Return: 확인", keys: [Qt.Key_Tab, Qt.Key_Tab, Qt.Key_Return], events: ["dismiss"], focused: "confirmButton" },
                { tag: "Tab, Space: 새 프로젝트", keys: [Qt.Key_Tab, Qt.Key_Space], events: ["dismiss", "newProject"], focused: "newProjectButton" },
                { tag: "Shift+Tab, Enter: 확인", keys: [Qt.Key_Backtab, Qt.Key_Enter], events: ["dismiss"], focused: "confirmButton" },
                { tag: "other keys: nothing", keys: [Qt.Key_A, Qt.Key_Down], events: [] },
            ]
        }
        function test_keys(data) {
            const owner = createTemporaryObject(ownerComponent, window)
            const popup = owner.popupLoader.item
            owner.popupLoader.forceActiveFocus()
            tryVerify(() => popup.activeFocus, helpers.waitDeadline, "the popup holds the keyboard")
            for (let i = 0; i < data.keys.length; ++i) {
                if (i === data.keys.length - 1 && data.focused) {
                    const target = button(popup, data.focused)
                    verify(target.activeFocus, data.focused + " has the keyboard")
                    verify(target.children[0].visible, "its ring shows")
                }
                keyClick(data.keys[i])
            }
            if (data.events.length === 0) {
                // A way out starts its report at once.
                verify(!owner.actions.closing)
                verify(owner.popupLoader.item !== null)
                return
            }
            // Every report made, none left to come.
            tryVerify(() => owner.events.length > 0 && !owner.actions.closing, helpers.waitDeadline)
            compare(owner.events.map(e => e[0]), data.events)
        }

        // The texts read at 4.5:1 or more on what lies under them.
        function test_textsAreReadable() {
            const owner = createTemporaryObject(ownerComponent, window)
            const popup = owner.popupLoader.item
            const card = Colors.cardBackground
            const rows = [
                [button(popup, "confirmButton").label, Colors.green],
                [button(popup, "newProjectButton").label, Colors.background],
            ]
            // The other texts lie on the card (the buttons' labels are
            // the only ones inside a named item).
            const walk = item => {
                if (item.text !== undefined && item.font !== undefined && item.text !== "" && item.parent.objectName === "")
                    rows.push([item, card])
                for (let i = 0; i < item.children.length; ++i)
                    walk(item.children[i])
            }
            walk(popup.card)
            verify(rows.length >= 6)
            for (const [text, under] of rows) {
                const ratio = ViewRules.contrastRatio(text.color, under)
                verify(ratio >= 4.5, text.text + " at " + ratio.toFixed(2))
            }
        }
}
}
