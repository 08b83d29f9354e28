import QtQuick
import Orva.Design
import Orva.Components

// A track and a fill as wide as `progress` of it (unclamped; the excess is
// clipped by the bar's outline). Set `height`; the width is the container's.
ProgressBarShape {
    implicitHeight: 8
    implicitWidth: 200
    cornerRadius: height / 2
    backgroundColor: Colors.white10
    foregroundColor: Colors.green
}
