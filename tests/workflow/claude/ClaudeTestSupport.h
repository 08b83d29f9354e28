#pragma once

#include "support/Waiting.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/ClaudeSearchEnvironment.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>

namespace orva::test {

// Waits on the event loop until the request's callback has run (kWaitDeadline at most).
// Fails the test when it does not.
ClaudeResult awaitResult(const std::function<void(ClaudeProcessService::Callback)>& request);

// Captures what is written to standard output (the log lines) while alive.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    QString text(); // everything written so far

private:
    int savedFd_ = -1;
    QTemporaryDir dir_;
    QString path_;
};

// A temporary home, a call log and a search environment that runs the fake
// shell with the fake `claude` behind "which claude". The shell asked when
// SHELL is unset is the fake shell too, through a link named like the
// terminal's own zsh (fallbackShell), so no test runs the machine's shells.
struct FakeMachine {
    FakeMachine();

    QTemporaryDir root;
    QString home;
    QString logFile;
    QString modeFile;
    QString fallbackShell;
    ClaudeSearchEnvironment search;

    QString path(const QString& relative) const { return root.path() + u'/' + relative; }
    // Writes an executable file (a copy of the fake claude when no text is given).
    void writeExecutable(const QString& path, bool executable = true) const;
    void setMode(const QString& mode) const;
};

// Puts the read end of a pipe in place of this process's standard input while
// alive (the write end stays open), so a child that inherits it would wait
// for input instead of reading the end of a file.
class StdinPipe {
public:
    StdinPipe();
    ~StdinPipe();

private:
    int savedFd_ = -1;
    int writeFd_ = -1;
};

bool processAlive(qint64 pid);
// Some process of the group still runs (one that has ended but is not yet
// collected does not count).
bool processGroupRuns(qint64 groupId);

} // namespace orva::test
