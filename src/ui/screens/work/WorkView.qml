import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Dashboard
import Orva.Screens.Work

// The work screen: the sidebar and the terminal panel in two fixed columns,
// and above them, each on its own condition and in this order, the dashboard
// overlay, the task detail popup, the confetti and the project-completion
// popup. An overlay holds the keyboard while it is open and gives it back to
// the terminal when it closes. Escape closes the dashboard and the task
// popup, and does what "확인" does on the completion popup; no key reaches the
// terminal under an overlay. Without an overlay, Tab and Shift+Tab go round
// the dashboard button, the card's button, the terminal panel's buttons and
// the terminal; the terminal keeps Tab and Shift+Tab for its programs, and
// Control+Tab (Control+Shift+Tab) leaves it. When the control with the
// keyboard goes (the card's button once pressed), the terminal has it again.
FocusScope {
    id: root
    property WorkViewModel viewModel
    property bool showDashboard: false
    property bool showTaskDetail: false
    readonly property WorkScreenState screenState: screenState
    readonly property QtObject sidebar: sidebarLoader.item
    readonly property alias terminalPanel: terminalPanel
    readonly property QtObject dashboardOverlay: dashboardLoader.item
    readonly property QtObject taskPopup: popupLoader.item
    readonly property QtObject confetti: confettiLoader.item
    readonly property QtObject completionPopup: completionLoader.item
    readonly property bool overlayOpen: dashboardLoader.active || popupLoader.active || completionLoader.active

    // The person started a new project from the completion popup.
    signal newProjectRequested()

    WorkScreenState {
        id: screenState
        viewModel: root.viewModel
    }
    // The completion popup's ways out, kept by the screen so that they
    // report after the popup has gone.
    ProjectCompletionActions {
        id: completion
        onDismiss: screenState.dismissCompletion()
        onNewProject: root.newProjectRequested()
    }

    onOverlayOpenChanged: {
        if (!overlayOpen)
            terminalPanel.wrapper.forceActiveFocus()
    }

    Keys.onPressed: event => {
        if (root.overlayOpen)
            return
        const from = root.Window.activeFocusItem
        const step = ViewRules.tabStep(event.key, event.modifiers, ViewRules.isWithin(from, terminalPanel.wrapper))
        if (step === 0)
            return
        event.accepted = true
        ViewRules.moveKeyboard(root, from, step > 0)
    }
    // The control with the keyboard went: the terminal has it again (looked
    // at once the change that moved the keyboard is over).
    Timer {
        id: keyboardCheck
        interval: 0
        onTriggered: {
            const item = root.Window.activeFocusItem
            if (!root.overlayOpen && item !== null && ViewRules.isWithin(item, root)
                    && ViewRules.controlHolding(root, item) === null)
                terminalPanel.wrapper.forceActiveFocus()
        }
    }
    Window.onActiveFocusItemChanged: keyboardCheck.restart()

    Rectangle {
        anchors.fill: parent
        color: Colors.black
    }

    // The sidebar: there while there is a project, kept across reloads.
    Loader {
        id: sidebarLoader
        width: LayoutMetrics.sidebarWidth
        height: parent.height
        active: screenState.hasProject
        sourceComponent: SidebarView {
            objectName: "sidebar"
            project: screenState.project
            viewModel: root.viewModel
            onDashboardRequested: root.showDashboard = true
            onTaskDetailRequested: root.showTaskDetail = true
        }
    }
    Rectangle {
        x: LayoutMetrics.sidebarWidth
        width: 1
        height: parent.height
        color: Colors.white10
    }
    TerminalView {
        id: terminalPanel
        objectName: "terminalPanel"
        x: LayoutMetrics.sidebarWidth + 1
        width: parent.width - x
        height: parent.height
        viewModel: root.viewModel
        focus: !root.overlayOpen
    }

    // The dashboard overlay: a new dashboard model for each opening.
    Loader {
        id: dashboardLoader
        anchors.fill: parent
        active: root.showDashboard && screenState.hasProject
        focus: active
        onLoaded: dashboardLoader.forceActiveFocus()
        sourceComponent: ModalOverlay {
            objectName: "dashboardOverlay"
            readonly property alias dashboard: dashboard
            dim: Qt.rgba(0, 0, 0, 0.4)
            backdrop.objectName: "dashboardBackdrop"
            onBackdropClicked: root.showDashboard = false
            onDismissRequested: root.showDashboard = false

            Item {
                id: frame
                objectName: "dashboardFrame"
                anchors.centerIn: parent
                width: LayoutMetrics.workWindowWidth
                height: LayoutMetrics.workWindowHeight
                SoftShadow {
                    anchors.fill: parent
                    anchors.margins: -20
                    blurRadius: 20
                    cornerRadius: CornerRadius.r16
                    color: Qt.rgba(0, 0, 0, 0.33)
                }
                SmoothRect {
                    id: frameMask
                    anchors.fill: parent
                    radius: CornerRadius.r16
                    color: Colors.background
                }
                // A tap inside the frame is the dashboard's, never the backdrop's.
                MouseArea {
                    anchors.fill: parent
                    hoverEnabled: true
                    onWheel: wheel => wheel.accepted = false
                }
                // The panel paints its background with the frame's rounded
                // corners; its content stays inside its padding, clear of them.
                Item {
                    anchors.fill: parent
                    clip: true
                    DashboardView {
                        id: dashboard
                        anchors.fill: parent
                        cornerRadius: CornerRadius.r16
                        viewModel: DashboardViewModel {
                            previewProject: screenState.projectSnapshot()
                        }
                        onDismissRequested: root.showDashboard = false
                    }
                }
            }
        }
    }

    // The task detail popup, for the selected task.
    Loader {
        id: popupLoader
        anchors.fill: parent
        active: root.showTaskDetail && root.viewModel !== null && root.viewModel.hasSelectedTask
        focus: active
        onLoaded: popupLoader.forceActiveFocus()
        sourceComponent: TaskCardDetailPopup {
            objectName: "taskPopup"
            task: root.viewModel.selectedTask
            viewModel: root.viewModel
            onDismissed: root.showTaskDetail = false
        }
    }

    Loader {
        id: confettiLoader
        anchors.fill: parent
        active: screenState.showConfetti
        sourceComponent: CompletedConfetti {
            objectName: "confetti"
            isActive: true
        }
    }

    Loader {
        id: completionLoader
        anchors.fill: parent
        active: screenState.showCompletionPopup
        focus: active
        onLoaded: completionLoader.forceActiveFocus()
        sourceComponent: ProjectCompletionPopup {
            objectName: "completionPopup"
            actions: completion
        }
    }
}
