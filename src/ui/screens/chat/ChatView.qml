import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Chat

// The interview chat screen: the turns of the interview as message rows (the
// AI's on the left, the person's on the right) revealed one after another, a
// thinking bubble while a reply is awaited, below it the answers given
// meanwhile (each shown at once, sent when its turn comes), the error of a
// failed send, and below them the answer field or, once the interview is
// complete, the document button. The field has the keyboard when the screen
// appears and again after each reply; when the field gives way to the
// document button, the button takes the keyboard in its place (its ring
// shows; Return or Space press it). Tab and Shift+Tab go round the screen's
// controls.
Item {
    id: root
    property ChatViewModel viewModel
    // The interview is complete and the person asked for the documents.
    signal documentsRequested()

    // The width of the message column: at most the input field's width,
    // centred, so rows and field share their edges.
    readonly property real columnMaxWidth: 790

    readonly property bool isWaiting: root.viewModel !== null && root.viewModel.isWaitingForResponse
    readonly property bool isCompleted: root.viewModel !== null && root.viewModel.isInterviewCompleted
    readonly property bool showsInputField: root.viewModel !== null && !root.isCompleted
    readonly property bool showsDocumentsButton: root.isCompleted && !root.isWaiting

    readonly property ChatInputField inputField: inputField
    readonly property MessageRevealer revealer: revealer
    readonly property Flickable scroller: scroller
    readonly property Item loadingRow: loadingRow
    readonly property Item errorRow: errorRow
    readonly property Item documentsButton: documentsButton
    readonly property alias waitingRows: waitingRows
    readonly property FieldFocus fieldFocus: fieldFocus

    // The field's submit: the text (with a syllable still being composed) is
    // taken and the field emptied, then the model sends it; a blank text only
    // empties the field.
    function submitAnswer() {
        ComponentRules.commitComposition(inputField.editor)
        const answer = inputField.text
        inputField.text = ""
        if (root.viewModel)
            root.viewModel.sendMessage(answer)
    }

    // Set when a turn is appended: the view keeps the end of the column in
    // view while the newest row and the thinking bubble take their place
    // (they are laid out a moment later), until the person scrolls.
    property bool followsEnd: false
    readonly property bool isScrolling: scrollAnimation.running

    function requestScrollToLatest() {
        root.followsEnd = true
        scrollTimer.restart()
    }

    function scrollToLatest() {
        if (!root.followsEnd)
            return
        column.forceLayout()
        const end = Math.max(0, scroller.contentHeight - scroller.height)
        if (scrollAnimation.running && scrollAnimation.to === end)
            return
        if (!scrollAnimation.running && Math.abs(scroller.contentY - end) < 0.5)
            return
        scrollAnimation.stop()
        scrollAnimation.from = scroller.contentY
        scrollAnimation.to = end
        scrollAnimation.start()
    }

    // The document button takes the keyboard within the screen's focus
    // scope, as the field did: at once when the scope has it, else once an
    // overlay above gives it back.
    onShowsDocumentsButtonChanged: {
        if (root.showsDocumentsButton)
            documentsButton.focus = true
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
        ViewRules.moveKeyboard(root, root.Window.activeFocusItem, forward)
    }

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }

    // The scroll waits for the current changes (the row, then the thinking
    // bubble) to be made.
    Timer {
        id: scrollTimer
        interval: 0
        onTriggered: root.scrollToLatest()
    }

    MessageRevealer {
        id: revealer
        turns: root.viewModel ? root.viewModel.chatHistories : null
        waitingAnswers: root.viewModel ? root.viewModel.waitingAnswers : []
    }

    // The answer field takes the keyboard when the screen appears and when
    // a reply (or the failure of a send) is in.
    FieldFocus {
        id: fieldFocus
        fieldEnabled: root.showsInputField
        onFocusField: inputField.requestFocus()
    }

    Connections {
        target: root.viewModel
        function onScrollIDChanged() {
            root.requestScrollToLatest()
        }
        function onWaitingAnswersChanged() {
            root.requestScrollToLatest()
        }
        function onIsWaitingForResponseChanged() {
            if (!root.viewModel.isWaitingForResponse)
                fieldFocus.request()
        }
    }

    Flickable {
        id: scroller
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: bottomBar.top
        clip: true
        contentWidth: width
        contentHeight: column.height + 2 * Padding.p16
        boundsBehavior: Flickable.StopAtBounds
        onContentHeightChanged: root.scrollToLatest()
        onHeightChanged: root.scrollToLatest()
        // Scrolled by the person: the view stays where they put it.
        onContentYChanged: {
            if (!scrollAnimation.running)
                root.followsEnd = false
        }

        NumberAnimation {
            id: scrollAnimation
            target: scroller
            property: "contentY"
            duration: 350
            easing.type: Easing.InOutQuad
        }

        Column {
            id: column
            x: Math.round((scroller.width - width) / 2)
            y: Padding.p16
            width: Math.max(0, Math.min(root.columnMaxWidth, scroller.width - 2 * Padding.p16))
            spacing: Spacing.s16

            Repeater {
                id: rows
                model: root.viewModel ? root.viewModel.chatHistories : null
                delegate: SlideUpFadeInModifier {
                    id: turnRow
                    required property var model
                    required property string question
                    required property string answer
                    readonly property int turnId: turnRow.model.id

                    objectName: "turnRow" + turnRow.turnId
                    width: column.width
                    height: messageRow.implicitHeight
                    isVisible: revealer.visibleIds.indexOf(turnRow.turnId) >= 0
                    animated: revealer.instantIds.indexOf(turnRow.turnId) < 0
                    delay: 0

                    ChatMessageRow {
                        id: messageRow
                        width: turnRow.width
                        height: messageRow.implicitHeight
                        text: turnRow.answer
                        isAI: ChatRules.isAISpeaker(turnRow.question)
                    }
                }
            }

            // The thinking bubble: slides in from below while a reply is
            // awaited and fades out when it is in.
            Item {
                id: loadingRow
                objectName: "loadingRow"
                property real shown: root.isWaiting ? 1 : 0
                readonly property bool isShown: root.isWaiting
                width: column.width
                height: thinking.implicitHeight
                // In the column as soon as a reply is awaited, so the scroll to
                // the end takes it in; kept while it fades out.
                visible: root.isWaiting || shown > 0
                opacity: Math.max(0, Math.min(1, shown))
                transform: Translate {
                    y: root.isWaiting ? (1 - loadingRow.shown) * loadingRow.height : 0
                }
                Behavior on shown {
                    NumberAnimation { duration: Animations.entranceSpringDuration; easing: Animations.entranceSpring }
                }

                ChatLoadingBubble {
                    id: thinking
                    width: thinking.implicitWidth
                    height: thinking.implicitHeight
                    text: "Claude가 생각하는 중..."
                }
            }

            // The answers given while the reply is awaited, as they were
            // typed; each becomes its turn when it is sent.
            Repeater {
                id: waitingRows
                model: root.viewModel ? root.viewModel.waitingAnswers : []
                delegate: ChatMessageRow {
                    required property string modelData
                    objectName: "waitingRow"
                    width: column.width
                    height: implicitHeight
                    text: modelData
                    isAI: false
                }
            }

            // The last failed send.
            Item {
                id: errorRow
                objectName: "errorRow"
                width: column.width
                height: errorLine.implicitHeight + 2 * Padding.p10
                visible: root.viewModel !== null && root.viewModel.hasErrorMessage

                SmoothRect {
                    anchors.fill: parent
                    radius: CornerRadius.r6
                    color: Qt.rgba(Colors.red.r, Colors.red.g, Colors.red.b, 0.1)
                }
                Row {
                    id: errorLine
                    x: Padding.p10
                    y: Padding.p10
                    width: parent.width - 2 * Padding.p10
                    spacing: Spacing.standard
                    SymbolIcon {
                        id: warningIcon
                        objectName: "warningIcon"
                        anchors.verticalCenter: parent.verticalCenter
                        name: "exclamationmark.triangle"
                        size: Fonts.callout.pixelSize + 2
                        color: Colors.textPrimary
                    }
                    Text {
                        objectName: "errorText"
                        anchors.verticalCenter: parent.verticalCenter
                        width: errorLine.width - warningIcon.width - errorLine.spacing
                        text: root.viewModel ? root.viewModel.errorMessage : ""
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        font: Fonts.callout
                        color: Colors.red
                    }
                }
            }
        }
    }

    // The answer field while the interview runs; the document button once it
    // is complete and no reply is awaited; nothing while the last reply is
    // still on its way.
    Column {
        id: bottomBar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom

        Item {
            visible: root.showsInputField
            width: bottomBar.width
            height: inputField.implicitHeight + 2 * Padding.p16
            ChatInputField {
                id: inputField
                objectName: "answerInput"
                x: Padding.p16
                y: Padding.p16
                width: bottomBar.width - 2 * Padding.p16
                height: inputField.implicitHeight
                placeholder: "생각나는 대로 편하게 적어주세요"
                isDisabled: false
                isSubmitEnabled: true
                onSubmit: root.submitAnswer()
            }
        }

        Item {
            visible: root.showsDocumentsButton
            width: bottomBar.width
            height: documentsButton.implicitHeight + 2 * Padding.p16
            PrimaryButton {
                id: documentsButton
                objectName: "documentsButton"
                anchors.centerIn: parent
                title: "문서 생성하기"
                onAction: root.documentsRequested()
            }
        }
    }

    Component.onCompleted: {
        if (root.viewModel)
            root.viewModel.startMonitoring()
        revealer.start()
        fieldFocus.request()
    }
    Component.onDestruction: ChatRules.leaveScreen(root.viewModel)
}
