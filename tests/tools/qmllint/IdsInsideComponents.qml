import QtQuick

// Ids of this file used inside its components: the engine resolves them, the
// lint passes.
Item {
    id: root
    property int size: 3

    ListView {
        model: 3
        delegate: Text {
            required property int index
            text: "row " + index + " of " + root.size
        }
    }
    Repeater {
        model: ["a", "b"]
        Text {
            id: label
            required property string modelData
            text: label.modelData + root.size
        }
    }
    Loader {
        sourceComponent: Text { text: "size " + root.size }
    }
}
