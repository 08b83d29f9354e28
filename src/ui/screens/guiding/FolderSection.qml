import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Guiding

// The folder card of the project-guiding screen: the folder icon drawn as
// the card enters, the invitation, and "폴더 생성하기", which opens the
// new-folder panel.
Item {
    id: root
    required property ProjectGuidingViewState viewState
    required property ProjectGuidingViewModel viewModel

    objectName: "folderCard"
    implicitWidth: card.implicitWidth
    implicitHeight: card.implicitHeight + Spacing.s24

    SlideUpFadeInModifier {
        id: card
        y: Spacing.s24
        isVisible: root.viewState.isViewAppeared

        Item {
            implicitWidth: cardColumn.implicitWidth + 2 * Padding.p40
            implicitHeight: cardColumn.implicitHeight + 2 * Padding.p40 + Padding.p32

            SmoothRect {
                width: parent.width
                height: parent.height
                radius: CornerRadius.r12
                borderColor: Colors.indigo
                borderWidth: 1
            }
            Column {
                id: cardColumn
                x: Padding.p40
                y: Padding.p40
                spacing: Spacing.s8

                Item { width: 1; height: Spacing.s16 }
                SlideUpFadeInModifier {
                    anchors.horizontalCenter: cardColumn.horizontalCenter
                    isVisible: root.viewState.isViewAppeared
                    AnimatedStrokeShape {
                        objectName: "folderIcon"
                        width: 80
                        height: 80
                        shapeName: "appFolder"
                        isVisible: root.viewState.isViewAppeared
                        animateOnChange: false
                        animateOnAppear: true
                        strokeColor: Qt.rgba(Colors.teal.r, Colors.teal.g, Colors.teal.b, 0.8)
                        strokeWidth: 3
                        animationDuration: 6
                        delay: 0
                        scale: root.viewState.isViewAppeared ? 1.0 : 0.5
                        Behavior on scale {
                            NumberAnimation {
                                duration: Animations.entranceSpringDuration
                                easing: Animations.entranceSpring
                            }
                        }
                    }
                }
                Item { width: 1; height: Spacing.s40 }
                Text {
                    anchors.horizontalCenter: cardColumn.horizontalCenter
                    text: "프로젝트를 생성할 폴더를 생성해주세요"
                    textFormat: Text.PlainText
                    font.family: Fonts.title2.family
                    font.pixelSize: Fonts.title2.pixelSize
                    font.bold: true
                    color: Colors.textPrimary
                }
                Text {
                    anchors.horizontalCenter: cardColumn.horizontalCenter
                    text: "노트북 안에 당신만의 앱을 만들어 드릴게요"
                    textFormat: Text.PlainText
                    font: Fonts.title3
                    color: Colors.gray
                }
                Item { width: 1; height: Spacing.s32 }
                DelayedFadeInModifier {
                    anchors.horizontalCenter: cardColumn.horizontalCenter
                    isVisible: root.viewState.isViewAppeared
                    delay: 0.3
                    PrimaryButton {
                        objectName: "folderButton"
                        title: "폴더 생성하기"
                        onAction: root.viewModel.requestProjectDirectory()
                    }
                }
            }
        }
    }
}
