pragma ComponentBehavior: Bound

import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Dashboard

// The dashboard overlay's panel: the project's title row with its progress,
// pinned while the milestone columns scroll beneath it, or "Loading..." at
// the top of the scroll area while there is no plan. It fills the frame its
// host gives it (1020x800 in the work screen), paints its own background
// (with the host's `cornerRadius`), and, a modal overlay with a clear
// backdrop, keeps every click, wheel turn, hover and key to itself; Escape
// emits dismissRequested(), which its host takes to close it. Its model
// follows the monitor's plan while it is open; when the completed count rises
// and work remains, the model raises the completed-task popup, built anew
// each time.
ModalOverlay {
    id: root
    property DashboardViewModel viewModel
    // The corners of the panel's background; nothing else reaches them (the
    // content stays inside the standard padding).
    property real cornerRadius: 0
    // The shown project (a Project value), undefined while there is none.
    readonly property var project: viewModel ? viewModel.project : undefined
    readonly property bool hasProject: project !== undefined && project !== null
    readonly property bool popupShown: viewModel ? viewModel.showCompletedTaskPopup : false
    readonly property alias scrollArea: scrollArea
    readonly property alias headerBand: headerBand
    readonly property alias header: header
    readonly property alias taskTotal: taskTotal
    readonly property alias milestoneList: milestoneList
    readonly property alias loading: loading
    // The completed-task popup while it shows.
    property CompletedTaskPopup popup: null

    DashboardChecks {
        viewModel: root.viewModel
        shown: root.visible
    }

    SmoothRect {
        anchors.fill: parent
        radius: root.cornerRadius
        color: Colors.background
    }

    // While there is no plan the scroll area holds only this, at its top.
    Column {
        id: loading
        objectName: "loading"
        visible: !root.hasProject
        anchors.horizontalCenter: parent.horizontalCenter
        y: 0
        spacing: Spacing.s8

        ActivitySpinner {
            anchors.horizontalCenter: parent.horizontalCenter
            size: 20
            color: Colors.textSecondary
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Loading..."
            font: Fonts.body
            color: Colors.textSecondary
        }
    }

    Flickable {
        id: scrollArea
        anchors.fill: parent
        visible: root.hasProject
        contentWidth: width
        contentHeight: content.height + 2 * Padding.standard
        flickableDirection: Flickable.VerticalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: content
            x: Padding.standard
            y: Padding.standard
            width: scrollArea.width - 2 * Padding.standard

            // The top margin above the title row.
            Item {
                width: parent.width
                height: Spacing.s48
            }
            // The title row's place in the flow; the row itself is drawn
            // pinned above the scroll area.
            Item {
                id: headerSlot
                width: parent.width
                height: headerBand.height
            }
            Column {
                width: parent.width
                topPadding: Spacing.s24
                spacing: Spacing.s24

                Text {
                    id: taskTotal
                    width: Math.min(LayoutMetrics.dashboardWidth, parent.width)
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: DashboardRules.taskTotalText(root.hasProject ? root.project.totalTaskCount : 0)
                    textFormat: Text.PlainText
                    font: Fonts.title3
                    color: Colors.textSecondary
                }
                MilestoneList {
                    id: milestoneList
                    width: parent.width
                    project: root.project
                    viewport: scrollArea
                }
            }
        }
    }

    // The title row, opaque, pinned to the top once the list scrolls under it.
    Rectangle {
        id: headerBand
        visible: root.hasProject
        x: content.x
        y: Math.max(0, content.y + headerSlot.y - scrollArea.contentY)
        width: content.width
        height: header.implicitHeight + 2 * Padding.p20
        color: Colors.background

        DashboardHeader {
            id: header
            x: (headerBand.width - width) / 2
            y: Padding.p20
            width: LayoutMetrics.dashboardWidth
            project: root.project
        }
    }

    // The popup, built anew each time the model raises it.
    Repeater {
        id: popupSlot
        model: root.popupShown ? 1 : 0
        delegate: CompletedTaskPopup {
            width: root.width
            height: root.height
            onDismiss: root.viewModel.dismissPopup()
            onEscapePressed: root.dismissRequested()
        }
        onItemAdded: (index, item) => { root.popup = item as CompletedTaskPopup }
        onItemRemoved: { root.popup = null }
    }
}
