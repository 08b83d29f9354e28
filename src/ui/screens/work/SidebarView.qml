import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Work

// The work screen's left column: the project title with the dashboard
// button, the total progress, the current-work card and the planning board,
// rising in one after another when the sidebar first shows. It asks its host
// for the dashboard (dashboardRequested) and for the task popup
// (taskDetailRequested, after the task has been given to the model). The
// dashboard button and the card's button are stops of the screen's
// keyboard round.
Item {
    id: root
    // A Project value; changes with every reload of the plan.
    property var project
    property WorkViewModel viewModel
    property bool isViewAppeared: false
    readonly property alias board: board
    readonly property alias card: card
    readonly property alias progressCard: progressCard
    readonly property string title: actions.title

    signal dashboardRequested()
    signal taskDetailRequested()

    SidebarActions {
        id: actions
        viewModel: root.viewModel
        projectName: root.project ? root.project.name : ""
    }

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }

    Flickable {
        id: scroller
        objectName: "sidebarScroller"
        anchors.fill: parent
        contentWidth: width
        contentHeight: sections.height
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: sections
            width: root.width
            spacing: Spacing.s20

            Column {
                x: Padding.p16
                width: parent.width - 2 * Padding.p16
                spacing: Spacing.s16

                Item { width: 1; height: Spacing.s8 }

                SlideUpFadeInModifier {
                    width: parent.width
                    height: header.height
                    isVisible: root.isViewAppeared
                    delay: 0
                    Item {
                        id: header
                        x: Padding.p4
                        width: parent.width - 2 * Padding.p4
                        height: Math.max(titleText.implicitHeight, dashboardButton.height)
                        Text {
                            id: titleText
                            objectName: "sidebarTitle"
                            anchors.left: parent.left
                            anchors.right: dashboardButton.left
                            anchors.rightMargin: Spacing.standard
                            anchors.verticalCenter: parent.verticalCenter
                            text: ViewRules.oneLine(actions.title)
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font.family: Fonts.title.family
                            font.pixelSize: Fonts.title.pixelSize
                            font.bold: true
                            color: Colors.textPrimary
                        }
                        SymbolIcon {
                            id: dashboardButton
                            objectName: "dashboardButton"
                            anchors.right: parent.right
                            anchors.verticalCenter: parent.verticalCenter
                            name: "square.arrowtriangle.4.outward"
                            size: Fonts.title3.pixelSize
                            color: Colors.textPrimary
                            readonly property bool keyboardControl: true
                            readonly property alias focusRing: dashboardRing
                            Accessible.role: Accessible.Button
                            Accessible.name: "대시보드"
                            Keys.onPressed: event => {
                                if (ViewRules.isPressKey(event.key, event.modifiers)) {
                                    event.accepted = true
                                    root.dashboardRequested()
                                }
                            }
                            FocusRing {
                                id: dashboardRing
                                shown: dashboardButton.activeFocus
                                controlRadius: CornerRadius.r4
                            }
                            MouseArea {
                                anchors.fill: parent
                                anchors.margins: -4
                                cursorShape: Qt.PointingHandCursor
                                onClicked: root.dashboardRequested()
                            }
                        }
                    }
                }
                SlideUpFadeInModifier {
                    width: parent.width
                    height: progressCard.height
                    isVisible: root.isViewAppeared
                    delay: 0.15
                    TotalProgressCard {
                        id: progressCard
                        width: parent.width
                        height: implicitHeight
                        project: root.project
                    }
                }
                SlideUpFadeInModifier {
                    width: parent.width
                    height: card.height
                    isVisible: root.isViewAppeared
                    delay: 0.3
                    CurrentWorkCard {
                        id: card
                        width: parent.width
                        task: root.viewModel && root.viewModel.hasLaunchedBefore ? root.viewModel.currentTask : undefined
                        forceShowAsPlanned: root.viewModel ? root.viewModel.forceShowAsPlanned : false
                        onStartWork: root.viewModel.startWork()
                        onStartTest: {
                            if (actions.selectCurrentTaskForTest())
                                root.taskDetailRequested()
                        }
                    }
                }
            }
            SlideUpFadeInModifier {
                width: parent.width
                height: board.height
                isVisible: root.isViewAppeared
                delay: 0.45
                PlanningBoard {
                    id: board
                    width: parent.width
                    height: implicitHeight
                    project: root.project
                    viewport: scroller
                    onTaskTapped: task => {
                        actions.selectTask(task)
                        root.taskDetailRequested()
                    }
                }
            }
        }
    }

    Timer {
        id: entrance
        interval: 50
        onTriggered: root.isViewAppeared = true
    }

    Component.onCompleted: {
        if (actions.appear())
            root.dashboardRequested()
        entrance.start()
    }
}
