import QtQuick
import QtQuick.Window
import Orva.Design
import Orva.Workflow
import Orva.Screens

Window {
    id: window
    // Large enough for the biggest screen: the 1020x800 dashboard overlay with its margins.
    width: 1120
    height: 880
    minimumWidth: 1120
    minimumHeight: 880
    visible: true
    color: Colors.background
    title: "Orva"

    ContentView {
        objectName: "contentView"
        anchors.fill: parent
        focus: true
        viewModel: ContentViewModel {}
    }
}
