#pragma once

#include <QString>

namespace orva {

// The one error type of the claude bridge. Every failure of a request to
// `claude` is one of these four cases; `description()` is the text callers
// show to the user.
class ClaudeProcessError {
public:
    enum class Kind {
        initializationFailed, // carries a message
        processTerminated,    // carries the child's termination status
        processNotRunning,
        invalidResponse,
    };

    // The message carried when no executable is found.
    static QString notFoundMessage();

    static ClaudeProcessError initializationFailed(const QString& message);
    static ClaudeProcessError processTerminated(qint32 status);
    static ClaudeProcessError processNotRunning();
    static ClaudeProcessError invalidResponse();

    Kind kind() const { return kind_; }
    // The message of `initializationFailed`; empty for the other cases.
    const QString& message() const { return message_; }
    // The termination status of `processTerminated`; 0 for the other cases.
    qint32 exitCode() const { return exitCode_; }

    // The user-readable description, e.g. "Claude process is not running".
    QString description() const;
    QString localizedDescription() const { return description(); }

    bool operator==(const ClaudeProcessError& other) const = default;

private:
    ClaudeProcessError(Kind kind, QString message, qint32 exitCode)
        : kind_(kind), message_(std::move(message)), exitCode_(exitCode) {}

    Kind kind_;
    QString message_;
    qint32 exitCode_ = 0;
};

} // namespace orva
