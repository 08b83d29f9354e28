import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Guiding

// The outcome of the last check: the green success box (with the project's
// name when known), the red failure box with the error text, or nothing at
// all, taking no space.
Item {
    id: root
    property bool isVerified: false
    property bool hasProjectName: false
    property string projectName
    property bool hasErrorMessage: false
    property string errorMessage

    ProjectVerificationResultRules {
        id: rules
        isVerified: root.isVerified
        hasProjectName: root.hasProjectName
        projectName: root.projectName
        hasErrorMessage: root.hasErrorMessage
        errorMessage: root.errorMessage
    }
    readonly property bool showsSuccess: rules.showsSuccess
    readonly property bool showsFailure: rules.showsFailure

    visible: rules.showsSuccess || rules.showsFailure
    implicitWidth: 540
    implicitHeight: visible ? box.height : 0

    Rectangle {
        id: box
        objectName: rules.showsSuccess ? "successBox" : "failureBox"
        width: root.width
        height: content.implicitHeight + 2 * Padding.p16
        radius: CornerRadius.r8
        color: rules.showsSuccess ? Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.1)
                                  : Qt.rgba(Colors.red.r, Colors.red.g, Colors.red.b, 0.1)

        Column {
            id: content
            x: Padding.p16
            y: Padding.p16
            width: parent.width - 2 * Padding.p16
            spacing: Spacing.s8

            Text {
                objectName: "resultTitle"
                width: parent.width
                text: rules.title
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                font: Fonts.body
                color: Colors.textPrimary
            }
            Row {
                visible: rules.showsProjectName
                width: parent.width
                spacing: Spacing.standard
                Text {
                    id: nameLabel
                    objectName: "resultNameLabel"
                    anchors.baseline: nameText.baseline
                    text: "프로젝트 이름:"
                    textFormat: Text.PlainText
                    font: Fonts.callout
                    color: Colors.white60
                }
                Text {
                    id: nameText
                    objectName: "resultProjectName"
                    width: parent.width - nameLabel.width - parent.spacing
                    text: rules.shownProjectName
                    textFormat: Text.PlainText
                    wrapMode: Text.WrapAnywhere
                    font.family: Fonts.body.family
                    font.pixelSize: Fonts.body.pixelSize
                    font.bold: true
                    color: Colors.textPrimary
                }
            }
            Text {
                objectName: "resultMessage"
                visible: rules.showsFailure
                width: parent.width
                text: rules.message
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignLeft
                font: Fonts.callout
                color: Colors.white60
            }
        }
    }
}
