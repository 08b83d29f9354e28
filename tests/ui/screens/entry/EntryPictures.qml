import QtQuick
import Orva.Design
import Orva.Workflow
import Orva.Screens.Entry

// The entry screen in each of its states, on a real model with the fake
// claude (ScreenPicturesTest.cpp renders each scene).
Item {
    id: root
    readonly property var sceneNames: ["entry_idle", "entry_preparing", "entry_failed_long_error",
                                       "entry_failed_narrow_window", "entry_ready_multiline_idea",
                                       "entry_failed_logged_out", "entry_failed_offline", "entry_failed_long_reason",
                                       "entry_waiting_long", "entry_waiting_long_narrow_window"]
    // What claude says in the failing scenes (the fake's "stdout-only" mode),
    // as the real one says it.
    readonly property var reasons: ({
        "entry_failed_logged_out": "",
        "entry_failed_offline": "API Error: Unable to connect to API (ConnectionRefused)",
        "entry_failed_long_reason": "Error: " + "the request could not be completed because ".repeat(12)
    })
    readonly property bool isWaitingScene: root.scene.startsWith("entry_waiting_long")
    // The narrow windows show how a description, a reason or the notice
    // longer than the row wraps.
    readonly property size sceneSize: root.scene.endsWith("narrow_window") || root.scene === "entry_failed_long_reason"
        ? Qt.size(640, 880) : Qt.size(1120, 880)
    readonly property int sceneWait: 2500
    property string scene
    property EntryView current: null
    readonly property bool sceneReady: {
        const view = root.current
        if (!view || !view.isViewAppeared)
            return false
        const model = view.viewModel
        switch (root.scene) {
        case "entry_idle": return model === null
        case "entry_preparing": return model.isInitializing
        case "entry_failed_long_error":
        case "entry_failed_narrow_window":
        case "entry_failed_logged_out":
        case "entry_failed_offline":
        case "entry_failed_long_reason":
            return model.hasInitializationError && !model.isInitializing
        case "entry_waiting_long":
        case "entry_waiting_long_narrow_window":
            return model.isInitializing && view.waitingNotice !== ""
        case "entry_ready_multiline_idea": return model.isReadyForInterview && view.inputField.text !== ""
        }
        return false
    }

    readonly property string projectFolder: helpers.containerPath + "/ZAVE/project"

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }

    Component {
        id: screen
        EntryView {
            anchors.fill: parent
        }
    }
    Component {
        id: entryModel
        EntryViewModel {}
    }
    // Counts a wait of a tenth of a second as long.
    Component {
        id: impatientModel
        EntryViewModel {
            waitingNoticeDelay: 100
        }
    }

    function show(name) {
        if (root.current)
            root.current.destroy()
        root.current = null
        helpers.setFakeClaudeMode("")
        // A file where the project folder belongs: the preparation fails
        // with the longest description it has.
        helpers.removePath(root.projectFolder)
        if (name === "entry_failed_long_error" || name === "entry_failed_narrow_window")
            helpers.writeFile(root.projectFolder, "not a folder\n")
        root.scene = name
        if (name === "entry_preparing" || root.isWaitingScene)
            helpers.setFakeClaudeMode("hold")
        if (root.reasons[name] !== undefined)
            helpers.setFakeClaudeMode("stdout-only", root.reasons[name])
        const model = name === "entry_idle" ? null : (root.isWaitingScene ? impatientModel : entryModel).createObject(root)
        const view = screen.createObject(root, model ? { viewModel: model } : {})
        if (name === "entry_ready_multiline_idea") {
            // Typed once the field takes text again.
            view.viewModel.isInitializingChanged.connect(() => {
                if (!view.viewModel.isInitializing && view.viewModel.isReadyForInterview)
                    view.inputField.text = "매일매일 운동을 기록하는 앱을 만들고 싶어요.\n"
                        + "운동 종류별로 시간과 횟수를 적고,\n주간 그래프로 한눈에 보고 싶어요."
            })
        }
        root.current = view
    }
}
