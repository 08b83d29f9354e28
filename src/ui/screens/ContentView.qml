import QtQuick
import Orva.Design
import Orva.Workflow
import Orva.Screens.Entry
import Orva.Screens.Chat
import Orva.Screens.Onboarding
import Orva.Screens.Guiding
import Orva.Screens.Work

// The root view of a window: one screen for the current phase, built anew on
// each visit, and the onboarding overlay above everything while it is due.
Item {
    id: root
    property ContentViewModel viewModel

    // The screen on display (for tests and the road through the window).
    readonly property Item screen: screenLoader.item as Item
    readonly property Item overlay: overlayLoader.item as Item

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }

    Loader {
        id: screenLoader
        objectName: "screenLoader"
        anchors.fill: parent
        focus: !overlayLoader.active
        sourceComponent: {
            if (!root.viewModel)
                return null
            switch (root.viewModel.currentPhase) {
            case ViewPhase.Entry: return entryScreen
            case ViewPhase.Chat: return chatScreen
            case ViewPhase.ProjectGuiding: return guidingScreen
            case ViewPhase.Dashboard: return workScreen
            }
            return null
        }
    }

    Component {
        id: entryScreen
        EntryView {
            id: entry
            objectName: "entryView"
            focus: true
            viewModel: root.viewModel.createEntryViewModel(entry)
            onSubmitted: idea => root.viewModel.startInterview(idea)
        }
    }
    Component {
        id: chatScreen
        ChatView {
            objectName: "chatView"
            focus: true
            viewModel: root.viewModel.chatViewModel
            onDocumentsRequested: root.viewModel.navigateToProjectGuiding()
        }
    }
    Component {
        id: guidingScreen
        ProjectGuidingView {
            id: guiding
            objectName: "projectGuidingView"
            focus: true
            viewModel: root.viewModel.createProjectGuidingViewModel(guiding)
            onFinished: root.viewModel.navigateToDashboard()
        }
    }
    Component {
        id: workScreen
        WorkView {
            id: work
            objectName: "workView"
            focus: true
            viewModel: root.viewModel.createWorkViewModel(work)
            onNewProjectRequested: root.viewModel.startNewProject()
        }
    }

    // The onboarding overlay: above every screen while it is due. Only its
    // finish closes it, and only that records it as seen.
    Loader {
        id: overlayLoader
        objectName: "overlayLoader"
        anchors.fill: parent
        z: 10
        active: root.viewModel !== null && root.viewModel.showOnboarding
        focus: active
        sourceComponent: OnboardingView {
            objectName: "onboardingView"
            focus: true
            onFinished: root.viewModel.closeOnboarding()
        }
    }

    Component.onCompleted: {
        if (root.viewModel)
            root.viewModel.showOnboardingIfNeeded()
    }
}
