import QtQuick
import Orva.Design
import Orva.Screens.Onboarding
import Orva.Components

// The framed panel of sample apps: a caption over a three-column grid, the
// whole at most 500 x 270 inside a 20-point padding.
Item {
    id: root
    readonly property real maximumContentWidth: 500
    readonly property real maximumContentHeight: 270
    readonly property alias content: content
    readonly property alias grid: grid

    implicitWidth: maximumContentWidth + 2 * Padding.p20
    implicitHeight: maximumContentHeight + 2 * Padding.p20

    SmoothRect {
        anchors.fill: parent
        radius: CornerRadius.r12
        color: Colors.cardBackground
        borderColor: Colors.white10
        borderWidth: 1
    }

    // The frame: the content is centred in it.
    Item {
        id: frame
        objectName: "examplesFrame"
        anchors.fill: parent
        anchors.margins: Padding.p20

        Column {
            id: content
            anchors.centerIn: parent
            width: Math.min(root.maximumContentWidth, frame.width)
            spacing: Spacing.s20

            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: Spacing.s8
                SymbolIcon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "sparkles"
                    size: Fonts.icon10.pixelSize
                    color: Colors.purple
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "ZAVE를 통해 만든 앱이에요!"
                    textFormat: Text.PlainText
                    font: Fonts.title3
                    color: Colors.white40
                }
            }

            // Three equal columns with the standard gap between them; each card
            // is centred in its cell, the last row filled from the leading side.
            Grid {
                id: grid
                objectName: "examplesGrid"
                width: parent.width
                columns: 3
                rowSpacing: Spacing.s16
                columnSpacing: Spacing.standard

                Repeater {
                    model: OnboardingContent.samples
                    delegate: Item {
                        id: cell
                        required property var modelData
                        width: (grid.width - 2 * grid.columnSpacing) / 3
                        height: card.implicitHeight
                        AppExampleCard {
                            id: card
                            objectName: "sampleCard"
                            anchors.horizontalCenter: parent.horizontalCenter
                            width: implicitWidth
                            icon: cell.modelData.icon
                            name: cell.modelData.name
                            description: cell.modelData.description
                            color: cell.modelData.color
                        }
                    }
                }
            }
        }
    }
}
