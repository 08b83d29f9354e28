#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orva::test {

// The folder holding the fake `claude` and the fake shell, and their paths.
QString fakesBinDir();
QString fakeClaudePath();
QString fakeShellPath();

// Makes `base` a machine of the test's own and points the process at it:
// home, XDG folders (runtime private), Documents and container folders under
// `base`; the fakes first in PATH, the fake shell as SHELL finding the fake
// `claude`, and the fake's log and state at <base>/calls.log and
// <base>/claude.state. The fake's delays are left to the caller.
void installFakeMachine(const QString& base);

// The processes whose parent is this process, one "pid (name)" line each
// (zombies not yet collected included).
QStringList childProcesses();

// One call recorded by a fake in its log file (FAKE_CLAUDE_LOG or
// FAKE_SHELL_LOG; both may share one file).
struct FakeCall {
    QString kind;          // "print" or "interactive" (claude), "shell" (fake shell)
    qint64 pid = 0;
    QString cwd;           // claude only
    QString path;          // claude only: its PATH
    QString stdinKind;     // "null", "tty" or "other"
    QStringList arguments;
    QStringList messages;  // interactive claude: every message sent to it, whole
    QStringList lines;     // interactive claude: every line of those messages, in order
    QList<QByteArray> plans; // interactive claude: every Task.json it wrote, whole
    qint64 backgroundPid = 0; // claude "background" mode: the child left running
    int startOrder = -1;   // position of the record's first line in the log
    int doneOrder = -1;    // position of its "done" line; -1 while running or for the shell
};

// Every record in the log, in the order the calls began. A missing file gives
// an empty list.
QList<FakeCall> readFakeCalls(const QString& logFile);

// Only the calls of one kind ("print", "interactive", "shell").
QList<FakeCall> fakeCallsOfKind(const QString& logFile, const QString& kind);

} // namespace orva::test
