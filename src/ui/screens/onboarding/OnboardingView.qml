import QtQuick
import Orva.Design
import Orva.Screens.Onboarding
import Orva.Components

// The three-page onboarding overlay. It dims everything under it and is modal:
// its backdrop takes every press, wheel and hover, and it holds the keyboard
// focus, so nothing reaches the screen below. Tab and Shift+Tab go round its
// controls (the page dots, then the page's links, ticks and buttons, in the
// order of Qt's focus chain);
// Return and Space press the one that has the keyboard. A page on its way
// out takes nothing. Its only way out is finished(),
// sent by the last page's start action; the root view then closes it.
// Destroying it sends and records nothing.
ModalOverlay {
    id: root
    anchors.fill: parent

    // Opens the guide address in the web browser. Replaceable (tests put a
    // recorder here; the real opener talks to the desktop).
    property var openLink: address => Qt.openUrlExternally(address)

    // The page shown: 0 welcome, 1 Claude Code requirement, 2 start guide.
    property int currentPage: 0
    readonly property int totalPages: OnboardingContent.pageCount
    // The page on display (a page still leaving is not it).
    property Item page: null
    readonly property alias pageArea: pageArea
    readonly property alias card: card
    readonly property alias indicator: indicator

    // The page transition: 0.3 s ease-in-out, in from the trailing edge and
    // out to the leading edge, fading, whichever way the person goes.
    property int transitionDuration: 300
    readonly property var easeInOut: [0.42, 0, 0.58, 1, 1, 1]

    signal finished()

    // A stop of the focus chain that is no control: it hands the keyboard on
    // as soon as it gets it.
    component TabFence: Item {
        signal entered()
        activeFocusOnTab: true
        onActiveFocusChanged: if (activeFocus) entered()
    }

    function goToPage(index) {
        const target = OnboardingContent.pageAfterRequest(root.currentPage, index)
        if (target === root.currentPage)
            return
        root.currentPage = target
        root.showPage(true)
    }
    function finish() {
        root.finished()
    }

    function pageComponent(index) {
        if (index === 0)
            return welcomePage
        if (index === 1)
            return requirementPage
        return startGuidePage
    }
    // Builds the page of currentPage anew in a fresh slot; the slot shown so
    // far leaves and is destroyed once it is out.
    function showPage(animated) {
        const leaving = pageArea.current
        // A control of the leaving page had the keyboard: it goes on to the
        // new page's main control.
        const focused = root.Window.activeFocusItem
        const keyboardOnPage = leaving !== null && focused !== null && ViewRules.isWithin(focused, leaving)
        const slot = pageSlot.createObject(pageArea, { page: root.pageComponent(root.currentPage) })
        pageArea.current = slot
        root.page = slot.item
        if (leaving)
            leaving.leave(animated)
        slot.enter(animated)
        if (keyboardOnPage && root.page && root.page.primaryControl)
            root.page.primaryControl.forceActiveFocus(Qt.TabFocusReason)
    }
    // Keyboard: Tab and Shift+Tab go round the controls, along Qt's own
    // focus chain (the controls take the focus on Tab) fenced in by the card;
    // with no control holding the keyboard, Tab goes to the first and
    // Shift+Tab to the last. Every key stops here; shortcuts of the screen
    // below are held off too, all but quitting and closing the window.
    // Escape does nothing.
    holdsShortcuts: true
    onTabPressed: forward => (forward ? startFence.nextItemInFocusChain(true) : endFence.nextItemInFocusChain(false))
                             .forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)

    // The backdrop dims the window.
    dim: Qt.rgba(0, 0, 0, 0.5)
    backdrop.objectName: "onboardingBackdrop"

    Component.onCompleted: {
        root.showPage(false)
        root.forceActiveFocus()
    }

    // The card: the page dots over a page area 710 high. Nothing clips it, so
    // a page in motion is drawn outside its outline.
    Item {
        id: card
        objectName: "onboardingCard"
        width: 900
        height: indicator.implicitHeight + pageArea.height
        anchors.centerIn: parent

        // The ends of the card's focus chain: the keyboard that would go on
        // out of the card comes in again at its other end.
        TabFence {
            id: startFence
            onEntered: endFence.nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
        }

        SmoothRect {
            anchors.fill: parent
            topLeftRadius: CornerRadius.r12
            topRightRadius: CornerRadius.r12
            bottomRightRadius: CornerRadius.r12
            bottomLeftRadius: 0
            color: Qt.rgba(Colors.background.r, Colors.background.g, Colors.background.b, 0.95)
        }

        PageIndicator {
            id: indicator
            objectName: "pageIndicator"
            anchors.horizontalCenter: parent.horizontalCenter
            currentPage: root.currentPage
            totalPages: root.totalPages
            colorChangeDuration: root.transitionDuration
            onTap: index => root.goToPage(index)
        }

        Item {
            id: pageArea
            objectName: "pageArea"
            property Item current: null
            y: indicator.implicitHeight
            width: card.width
            height: 710
        }

        // The outline over everything the card holds.
        SmoothRect {
            anchors.fill: parent
            topLeftRadius: CornerRadius.r12
            topRightRadius: CornerRadius.r12
            bottomRightRadius: CornerRadius.r12
            bottomLeftRadius: 0
            color: "transparent"
            borderColor: Colors.white10
            borderWidth: 1
        }

        TabFence {
            id: endFence
            onEntered: startFence.nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
        }
    }

    // One page in the page area, with its way in and its way out.
    Component {
        id: pageSlot
        Item {
            id: slot
            property Component page
            readonly property Item item: loader.item as Item
            width: root.pageArea.width
            height: root.pageArea.height

            function enter(animated) {
                if (!animated)
                    return
                slot.x = slot.width
                slot.opacity = 0
                entering.start()
            }
            function leave(animated) {
                entering.stop()
                // On its way out the page takes no press and no key.
                slot.enabled = false
                if (!animated) {
                    slot.destroy()
                    return
                }
                leaving.start()
            }

            Loader {
                id: loader
                anchors.fill: parent
                sourceComponent: slot.page
            }
            ParallelAnimation {
                id: entering
                NumberAnimation {
                    target: slot; property: "x"; to: 0
                    duration: root.transitionDuration; easing.type: Easing.BezierSpline; easing.bezierCurve: root.easeInOut
                }
                NumberAnimation {
                    target: slot; property: "opacity"; to: 1
                    duration: root.transitionDuration; easing.type: Easing.BezierSpline; easing.bezierCurve: root.easeInOut
                }
            }
            SequentialAnimation {
                id: leaving
                ParallelAnimation {
                    NumberAnimation {
                        target: slot; property: "x"; to: -slot.width
                        duration: root.transitionDuration; easing.type: Easing.BezierSpline; easing.bezierCurve: root.easeInOut
                    }
                    NumberAnimation {
                        target: slot; property: "opacity"; to: 0
                        duration: root.transitionDuration; easing.type: Easing.BezierSpline; easing.bezierCurve: root.easeInOut
                    }
                }
                ScriptAction { script: slot.destroy() }
            }
        }
    }

    Component {
        id: welcomePage
        WelcomePage {
            objectName: "welcomePage"
            onNext: root.goToPage(1)
        }
    }
    Component {
        id: requirementPage
        ClaudeCodeRequirementPage {
            objectName: "requirementPage"
            onNext: root.goToPage(2)
            onPrevious: root.goToPage(0)
            onGuideRequested: root.openLink(OnboardingContent.guideAddress)
        }
    }
    Component {
        id: startGuidePage
        StartGuidePage {
            objectName: "startGuidePage"
            examples: OnboardingContent.exampleIdeas
            onStart: root.finish()
            onPrevious: root.goToPage(1)
        }
    }
}
