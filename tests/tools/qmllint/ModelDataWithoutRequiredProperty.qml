import QtQuick

// A delegate reading its model data without a required property: fails.
Item {
    Repeater {
        model: ["a", "b"]
        Text { text: modelData }
    }
}
