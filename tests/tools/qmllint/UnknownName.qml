import QtQuick

// A name that is neither an id nor a property in scope: fails, also inside a
// component.
Item {
    id: root
    property int size: 3

    Loader {
        sourceComponent: Text { text: "size " + roots.size }
    }
}
