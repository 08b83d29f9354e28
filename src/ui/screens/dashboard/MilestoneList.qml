pragma ComponentBehavior: Bound

import QtQuick
import Orva.Design
import Orva.Screens.Dashboard

// Every milestone as a column, side by side in stored order, 8 apart. A row
// that fits (three columns in the dashboard) is centred; a wider one starts
// at the leading edge and scrolls sideways (drag, horizontal wheel or the bar
// above it, in sight however tall the columns are), so no column is lost at
// either edge. Columns are as tall as the tallest, each card at the top.
Item {
    id: root
    // Milestone values.
    property var milestones: []
    readonly property int columnCount: milestones ? milestones.length : 0
    readonly property bool scrolls: DashboardRules.milestoneRowScrolls(columnCount, width)
    // The tallest card: every column is this tall.
    property real columnHeight: 0
    function updateColumnHeight() {
        let tallest = 0
        for (let i = 0; i < columns.count; ++i) {
            const column = columns.itemAt(i) as MileStoneSection
            if (column)
                tallest = Math.max(tallest, column.implicitHeight)
        }
        columnHeight = tallest
    }
    readonly property alias row: row
    readonly property alias strip: strip
    readonly property alias columns: columns
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

        Row {
            id: row
            x: DashboardRules.milestoneRowX(root.columnCount, root.width)
            spacing: DashboardRules.columnSpacing

            Repeater {
                id: columns
                model: root.milestones
                delegate: MileStoneSection {
                    required property var modelData
                    milestone: modelData
                    height: root.columnHeight
                    onImplicitHeightChanged: root.updateColumnHeight()
                }
                onItemAdded: root.updateColumnHeight()
                onItemRemoved: root.updateColumnHeight()
            }
        }
    }

    // Where the row is, and a handle to move it, while it scrolls.
    Item {
        id: scrollBar
        visible: root.scrolls
        width: root.width
        height: 6

        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: Colors.white10
        }
        Rectangle {
            id: thumb
            x: strip.visibleArea.xPosition * scrollBar.width
            width: strip.visibleArea.widthRatio * scrollBar.width
            height: parent.height
            radius: height / 2
            color: thumbArea.pressed ? Colors.white40 : Colors.white20
        }
        MouseArea {
            id: thumbArea
            anchors.fill: parent
            anchors.topMargin: -Spacing.s6
            anchors.bottomMargin: -Spacing.s6
            property real grab: 0

            function scrollTo(pointerX: real) {
                const travel = scrollBar.width - thumb.width
                if (travel <= 0)
                    return
                const left = Math.max(0, Math.min(travel, pointerX - grab))
                strip.contentX = left / travel * (strip.contentWidth - strip.width)
            }
            onPressed: (mouse) => {
                const inThumb = mouse.x >= thumb.x && mouse.x <= thumb.x + thumb.width
                grab = inThumb ? mouse.x - thumb.x : thumb.width / 2
                scrollTo(mouse.x)
            }
            onPositionChanged: (mouse) => scrollTo(mouse.x)
        }
    }
}
