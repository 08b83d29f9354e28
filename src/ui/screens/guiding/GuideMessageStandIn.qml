import QtQuick
import Orva.Design
import Orva.Components

// Stands in for the chat module's guide message view (GuideMessageView in
// Orva.Screens.Chat) until that view is part of the build: the same framed
// box and heading, with the guide drawn as one plain text. ProjectGuidingView
// uses it in one place only.
Item {
    id: root
    property string text

    implicitWidth: 540
    implicitHeight: column.implicitHeight + Padding.p32 + Padding.p40

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r12
        borderColor: Colors.indigo
        borderWidth: 1
    }
    Column {
        id: column
        x: Padding.p40
        y: Padding.p32
        width: root.width - 2 * Padding.p40
        spacing: Spacing.s16
        Text {
            width: parent.width
            text: "AI가 명세서를 만드는 동안 Xcode 프로젝트를 만들어 주세요!"
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.family: Fonts.title3.family
            font.pixelSize: Fonts.title3.pixelSize
            font.bold: true
            color: Colors.textPrimary
        }
        Text {
            objectName: "guideText"
            width: parent.width
            text: root.text
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            lineHeight: 1.3
            font: Fonts.body
            color: Colors.white
        }
    }
}
