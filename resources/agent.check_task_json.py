#!/usr/bin/env python3
"""Checks a ZAVE task plan (Task.json) the way ZAVE's reader reads it.

Usage:
  python3 agent.check_task_json.py PATH/Task.json          # any plan, also during development
  python3 agent.check_task_json.py PATH/Task.json --new    # a plan that has just been written

Prints "OK" and exits 0 when the plan is valid; otherwise prints one line per
problem and exits 1. Uses only the Python standard library.

Beyond what the reader needs, a task "title" holds no "]" and no line break
(a fix request names the task as "[title]" on one line), a checklist step holds
no line break (a fix request quotes each failed step on one line), and
milestone ids are unique.
"""

import json
import sys

TASK_STATUSES = ("planned", "inProgress", "completed", "onHold")
TEST_STATUSES = ("ready", "pending", "checking", "checked", "excluded")
MILESTONE_TYPES = ("setupAndModeling", "featureImplementation", "uiImplementation")
BUILD_STEP = "Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다"
INT_MIN, INT_MAX = -(2 ** 63), 2 ** 63 - 1

problems = []


def problem(where, message):
    problems.append(f"{where}: {message}")


def field(obj, key, where):
    if not isinstance(obj, dict):
        problem(where, "must be a JSON object")
        return None
    if key not in obj:
        problem(where, f'missing key "{key}"')
        return None
    value = obj[key]
    if value is None:
        problem(where, f'"{key}" is null')
    return value


def integer(obj, key, where):
    value = field(obj, key, where)
    if value is None:
        return None
    if type(value) is not int:
        problem(where, f'"{key}" must be an integer without quotes or decimal point, found {json.dumps(value, ensure_ascii=False)}')
        return None
    if not INT_MIN <= value <= INT_MAX:
        problem(where, f'"{key}" is out of range')
        return None
    return value


def text(obj, key, where):
    value = field(obj, key, where)
    if value is not None and not isinstance(value, str):
        problem(where, f'"{key}" must be text')
        return None
    return value


def text_list(obj, key, where):
    value = field(obj, key, where)
    if value is None:
        return None
    if not isinstance(value, list):
        problem(where, f'"{key}" must be a list')
        return None
    for i, item in enumerate(value):
        if not isinstance(item, str):
            problem(where, f'"{key}"[{i}] must be text')
    return value


def vocabulary(obj, key, allowed, where):
    value = text(obj, key, where)
    if isinstance(value, str) and value not in allowed:
        problem(where, f'"{key}" is "{value}"; allowed: {", ".join(allowed)}')
        return None
    return value


def one_line(value):
    return "\n" not in value and "\r" not in value and "\u2028" not in value and "\u2029" not in value


def reject_constant(name):
    raise ValueError(f"{name} is not a JSON number")


def load(path):
    """The plan in the file at `path`, or (None, the reason it cannot be read)."""
    try:
        with open(path, "rb") as handle:
            raw = handle.read()
        return json.loads(raw.decode("utf-8"), parse_constant=reject_constant), None
    except FileNotFoundError:
        return None, f"{path}: file not found"
    except (UnicodeDecodeError, ValueError, RecursionError) as error:
        return None, f"{path}: not valid UTF-8 JSON: {error}"
    except OSError as error:
        return None, f"{path}: cannot be read: {error}"


def plan_problems(plan, new=False):
    """Every problem of `plan` (a decoded Task.json), one line each; [] when valid."""
    problems.clear()
    check(plan, new)
    return list(problems)


