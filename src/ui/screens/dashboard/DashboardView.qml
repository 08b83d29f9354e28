import QtQuick
import Orva.Design
import Orva.Workflow

// The dashboard overlay's panel, framed by its host.
Item {
    id: root
    property DashboardViewModel viewModel
}
