import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Work

// The test step of a task: what the task is about on the left, its
// checklist on the right with a works and a fails box per item, and a button
// that types an approval or a fix request into the work terminal. The task is
// copied once when the popup opens; later selections and plan reloads do not
// reach it. It holds the keyboard while open.
FocusScope {
    id: root
    // The task to test (a TaskItem value); only the first value is taken.
    property var task
    property WorkViewModel viewModel
    readonly property TaskDetailVerdict verdict: verdict
    readonly property var shownTask: verdict.task
    readonly property alias explanationField: explanation
    readonly property alias submitButton: submitButton
    readonly property alias closeButton: closeButton
    readonly property alias rows: rowRepeater
    readonly property alias masterBox: masterBox

    signal dismissed()

    focus: true

    TaskDetailVerdict {
        id: verdict
        task: root.task
        onDismissRequested: root.dismissed()
    }

    Keys.onPressed: event => event.accepted = true

    // The dimmer: no action, but nothing reaches what lies under it.
    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.5)
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.AllButtons
            onWheel: wheel => wheel.accepted = true
        }
    }

    Item {
        id: card
        objectName: "popupCard"
        width: 800
        height: 600
        anchors.centerIn: parent

        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r16
            color: Hex.color("#030303")
            borderColor: Qt.rgba(1, 1, 1, 0.1)
            borderWidth: 1
        }
        MouseArea {
            anchors.fill: parent
            onWheel: wheel => wheel.accepted = true
        }

        Flickable {
            id: scroller
            objectName: "popupScroller"
            anchors.fill: parent
            anchors.margins: 1
            contentWidth: width
            contentHeight: columns.height + 72
            boundsBehavior: Flickable.StopAtBounds
            clip: true

            Item {
                id: columns
                y: 36
                width: scroller.width
                height: Math.max(left.height, right.height)
                readonly property real columnWidth: (width - 1) / 2

                Column {
                    id: left
                    x: 36
                    width: columns.columnWidth - 36
                    spacing: 0
                    ShapeStroke {
                        width: 20
                        height: 20
                        shapeName: "detail"
                        strokeColor: Colors.white20
                        strokeWidth: 2
                        progress: 1
                    }
                    Item { width: 1; height: Spacing.s40 }
                    Text {
                        objectName: "taskTitle"
                        width: parent.width
                        bottomPadding: 26
                        text: root.shownTask ? root.shownTask.titleUx : ""
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        font.family: Fonts.body.family
                        font.pixelSize: 17
                        font.bold: true
                        color: Colors.textPrimary
                    }
                    Column {
                        spacing: Spacing.s20
                        DescriptionUxView {
                            description: root.shownTask ? root.shownTask.detail.descriptionUx : undefined
                        }
                        ModifiedFilesView {
                            objectName: "modifiedFiles"
                            files: root.shownTask ? root.shownTask.detail.modifiedFiles : []
                        }
                    }
                }

                Rectangle {
                    x: columns.columnWidth
                    y: 0
                    width: 1
                    height: columns.height
                    color: Colors.white10
                }

                Column {
                    id: right
                    objectName: "checklistGroup"
                    x: columns.columnWidth + 1 + 29
                    width: columns.columnWidth - 29 - 36
                    visible: verdict.count > 0
                    spacing: 0

                    ShapeStroke {
                        width: 24
                        height: 24
                        shapeName: "check"
                        strokeColor: Colors.white20
                        strokeWidth: 2
                        progress: 1
                    }
                    Item { width: 1; height: Spacing.s40 }
                    Item {
                        width: parent.width
                        height: Math.max(checkHeading.implicitHeight, xcodeButton.height)
                        Text {
                            id: checkHeading
                            anchors.left: parent.left
                            anchors.verticalCenter: parent.verticalCenter
                            text: "아래 항목들을 확인해 보세요"
                            font.family: Fonts.body.family
                            font.pixelSize: 17
                            font.bold: true
                            color: Colors.textPrimary
                        }
                        Item {
                            id: xcodeButton
                            objectName: "xcodeButton"
                            anchors.right: parent.right
                            anchors.verticalCenter: parent.verticalCenter
                            width: xcodeLabel.implicitWidth + 12
                            height: xcodeLabel.implicitHeight + 4
                            SmoothRect {
                                anchors.fill: parent
                                radius: CornerRadius.r4
                                color: Colors.blue
                            }
                            Text {
                                id: xcodeLabel
                                anchors.centerIn: parent
                                text: "Xcode 열기"
                                font.family: Fonts.body.family
                                font.pixelSize: 11
                                font.weight: Font.DemiBold
                                color: Colors.white
                            }
                            MouseArea {
                                anchors.fill: parent
                                cursorShape: Qt.PointingHandCursor
                                onClicked: verdict.openXcode(root.viewModel)
                            }
                        }
                    }
                    Item { width: 1; height: 26 }
                    Item {
                        width: parent.width
                        height: masterRow.height + Spacing.s12
                        Row {
                            id: masterRow
                            anchors.right: parent.right
                            anchors.rightMargin: Padding.p4
                            spacing: 7
                            CheckBoxButton {
                                id: masterBox
                                anchors.verticalCenter: parent.verticalCenter
                                isChecked: verdict.isChecked
                                size: 16
                                cornerRadius: CornerRadius.r4
                                offColor: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.4)
                                disabledColor: Colors.white10
                                onToggled: checked => verdict.isChecked = checked
                            }
                            // "onColor" reads as a handler name in a binding: set it here.
                            Binding { target: masterBox; property: "onColor"; value: Colors.green }
                            Text {
                                anchors.verticalCenter: parent.verticalCenter
                                text: "다 잘 작동해요"
                                font.family: Fonts.body.family
                                font.pixelSize: Fonts.body.pixelSize
                                font.bold: true
                                color: Colors.textSecondary
                            }
                        }
                    }
                    Column {
                        spacing: Spacing.s4
                        Repeater {
                            id: rowRepeater
                            model: verdict.count
                            delegate: ChecklistItemView {
                                required property int index
                                number: index + 1
                                text: verdict.checklist[index] || ""
                                isChecked: verdict.checks[index] === true
                                isXChecked: verdict.xChecks[index] === true
                                isDisabled: verdict.disabledRows[index] === true
                                onWorksToggled: checked => verdict.setWorks(index, checked)
                                onFailsToggled: checked => verdict.setFails(index, checked)
                            }
                        }
                    }
                    Column {
                        objectName: "explanationSection"
                        visible: verdict.anyFail
                        topPadding: Spacing.s20
                        spacing: Spacing.s8
                        Text {
                            leftPadding: Padding.p4
                            text: "추가 설명"
                            font.family: Fonts.body.family
                            font.pixelSize: Fonts.body.pixelSize
                            font.bold: true
                            color: Colors.textSecondary
                        }
                        Item {
                            id: inputBox
                            width: 335
                            readonly property real lineHeight: Math.ceil(Fonts.body.pixelSize * 1.45)
                            height: Math.min(10, Math.max(3, explanation.lineCount)) * lineHeight + 12 + 36
                            clip: true
                            SmoothRect {
                                anchors.fill: parent
                                radius: CornerRadius.r8
                                color: Colors.white10
                            }
                            Text {
                                objectName: "explanationPlaceholder"
                                visible: explanation.text.length === 0 && explanation.preeditText.length === 0
                                x: Padding.p12
                                y: Padding.p12
                                width: parent.width - 2 * Padding.p12
                                text: "에러 메시지를 복사해서 붙이거나 추가 설명을 입력해주세요"
                                wrapMode: Text.Wrap
                                font: Fonts.body
                                color: Colors.textSecondary
                            }
                            Flickable {
                                id: explanationScroller
                                x: Padding.p12
                                y: Padding.p12
                                width: parent.width - 2 * Padding.p12
                                height: parent.height - 12 - 36
                                contentHeight: explanation.implicitHeight
                                clip: true
                                boundsBehavior: Flickable.StopAtBounds
                                TextEdit {
                                    id: explanation
                                    objectName: "explanationField"
                                    width: explanationScroller.width
                                    wrapMode: TextEdit.Wrap
                                    textFormat: TextEdit.PlainText
                                    font: Fonts.body
                                    color: Colors.white
                                    selectByMouse: true
                                    onTextChanged: verdict.additionalInput = text
                                    onCursorRectangleChanged: {
                                        if (cursorRectangle.y + cursorRectangle.height > explanationScroller.contentY + explanationScroller.height)
                                            explanationScroller.contentY = cursorRectangle.y + cursorRectangle.height - explanationScroller.height
                                        else if (cursorRectangle.y < explanationScroller.contentY)
                                            explanationScroller.contentY = cursorRectangle.y
                                    }
                                }
                            }
                            MouseArea {
                                anchors.fill: parent
                                z: -1
                                onClicked: explanation.forceActiveFocus()
                            }
                        }
                    }
                    Item {
                        width: parent.width
                        height: submitButton.height + Padding.p16
                        TestActionButton {
                            id: submitButton
                            objectName: "submitButton"
                            anchors.right: parent.right
                            anchors.bottom: parent.bottom
                            title: verdict.buttonTitle
                            isEnabled: verdict.canSubmit
                            backgroundColor: verdict.anyFail ? Colors.yellow : Colors.indigo
                            textColor: Colors.black
                            disabledBackgroundColor: Colors.white10
                            disabledTextColor: Colors.textSecondary
                            fontSize: Fonts.headline
                            horizontalPadding: Padding.p16
                            verticalPadding: Padding.p10
                            iconSize: 11
                            onAction: verdict.submit(root.viewModel)
                        }
                    }
                }
            }
        }

        // Close: nothing is sent.
        Item {
            id: closeButton
            objectName: "closeButton"
            z: 1
            anchors.right: parent.right
            anchors.rightMargin: 36
            anchors.top: parent.top
            anchors.topMargin: 36
            width: 24
            height: 24
            Rectangle {
                anchors.fill: parent
                anchors.topMargin: 2
                radius: 12
                color: Qt.rgba(0, 0, 0, 0.3)
            }
            Rectangle {
                anchors.fill: parent
                radius: 12
                color: Qt.rgba(0, 0, 0, 0.8)
            }
            SymbolIcon {
                anchors.centerIn: parent
                name: "xmark"
                size: 17
                color: Colors.white90
            }
            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: root.dismissed()
            }
        }
    }
}
