import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Work

// One milestone tab: its icon traced in the milestone's colour when
// selected, its title and its count of completed tasks. A title that fits
// one line takes one line (`titleLines` 1); a longer one wraps to two and
// shrinks to 0.8 of its size before it is cut. The name a tab cuts is
// `hiddenName` (the board shows it on hover and, for the selected tab, under
// the row). Unselected texts are the readable grey (0.4 white reads at 3.8:1
// only); the count of the selected tab is as bright as its title (the grey
// reads at 4.1:1 only on the teal tint).
Item {
    id: root
    // A Milestone value.
    property var milestone
    property bool isSelected: false
    property int titleLines: 2
    readonly property color milestoneColor: MilestoneColors.color(root.milestone ? root.milestone.type : -1)
    readonly property string countText: root.milestone
        ? root.milestone.completedTaskCount + "/" + root.milestone.taskCount : "0/0"
    readonly property real titleWidth: root.width - 2 * Padding.p16
    readonly property string hiddenName: root.milestone
        ? WorkBoardRules.tabHiddenName(root.milestone.title, root.titleWidth) : ""
    readonly property bool hovered: hover.hovered

    signal tap()

    implicitWidth: 100
    implicitHeight: column.implicitHeight + 2 * Padding.p16

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r8
        color: root.isSelected
            ? Qt.rgba(root.milestoneColor.r, root.milestoneColor.g, root.milestoneColor.b, 0.2)
            : Colors.background
        borderColor: root.isSelected ? root.milestoneColor : "transparent"
        borderWidth: root.isSelected ? 2 : 0
    }
    Column {
        id: column
        x: Padding.p16
        y: Padding.p16
        width: root.width - 2 * Padding.p16
        spacing: Spacing.s16

        Item {
            width: parent.width
            height: 30 + 2 * Padding.p8
            AnimatedStrokeShape {
                objectName: "tabIcon"
                anchors.centerIn: parent
                width: 30
                height: 30
                shape: AnyShape { milestoneType: root.milestone ? root.milestone.type : 0 }
                isVisible: true
                animateOnChange: root.isSelected
                animateOnAppear: false
                strokeColor: root.isSelected ? root.milestoneColor : Colors.white20
                strokeWidth: root.isSelected ? 2.0 : 1.0
                animationDuration: 1.5
                delay: 0
            }
        }
        Column {
            width: parent.width
            spacing: Spacing.s4
            Text {
                objectName: "tabTitle"
                readonly property bool wraps: root.titleLines > 1
                width: parent.width
                height: Math.ceil(root.titleLines * Fonts.body.pixelSize * 1.5)
                text: root.milestone ? ViewRules.title(root.milestone.title) : ""
                textFormat: Text.PlainText
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                // Its height holds it to its lines: a line count would keep
                // a wrapping title from shrinking before it is cut.
                wrapMode: wraps ? Text.Wrap : Text.NoWrap
                elide: Text.ElideRight
                fontSizeMode: wraps ? Text.Fit : Text.FixedSize
                minimumPixelSize: Math.round(Fonts.body.pixelSize * 0.8)
                font: Fonts.body
                color: root.isSelected ? Colors.textPrimary : Colors.gray
            }
            Text {
                objectName: "tabCount"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: root.countText
                textFormat: Text.PlainText
                font: Fonts.caption2
                color: root.isSelected ? Colors.textPrimary : Colors.gray
            }
        }
    }
    HoverHandler {
        id: hover
    }
    MouseArea {
        anchors.fill: parent
        onClicked: root.tap()
    }
}
