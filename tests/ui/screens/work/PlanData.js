// Task plans for the work screen's tests, as Task.json text.
.pragma library

function task(id, status, testStatus, extra) {
    const t = {
        id: id,
        title: "Task " + id,
        title_ux: "작업 " + id,
        summary_ux: "작업 " + id + "의 요약",
        status: status,
        testStatus: testStatus,
        detail: {
            description_ux: { general: ["일반 설명 " + id], view: [], feature: ["기능 설명 " + id] },
            modifiedFiles: [],
            checklist_ux: ["Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다", "항목 " + id + "-2"]
        }
    }
    if (extra) {
        for (const key in extra)
            t[key] = extra[key]
    }
    return t
}

function milestone(id, title, type, tasks) {
    return { id: id, title: title, type: type, tasks: tasks }
}

function plan(name, milestones) {
    return JSON.stringify({ project: { id: 1, name: name, milestones: milestones, createdAt: "2026-01-01" } })
}

// `total` tasks in one milestone, the first `completed` completed.
function progressPlan(total, completed) {
    const tasks = []
    for (let i = 0; i < total; ++i)
        tasks.push(task(i + 1, i < completed ? "completed" : "planned", i < completed ? "checked" : "pending"))
    return plan("Progress", [milestone(1, "전부", "setupAndModeling", tasks)])
}

// Three milestones, the middle one without tasks.
function threeMilestones(name) {
    return plan(name === undefined ? "습관 기록" : name, [
        milestone(1, "프로젝트 준비", "setupAndModeling", [task(1, "completed", "checked"), task(2, "inProgress", "pending")]),
        milestone(2, "빈 마일스톤", "featureImplementation", []),
        milestone(3, "메인 화면", "uiImplementation", [task(3, "planned", "pending")])
    ])
}
