import QtQuick

// A property of an outer object read without its id from a delegate: fails.
Item {
    id: root
    property int size: 3

    Repeater {
        model: 2
        Text { text: "size " + size }
    }
}
