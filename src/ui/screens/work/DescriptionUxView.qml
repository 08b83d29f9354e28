import QtQuick
import Orva.Design

// The task's description in the person's terms: up to three sections, each
// list joined into one item; an empty list shows no section.
Column {
    id: root
    // A DescriptionUx value.
    property var description
    readonly property var general: root.description ? root.description.general : []
    readonly property var view: root.description ? root.description.view : []
    readonly property var feature: root.description ? root.description.feature : []

    spacing: Spacing.s20

    InfoSectionView {
        title: "여기에서는"
        items: root.general.length > 0 ? [root.general.join("\n")] : []
        accentColor: Colors.teal
    }
    InfoSectionView {
        title: "이 화면에서는"
        items: root.view.length > 0 ? [root.view.join("\n")] : []
        accentColor: Colors.teal
    }
    InfoSectionView {
        title: "여기에 들어가는 기능으로는"
        items: root.feature.length > 0 ? [root.feature.join("\n")] : []
        accentColor: Colors.blue
    }
}
