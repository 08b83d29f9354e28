import QtQuick
import Orva.Components

// The large symbol at the head of an onboarding page.
SymbolIcon {
    id: root
    property string icon
    name: icon
    size: 80
}
