import QtQuick
import Orva.Workflow
import Orva.Screens.Dashboard
import "Plans.js" as Plans

// The dashboard at its size in the work screen (1020x800), in each of its
// states. Plans are written to the temporary workspace and reach the
// dashboard through the shared monitor, as in the application.
Item {
    id: root
    property var sceneNames: ["loading", "empty-plan", "three-milestones", "four-milestones",
                              "four-milestones-scrolled-to-the-end", "scrolled-header-pinned", "long-texts",
                              "popup", "popup-copied"]
    property size sceneSize: Qt.size(1020, 800)
    property int sceneWait: 300
    property bool sceneReady: false
    property var steps: []
    property DashboardView view: null

    readonly property string planPath: helpers.containerPath + "/ZAVE/project/Task.json"

    width: 1020
    height: 800

    Component {
        id: dashboardModel
        DashboardViewModel {}
    }
    Component {
        id: dashboard
        DashboardView {
            anchors.fill: parent
        }
    }

    function setup() {
        return [
            { titleUx: "Xcode 프로젝트 구성", summary: "SwiftUI 앱 타깃과 폴더 구조를 만듭니다", status: "completed" },
            { titleUx: "할 일 데이터 모델 정의", summary: "제목, 마감일, 완료 여부를 가진 모델", status: "completed" },
            { titleUx: "로컬 저장소 연결", summary: "SwiftData로 목록을 저장하고 불러옵니다", status: "inProgress", testStatus: "ready" },
        ]
    }
    function features() {
        return [
            { titleUx: "할 일 추가", summary: "제목과 마감일을 입력해 새 항목을 만듭니다", status: "completed" },
            { titleUx: "완료 처리", summary: "체크 한 번으로 항목을 완료합니다", status: "onHold", testStatus: "checking" },
            { titleUx: "마감 알림 예약", summary: "마감 하루 전에 로컬 알림을 보냅니다" },
            { titleUx: "검색과 필터", summary: "제목으로 찾고 완료 여부로 거릅니다" },
        ]
    }
    function screens() {
        return [
            { titleUx: "메인 목록 화면", summary: "오늘 할 일과 다가오는 일을 나눠 보여줍니다" },
            { titleUx: "설정 화면", summary: "알림 시간과 테마를 고릅니다", testStatus: "excluded" },
        ]
    }
    function threeMilestones() {
        return Plans.plan("할 일 메모", [
            { title: "설정과 모델링", type: 0, tasks: setup() },
            { title: "기능 구현", type: 1, tasks: features() },
            { title: "화면 구현", type: 2, tasks: screens() },
        ])
    }
    function fourMilestones() {
        return Plans.plan("할 일 메모", [
            { title: "설정과 모델링", type: 0, tasks: setup() },
            { title: "기능 구현", type: 1, tasks: features() },
            { title: "화면 구현", type: 2, tasks: screens() },
            { title: "마무리와 출시 준비", type: 2, tasks: [
                { titleUx: "앱 아이콘과 실행 화면", summary: "아이콘 세트와 실행 화면을 넣습니다" },
                { titleUx: "접근성 점검", summary: "VoiceOver 레이블과 글자 크기를 확인합니다" },
            ] },
        ])
    }
    function longTexts() {
        return Plans.plan("동네 주민이 함께 쓰는 분리수거 일정과 알림 도우미 앱 <b>베타</b>", [
            { title: "프로젝트 설정과 데이터 모델링 그리고 저장소", type: 0, tasks: [
                { titleUx: "아주 긴 작업 제목이 카드 한 줄을 넘어가면 말줄임표로 끝납니다", summary: "요약도 한 줄을 넘어가면 끝에서 잘리고 말줄임표가 붙습니다", status: "completed" },
            ] },
            { title: "기능", type: 1, tasks: Plans.tasks(2, 0) },
            { title: "빈 마일스톤", type: 2, tasks: [] },
        ])
    }
    function longPlan(completed) {
        return Plans.plan("할 일 메모", [
            { title: "설정과 모델링", type: 0, tasks: setup().concat(Plans.tasks(6, 0)) },
            { title: "기능 구현", type: 1, tasks: features().concat(Plans.tasks(5, completed)) },
            { title: "화면 구현", type: 2, tasks: screens().concat(Plans.tasks(7, 0)) },
        ])
    }
    function popupPlan(completed) {
        return Plans.plan("할 일 메모", [
            { title: "설정과 모델링", type: 0, tasks: setup() },
            { title: "기능 구현", type: 1, tasks: Plans.tasks(4, completed) },
            { title: "화면 구현", type: 2, tasks: screens() },
        ])
    }

    // Steps: functions run every 50 ms until they return true, in order.
    function publishStep(text) {
        let written = false
        const createdAt = JSON.parse(text).project.createdAt
        return () => {
            if (!written)
                written = helpers.writeFile(root.planPath, text)
            return AppGroupMonitorService.hasProject && AppGroupMonitorService.project.createdAt === createdAt
        }
    }
    function removeStep() {
        return () => {
            helpers.removePath(root.planPath)
            return !AppGroupMonitorService.hasProject
        }
    }
    function openStep() {
        return () => {
            const model = dashboardModel.createObject(root, { previewProject: AppGroupMonitorService.project })
            root.view = dashboard.createObject(root, { viewModel: model })
            return true
        }
    }
    function doStep(action) {
        return () => { action(); return true }
    }
    function waitStep(condition) {
        return condition
    }

    function show(name) {
        sceneReady = false
        if (view) {
            const model = view.viewModel
            view.destroy()
            if (model)
                model.destroy()
            view = null
        }
        AppGroupMonitorService.startTaskDashboardMonitoring()
        const scenes = {
            "loading": [removeStep(), openStep()],
            "empty-plan": [publishStep(Plans.plan("빈 계획", [])), openStep()],
            "three-milestones": [publishStep(threeMilestones()), openStep()],
            "four-milestones": [publishStep(fourMilestones()), openStep()],
            "four-milestones-scrolled-to-the-end": [publishStep(fourMilestones()), openStep(),
                doStep(() => { const strip = root.view.milestoneList.strip; strip.contentX = strip.contentWidth - strip.width })],
            "long-texts": [publishStep(longTexts()), openStep()],
            "scrolled-header-pinned": [publishStep(longPlan(1)), openStep(),
                                       doStep(() => { root.view.scrollArea.contentY = 420 })],
            "popup": [publishStep(popupPlan(1)), openStep(), publishStep(popupPlan(2)),
                      waitStep(() => root.view.popup !== null)],
            "popup-copied": [publishStep(popupPlan(1)), openStep(), publishStep(popupPlan(2)),
                             waitStep(() => root.view.popup !== null),
                             doStep(() => root.view.popup.copiedMark.copy("다음 테스크 진행"))],
        }
        steps = scenes[name]
    }

    Timer {
        interval: 50
        repeat: true
        running: root.steps.length > 0
        onTriggered: {
            if (!root.steps[0]())
                return
            root.steps = root.steps.slice(1)
            if (root.steps.length === 0)
                root.sceneReady = true
        }
    }
}
