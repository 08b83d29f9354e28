import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Guiding
import Orva.Screens.Chat

// The guide column of the project-guiding screen: the guide box, the
// verification button, the result of the last check and the chosen folder
// with its reselect button. It shows where it stands with a scroll indicator
// at its edge, and its edges fade where more lies beyond them (no line shows
// cut in half under the header; the fade at the foot says that more
// follows). After a check the column scrolls the result, and the folder row
// under it, into view; a button that takes the keyboard is scrolled into
// view too.
SlideUpFadeInModifier {
    id: root
    required property ProjectGuidingViewState viewState
    required property ProjectGuidingViewModel viewModel

    objectName: "guideColumn"
    isVisible: root.viewState.isViewAppeared

    readonly property alias scroller: scroller
    readonly property alias scrollIndicator: scrollIndicator
    readonly property bool hidesAbove: GuideColumnRules.hidesAbove(scroller.contentY, scroller.originY,
                                                                   scroller.height, scroller.contentHeight)
    readonly property bool hidesBelow: GuideColumnRules.hidesBelow(scroller.contentY, scroller.originY,
                                                                   scroller.height, scroller.contentHeight)

    // Brings the result of the check, with the folder row under it, into
    // view once the column has laid them out.
    function revealResult() {
        guideContent.forceLayout()
        const top = guideContent.y + resultView.y
        const rowTop = guideContent.y + directoryRow.y
        const target = GuideColumnRules.verdictOffset(scroller.contentY, scroller.height, scroller.contentHeight,
                                                      top, top + resultView.height,
                                                      rowTop, rowTop + directoryRow.height, Padding.p16)
        if (Math.abs(target - scroller.contentY) < 0.5)
            return
        revealAnimation.stop()
        revealAnimation.from = scroller.contentY
        revealAnimation.to = target
        revealAnimation.start()
    }
    // After a verdict the column keeps the result in view while the box
    // takes its final size, until the person scrolls.
    property bool followsResult: false
    Connections {
        target: root.viewState
        function onVerdictArrived() {
            root.followsResult = true
            root.revealResult()
        }
    }
    Connections {
        target: resultView
        enabled: root.followsResult
        function onHeightChanged() {
            root.revealResult()
        }
        function onYChanged() {
            root.revealResult()
        }
    }
    // A button that takes the keyboard is brought into view, ring and all.
    Window.onActiveFocusItemChanged: {
        const item = root.Window.activeFocusItem
        if (!item || !ViewRules.isWithin(item, guideContent))
            return
        const top = item.mapToItem(scroller.contentItem, 0, 0).y
        const target = ViewRules.revealOffset(scroller.contentY, scroller.height, top, top + item.height,
                                              scroller.contentHeight, Padding.p16)
        if (Math.abs(target - scroller.contentY) < 0.5)
            return
        root.followsResult = false
        revealAnimation.stop()
        revealAnimation.from = scroller.contentY
        revealAnimation.to = target
        revealAnimation.start()
    }

    NumberAnimation {
        id: revealAnimation
        target: scroller
        property: "contentY"
        duration: 300
        easing.type: Easing.InOutQuad
    }

    Flickable {
        id: scroller
        objectName: "guideScroller"
        width: root.width
        height: root.height
        clip: true
        contentWidth: width
        contentHeight: guideContent.implicitHeight + 2 * Padding.p16
        boundsBehavior: Flickable.StopAtBounds
        onMovementStarted: root.followsResult = false

        Column {
            id: guideContent
            x: Math.max(0, (scroller.width - width) / 2)
            y: Padding.p16
            width: Math.min(540, scroller.width)
            spacing: Spacing.s16

            // The guide box.
            GuideMessageView {
                objectName: "guideMessage"
                width: guideContent.width
                text: root.viewState.guideText
            }
            DelayedFadeInModifier {
                anchors.horizontalCenter: guideContent.horizontalCenter
                isVisible: root.viewState.isViewAppeared
                delay: 0.3
                ProjectVerificationButton {
                    objectName: "verificationButton"
                    isVerified: root.viewModel.isProjectVerified
                    isVerifying: root.viewModel.isVerifyingProject
                    onAction: root.viewState.verify()
                }
            }
            ProjectVerificationResultView {
                id: resultView
                objectName: "resultView"
                width: guideContent.width
                isVerified: root.viewModel.isProjectVerified
                hasProjectName: root.viewState.hasProjectName
                projectName: root.viewState.projectName
                hasErrorMessage: root.viewState.hasResultErrorMessage
                errorMessage: root.viewState.resultErrorMessage
            }
            DirectoryPathView {
                id: directoryRow
                objectName: "directoryPathView"
                width: guideContent.width
                path: root.viewState.folderPath
                onReselect: root.viewModel.requestProjectDirectory()
            }
        }
    }

    // The edges fade into the background where the column goes on past them.
    Rectangle {
        objectName: "topFade"
        width: scroller.width
        height: Spacing.s24
        opacity: root.hidesAbove ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 150 } }
        gradient: Gradient {
            GradientStop { position: 0; color: Colors.background }
            GradientStop { position: 1; color: Qt.rgba(Colors.background.r, Colors.background.g, Colors.background.b, 0) }
        }
    }
    Rectangle {
        objectName: "bottomFade"
        y: scroller.height - height
        width: scroller.width
        height: Spacing.s40
        opacity: root.hidesBelow ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 150 } }
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.rgba(Colors.background.r, Colors.background.g, Colors.background.b, 0) }
            GradientStop { position: 1; color: Colors.background }
        }
    }

    // Where the column stands, as the task popup shows it, its thumb bright
    // enough to be seen on the background.
    ScrollTrack {
        id: scrollIndicator
        objectName: "guideScrollIndicator"
        x: scroller.width - width - Spacing.s6
        y: Padding.p16
        width: 4
        height: Math.max(0, scroller.height - 2 * Padding.p16)
        flickable: scroller
        thumbColor: Colors.white40
        pressedThumbColor: Colors.white60
    }
}
