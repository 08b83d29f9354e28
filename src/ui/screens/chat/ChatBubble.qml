import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Chat

// The speech bubble of one interview message: a rounded rectangle whose
// bottom corner on the speaker's side is square. The AI's bubble is faint
// white with a small "AI" label above the text and, when given, an example
// answer below it; the person's is indigo. It grows with its text up to
// `maxWidth` and wraps beyond that. A message of thousands of lines is laid
// out only as far as ChatRules allows, with a mark under it saying so.
Item {
    id: root
    property string text
    property bool isAI: false
    property bool isHighlighted: false
    // An example answer under an AI message; shown only when `hasExampleAnswer`.
    property string exampleAnswer
    property bool hasExampleAnswer: false
    property real maxWidth: 790

    readonly property real topPadding: root.isAI ? Padding.p16 : Padding.p20
    readonly property real contentMaxWidth: Math.max(0, root.maxWidth - 2 * Padding.p20)
    readonly property bool showsExample: root.isAI && root.hasExampleAnswer
    readonly property string shownText: ChatRules.messageForDisplay(root.text)
    readonly property string cutMark: ChatRules.messageCutMark(root.text)
    // The shape's corners, as drawn (the tail corner is square).
    readonly property real bottomLeftRadius: root.isAI ? 0 : CornerRadius.r12
    readonly property real bottomRightRadius: root.isAI ? CornerRadius.r12 : 0
    readonly property bool borderShown: root.isHighlighted

    implicitWidth: content.width + 2 * Padding.p20
    implicitHeight: content.height + root.topPadding + Padding.p20

    SmoothRect {
        id: shape
        anchors.fill: parent
        topLeftRadius: CornerRadius.r12
        topRightRadius: CornerRadius.r12
        bottomRightRadius: root.bottomRightRadius
        bottomLeftRadius: root.bottomLeftRadius
        color: root.isAI ? Colors.white10 : Colors.indigo
        borderColor: root.borderShown ? Colors.indigo : "transparent"
        borderWidth: root.borderShown ? 1 : 0
        borderMode: SmoothRect.Centered
    }

    // The texts' widths on one line each, measured apart from the wrapped
    // texts so that a wrap never feeds back into the width.
    Text {
        id: messageNatural
        visible: false
        text: root.shownText
        textFormat: Text.PlainText
        font: Fonts.title3
    }
    Text {
        id: exampleNatural
        visible: false
        text: example.text
        textFormat: Text.PlainText
        font: Fonts.caption
    }

    Column {
        id: content
        x: Padding.p20
        y: root.topPadding
        width: Math.min(root.contentMaxWidth,
                        Math.max(label.visible ? label.implicitWidth : 0,
                                 messageNatural.implicitWidth, 1,
                                 mark.visible ? mark.implicitWidth : 0,
                                 example.visible ? exampleNatural.implicitWidth : 0))
        spacing: Spacing.s6

        Text {
            id: label
            objectName: "aiLabel"
            visible: root.isAI
            text: "AI"
            textFormat: Text.PlainText
            font: Fonts.caption
            color: Colors.textSecondary
        }
        Text {
            id: message
            objectName: "messageText"
            x: root.isAI ? 0 : content.width - message.width
            // At least 1 wide: an empty message keeps its line (a column
            // skips items without width).
            width: Math.max(1, Math.min(messageNatural.implicitWidth, content.width))
            text: root.shownText
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.title3
            color: Colors.white
        }
        // Where the message is cut for display.
        Text {
            id: mark
            objectName: "cutMark"
            visible: root.cutMark !== ""
            x: root.isAI ? 0 : content.width - mark.width
            width: Math.min(mark.implicitWidth, content.width)
            text: root.cutMark
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.caption
            color: root.isAI ? Colors.textSecondary : Colors.white90
        }
        Text {
            id: example
            objectName: "exampleText"
            visible: root.showsExample
            width: Math.min(exampleNatural.implicitWidth, content.width)
            text: "예시: " + root.exampleAnswer
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Fonts.caption
            color: Colors.textSecondary
        }
    }
}
