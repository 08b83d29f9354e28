import QtQuick
import Orva.Design
import Orva.Components

// The ring around a control that has the keyboard: 2 points of indigo, 4
// points clear of the control's edge, following its corner radius. Put it
// inside the control; it shows while `shown`.
SmoothRect {
    id: root
    property bool shown: false
    property real controlRadius: 0

    anchors.fill: parent
    anchors.margins: -6
    visible: root.shown
    radius: root.controlRadius > 0 ? root.controlRadius + 6 : 0
    color: "transparent"
    borderColor: Colors.indigo
    borderWidth: 2
}
