#pragma once

// A program in a pseudo-terminal of its own, for the tests of the fake
// `claude`: what it writes drawn by the emulator core (and read by the
// recognition of claude's screens), the terminal's modes as it sets them, the
// keys typed at it, its end, and the keys it left unread.

#include "terminal/ClaudeScreen.h"
#include "terminal/core/Terminal.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>
#include <termios.h>

namespace orva::test {

class TerminalRun {
public:
    TerminalRun(const QStringList& command, const QProcessEnvironment& environment, const QString& folder,
                int cols = 100, int rows = 30);
    // Kills what still runs in the terminal.
    ~TerminalRun();
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Runs the event loop, reading what the program writes, until the
    // condition holds (kWaitDeadline at most); returns whether it holds.
    bool waitFor(const std::function<bool()>& condition);
    bool waitForExit() { return waitFor([this] { return exitStatus().has_value(); }); }

    void type(const QByteArray& bytes);
    // A new size for the terminal (its program is told by SIGWINCH) and the screen.
    void resize(int cols, int rows);
    void signal(int number) const;
    void signalForeground(int number) const;

    // The live screen, its rows and cursor, and what claude's recognition reads on it.
    ClaudeScreen screen() const;
    std::vector<std::string> rows() const;
    bool shows(const std::string& text) const;
    int cursorX() const { return terminal_.cursorX(); }
    int cursorY() const { return terminal_.cursorY(); }
    // The first column after the last drawn cell of screen row `row`.
    int usedColumns(int row) const;
    // Everything written so far, with the carriage return of each "\r\n" dropped.
    QByteArray text() const;
    QByteArray output() const { return output_; }

    termios modes() const;
    termios modesAtStart() const { return modesAtStart_; }
    // Keys are handed over as they come (canonical mode off).
    bool raw() const;

    // The exit status, 128 + the signal for a program ended by one; none
    // while it runs.
    std::optional<int> exitStatus() const;
    // The bytes typed that nobody read (only once the program has ended).
    QByteArray unread();
    // The bytes waiting in the terminal's input now.
    int waiting() const;

private:
    void pump() const;

    orva::Terminal mutable terminal_;
    QByteArray mutable output_;
    std::optional<int> mutable exit_;
    int master_ = -1;
    int slave_ = -1; // kept open, so the terminal stays when the program ends
    pid_t pid_ = -1;
    termios modesAtStart_{};
};

// The interactive call's process state from /proc ('T' when stopped), or 0.
char processState(pid_t pid);

} // namespace orva::test
