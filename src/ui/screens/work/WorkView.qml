import QtQuick
import Orva.Design
import Orva.Workflow

// The work screen: sidebar and terminal, with the dashboard, the task popup
// and the completion celebration above them.
Item {
    id: root
    property WorkViewModel viewModel
    // The person started a new project from the completion popup.
    signal newProjectRequested()

    Text {
        anchors.centerIn: parent
        text: "Work"
        color: Colors.textSecondary
    }
}
