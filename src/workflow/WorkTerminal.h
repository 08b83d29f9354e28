#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace orva {

class TerminalDelegate;

// The terminal as the work model drives it: a view bound to one
// pseudo-terminal child. The application hands over its process terminal
// view; tests stand in a recording terminal.
class WorkTerminal {
public:
    using ExitHandler = std::function<void(std::optional<std::int32_t> exitCode)>;

    virtual ~WorkTerminal() = default;

    // Replaces the handler called (on the main thread) when the child ends.
    virtual void setProcessExitHandler(ExitHandler handler) = 0;

    // Starts the child: the executable, its arguments (program name not
    // included) and KEY=VALUE entries added to the inherited environment.
    virtual void startProcess(const QString& executable, const QStringList& arguments,
                              const std::optional<QStringList>& environment) = 0;

    // The delegate of the terminal's emulator, through which bytes reach the
    // child; none when the emulator has no delegate.
    virtual TerminalDelegate* terminalDelegate() = 0;

    // An object that lives exactly as long as the terminal: delayed work
    // checks it before touching the terminal.
    virtual QObject* lifetimeObject() = 0;
};

} // namespace orva
