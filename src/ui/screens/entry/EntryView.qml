import QtQuick
import Orva.Design
import Orva.Workflow

// The entry screen: prepares the workspace and takes the first app idea.
Item {
    id: root
    property EntryViewModel viewModel
    // The idea was accepted by the model; the root view moves on to the chat.
    signal submitted(string idea)

    Text {
        anchors.centerIn: parent
        text: "Entry"
        color: Colors.textSecondary
    }
}
