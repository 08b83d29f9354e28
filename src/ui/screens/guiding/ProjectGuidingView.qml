import QtQuick
import Orva.Design
import Orva.Workflow

// The project-guiding screen: documents, project folder, Xcode verification.
Item {
    id: root
    property ProjectGuidingViewModel viewModel
    // The set-up is done; the root view moves on to the work screen.
    signal finished()

    Text {
        anchors.centerIn: parent
        text: "Project guiding"
        color: Colors.textSecondary
    }
}
