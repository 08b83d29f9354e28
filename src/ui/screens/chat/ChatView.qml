import QtQuick
import Orva.Design
import Orva.Workflow

// The interview chat screen.
Item {
    id: root
    property ChatViewModel viewModel
    // The interview is complete and the person asked for the documents.
    signal documentsRequested()

    Text {
        anchors.centerIn: parent
        text: "Chat"
        color: Colors.textSecondary
    }
}
