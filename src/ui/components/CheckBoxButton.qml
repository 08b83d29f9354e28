import QtQuick
import Orva.Components

// A square toggle with a check mark.
ToggleBoxButton {
    glyphName: "checkmark"
    accessibleLabel: "체크박스"
}
