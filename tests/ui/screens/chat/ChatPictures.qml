import QtQuick
import Orva.Design
import Orva.Workflow
import Orva.Screens.Chat
import Orva.Screens.Chat.Testing

// The chat screen over a scripted model, and the guide message view
// (ScreenPicturesTest.cpp renders each scene).
Item {
    id: root
    readonly property var sceneNames: ["chat_thinking", "chat_long_korean_and_emoji", "chat_error", "chat_completed",
                                       "chat_completed_while_waiting", "chat_answer_while_waiting", "chat_reply_of_a_megabyte",
                                       "chat_field_many_lines", "guide_numbered_code_blank"]
    readonly property int sceneWait: 2500
    property Item current: null
    property ScriptedChatViewModel model: null
    readonly property bool sceneReady: {
        if (!root.current)
            return false
        if (!root.model)
            return true
        const view = root.current
        return view !== null && view.revealer.visibleIds.length === root.model.chatHistories.count
    }

    readonly property string idea: "매일매일 운동을 기록하는 앱을 만들고 싶어요"
    readonly property string question: "좋아요! 운동 기록 앱이군요. 💪\n\n질문 1: 주로 어떤 운동을 기록하고 싶으신가요? 예를 들어 달리기, 근력 운동, 요가처럼 종류가 정해져 있나요, 아니면 사용자가 직접 만들 수 있어야 하나요?"

    Rectangle {
        anchors.fill: parent
        color: Colors.background
    }

    Component {
        id: chatScreen
        ChatView {
            anchors.fill: parent
        }
    }
    Component {
        id: scripted
        ScriptedChatViewModel {}
    }
    Component {
        id: guideScreen
        Item {
            anchors.fill: parent
            GuideMessageView {
                x: Padding.p40
                y: Padding.p40
                width: parent.width - 2 * Padding.p40
                text: "프로젝트를 만드는 순서는 다음과 같아요.\n\n"
                    + "1. Xcode를 열고 File > New > Project를 고르세요.\n"
                    + "2. iOS 탭에서 App을 선택하세요.\n"
                    + "  3. Product Name에 앱 이름을 적으세요.\n"
                    + "v1.2. 처럼 글자로 시작하는 줄은 단계가 아니에요.\n"
                    + "'''\n"
                    + "    open -a Xcode\n"
                    + "\n"
                    + "      cd ~/Projects/MyWorkoutApp && ls -la\n"
                    + "'''\n"
                    + "다 만들었다면 아래의 폴더 선택 버튼을 눌러 주세요. 🙌\n\n끝."
            }
        }
    }

    function show(name) {
        if (root.current)
            root.current.destroy()
        root.current = null
        if (root.model)
            root.model.destroy()
        root.model = null
        if (name === "guide_numbered_code_blank") {
            root.current = guideScreen.createObject(root)
            return
        }

        // The screen comes first and the turns arrive, as in use, so it
        // scrolls to the newest one.
        const m = scripted.createObject(root)
        root.model = m
        root.current = chatScreen.createObject(root, { viewModel: m })
        m.addTurn("User", root.idea)
        m.addTurn("Claude", root.question)
        switch (name) {
        case "chat_thinking":
            m.addTurn("User", "달리기랑 근력 운동이요")
            m.setWaiting(true)
            break
        case "chat_long_korean_and_emoji":
            m.addTurn("User", "달리기랑 근력 운동이요. 근력 운동은 벤치프레스, 스쿼트, 데드리프트처럼 종목을 고르고 세트마다 무게와 횟수를 적고 싶어요. 달리기는 거리와 시간만 있으면 돼요 🏃‍♀️🏋️")
            m.addTurn("Claude", "좋습니다 🎉🎉 정리해 보면:\n\n• 달리기: 거리, 시간, 평균 페이스를 자동으로 계산\n• 근력 운동: 종목 선택 → 세트별 무게 × 횟수 기록\n\n"
                      + "질문 2: 기록한 내용을 어떻게 보고 싶으신가요? 주간 그래프, 월간 달력, 개인 최고 기록(PR) 알림 중에서 가장 중요한 것을 골라 주시거나, 생각하신 다른 방식이 있다면 자유롭게 말씀해 주세요. 😊👍✨🔥")
            m.addTurn("User", "👍")
            m.addTurn("Claude", "😀😃😄😁😆😅🤣😂🙂🙃😉😊😇🥰😍🤩😘😗☺️😚😙🥲😋😛😜🤪😝🤑🤗🤭🤫🤔🤐🤨😐😑😶😏😒🙄😬🤥😌😔😪🤤😴😷🤒🤕🤢🤮🤧🥵🥶🥴😵🤯🤠🥳🥸😎🤓🧐")
            break
        case "chat_error":
            m.addTurn("User", "달리기랑 근력 운동이요")
            m.setError("Claude process terminated with exit code 1\nAPI Error: Unable to connect to API (ConnectionRefused)")
            break
        case "chat_completed":
            m.addTurn("User", "주간 그래프요")
            m.addTurn("Claude", "인터뷰가 완료되었습니다.\n이제 문서를 만들 수 있어요.")
            m.setCompleted(true)
            break
        case "chat_answer_while_waiting":
            m.addTurn("User", "달리기랑 근력 운동이요")
            m.setWaiting(true)
            m.sendMessage("그리고 주간 그래프도 보고 싶어요")
            break
        case "chat_reply_of_a_megabyte":
            m.addTurn("User", "달리기랑 근력 운동이요")
            m.addTurn("Claude", "이 앱에서 가장 중요한 화면은 무엇인가요? 기록을 남기는 화면인가요, 기록을 돌아보는 화면인가요?\n".repeat(12000))
            break
        case "chat_field_many_lines":
            root.current.inputField.text = "첫째 줄: 달리기\n둘째 줄: 근력 운동\n셋째 줄: 요가\n넷째 줄: 수영\n다섯째 줄: 자전거"
            root.current.inputField.editor.cursorPosition = root.current.inputField.text.length
            break
        case "chat_completed_while_waiting":
            m.addTurn("User", "주간 그래프요")
            m.setCompleted(true)
            m.setWaiting(true)
            break
        }
    }
}
