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
    }
}
