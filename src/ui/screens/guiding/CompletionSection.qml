import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Guiding

// The completion section of the project-guiding screen: everything is ready,
// and "작업 화면으로 이동" leads on (through the screen state's finish()).
SlideUpFadeInModifier {
    id: root
    required property ProjectGuidingViewState viewState

    objectName: "completionSection"
    isVisible: root.viewState.isViewAppeared

    Column {
        id: column
        padding: Padding.p16
        spacing: Spacing.s12

        SlideUpFadeInModifier {
            anchors.horizontalCenter: column.horizontalCenter
            isVisible: root.viewState.isViewAppeared
            Item {
                width: 100
                height: 100
                scale: root.viewState.isViewAppeared ? 1.0 : 0.5
                Behavior on scale {
                    NumberAnimation {
                        duration: Animations.entranceSpringDuration
                        easing: Animations.entranceSpring
                    }
                }
                Rectangle {
                    width: 100
                    height: 100
                    radius: 50
                    color: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.2)
                }
                SymbolIcon {
                    x: 20
                    y: 20
                    name: "checkmark.circle.fill"
                    size: 60
                    color: Colors.green
                }
            }
        }
        Item { width: 1; height: Spacing.s24 }
        Text {
            anchors.horizontalCenter: column.horizontalCenter
            text: "앱을 만들기 위한 모든 준비가 끝났습니다"
            textFormat: Text.PlainText
            font: Fonts.title2
            color: Colors.textPrimary
        }
        Text {
            anchors.horizontalCenter: column.horizontalCenter
            text: "작업 화면으로 이동해서 앱 제작을 시작해보세요"
            textFormat: Text.PlainText
            font: Fonts.body
            color: Colors.gray
        }
        Item { width: 1; height: Spacing.s24 }
        DelayedFadeInModifier {
            anchors.horizontalCenter: column.horizontalCenter
            isVisible: root.viewState.isViewAppeared
            delay: 0.3
            PrimaryButton {
                objectName: "completionButton"
                title: "작업 화면으로 이동"
                onAction: root.viewState.finish()
            }
        }
    }
}
