import QtQuick
import Orva.Components

// A square toggle with a cross.
ToggleBoxButton {
    glyphName: "xmark"
    accessibleLabel: "엑스박스"
}
