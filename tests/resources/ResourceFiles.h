#pragma once

// Helpers shared by the prompt-document checks: reading the shipped documents
// and cutting the fenced blocks out of them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace orva::test {

// The bytes of a shipped prompt document (the build's copy of resources/).
// Fails the running test and returns an empty array when it cannot be read.
QByteArray readResource(const QString& name);

// The bodies of the fenced blocks of `markdown` whose info string equals
// `language` ("json", "text", ...), in document order.
QList<QByteArray> fencedBlocks(const QByteArray& markdown, const QString& language);

// The complete example plan of Task_json.md (its first JSON block): a valid
// new plan, every task "planned".
QByteArray templatePlanExample();

// One run of a shipped Python script.
struct ScriptRun {
    bool finished = false; // ran and exited normally
    int exitCode = -1;
    QByteArray output;     // standard output
};

// python3 as found on PATH; empty when it is not installed.
QString python3();

// Runs the shipped script `name` (e.g. "agent.check_task_json.py") with
// python3 and `arguments`, and waits for it.
ScriptRun runResourceScript(const QString& name, const QStringList& arguments);

// Runs the Python script at `path` with python3 and `arguments`, and waits for it.
ScriptRun runPythonScript(const QString& path, const QStringList& arguments);

// The ("status", "testStatus") pairs of the status table of the development
// guide (rows like | moment | "inProgress" | "pending" | ... |), in order.
QList<std::pair<QString, QString>> guideStatusRows();

// The first checklist step of every task: the build check. Every document
// that describes the plan, and the checker script, must spell it this way.
inline const char* const kBuildStep = "Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다";

} // namespace orva::test
