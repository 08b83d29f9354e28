.pragma library

// Task plans (the text of Task.json) for the dashboard's tests and pictures.
// Every plan gets its own createdAt, so writing one always publishes a change.

let serial = 0

const kStatuses = ["planned", "inProgress", "completed", "onHold"]
const kTypes = ["setupAndModeling", "featureImplementation", "uiImplementation"]

function taskObject(id, task) {
    return {
        id: id,
        title: task.title || ("Task " + id),
        title_ux: task.titleUx || ("작업 " + id),
        summary_ux: task.summary || ("작업 " + id + "의 요약"),
        status: task.status || "planned",
        testStatus: task.testStatus || (task.status === "completed" ? "checked" : "pending"),
        detail: {
            description_ux: { general: [], view: [], feature: [] },
            modifiedFiles: [],
            checklist_ux: []
        }
    }
}

// milestones: [{ title, type (0-2 or name), tasks: [{ title, titleUx, summary,
// status, testStatus }] }]
function plan(name, milestones) {
    serial += 1
    let nextTask = 1
    const list = milestones.map((m, index) => ({
        id: index + 1,
        title: m.title || ("마일스톤 " + (index + 1)),
        type: typeof m.type === "number" ? kTypes[m.type] : (m.type || kTypes[index % 3]),
        tasks: (m.tasks || []).map(t => taskObject(nextTask++, t))
    }))
    return JSON.stringify({
        project: { id: 1, name: name, milestones: list, createdAt: "2026-12-10T10:00:" + serial }
    })
}

// `total` tasks, the first `completed` of them completed, the rest planned.
function tasks(total, completed, extra) {
    const result = []
    for (let i = 0; i < total; ++i)
        result.push(Object.assign({ status: i < completed ? "completed" : "planned" }, extra || {}))
    return result
}

// One milestone of `total` tasks, `completed` of them done.
function simple(name, total, completed) {
    return plan(name, [{ title: "마일스톤", tasks: tasks(total, completed) }])
}
