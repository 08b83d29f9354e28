import QtQuick
import Orva.Components
import Orva.Workflow
import Orva.Terminal

// What screens use of the models, the services and the terminal items, as the
// build declares them: every name, property and base type resolves.
Item {
    id: root
    property ContentViewModel content
    property ChatViewModel chat
    property WorkViewModel work
    property DashboardViewModel dashboard
    readonly property bool onEntry: root.content !== null && root.content.currentPhase === ViewPhase.Entry
    readonly property var plan: root.work ? root.work.appGroupMonitorService.project : undefined
    readonly property string folder: root.work ? root.work.directoryAccessService.selectedDirectory : ""
    readonly property string xcodeName: root.work ? root.work.xcodeService.selectedProjectName : ""
    readonly property bool terminalBusy: root.work !== null && root.work.nativeTerminalService.isProcessRunning
    readonly property var chatPlan: root.chat ? root.chat.monitorService.project : undefined
    readonly property var dashboardPlan: root.dashboard ? root.dashboard.appGroupMonitorService.project : undefined
    readonly property bool running: NativeTerminalService.isProcessRunning && ClaudeProcessService.isProcessRunning
    readonly property bool access: DirectoryAccessService.hasAccess
    readonly property var project: AppGroupMonitorService.project
    readonly property int turns: root.chat ? root.chat.chatHistories.count : 0

    ListView {
        model: root.chat ? root.chat.chatHistories : null
        delegate: Text {
            required property int index
            text: "turn " + index + " of " + root.turns
        }
    }
    LocalProcessTerminalView { width: 10; height: 10 }
    TerminalRendererView { width: 10; height: 10 }
    ChatInputField { isDisabled: root.running }
}
