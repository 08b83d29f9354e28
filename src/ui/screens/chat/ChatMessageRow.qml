import QtQuick
import Orva.Screens.Chat

// One interview turn across the chat column: the AI's bubble against the left
// edge, the person's against the right.
Item {
    id: root
    property string text
    property bool isAI: false
    property bool isHighlighted: false
    property string exampleAnswer
    property bool hasExampleAnswer: false

    readonly property ChatBubble bubble: bubble

    implicitWidth: bubble.implicitWidth
    implicitHeight: bubble.implicitHeight

    ChatBubble {
        id: bubble
        x: root.isAI ? 0 : root.width - bubble.width
        width: bubble.implicitWidth
        height: bubble.implicitHeight
        maxWidth: root.width
        text: root.text
        isAI: root.isAI
        isHighlighted: root.isHighlighted
        exampleAnswer: root.exampleAnswer
        hasExampleAnswer: root.hasExampleAnswer
    }
}
