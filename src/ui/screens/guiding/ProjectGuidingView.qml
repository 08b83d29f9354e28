import QtQuick
import QtQuick.Layouts
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Guiding

// The project-guiding screen: while `claude` writes the documents and the
// task plan, the user creates the project folder, creates the Xcode project in
// it by following the guide and has it verified; once the plan is loaded and
// the project verified, only the completion section shows, whose button leads
// on (finished()). What shows, and when the entrance replays, is decided by
// ProjectGuidingViewState.
Item {
    id: root
    property ProjectGuidingViewModel viewModel
    // The set-up is done; the root view moves on to the work screen.
    signal finished()

    readonly property ProjectGuidingViewState viewState: screenState
    readonly property bool isViewAppeared: screenState.isViewAppeared

    ProjectGuidingViewState {
        id: screenState
        viewModel: root.viewModel
    }

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: Padding.p16
        spacing: Spacing.s10

        // Above and below: the header with the folder card, or the completion
        // section, stand in the middle; the guide column takes the height.
        Item {
            Layout.fillHeight: true
            visible: !screenState.showsGuideColumn
        }

        SlideUpFadeInModifier {
            id: header
            objectName: "header"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: content.width
            visible: screenState.showsHeader
            isVisible: screenState.isViewAppeared

            Column {
                spacing: Spacing.s10

                Row {
                    anchors.horizontalCenter: parent.horizontalCenter
                    spacing: Spacing.s4
                    Text {
                        id: headerText
                        objectName: "headerText"
                        anchors.verticalCenter: parent.verticalCenter
                        width: Math.min(implicitWidth, content.width - indicatorBox.width - Spacing.s4)
                        text: screenState.headerText
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        horizontalAlignment: Text.AlignHCenter
                        font: Fonts.title3
                        color: Colors.textSecondary
                    }
                    Item {
                        id: indicatorBox
                        anchors.verticalCenter: parent.verticalCenter
                        visible: screenState.showsIndicator
                        width: visible ? 24 : 0
                        height: 24
                        ActivitySpinner {
                            objectName: "headerIndicator"
                            anchors.centerIn: parent
                            visible: screenState.showsIndicator
                            size: 14
                            color: Colors.white
                        }
                    }
                }

                // A failed generation, with the way to run it again.
                Column {
                    objectName: "generationFailure"
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: screenState.showsGenerationFailure
                    spacing: Spacing.s8
                    Text {
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: screenState.failureTitle
                        textFormat: Text.PlainText
                        font: Fonts.title3
                        color: Colors.textSecondary
                        opacity: 0.5
                    }
                    Text {
                        objectName: "generationError"
                        anchors.horizontalCenter: parent.horizontalCenter
                        width: Math.min(implicitWidth, Math.min(540, content.width))
                        text: screenState.generationError
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        horizontalAlignment: Text.AlignHCenter
                        font: Fonts.callout
                        color: Colors.textSecondary
                        opacity: 0.7
                    }
                    ReselectButtonStyle {
                        objectName: "retryButton"
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: screenState.retryTitle
                        onClicked: screenState.retryGeneration()
                    }
                }
            }
        }

        Loader {
            id: section
            objectName: "section"
            Layout.alignment: Qt.AlignHCenter
            Layout.fillWidth: screenState.showsGuideColumn
            Layout.fillHeight: screenState.showsGuideColumn
            sourceComponent: screenState.showsCompletion ? completionSection
                           : screenState.showsGuideColumn ? guideColumn : folderCard
        }

        Item {
            Layout.fillHeight: true
            visible: !screenState.showsGuideColumn
        }
    }

    Component {
        id: folderCard
        Item {
            objectName: "folderCard"
            implicitWidth: card.implicitWidth
            implicitHeight: card.implicitHeight + Spacing.s24

            SlideUpFadeInModifier {
                id: card
                y: Spacing.s24
                isVisible: screenState.isViewAppeared

                Item {
                    implicitWidth: cardColumn.implicitWidth + 2 * Padding.p40
                    implicitHeight: cardColumn.implicitHeight + 2 * Padding.p40 + Padding.p32

                    SmoothRect {
                        anchors.fill: parent
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
                            anchors.horizontalCenter: parent.horizontalCenter
                            isVisible: screenState.isViewAppeared
                            AnimatedStrokeShape {
                                objectName: "folderIcon"
                                width: 80
                                height: 80
                                shapeName: "appFolder"
                                isVisible: screenState.isViewAppeared
                                animateOnChange: false
                                animateOnAppear: true
                                strokeColor: Qt.rgba(Colors.teal.r, Colors.teal.g, Colors.teal.b, 0.8)
                                strokeWidth: 3
                                animationDuration: 6
                                delay: 0
                                scale: screenState.isViewAppeared ? 1.0 : 0.5
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
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: "프로젝트를 생성할 폴더를 생성해주세요"
                            textFormat: Text.PlainText
                            font.family: Fonts.title2.family
                            font.pixelSize: Fonts.title2.pixelSize
                            font.bold: true
                            color: Colors.textPrimary
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: "노트북 안에 당신만의 앱을 만들어 드릴게요"
                            textFormat: Text.PlainText
                            font: Fonts.title3
                            color: Colors.textSecondary
                        }
                        Item { width: 1; height: Spacing.s32 }
                        DelayedFadeInModifier {
                            anchors.horizontalCenter: parent.horizontalCenter
                            isVisible: screenState.isViewAppeared
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
    }

    Component {
        id: guideColumn
        SlideUpFadeInModifier {
            objectName: "guideColumn"
            isVisible: screenState.isViewAppeared

            Flickable {
                id: scroller
                objectName: "guideScroller"
                anchors.fill: parent
                clip: true
                contentWidth: width
                contentHeight: guideContent.implicitHeight + 2 * Padding.p16
                boundsBehavior: Flickable.StopAtBounds

                Column {
                    id: guideContent
                    x: Math.max(0, (scroller.width - width) / 2)
                    y: Padding.p16
                    width: Math.min(540, scroller.width)
                    spacing: Spacing.s16

                    // The guide box. It becomes the chat module's
                    // GuideMessageView { text: ... } once that is built.
                    GuideMessageStandIn {
                        objectName: "guideMessage"
                        width: parent.width
                        text: screenState.guideText
                    }
                    DelayedFadeInModifier {
                        anchors.horizontalCenter: parent.horizontalCenter
                        isVisible: screenState.isViewAppeared
                        delay: 0.3
                        ProjectVerificationButton {
                            objectName: "verificationButton"
                            isVerified: root.viewModel !== null && root.viewModel.isProjectVerified
                            isVerifying: root.viewModel !== null && root.viewModel.isVerifyingProject
                            onAction: root.viewModel.verifyProject()
                        }
                    }
                    ProjectVerificationResultView {
                        objectName: "resultView"
                        width: parent.width
                        isVerified: root.viewModel !== null && root.viewModel.isProjectVerified
                        hasProjectName: screenState.hasProjectName
                        projectName: screenState.projectName
                        hasErrorMessage: screenState.hasResultErrorMessage
                        errorMessage: screenState.resultErrorMessage
                    }
                    DirectoryPathView {
                        objectName: "directoryPathView"
                        width: parent.width
                        path: screenState.folderPath
                        onReselect: root.viewModel.requestProjectDirectory()
                    }
                }
            }
        }
    }

    Component {
        id: completionSection
        SlideUpFadeInModifier {
            objectName: "completionSection"
            isVisible: screenState.isViewAppeared

            Column {
                padding: Padding.p16
                spacing: Spacing.s12

                SlideUpFadeInModifier {
                    anchors.horizontalCenter: parent.horizontalCenter
                    isVisible: screenState.isViewAppeared
                    Item {
                        width: 100
                        height: 100
                        scale: screenState.isViewAppeared ? 1.0 : 0.5
                        Behavior on scale {
                            NumberAnimation {
                                duration: Animations.entranceSpringDuration
                                easing: Animations.entranceSpring
                            }
                        }
                        Rectangle {
                            anchors.fill: parent
                            radius: width / 2
                            color: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.2)
                        }
                        SymbolIcon {
                            anchors.centerIn: parent
                            name: "checkmark.circle.fill"
                            size: 60
                            color: Colors.green
                        }
                    }
                }
                Item { width: 1; height: Spacing.s24 }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "앱을 만들기 위한 모든 준비가 끝났습니다"
                    textFormat: Text.PlainText
                    font: Fonts.title2
                    color: Colors.textPrimary
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "작업 화면으로 이동해서 앱 제작을 시작해보세요"
                    textFormat: Text.PlainText
                    font: Fonts.body
                    color: Colors.textSecondary
                }
                Item { width: 1; height: Spacing.s24 }
                DelayedFadeInModifier {
                    anchors.horizontalCenter: parent.horizontalCenter
                    isVisible: screenState.isViewAppeared
                    delay: 0.3
                    PrimaryButton {
                        objectName: "completionButton"
                        title: "작업 화면으로 이동"
                        onAction: root.finished()
                    }
                }
            }
        }
    }

    Component.onCompleted: screenState.appear()
}
