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

// A plan as large as a long project's: `milestoneCount` milestones of
// `perMilestone` tasks, each with `checks` checklist items written as a
// plan's are (some long enough to wrap), a few modified files, the milestone
// titles "마일스톤 1", "마일스톤 2", ...
function largePlan(milestoneCount, perMilestone, checks) {
    const milestones = []
    const types = ["setupAndModeling", "featureImplementation", "uiImplementation"]
    let id = 1
    for (let m = 0; m < milestoneCount; ++m) {
        const tasks = []
        for (let k = 0; k < perMilestone; ++k, ++id) {
            const checklist = ["Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다"]
            for (let c = 1; c < checks; ++c)
                checklist.push(c % 3 === 0
                    ? "항목 " + id + "-" + (c + 1) + ": 목록 화면에서 새 기록을 추가하고 앱을 다시 열어도 그 기록이 남아 있다"
                    : "항목 " + id + "-" + (c + 1) + "이 화면에 보인다")
            tasks.push(task(id, id < 40 ? "completed" : "planned", id < 40 ? "checked" : "pending", {
                detail: {
                    description_ux: { general: ["일반 설명 " + id], view: ["화면 설명 " + id], feature: ["기능 설명 " + id] },
                    modifiedFiles: ["Sources/Feature" + id + "/View.swift", "Sources/Feature" + id + "/Model.swift"],
                    checklist_ux: checklist
                }
            }))
        }
        milestones.push(milestone(m + 1, "마일스톤 " + (m + 1), types[m % 3], tasks))
    }
    return plan("큰 계획", milestones)
}
