import QtQuick
import Orva.Design
import Orva.Components
import Orva.Screens.Dashboard

// The title row of the dashboard: the project's name (verbatim, wrapping to
// three lines at most, the last one elided),
// "전체 진행률" with the percentage at the trailing edge, and the overall bar
// below. Both figures are the project's own arithmetic (2 of 3 is 66).
Column {
    id: root
    // A Project value.
    property var project
    readonly property int percentage: project ? project.progressPercentage : 0
    readonly property real barFraction: DashboardRules.headerBarFraction(project ? project.progress : 0)
    readonly property alias nameText: nameText
    readonly property alias percentageText: percentageText
    readonly property alias progressBar: progressBar

    spacing: Spacing.s24

    Item {
        id: titleRow
        width: root.width
        height: Math.max(nameText.implicitHeight, progressGroup.height)

        Text {
            id: nameText
            width: Math.max(0, titleRow.width - progressGroup.width - Spacing.s16)
            anchors.verticalCenter: parent.verticalCenter
            text: root.project ? ViewRules.title(root.project.name) : ""
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            font: Fonts.largeTitle36
            color: Colors.textPrimary
        }

        Row {
            id: progressGroup
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: Spacing.standard

            Text {
                anchors.verticalCenter: parent.verticalCenter
                topPadding: Padding.p4
                text: "전체 진행률"
                font: Fonts.title3
                color: Colors.textSecondary
            }
            Item {
                width: Spacing.s8
                height: 1
            }
            Item {
                id: figure
                anchors.verticalCenter: parent.verticalCenter
                width: percentageText.implicitWidth + Spacing.s4 + percentSign.implicitWidth
                height: percentageText.implicitHeight

                Text {
                    id: percentageText
                    text: root.percentage.toString()
                    textFormat: Text.PlainText
                    font: Fonts.largeTitle34
                    color: Colors.green
                }
                Text {
                    id: percentSign
                    x: percentageText.implicitWidth + Spacing.s4
                    anchors.baseline: percentageText.baseline
                    text: "%"
                    font: Fonts.title
                    color: Colors.green
                }
            }
        }
    }

    ProgressBar {
        id: progressBar
        width: root.width
        height: 6
        cornerRadius: CornerRadius.r8
        backgroundColor: Colors.white20
        foregroundColor: Colors.green
        progress: root.barFraction
    }
}
