import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens
import Orva.Screens.Onboarding

// Pictures of the onboarding overlay over the entry screen (the root view on
// a first launch), page by page, mid-transition, and of its controls in each
// state.
Item {
    id: root
    width: 1120
    height: 880

    property var sceneNames: [
        "page0_welcome",
        "page1_requirement_no_ticks",
        "page1_requirement_installed",
        "page1_requirement_both",
        "page2_start_guide",
        "page1_keyboard_on_logged_in",
        "page2_keyboard_on_start",
        "transition_page0_to_page1",
        "controls",
        "guide_box_2x",
    ]
    property int sceneWait: 900
    property string scene: ""

    readonly property Item overlay: windowLoader.item ? windowLoader.item.overlay : null

    function show(name) {
        root.scene = ""
        windowLoader.active = false
        helpers.removeUserDefault("hasSeenOnboarding")
        root.sceneWait = 900
        root.scene = name
        if (name === "controls" || name === "guide_box_2x")
            return
        windowLoader.active = true
        const view = root.overlay
        switch (name) {
        case "page1_requirement_no_ticks":
            view.goToPage(1)
            break
        case "page1_requirement_installed":
            view.goToPage(1)
            view.page.isInstalledChecked = true
            break
        case "page1_requirement_both":
            view.goToPage(1)
            view.page.isInstalledChecked = true
            view.page.isLoggedInChecked = true
            break
        case "page2_start_guide":
            view.goToPage(2)
            break
        case "page1_keyboard_on_logged_in":
            // Reached from the keyboard: the ring shows on the control that
            // has it.
            view.goToPage(1)
            view.page.isInstalledChecked = true
            view.page.guideBox.loggedInRow.forceActiveFocus(Qt.TabFocusReason)
            break
        case "page2_keyboard_on_start":
            view.goToPage(2)
            view.page.navigation.nextButton.forceActiveFocus(Qt.TabFocusReason)
            break
        case "transition_page0_to_page1":
            // A slow transition, caught about halfway.
            view.transitionDuration = 4000
            view.goToPage(1)
            root.sceneWait = 2000
            break
        }
    }

    Loader {
        id: windowLoader
        anchors.fill: parent
        active: false
        sourceComponent: ContentView {
            anchors.fill: parent
            viewModel: ContentViewModel {}
        }
    }

    // The requirement page's guide box alone, twice its size, to look at its
    // lines and border closely.
    Rectangle {
        anchors.fill: parent
        visible: root.scene === "guide_box_2x"
        color: Colors.background
        ClaudeCodeGuideBox {
            x: 40
            y: 40
            scale: 2
            transformOrigin: Item.TopLeft
            isInstalledChecked: true
        }
    }

    Rectangle {
        anchors.fill: parent
        visible: root.scene === "controls"
        color: Colors.background

        Column {
            x: 40
            y: 30
            spacing: 26

            Text {
                text: "OnboardingButton: trailing, leading"
                color: Colors.textSecondary
                font: Fonts.caption
            }
            Row {
                spacing: 24
                OnboardingButton { title: "다음"; icon: "arrow.right"; color: Colors.indigo }
                OnboardingButton {
                    title: "이전"
                    icon: "arrow.left"
                    color: Colors.orange
                    iconPosition: OnboardingButton.Leading
                }
            }
            Text {
                text: "OnboardingNavigationButtons: enabled indigo, disabled, enabled orange"
                color: Colors.textSecondary
                font: Fonts.caption
            }
            Row {
                spacing: 40
                OnboardingNavigationButtons { nextTitle: "다음"; nextColor: Colors.indigo; isNextEnabled: true }
                OnboardingNavigationButtons { nextTitle: "다음"; nextColor: Colors.indigo; isNextEnabled: false }
                OnboardingNavigationButtons { nextTitle: "시작하기"; nextColor: Colors.orange; isNextEnabled: true }
            }
            Text {
                text: "PageIndicator: page 0, 1, 2 of 3; page 3 of 3 (none lit); no pages (framed)"
                color: Colors.textSecondary
                font: Fonts.caption
            }
            Row {
                spacing: 40
                Repeater {
                    model: [0, 1, 2, 3]
                    delegate: PageIndicator {
                        required property int modelData
                        currentPage: modelData
                        totalPages: 3
                    }
                }
                Rectangle {
                    width: empty.width
                    height: empty.height
                    color: "transparent"
                    border.color: Colors.white20
                    PageIndicator { id: empty; totalPages: 0 }
                }
            }
            Text {
                text: "OnboardingIconHeader: wand.and.stars, terminal.fill, sparkles"
                color: Colors.textSecondary
                font: Fonts.caption
            }
            Row {
                spacing: 40
                OnboardingIconHeader { icon: "wand.and.stars"; color: Colors.purple }
                OnboardingIconHeader { icon: "terminal.fill"; color: Colors.indigo }
                OnboardingIconHeader { icon: "sparkles"; color: Colors.orange }
            }
            Text {
                text: "CheckableRequirementRow: unticked, ticked; AppIdeaExampleCard; AppExampleCard"
                color: Colors.textSecondary
                font: Fonts.caption
            }
            Row {
                spacing: 40
                Column {
                    spacing: 8
                    CheckableRequirementRow { text: "Claude Code 설치"; isChecked: false }
                    CheckableRequirementRow { text: "Claude Code 로그인"; isChecked: true }
                }
                AppIdeaExampleCard { text: "매일매일 운동을 기록하는 앱을 만들고 싶어요" }
                Repeater {
                    model: OnboardingContent.samples
                    delegate: AppExampleCard {
                        required property var modelData
                        icon: modelData.icon
                        name: modelData.name
                        description: modelData.description
                        color: modelData.color
                    }
                }
            }
            Text {
                text: "Quotation marks at 48: quote.opening, quote.closing"
                color: Colors.textSecondary
                font: Fonts.caption
            }
            Row {
                spacing: 24
                SymbolIcon { name: "quote.opening"; size: 48; color: Colors.white }
                SymbolIcon { name: "quote.closing"; size: 48; color: Colors.white }
            }
        }
    }
}
