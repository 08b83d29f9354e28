import QtQuick
import Orva.Design
import Orva.Components

// Where a scroll area stands and how much of it shows: a faint track with a
// thumb as long as the share in view. Drawn only while the area holds more
// than it shows; the thumb can be dragged and a press on the track moves it
// there. Place it along the area's edge (its own width or height is the
// thickness).
Item {
    id: root
    property Flickable flickable
    property int orientation: Qt.Vertical
    readonly property bool vertical: root.orientation === Qt.Vertical
    readonly property real ratio: !root.flickable ? 1
        : root.vertical ? root.flickable.visibleArea.heightRatio : root.flickable.visibleArea.widthRatio
    readonly property real position: !root.flickable ? 0
        : root.vertical ? root.flickable.visibleArea.yPosition : root.flickable.visibleArea.xPosition
    readonly property real length: root.vertical ? root.height : root.width
    readonly property alias thumb: thumb
    readonly property alias pressed: area.pressed
    // The thumb's colour, and its colour while held.
    property color thumbColor: Colors.white20
    property color pressedThumbColor: Colors.white40

    visible: root.flickable !== null && root.ratio < 0.999

    Rectangle {
        anchors.fill: parent
        radius: Math.min(width, height) / 2
        color: Colors.white10
    }
    Rectangle {
        id: thumb
        readonly property real extent: Math.max(Math.min(root.length, 24), root.ratio * root.length)
        readonly property real offset: Math.max(0, Math.min(root.length - extent,
                                                 root.position * root.length))
        x: root.vertical ? 0 : offset
        y: root.vertical ? offset : 0
        width: root.vertical ? root.width : extent
        height: root.vertical ? extent : root.height
        radius: Math.min(width, height) / 2
        color: area.pressed ? root.pressedThumbColor : root.thumbColor
    }
    MouseArea {
        id: area
        anchors.fill: parent
        anchors.topMargin: root.vertical ? 0 : -Spacing.s6
        anchors.bottomMargin: root.vertical ? 0 : -Spacing.s6
        anchors.leftMargin: root.vertical ? -Spacing.s6 : 0
        anchors.rightMargin: root.vertical ? -Spacing.s6 : 0
        property real grab: 0

        function along(mouse) {
            return root.vertical ? mouse.y : mouse.x
        }
        function scrollTo(pointer: real) {
            const travel = root.length - thumb.extent
            if (travel <= 0 || !root.flickable)
                return
            const start = Math.max(0, Math.min(travel, pointer - grab)) / travel
            if (root.vertical)
                root.flickable.contentY = root.flickable.originY
                    + start * (root.flickable.contentHeight - root.flickable.height)
            else
                root.flickable.contentX = root.flickable.originX
                    + start * (root.flickable.contentWidth - root.flickable.width)
        }
        onPressed: (mouse) => {
            const at = along(mouse)
            const inThumb = at >= thumb.offset && at <= thumb.offset + thumb.extent
            grab = inThumb ? at - thumb.offset : thumb.extent / 2
            scrollTo(at)
        }
        onPositionChanged: (mouse) => scrollTo(along(mouse))
        onWheel: (wheel) => { wheel.accepted = false }
    }
}
