pragma ComponentBehavior: Bound

import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Dashboard

// Every milestone as a column, side by side in stored order, 8 apart. A row
// that fits (three columns in the dashboard) is centred; a wider one starts
// at the leading edge and scrolls sideways (drag, horizontal wheel or the bar
// above it, in sight however tall the columns are), so no column is lost at
// either edge. Columns are as tall as the tallest, each card at the top.
// Only the columns in sight (and their neighbours) are made, and in each
// only the task cards that `viewport` shows: a plan of any size costs what
// one screenful does.
Item {
    id: root
    // The shown project (a Project value); its milestones are read one at a
    // time, as their columns are made.
    property var project
    // The scroll area the columns' task cards are seen through (the
    // dashboard's); the list itself when there is none.
    property Item viewport: null
    readonly property int columnCount: DashboardRules.milestoneCount(root.project)
    readonly property bool scrolls: DashboardRules.milestoneRowScrolls(columnCount, width)
    readonly property real stride: DashboardRules.columnWidth + DashboardRules.columnSpacing
    // The tallest card: every column is this tall. Worked out from the task
    // counts (the column with the most tasks, its title on one line) and
    // raised by any column made that is taller.
    readonly property real estimatedColumnHeight: {
        const most = DashboardRules.mostTasksOf(root.project)
        return 2 * Padding.p24 + Math.ceil(Fonts.title2.pixelSize * 1.45) + 2 * Spacing.s16 + 6
            + DashboardRules.taskListHeight(most)
    }
    property real madeColumnHeight: 0
    readonly property real columnHeight: Math.max(root.estimatedColumnHeight, root.madeColumnHeight)
    function updateColumnHeight() {
        let tallest = 0
        for (let i = 0; i < columns.count; ++i) {
            const column = columns.itemAt(i) as MileStoneSection
            if (column)
                tallest = Math.max(tallest, column.implicitHeight)
        }
        root.madeColumnHeight = tallest
    }
    readonly property alias row: row
    readonly property alias strip: strip
    readonly property alias columns: columns
    readonly property alias columnWindow: columnWindow
    readonly property alias scrollBar: scrollBar

    implicitWidth: DashboardRules.milestoneRowWidth(columnCount)
    implicitHeight: strip.y + strip.height

    Flickable {
        id: strip
        y: root.scrolls ? scrollBar.height + Spacing.s12 : 0
        width: root.width
        height: row.height
        contentWidth: row.x + row.width
        contentHeight: row.height
        flickableDirection: Flickable.HorizontalFlick
        boundsBehavior: Flickable.StopAtBounds
        interactive: root.scrolls
        clip: root.scrolls

        Item {
            id: row
            x: DashboardRules.milestoneRowX(root.columnCount, root.width)
            width: DashboardRules.milestoneRowWidth(root.columnCount)
            height: root.columnHeight

            Repeater {
                id: columns
                model: ItemWindow {
                    id: columnWindow
                    orientation: Qt.Horizontal
                    total: root.columnCount
                    stride: root.stride
                    extent: DashboardRules.columnWidth
                    viewport: strip
                    list: row
                    margin: root.stride
                }
                delegate: MileStoneSection {
                    required property int itemIndex
                    x: itemIndex * root.stride
                    milestone: DashboardRules.milestoneAt(root.project, itemIndex)
                    height: root.columnHeight
                    viewport: root.viewport
                    onImplicitHeightChanged: root.updateColumnHeight()
                }
                onItemAdded: root.updateColumnHeight()
                onItemRemoved: root.updateColumnHeight()
            }
        }
    }

    // Where the row is, and a handle to move it, while it scrolls.
    ScrollTrack {
        id: scrollBar
        visible: root.scrolls
        width: root.width
        height: 6
        orientation: Qt.Horizontal
        flickable: strip
    }
}
