import QtQuick
import Orva.Design
import Orva.Components

// Every shared component in each of its states, one scene per picture.
Rectangle {
    id: root
    color: Colors.background

    property string scene
    property size sceneSize: Qt.size(640, 400)
    property int sceneWait: 200

    // name: [component, width, height, wait ms]
    readonly property var table: ({
        "tokens-colors": [colorsScene, 760, 260, 100],
        "symbols": [symbolsScene, 760, 300, 100],
        "icons": [iconsScene, 760, 260, 100],
        "stroke-partial": [strokePartialScene, 760, 220, 100],
        "stroke-drawing": [strokeDrawingScene, 760, 220, 700],
        "gradient-border": [borderScene, 420, 260, 400],
        "status-chips": [chipsScene, 640, 200, 100],
        "check-boxes": [checkScene, 520, 200, 400],
        "buttons": [buttonsScene, 560, 200, 100],
        "progress-bars": [progressScene, 520, 300, 100],
        "task-cards": [taskCardScene, 720, 520, 100],
        "chat-input-empty": [chatEmptyScene, 900, 160, 100],
        "chat-input-text": [chatTextScene, 900, 160, 100],
        "chat-input-disabled": [chatDisabledScene, 900, 160, 100],
        "chat-input-narrow": [chatNarrowScene, 420, 160, 100],
        "completion-popup": [popupScene, 720, 600, 1200],
        "confetti": [confettiScene, 900, 700, 500],
        "rotating-text": [rotatingScene, 420, 140, 100],
        "code-block": [codeScene, 620, 300, 100],
        "modifiers": [modifiersScene, 720, 260, 1800]
    })
    readonly property var sceneNames: Object.keys(table)

    function show(name) {
        const entry = table[name]
        scene = name
        sceneSize = Qt.size(entry[1], entry[2])
        sceneWait = entry[3]
        if (current) {
            current.visible = false
            current.destroy()
        }
        current = entry[0].createObject(stage)
    }

    property Item current: null

    Item {
        id: stage
        anchors.fill: parent
    }

    component Caption: Text {
        font: Fonts.caption
        color: Colors.textSecondary
    }

    Component {
        id: colorsScene
        Flow {
            anchors.fill: parent
            anchors.margins: 16
            spacing: 10
            Repeater {
                model: ["orange", "blue", "green", "yellow", "indigo", "purple", "teal", "gray", "red",
                        "textPrimary", "textSecondary", "white", "darkGray", "background", "cardBackground",
                        "white90", "white40", "white20", "white10"]
                delegate: Column {
                    required property string modelData
                    spacing: 4
                    Rectangle {
                        width: 64; height: 40; radius: 6
                        color: Colors[modelData]
                        border.color: Colors.white10
                    }
                    Caption { text: modelData }
                }
            }
        }
    }

    Component {
        id: symbolsScene
        Flow {
            anchors.fill: parent
            anchors.margins: 16
            spacing: 14
            Repeater {
                model: ["arrow.forward", "arrow.left", "arrow.right", "asterisk", "book.fill", "checkmark",
                        "checkmark.circle.fill", "chevron.right", "chevron.right.dotted.chevron.right", "circle",
                        "circle.dotted.and.circle", "cube", "doc.on.doc", "exclamationmark.triangle",
                        "location.north.fill", "paperplane", "play.fill", "quote.opening", "sparkles",
                        "square.arrowtriangle.4.outward", "terminal.fill", "text.book.closed.fill", "timer",
                        "wand.and.stars", "waveform", "xmark"]
                delegate: Column {
                    required property string modelData
                    width: 80
                    spacing: 4
                    SymbolIcon { anchors.horizontalCenter: parent.horizontalCenter; name: modelData; size: 28; color: Colors.textPrimary }
                    Caption { width: 80; horizontalAlignment: Text.AlignHCenter; elide: Text.ElideMiddle; text: modelData }
                }
            }
        }
    }

    Component {
        id: iconsScene
        Row {
            anchors.centerIn: parent
            spacing: 36
            Repeater {
                model: [["appFolder", Colors.teal, 3], ["check", Colors.green, 2], ["detail", Colors.blue, 2],
                        ["setupAndModeling", Colors.indigo, 2], ["featureImplementation", Colors.blue, 2],
                        ["uiImplementation", Colors.teal, 2]]
                delegate: Column {
                    required property var modelData
                    spacing: 10
                    ShapeStroke {
                        width: 80; height: 80
                        shapeName: modelData[0]
                        strokeColor: modelData[1]
                        strokeWidth: modelData[2]
                    }
                    Caption { text: modelData[0] }
                }
            }
        }
    }

    Component {
        id: strokePartialScene
        Row {
            anchors.centerIn: parent
            spacing: 40
            Repeater {
                model: [0, 0.1, 0.3, 0.55, 0.8, 1]
                delegate: Column {
                    required property real modelData
                    spacing: 10
                    ShapeStroke {
                        width: 80; height: 80
                        shapeName: "appFolder"
                        strokeColor: Qt.rgba(Colors.teal.r, Colors.teal.g, Colors.teal.b, 0.8)
                        strokeWidth: 3
                        progress: modelData
                    }
                    Caption { text: "progress " + modelData }
                }
            }
        }
    }

    Component {
        id: strokeDrawingScene
        Row {
            anchors.centerIn: parent
            spacing: 40
            AnimatedStrokeShape {
                width: 80; height: 80
                shapeName: "appFolder"
                strokeColor: Qt.rgba(Colors.teal.r, Colors.teal.g, Colors.teal.b, 0.8)
                strokeWidth: 3
                animateOnAppear: true
            }
            Repeater {
                model: [0, 1, 2]
                delegate: AnimatedStrokeShape {
                    required property int modelData
                    width: 30; height: 30
                    anchors.verticalCenter: parent.verticalCenter
                    shape: AnyShape { milestoneType: modelData }
                    strokeColor: modelData === 0 ? Colors.indigo : (modelData === 1 ? Colors.blue : Colors.teal)
                    strokeWidth: 2
                    animateOnAppear: false
                }
            }
            AnimatedStrokeShape {
                width: 30; height: 30
                anchors.verticalCenter: parent.verticalCenter
                shape: AnyShape { milestoneType: 0 }
                strokeColor: Colors.white20
                strokeWidth: 1
                animateOnAppear: false
            }
        }
    }

    Component {
        id: borderScene
        Item {
            anchors.fill: parent
            Rectangle {
                anchors.centerIn: parent
                width: 316; height: 180; radius: 8
                color: Qt.rgba(Colors.indigo.r, Colors.indigo.g, Colors.indigo.b, 0.1)
                AnimatedGradientBorder { anchors.fill: parent }
                RotatingModifier {
                    x: 20; y: 20
                    isActive: true
                    SymbolIcon { name: "asterisk"; size: 30; color: Colors.teal }
                }
                Column {
                    x: 20; y: 70
                    spacing: 4
                    Text { text: "지금 작업중인 내용은"; font: Fonts.body; color: Colors.textSecondary }
                    Text { text: "모델 설계입니다"; font: Fonts.title3; color: Colors.textPrimary }
                    RotatingText { width: 260; texts: ["Models/Task.swift", "Views/TaskList.swift"]; font: Fonts.caption; foregroundColor: Colors.teal }
                }
            }
        }
    }

    Component {
        id: chipsScene
        Column {
            anchors.centerIn: parent
            spacing: 14
            Row {
                spacing: 8
                Repeater {
                    model: 4
                    delegate: StatusChip {
                        required property int index
                        chipColor: ComponentRules.taskStatusColor(index)
                        status: ComponentRules.taskStatusText(index)
                    }
                }
            }
            Row {
                spacing: 8
                Repeater {
                    model: 5
                    delegate: StatusChip {
                        required property int index
                        chipColor: ComponentRules.testStatusColor(index)
                        status: ComponentRules.testStatusText(index)
                    }
                }
            }
        }
    }

    Component {
        id: checkScene
        Grid {
            anchors.centerIn: parent
            columns: 4
            spacing: 22
            Repeater {
                model: [[false, false], [true, false], [false, true], [true, true]]
                delegate: Column {
                    required property var modelData
                    spacing: 8
                    CheckBoxButton {
                        isChecked: modelData[0]; isDisabled: modelData[1]
                        size: 32; cornerRadius: 6
                        onColor: Colors.blue; offColor: Colors.darkGray; disabledColor: Colors.white10
                    }
                    XBoxButton {
                        isChecked: modelData[0]; isDisabled: modelData[1]
                        size: 32; cornerRadius: 6
                        onColor: Colors.red; offColor: Colors.darkGray; disabledColor: Colors.white10
                    }
                    Caption { text: (modelData[0] ? "on" : "off") + (modelData[1] ? " disabled" : "") }
                }
            }
        }
    }

    Component {
        id: buttonsScene
        Column {
            anchors.centerIn: parent
            spacing: 24
            PrimaryButton { title: "문서 생성하기" }
            Row {
                spacing: 12
                ReselectButtonStyle { text: "다시 선택" }
                ReselectButtonStyle { text: "다시 시도"; textColor: Colors.textSecondary }
            }
        }
    }

    Component {
        id: progressScene
        Column {
            anchors.centerIn: parent
            width: 420
            spacing: 18
            Repeater {
                model: [0, 0.03, 0.25, 0.5, 1, 1.5, -0.3]
                delegate: Row {
                    required property real modelData
                    spacing: 12
                    ProgressBar {
                        width: 340; height: 12; cornerRadius: 6
                        progress: modelData
                        backgroundColor: Colors.white10
                        foregroundColor: Colors.green
                    }
                    Caption { text: modelData }
                }
            }
        }
    }

    Component {
        id: taskCardScene
        Rectangle {
            anchors.fill: parent
            color: Colors.cardBackground
            Column {
                anchors.fill: parent
                anchors.margins: 20
                spacing: 12
                TaskCard { width: parent.width; taskItem: taskFactory.make("setup-models", "데이터 모델 만들기", "할 일 항목과 마일스톤 구조를 정의합니다", 0, 4) }
                TaskCard { width: parent.width; taskItem: taskFactory.make("list", "할 일 목록 화면", "목록과 추가 버튼을 보여 주는 첫 화면을 구현합니다", 1, 0) }
                TaskCard { width: parent.width; taskItem: taskFactory.make("timer", "집중 타이머", "아주 긴 요약 문장은 한 줄에서 잘려야 하고 카드의 높이는 그대로 110 픽셀이어야 합니다 정말로 길게", 3, 1) }
                TaskCard { width: parent.width; taskItem: taskFactory.make("done", "설정 화면", "알림과 테마 설정", 2, 3) }
            }
        }
    }

    Component {
        id: chatEmptyScene
        Item {
            anchors.fill: parent
            ChatInputField {
                anchors.centerIn: parent
                width: parent.width - 40
                placeholder: "만들고 싶은 앱을 알려주세요"
            }
        }
    }
    Component {
        id: chatTextScene
        Item {
            anchors.fill: parent
            ChatInputField {
                anchors.centerIn: parent
                width: parent.width - 40
                placeholder: "만들고 싶은 앱을 알려주세요"
                text: "집중 시간을 기록하는 포모도로 앱을 만들고 싶어요.\n통계 화면도 있으면 좋겠어요.\n세 번째 줄"
            }
        }
    }
    Component {
        id: chatDisabledScene
        Item {
            anchors.fill: parent
            ChatInputField {
                anchors.centerIn: parent
                width: parent.width - 40
                placeholder: "만들고 싶은 앱을 알려주세요"
                isDisabled: true
            }
        }
    }
    Component {
        id: chatNarrowScene
        Item {
            anchors.fill: parent
            ChatInputField {
                x: 20
                anchors.verticalCenter: parent.verticalCenter
                width: 300
                placeholder: "답변을 입력하세요"
                text: "네"
                isSubmitEnabled: false
            }
        }
    }

    Component {
        id: popupScene
        Item {
            anchors.fill: parent
            Column {
                anchors.centerIn: parent
                spacing: 10
                Repeater {
                    model: 6
                    TaskCard { width: 520; taskItem: taskFactory.make("t", "완료된 작업", "뒤에 있는 화면", 2, 3) }
                }
            }
            ProjectCompletionActions { id: popupActions }
            ProjectCompletionPopup { anchors.fill: parent; actions: popupActions }
        }
    }

    Component {
        id: confettiScene
        Item {
            anchors.fill: parent
            Text { anchors.centerIn: parent; text: "confetti"; font: Fonts.title; color: Colors.textSecondary }
            CompletedConfetti { anchors.fill: parent; isActive: true }
        }
    }

    Component {
        id: rotatingScene
        Column {
            anchors.centerIn: parent
            spacing: 8
            RotatingText { width: 300; texts: ["ContentView.swift", "TimerModel.swift", "StatsView.swift"]; font: Fonts.title3; foregroundColor: Colors.textPrimary }
            RotatingText { width: 300; texts: ["한 줄만 있으면 멈춰 있습니다"]; foregroundColor: Colors.textSecondary }
            RotatingText { width: 300; texts: []; }
        }
    }

    Component {
        id: codeScene
        Item {
            anchors.fill: parent
            CodeBlockView {
                anchors.centerIn: parent
                width: 560
                code: "cd ~/Projects/Pomodoro\n\nclaude --dangerously-skip-permissions\n   \n  open Pomodoro.xcodeproj\nA line that is long enough to wrap inside its own row, so that the grey bar grows with it as it should."
            }
        }
    }

    Component {
        id: modifiersScene
        Row {
            anchors.centerIn: parent
            spacing: 30
            SlideUpFadeInModifier {
                isVisible: true
                Rectangle { width: 150; height: 80; radius: 8; color: Colors.cardBackground; Text { anchors.centerIn: parent; text: "visible"; color: Colors.textPrimary; font: Fonts.body } }
            }
            SlideUpFadeInModifier {
                id: later
                isVisible: false
                Rectangle { width: 150; height: 80; radius: 8; color: Colors.cardBackground; Text { anchors.centerIn: parent; text: "slid in"; color: Colors.textPrimary; font: Fonts.body } }
                Component.onCompleted: isVisible = true
            }
            SlideUpFadeInModifier {
                isVisible: false
                Rectangle { width: 150; height: 80; radius: 8; color: Colors.cardBackground; Text { anchors.centerIn: parent; text: "hidden"; color: Colors.textPrimary; font: Fonts.body } }
            }
            DelayedFadeInModifier {
                isVisible: true
                Rectangle { width: 150; height: 80; radius: 8; color: Colors.cardBackground; Text { anchors.centerIn: parent; text: "faded in"; color: Colors.textPrimary; font: Fonts.body } }
            }
        }
    }
}
