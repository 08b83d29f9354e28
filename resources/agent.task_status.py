#!/usr/bin/env python3
"""Shows or changes the state of one task in a ZAVE task plan (Task.json).

Usage:
  python3 agent.task_status.py PATH/Task.json
      prints one line per task: id, status, testStatus, title
  python3 agent.task_status.py PATH/Task.json ID STATUS TEST_STATUS [--file PATH ...]
      sets "status" and "testStatus" of task ID; each --file adds a path,
      relative to the project folder, to its "modifiedFiles" (once)

A change reads the plan afresh, changes only those three keys of that one task,
checks the result with agent.check_task_json.py (beside this script) and
replaces the file in one step, so a reader never sees a half-written plan.
It prints "OK: ..." and exits 0, or prints the problem, changes nothing and
exits 1. It allows only the states of the development guide's table, at most
one task "inProgress" or "onHold", and "completed" with "checked" only for a
task "onHold" with "ready". Uses only the Python standard library.
"""

import importlib.util
import json
import os
import sys
import tempfile

STATES = (
    ("planned", "pending"),
    ("inProgress", "pending"),
    ("onHold", "checking"),
    ("onHold", "ready"),
    ("completed", "checked"),
    ("completed", "excluded"),
)
ACTIVE = ("inProgress", "onHold")


def load_checker():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "agent.check_task_json.py")
    found = importlib.util.spec_from_file_location("agent_check_task_json", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def all_tasks(plan):
    tasks = []
    for milestone in plan["project"]["milestones"]:
        tasks.extend(milestone["tasks"])
    return tasks


def show(plan):
    for task in all_tasks(plan):
        print(f'{task["id"]} {task["status"]} {task["testStatus"]} {task["title"]}')
    return 0


def parse_change(args):
    """(id, status, test status, files) from the arguments, or a usage message."""
    files = []
    rest = []
    i = 0
    while i < len(args):
        if args[i] == "--file":
            if i + 1 >= len(args):
                return None, "--file needs a path"
            files.append(args[i + 1])
            i += 2
        elif args[i].startswith("--file="):
            files.append(args[i][len("--file="):])
            i += 1
        else:
            rest.append(args[i])
            i += 1
    if len(rest) != 3:
        return None, None
    try:
        task_id = int(rest[0])
    except ValueError:
        return None, f'task id "{rest[0]}" is not a whole number'
    return (task_id, rest[1], rest[2], files), None


def refusal(plan, task_id, status, test_status, files):
    """Why the change may not be made, or None."""
    if (status, test_status) not in STATES:
        rows = "; ".join(f"{s} {t}" for s, t in STATES)
        return f'"{status}" with "{test_status}" is no state of the guide; allowed: {rows}'
    for path in files:
        if not path.strip() or "\n" in path or "\r" in path:
            return f'"{path}" is no file path'
        if os.path.isabs(path) or path.startswith("~"):
            return f'"{path}" must be relative to the project folder'
    matches = [t for t in all_tasks(plan) if t["id"] == task_id]
    if len(matches) != 1:
        return f"no task with id {task_id}" if not matches else f"{len(matches)} tasks have id {task_id}"
    task = matches[0]
    if (status, test_status) == ("completed", "checked") and (task["status"], task["testStatus"]) not in (
        ("onHold", "ready"),
        ("completed", "checked"),
    ):
        return (f'task {task_id} is "{task["status"]}" with "{task["testStatus"]}": only a task "onHold" '
                'with "ready" is waiting for its test and can be approved')
    if status in ACTIVE:
        others = [t for t in all_tasks(plan) if t is not task and t["status"] in ACTIVE]
        if others:
            other = others[0]
            return (f'task {other["id"]} is still "{other["status"]}": set it back to "planned" with "pending" '
                    'first, or finish it; only one task may be "inProgress" or "onHold"')
    return None


def apply_change(plan, task_id, status, test_status, files):
    for task in all_tasks(plan):
        if task["id"] == task_id:
            task["status"] = status
            task["testStatus"] = test_status
            listed = task["detail"]["modifiedFiles"]
            for path in files:
                if path not in listed:
                    listed.append(path)
            return


def replace_file(path, content):
    """Writes `content` beside `path` and moves it over `path` in one step."""
    folder = os.path.dirname(os.path.abspath(path))
    mode = None
    try:
        mode = os.stat(path).st_mode & 0o7777
    except OSError:
        pass
    handle, temp = tempfile.mkstemp(prefix=".Task.json.", suffix=".tmp", dir=folder)
    try:
        with os.fdopen(handle, "wb") as out:
            out.write(content)
            out.flush()
            os.fsync(out.fileno())
        if mode is not None:
            os.chmod(temp, mode)
        os.replace(temp, path)
    except BaseException:
        try:
            os.unlink(temp)
        except OSError:
            pass
        raise


def main(argv):
    args = argv[1:]
    if not args:
        print(__doc__.strip())
        return 2
    path, args = args[0], args[1:]
    checker = load_checker()
    plan, error = checker.load(path)
    if error is not None:
        print(error)
        return 1
    found = checker.plan_problems(plan)
    if not args:
        if found:
            for line in found:
                print(line)
            return 1
        return show(plan)

    change, message = parse_change(args)
    if change is None:
        if message is None:
            print(__doc__.strip())
            return 2
        print(f"nothing was changed: {message}")
        return 1
    try:
        reason = refusal(plan, *change)
        if reason is None:
            apply_change(plan, *change)
    except (KeyError, TypeError, AttributeError):
        reason = "the plan's structure is broken:\n" + "\n".join(found)
    if reason is not None:
        print(f"nothing was changed: {reason}")
        return 1
    # A plan that was broken before may be mended by the change (a second
    # active task set back to "planned"); what counts is the result.
    found = checker.plan_problems(plan)
    if found:
        print("nothing was changed; the plan would have these problems (mend them by hand, then run this again):")
        for line in found:
            print(line)
        return 1
    content = (json.dumps(plan, ensure_ascii=False, indent=2) + "\n").encode("utf-8")
    try:
        replace_file(path, content)
    except OSError as error:
        print(f"nothing was changed: {path} cannot be written: {error}")
        return 1
    task_id, status, test_status, _ = change
    print(f"OK: task {task_id} is {status} with {test_status}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
