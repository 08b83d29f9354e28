pragma ComponentBehavior: Bound

import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// The milestones as tabs and, below them, the task cards of the selected
// one. The selection belongs to the board: it starts at the first
// milestone's id and changes only by a tab tap, so a reload of the plan
// keeps it (a selection no milestone has any more shows an empty area).
// The tabs share the row's width down to a width a title still reads in;
// more tabs than fit so scroll sideways (drag, a sideways wheel, or the bar
// above them). Only the tabs and task cards in sight are made. A tab that
// cannot show its whole title names it in a tip while the pointer rests on
// it, and the selected one's name shows in a line under the row.
Item {
    id: root
    // A Project value.
    property var project
    property var selectedMilestoneId: 0
    // The scroll area the task cards are seen through (the sidebar's); the
    // board itself when there is none.
    property Item viewport: null
    readonly property int selectedIndex: WorkBoardRules.selectedMilestoneIndex(root.project, root.selectedMilestoneId)
    readonly property int selectedTaskCount: WorkBoardRules.taskCountOfSelection(root.project, root.selectedMilestoneId)
    readonly property int tabCount: WorkBoardRules.milestoneCount(root.project)
    readonly property real rowWidth: root.width - 2 * Padding.p16
    readonly property real tabWidth: WorkBoardRules.tabWidth(root.tabCount, root.rowWidth)
    readonly property real tabStride: root.tabWidth + Spacing.s16
    readonly property bool tabsScroll: WorkBoardRules.tabRowScrolls(root.tabCount, root.rowWidth)
    readonly property int rowTitleLines: WorkBoardRules.anyTabTitleWraps(root.project, root.tabWidth - 2 * Padding.p16) ? 2 : 1
    readonly property real taskStride: 110 + Spacing.s10
    // The tabs made so far, in the row's order: count, and itemAt(i) for the
    // i-th of them.
    readonly property QtObject tabs: QtObject {
        readonly property int count: root.madeTabs().length
        function itemAt(i: int): Item {
            const made = root.madeTabs()
            return i >= 0 && i < made.length ? made[i] : null
        }
    }
    readonly property alias tabStrip: tabStrip
    readonly property alias tabScrollBar: tabScrollBar
    readonly property alias taskCards: taskRepeater
    readonly property alias selectedName: selectedName
    readonly property alias toolTip: toolTip
    // The tab the pointer rests on.
    property MilestoneTabCard hoveredTab: null

    // A task card was tapped: the task value as the board shows it.
    signal taskTapped(var task)

    function madeTabs() {
        const made = []
        const children = tabStrip.contentItem.children
        for (let i = 0; i < children.length; ++i) {
            const child = children[i]
            if (child.milestoneValue !== undefined && child.visible)
                made.push(child)
        }
        return made.sort((a, b) => a.x - b.x)
    }

    // A tab's height for one or two lines of title.
    function tabHeight(lines: int): real {
        return 2 * Padding.p16 + 30 + 2 * Padding.p8 + Spacing.s16 + Math.ceil(lines * Fonts.body.pixelSize * 1.5)
            + Spacing.s4 + countMeasure.implicitHeight
    }

    implicitWidth: 348
    implicitHeight: content.implicitHeight + 2 * Padding.p16

    Component.onCompleted: root.selectedMilestoneId = WorkBoardRules.firstMilestoneId(root.project)

    Text {
        id: countMeasure
        visible: false
        text: "0/0"
        font: Fonts.caption2
    }

    // The background: its rounded top painted, the rest a plain rectangle
    // (a board of thousands of tasks is far taller than any picture should
    // be).
    SmoothRect {
        width: parent.width
        height: Math.min(parent.height, 2 * CornerRadius.r12)
        topLeftRadius: CornerRadius.r12
        topRightRadius: CornerRadius.r12
        bottomLeftRadius: 0
        bottomRightRadius: 0
        color: Colors.cardBackground
    }
    Rectangle {
        y: CornerRadius.r12
        width: parent.width
        height: Math.max(0, parent.height - CornerRadius.r12)
        color: Colors.cardBackground
    }
    Column {
        id: content
        x: Padding.p16
        y: Padding.p16
        width: root.rowWidth
        spacing: Spacing.s16

        // Where the row of tabs is, and a handle to move it, while it scrolls.
        ScrollTrack {
            id: tabScrollBar
            objectName: "tabScrollBar"
            visible: root.tabsScroll
            width: parent.width
            height: 6
            orientation: Qt.Horizontal
            flickable: tabStrip
        }
        ListView {
            id: tabStrip
            objectName: "tabStrip"
            width: parent.width
            height: root.tabCount > 0 ? root.tabHeight(root.rowTitleLines) : 0
            orientation: ListView.Horizontal
            spacing: Spacing.s16
            boundsBehavior: Flickable.StopAtBounds
            interactive: root.tabsScroll
            clip: root.tabsScroll
            // The tabs in sight and one tab's width on either side are made.
            cacheBuffer: Math.max(0, Math.ceil(root.tabStride))
            model: root.tabCount
            delegate: MilestoneTabCard {
                id: tab
                required property int index
                readonly property var milestoneValue: WorkBoardRules.milestoneAt(root.project, tab.index)
                y: (tabStrip.height - tab.height) / 2
                width: root.tabWidth
                height: tab.implicitHeight
                milestone: tab.milestoneValue
                titleLines: tab.milestoneValue
                    ? WorkBoardRules.tabTitleLines(tab.milestoneValue.title, root.tabWidth - 2 * Padding.p16) : 1
                isSelected: tab.milestoneValue !== undefined && tab.milestoneValue.id === root.selectedMilestoneId
                onTap: root.selectedMilestoneId = tab.milestoneValue.id
                onHoveredChanged: {
                    if (tab.hovered)
                        root.hoveredTab = tab
                    else if (root.hoveredTab === tab)
                        root.hoveredTab = null
                }
                Component.onDestruction: if (root.hoveredTab === tab) root.hoveredTab = null
            }
        }
        // The selected milestone's whole name, when its tab cuts it.
        Text {
            id: selectedName
            objectName: "selectedMilestoneName"
            width: parent.width
            visible: text !== ""
            text: WorkBoardRules.selectedMilestoneName(root.project, root.selectedMilestoneId, root.tabWidth - 2 * Padding.p16)
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            font.family: Fonts.body.family
            font.pixelSize: Fonts.body.pixelSize
            font.bold: true
            color: Colors.textPrimary
        }
        Item {
            id: taskList
            objectName: "taskList"
            visible: root.selectedIndex >= 0
            width: parent.width
            height: visible && root.selectedTaskCount > 0 ? root.selectedTaskCount * root.taskStride - Spacing.s10 : 0
            Repeater {
                id: taskRepeater
                model: ItemWindow {
                    total: root.selectedIndex >= 0 ? root.selectedTaskCount : 0
                    stride: root.taskStride
                    extent: 110
                    viewport: root.viewport ? root.viewport : root
                    list: taskList
                    margin: 400
                }
                delegate: TaskCard {
                    id: card
                    required property int itemIndex
                    y: card.itemIndex * root.taskStride
                    width: taskList.width
                    taskItem: WorkBoardRules.taskOfSelection(root.project, root.selectedMilestoneId, card.itemIndex)
                    onTap: root.taskTapped(card.taskItem)
                }
            }
        }
        Item {
            objectName: "emptySelection"
            visible: root.selectedIndex < 0
            width: parent.width
            height: visible ? 100 : 0
        }
    }

    // The tip under the tab the pointer rests on, after a moment, naming
    // what the tab cuts.
    Item {
        id: toolTip
        objectName: "tabToolTip"
        readonly property string text: root.hoveredTab ? root.hoveredTab.hiddenName : ""
        readonly property real maximumWidth: Math.min(280, root.width - 2 * Padding.p8)
        property bool due: false
        z: 10
        visible: toolTip.due && toolTip.text !== ""
        width: Math.min(toolTip.maximumWidth, tipMetrics.advanceWidth + 1 + 2 * Padding.p8)
        height: tipText.implicitHeight + 2 * Padding.p6
        x: {
            if (!root.hoveredTab)
                return 0
            const centre = root.hoveredTab.mapToItem(root, root.hoveredTab.width / 2, 0).x
            return Math.max(Padding.p8, Math.min(root.width - toolTip.width - Padding.p8, centre - toolTip.width / 2))
        }
        y: root.hoveredTab ? root.hoveredTab.mapToItem(root, 0, root.hoveredTab.height).y + Spacing.s4 : 0
        onTextChanged: {
            toolTip.due = false
            if (toolTip.text !== "")
                tipDelay.restart()
        }
        Timer {
            id: tipDelay
            interval: 500
            onTriggered: toolTip.due = true
        }
        TextMetrics {
            id: tipMetrics
            font: Fonts.callout
            text: toolTip.text
        }
        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r6
            color: Colors.darkGray
            borderColor: Colors.white20
            borderWidth: 1
            borderMode: SmoothRect.Inside
        }
        Text {
            id: tipText
            objectName: "tabToolTipText"
            x: Padding.p8
            y: Padding.p6
            width: toolTip.width - 2 * Padding.p8
            text: toolTip.text
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.callout
            color: Colors.white
        }
    }
}
