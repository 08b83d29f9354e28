#pragma once

#include <QString>

namespace orva {

// The one error type of the claude bridge. Every failure of a request to
// `claude` is one of these cases; `description()` is the text callers show to
// the user. A failure of a child that wrote something carries claude's own
// reason (ClaudeFailureReason.h), shown on a line of its own after the text
// of the case.
class ClaudeProcessError {
public:
    enum class Kind {
        initializationFailed, // carries a message
        processTerminated,    // carries the child's termination status
        processNotRunning,
        invalidResponse,
        outputTooLarge,       // carries the stream and the limit it went past
    };
    enum class Stream { standardOutput, standardError };

    // The message carried when no executable is found.
    static QString notFoundMessage();

    static ClaudeProcessError initializationFailed(const QString& message);
    static ClaudeProcessError processTerminated(qint32 status);
    static ClaudeProcessError processNotRunning();
    static ClaudeProcessError invalidResponse();
    static ClaudeProcessError outputTooLarge(Stream stream, qint64 limitBytes);

    // The same error carrying claude's reason (empty: none).
    ClaudeProcessError withReason(const QString& reason) const;

    Kind kind() const { return kind_; }
    // The message of `initializationFailed`; empty for the other cases.
    const QString& message() const { return message_; }
    // The termination status of `processTerminated`; 0 for the other cases.
    qint32 exitCode() const { return exitCode_; }
    // The stream of `outputTooLarge`.
    Stream stream() const { return stream_; }
    // The limit of `outputTooLarge`, in bytes; 0 for the other cases.
    qint64 limitBytes() const { return limitBytes_; }
    // Claude's own words about the failure; empty when it said nothing.
    const QString& reason() const { return reason_; }

    // The text of the case alone, without the reason.
    QString summary() const;

    // The user-readable description: the summary, e.g. "Claude process
    // terminated with exit code 1", and the reason on the next line when there
    // is one.
    QString description() const;
    QString localizedDescription() const { return description(); }

    bool operator==(const ClaudeProcessError& other) const = default;

private:
    ClaudeProcessError(Kind kind, QString message, qint32 exitCode)
        : kind_(kind), message_(std::move(message)), exitCode_(exitCode) {}

    Kind kind_;
    QString message_;
    qint32 exitCode_ = 0;
    Stream stream_ = Stream::standardOutput;
    qint64 limitBytes_ = 0;
    QString reason_;
};

} // namespace orva
