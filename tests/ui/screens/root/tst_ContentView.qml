import QtQuick
import QtTest
import Orva.Workflow
import Orva.Screens

TestCase {
    id: testCase
    name: "ContentView"
    when: windowShown
    width: 1120
    height: 880
    visible: true

    Component {
        id: rootView
        ContentView {
            width: 1120
            height: 880
            viewModel: ContentViewModel {}
        }
    }

    function init() {
        failOnWarning(/.*/)
        helpers.removeUserDefault("hasSeenOnboarding")
    }

    function test_phaseShowsItsScreen() {
        const view = createTemporaryObject(rootView, testCase)
        verify(view)
        compare(view.viewModel.currentPhase, ViewPhase.Entry)
        compare(view.screen.objectName, "entryView")
        const firstEntry = view.screen
        const firstModel = view.screen.viewModel
        verify(firstModel)
        view.viewModel.navigateToProjectGuiding()
        compare(view.screen.objectName, "projectGuidingView")
        view.viewModel.navigateToDashboard()
        compare(view.screen.objectName, "workView")
        view.viewModel.startNewProject()
        compare(view.screen.objectName, "entryView")
        // Built anew on each visit, with a new model.
        verify(view.screen !== firstEntry)
        verify(view.screen.viewModel !== firstModel)
    }

    function test_overlayOnFirstShowAndClosedOnlyByItsFinish() {
        const view = createTemporaryObject(rootView, testCase)
        verify(view.viewModel.showOnboarding)
        verify(view.overlay)
        compare(view.overlay.objectName, "onboardingView")
        verify(!helpers.hasUserDefault("hasSeenOnboarding"))
        view.overlay.finished()
        verify(!view.viewModel.showOnboarding)
        tryCompare(view, "overlay", null)
        verify(helpers.boolDefault("hasSeenOnboarding"))
        // Seen: a new window shows no overlay.
        const again = createTemporaryObject(rootView, testCase)
        verify(!again.viewModel.showOnboarding)
        compare(again.overlay, null)
    }

    function test_destroyingTheOverlayRecordsNothing() {
        const view = createTemporaryObject(rootView, testCase)
        verify(view.overlay)
        helpers.destroyNow(view)
        verify(!helpers.hasUserDefault("hasSeenOnboarding"))
        const again = createTemporaryObject(rootView, testCase)
        verify(again.viewModel.showOnboarding)
    }
}
