import QtQuick
import QtTest
import Orva.Design
import Orva.Components

Item {
    id: window
    width: 500
    height: 300

    Component {
        id: cardComponent
        TaskCard {
            property int taps: 0
            width: 400
            onTap: taps += 1
        }
    }

    TestCase {
        name: "TaskCard"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function test_tapInEmptySpaceLogsTheInternalTitle() {
            const card = createTemporaryObject(cardComponent, window, {
                taskItem: helpers.task("internal-title", "보이는 제목", "요약", 1, 0)
            })
            compare(card.height, 110)
            helpers.startCapturingOutput()
            // Between the text and the chips.
            mouseClick(card, card.width / 2, 75)
            const output = helpers.stopCapturingOutput()
            compare(card.taps, 1)
            compare(output, "TaskCard 클릭: internal-title\n")
        }

        function test_chipsAndDimming_data() {
            return [
                { tag: "completed/checked", status: 2, test: 3, texts: ["구현 완료", "테스트 완료"], colors: [Colors.blue, Colors.blue], opacity: 0.4 },
                { tag: "planned/excluded", status: 0, test: 4, texts: ["구현 예정", "테스트 제외"], colors: [Colors.gray, Colors.gray], opacity: 1.0 },
                { tag: "onHold/pending", status: 3, test: 1, texts: ["구현 보류", "테스트 대기"], colors: [Colors.yellow, Colors.yellow], opacity: 1.0 },
                { tag: "inProgress/checking", status: 1, test: 2, texts: ["구현 진행중", "테스트 진행 중"], colors: [Colors.green, Colors.green], opacity: 1.0 },
            ]
        }
        function test_chipsAndDimming(data) {
            const card = createTemporaryObject(cardComponent, window, {
                taskItem: helpers.task("t", "제목", "요약", data.status, data.test)
            })
            compare(card.statusText, data.texts[0])
            compare(card.testStatusText, data.texts[1])
            compare(ComponentRules.taskStatusColor(data.status), data.colors[0])
            compare(ComponentRules.testStatusColor(data.test), data.colors[1])
            compare(card.opacity, data.opacity)
        }

        function test_longTextsKeepTheHeight() {
            const longText = "아주 긴 문장 ".repeat(40)
            const card = createTemporaryObject(cardComponent, window, {
                taskItem: helpers.task("t", longText, longText, 0, 0)
            })
            compare(card.height, 110)
        }
    }
}
