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
// ProjectGuidingViewState. Tab and Shift+Tab go round the screen's buttons
// (the retry of a failed generation, then the section's), each with its
// ring; Return and Space press the one that has it. When the section changes
// while one of its buttons has the keyboard, the new section's first button
// takes it: "폴더 생성하기", "프로젝트 생성 완료", "작업 화면으로 이동".
FocusScope {
    id: root
    property ProjectGuidingViewModel viewModel
    // The set-up is done; the root view moves on to the work screen.
    signal finished()

    readonly property ProjectGuidingViewState viewState: screenState
    readonly property bool isViewAppeared: screenState.isViewAppeared

    ProjectGuidingViewState {
        id: screenState
        viewModel: root.viewModel
        onFinished: root.finished()
    }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Tab && !(event.modifiers & Qt.ShiftModifier))
            root.moveFocus(true)
        else if (event.key === Qt.Key_Backtab || event.key === Qt.Key_Tab)
            root.moveFocus(false)
        else
            return
        event.accepted = true
    }
    function moveFocus(forward: bool) {
        ViewRules.moveKeyboard(content, root.Window.activeFocusItem, forward)
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
                    visible: screenState.headerText !== ""
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
                        // The readable grey: 0.4 white reads at 3.8:1 only.
                        color: Colors.gray
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

                // A failed generation, with the way to run it again; its
                // heading and reason read as clearly as the guide.
                Column {
                    objectName: "generationFailure"
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: screenState.showsGenerationFailure
                    spacing: Spacing.s8
                    Text {
                        objectName: "generationFailureTitle"
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: screenState.failureTitle
                        textFormat: Text.PlainText
                        font: Fonts.title3
                        color: Colors.textPrimary
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
                        color: Qt.rgba(1, 1, 1, 0.6)
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

        // The section of the moment, built anew when it changes. The state
        // lowers the entrance flag before it changes, so a new section starts
        // hidden.
        Loader {
            id: section
            objectName: "section"
            Layout.alignment: Qt.AlignHCenter
            Layout.fillWidth: screenState.showsGuideColumn
            Layout.fillHeight: screenState.showsGuideColumn

            readonly property url wanted: screenState.showsCompletion ? Qt.resolvedUrl("CompletionSection.qml")
                                        : screenState.showsGuideColumn ? Qt.resolvedUrl("XcodeGuideSection.qml")
                                        : Qt.resolvedUrl("FolderSection.qml")
            function build() {
                // A button of the leaving section had the keyboard: it goes
                // on to the new section's first button.
                const keyboardHere = section.item !== null
                    && ViewRules.isWithin(root.Window.activeFocusItem, section.item)
                if (screenState.showsCompletion)
                    setSource(wanted, {viewState: screenState})
                else
                    setSource(wanted, {viewState: screenState, viewModel: root.viewModel})
                const first = keyboardHere ? ViewRules.nextControl(section.item as Item, null, true) : null
                if (first)
                    first.forceActiveFocus(Qt.TabFocusReason)
            }
            onWantedChanged: build()
            Component.onCompleted: build()
        }

        Item {
            Layout.fillHeight: true
            visible: !screenState.showsGuideColumn
        }
    }

    Component.onCompleted: screenState.appear()
}
