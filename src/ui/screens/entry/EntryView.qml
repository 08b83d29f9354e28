import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Entry
import Orva.Screens.Onboarding

// The entry screen: asks its model to prepare the workspace and open the
// conversation with `claude`, shows how that stands in one status row, and
// takes the first app idea once the preparation succeeded. The title, the
// status row and the input rise into place one after another. The idea field
// has the keyboard as soon as it takes input after the screen appears and
// after "다시 시도".
Item {
    id: root
    property EntryViewModel viewModel
    // The idea was accepted by the model; the root view moves on to the chat.
    signal submitted(string idea)

    // Which of the three status forms shows (EntryRules.StatusForm).
    readonly property int statusForm: root.viewModel
        ? EntryRules.statusForm(root.viewModel.isInitializing, root.viewModel.hasInitializationError)
        : EntryRules.Idle
    // Said under the spinner once `claude` has been slow to answer; "" otherwise.
    readonly property string waitingNotice: root.viewModel
        ? EntryRules.waitingNotice(root.viewModel.isInitializing, root.viewModel.isWaitingLong)
        : ""
    readonly property bool isSubmitOffered: root.viewModel !== null
        && EntryRules.isSubmitOffered(root.viewModel.isReadyForInterview, root.viewModel.isInitializing)
    // Goes true once, just after the screen is shown; drives the reveal.
    property bool isViewAppeared: false

    readonly property ChatInputField inputField: inputField
    readonly property FieldFocus fieldFocus: fieldFocus

    // The input's submit (Return or the send button). The idea is read from
    // the field itself, after a syllable still being composed became text.
    function submitIdea() {
        ComponentRules.commitComposition(inputField.editor)
        const idea = inputField.text
        if (EntryRules.submit(root.viewModel, idea))
            root.submitted(idea)
    }

    // "다시 시도": a fresh model state, then a new preparation. The typed
    // idea stays in the field.
    function retry() {
        if (!root.viewModel)
            return
        root.viewModel.reset()
        root.viewModel.startPreparation()
        fieldFocus.request()
    }

    function dismissFocus() {
        fieldFocus.release()
        inputField.isTextFieldFocused = false
    }

    function appear() {
        if (root.viewModel)
            root.viewModel.startPreparation()
        revealTimer.start()
        fieldFocus.request()
    }

    FieldFocus {
        id: fieldFocus
        fieldEnabled: !inputField.isDisabled
        onFocusField: inputField.requestFocus()
    }

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }
    MouseArea {
        anchors.fill: parent
        onClicked: root.dismissFocus()
    }

    Column {
        id: stack
        anchors.centerIn: parent
        width: Math.max(0, parent.width - 2 * Padding.p16)
        spacing: Spacing.s16

        SlideUpFadeInModifier {
            anchors.horizontalCenter: parent.horizontalCenter
            isVisible: root.isViewAppeared
            delay: 0
            Text {
                objectName: "entryTitle"
                text: "나만의 앱을 만들어 볼까요?"
                textFormat: Text.PlainText
                font.family: Fonts.title.family
                font.pixelSize: Fonts.title.pixelSize
                font.bold: true
                color: Colors.white
            }
        }

        SlideUpFadeInModifier {
            anchors.horizontalCenter: parent.horizontalCenter
            isVisible: root.isViewAppeared
            delay: 0.15
            Loader {
                id: statusLoader
                sourceComponent: root.statusForm === EntryRules.Preparing ? preparingForm
                               : root.statusForm === EntryRules.Failed ? failedForm
                               : idleForm
            }
        }

        Item {
            width: 1
            height: Spacing.s8
        }

        SlideUpFadeInModifier {
            width: stack.width
            height: inputField.implicitHeight
            isVisible: root.isViewAppeared
            delay: 0.3
            ChatInputField {
                id: inputField
                objectName: "ideaInput"
                width: stack.width
                height: inputField.implicitHeight
                placeholder: OnboardingContent.ideaPlaceholder
                isDisabled: root.viewModel !== null && root.viewModel.isInitializing
                isSubmitEnabled: root.isSubmitOffered
                onSubmit: root.submitIdea()
            }
        }
    }

    Component {
        id: preparingForm
        Column {
            objectName: "preparingForm"
            // As wide as the row, or as the notice's longest line, within the window.
            width: Math.min(stack.width, Math.max(preparingRow.implicitWidth,
                                                  root.waitingNotice !== "" ? Math.ceil(noticeMeasure.implicitWidth) : 0))
            spacing: Spacing.s8
            // The notice unwrapped, only measured (a positioner skips it).
            Text {
                id: noticeMeasure
                visible: false
                text: root.waitingNotice
                textFormat: Text.PlainText
                font: Fonts.callout
            }
            Row {
                id: preparingRow
                anchors.horizontalCenter: parent.horizontalCenter
                height: 24
                spacing: 0
                Text {
                    objectName: "preparingText"
                    anchors.verticalCenter: parent.verticalCenter
                    text: "AI 인터뷰 준비 중이니 잠시만 기다려 주세요"
                    textFormat: Text.PlainText
                    font: Fonts.title3
                    color: Colors.white60
                }
                Item {
                    width: 32
                    height: 24
                    ActivitySpinner {
                        anchors.centerIn: parent
                        size: 13
                        color: Colors.white40
                    }
                }
            }
            Text {
                id: noticeText
                objectName: "waitingNotice"
                visible: root.waitingNotice !== ""
                width: parent.width
                text: root.waitingNotice
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                font: Fonts.callout
                color: Colors.white60
            }
        }
    }

    // The heading and claude's reason read as clearly as the rest of the
    // screen: the heading in the primary text colour, the reason in the
    // faintest white that body text reads in.
    Component {
        id: failedForm
        Column {
            objectName: "failedForm"
            width: Math.min(stack.width, Math.max(heading.implicitWidth, errorText.implicitWidth, retry.implicitWidth))
            spacing: Spacing.s8
            Text {
                id: heading
                objectName: "failureHeading"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "준비 실패"
                textFormat: Text.PlainText
                font: Fonts.title3
                color: Colors.textPrimary
            }
            Text {
                id: errorText
                objectName: "initializationError"
                width: parent.width
                text: root.viewModel ? root.viewModel.initializationError : ""
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                font: Fonts.callout
                color: Colors.white60
            }
            ReselectButtonStyle {
                id: retry
                objectName: "retryButton"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "다시 시도"
                onClicked: root.retry()
            }
        }
    }

    Component {
        id: idleForm
        Item {
            objectName: "idleForm"
            implicitWidth: idleText.implicitWidth
            implicitHeight: 24
            Text {
                id: idleText
                objectName: "idleText"
                anchors.verticalCenter: parent.verticalCenter
                text: "생각 중인 프로젝트나 아이디어를 자유롭게 적어보세요"
                textFormat: Text.PlainText
                font: Fonts.title3
                color: Colors.white60
            }
        }
    }

    Timer {
        id: revealTimer
        interval: 50
        onTriggered: root.isViewAppeared = true
    }

    Component.onCompleted: root.appear()
}
