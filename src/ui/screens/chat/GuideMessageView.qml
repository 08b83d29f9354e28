import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Chat

// A framed box of instructions at the leading side of its row: a fixed
// heading, then the blocks of `text` in order: text blocks line by line (step
// lines, "1." and the like, in gray), code blocks in the code block view.
Item {
    id: root
    property string text

    readonly property var blocks: GuideMessageRules.blocks(root.text)
    readonly property bool hasCode: {
        for (let i = 0; i < root.blocks.length; ++i) {
            if (root.blocks[i].isCode)
                return true
        }
        return false
    }
    // The box hugs its content (the heading and the widest line with its
    // side padding); a code block takes all the width on offer.
    readonly property real contentWidth: {
        const available = Math.max(0, root.width - 2 * Padding.p40)
        if (root.hasCode)
            return available
        let widest = heading.implicitWidth
        for (let i = 0; i < root.blocks.length; ++i) {
            const lines = root.blocks[i].lines
            for (let j = 0; j < lines.length; ++j)
                widest = Math.max(widest, Math.ceil(lineMetrics.advanceWidth(lines[j].text)) + 2 * Padding.p16)
        }
        return Math.min(available, widest)
    }

    FontMetrics {
        id: lineMetrics
        font: Fonts.title3
    }

    implicitWidth: box.width
    implicitHeight: box.height

    Item {
        id: box
        objectName: "guideBox"
        width: root.contentWidth + 2 * Padding.p40
        height: content.height + Padding.p32 + Padding.p40

        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r12
            color: "transparent"
            borderColor: Colors.indigo
            borderWidth: 1
            borderMode: SmoothRect.Inside
        }

        Column {
            id: content
            x: Padding.p40
            y: Padding.p32
            width: root.contentWidth
            spacing: Spacing.s16

            Text {
                id: heading
                width: Math.min(heading.implicitWidth, content.width)
                text: "AI가 명세서를 만드는 동안 Xcode 프로젝트를 만들어 주세요!"
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font.family: Fonts.title3.family
                font.pixelSize: Fonts.title3.pixelSize
                font.bold: true
                color: Colors.textPrimary
            }

            // The spacer under the heading.
            Item {
                width: 1
                height: Spacing.s8 + Spacing.s4
            }

            Column {
                id: blockColumn
                width: content.width
                spacing: Spacing.s16

                Repeater {
                    model: root.blocks
                    delegate: Item {
                        id: blockItem
                        required property var modelData
                        readonly property bool isCode: blockItem.modelData.isCode

                        width: blockColumn.width
                        height: blockItem.isCode ? code.height : lines.height

                        Column {
                            id: lines
                            objectName: "guideTextBlock"
                            visible: !blockItem.isCode
                            x: Padding.p16
                            width: Math.max(0, blockItem.width - 2 * Padding.p16)
                            spacing: Spacing.s16
                            Repeater {
                                model: blockItem.isCode ? [] : blockItem.modelData.lines
                                delegate: Text {
                                    id: line
                                    required property var modelData
                                    objectName: "guideLine"
                                    readonly property bool isNumbered: line.modelData.isNumbered
                                    // A blank line stays, one line high.
                                    width: lines.width
                                    text: line.modelData.text
                                    textFormat: Text.PlainText
                                    wrapMode: Text.Wrap
                                    font: Fonts.title3
                                    color: line.isNumbered ? Colors.gray : Colors.white
                                }
                            }
                        }

                        CodeBlockView {
                            id: code
                            objectName: "guideCodeBlock"
                            visible: blockItem.isCode
                            x: Padding.p16
                            width: Math.max(0, blockItem.width - 2 * Padding.p16)
                            code: blockItem.isCode ? blockItem.modelData.code : ""
                        }
                    }
                }
            }
        }
    }
}