def check(plan, new):
    project = field(plan, "project", "top level")
    if project is None:
        return
    integer(project, "id", "project")
    text(project, "name", "project")
    text(project, "createdAt", "project")
    milestones = field(project, "milestones", "project")
    if not isinstance(milestones, list):
        problem("project", '"milestones" must be a list')
        return

    tasks = []
    milestone_ids = []
    for m_index, milestone in enumerate(milestones):
        where = f"milestone {m_index + 1}"
        milestone_ids.append(integer(milestone, "id", where))
        text(milestone, "title", where)
        m_type = vocabulary(milestone, "type", MILESTONE_TYPES, where)
        if new and m_index < 3 and m_type is not None and m_type != MILESTONE_TYPES[m_index]:
            problem(where, f'type must be "{MILESTONE_TYPES[m_index]}" in a new plan')
        m_tasks = field(milestone, "tasks", where)
        if not isinstance(m_tasks, list):
            problem(where, '"tasks" must be a list')
            continue
        if new and len(m_tasks) < 2:
            problem(where, "needs at least two tasks in a new plan")
        for t_index, task in enumerate(m_tasks):
            t_where = f"{where}, task {t_index + 1}"
            t_id = integer(task, "id", t_where)
            title = text(task, "title", t_where)
            if isinstance(title, str) and "]" in title:
                problem(t_where, '"title" must not contain "]" (a fix request names the task as "[title]")')
            if isinstance(title, str) and not one_line(title):
                problem(t_where, '"title" must be one line')
            text(task, "title_ux", t_where)
            text(task, "summary_ux", t_where)
            status = vocabulary(task, "status", TASK_STATUSES, t_where)
            test_status = vocabulary(task, "testStatus", TEST_STATUSES, t_where)
            detail = field(task, "detail", t_where)
            d_where = f"{t_where}, detail"
            description = field(detail, "description_ux", d_where) if detail is not None else None
            if description is not None:
                for key in ("general", "view", "feature"):
                    text_list(description, key, f"{d_where}, description_ux")
            files = text_list(detail, "modifiedFiles", d_where) if detail is not None else None
            checklist = text_list(detail, "checklist_ux", d_where) if detail is not None else None
            if isinstance(checklist, list):
                for i, step in enumerate(checklist):
                    if isinstance(step, str) and not one_line(step):
                        problem(d_where, f'"checklist_ux"[{i}] must be one line')
            tasks.append((t_where, t_id, title, status, test_status, files, checklist))

    known_milestone_ids = [i for i in milestone_ids if i is not None]
    if len(known_milestone_ids) != len(set(known_milestone_ids)):
        problem("project", "milestone ids must be unique")
    ids = [t[1] for t in tasks if t[1] is not None]
    if len(ids) != len(set(ids)):
        problem("project", "task ids must be unique")
    titles = [t[2] for t in tasks if t[2] is not None]
    if len(titles) != len(set(titles)):
        problem("project", "task titles must be unique")
    active = [t for t in tasks if t[3] in ("inProgress", "onHold")]
    if len(active) > 1:
        problem("project", "only one task may be inProgress or onHold at a time: " + ", ".join(t[0] for t in active))

    if new:
        if len(milestones) != 3:
            problem("project", "a new plan has exactly three milestones")
        if not 8 <= len(tasks) <= 15:
            problem("project", f"a new plan has 8 to 15 tasks, found {len(tasks)}")
        if ids != list(range(1, len(ids) + 1)):
            problem("project", "task ids of a new plan count 1, 2, 3, ... in plan order")
        for t_where, _, _, status, test_status, files, checklist in tasks:
            if status is not None and status != "planned":
                problem(t_where, 'a new task has "status": "planned"')
            if test_status is not None and test_status != "pending":
                problem(t_where, 'a new task has "testStatus": "pending"')
            if isinstance(files, list) and files:
                problem(t_where, 'a new task has "modifiedFiles": []')
            if isinstance(checklist, list):
                if not 2 <= len(checklist) <= 5:
                    problem(t_where, "checklist_ux has 2 to 5 steps")
                if checklist and checklist[0] != BUILD_STEP:
                    problem(t_where, f'the first checklist step must be exactly "{BUILD_STEP}"')


def main(argv):
    args = [a for a in argv[1:] if a != "--new"]
    if len(args) != 1:
        print(__doc__.strip())
        return 2
    plan, error = load(args[0])
    if error is not None:
        print(error)
        return 1
    found = plan_problems(plan, "--new" in argv[1:])
    if found:
        for line in found:
            print(line)
        return 1
    print("OK")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
