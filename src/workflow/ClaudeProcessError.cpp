#include "workflow/ClaudeProcessError.h"

namespace orva {

QString ClaudeProcessError::notFoundMessage()
{
    return QStringLiteral("Claude CLI not found. Please ensure Claude Code is installed.");
}

ClaudeProcessError ClaudeProcessError::initializationFailed(const QString& message)
{
    return ClaudeProcessError(Kind::initializationFailed, message, 0);
}

ClaudeProcessError ClaudeProcessError::processTerminated(qint32 status)
{
    return ClaudeProcessError(Kind::processTerminated, QString(), status);
}

ClaudeProcessError ClaudeProcessError::processNotRunning()
{
    return ClaudeProcessError(Kind::processNotRunning, QString(), 0);
}

ClaudeProcessError ClaudeProcessError::invalidResponse()
{
    return ClaudeProcessError(Kind::invalidResponse, QString(), 0);
}

QString ClaudeProcessError::description() const
{
    switch (kind_) {
    case Kind::initializationFailed:
        return QStringLiteral("Failed to initialize Claude process: ") + message_;
    case Kind::processTerminated:
        return QStringLiteral("Claude process terminated with exit code ") + QString::number(exitCode_);
    case Kind::processNotRunning:
        return QStringLiteral("Claude process is not running");
    case Kind::invalidResponse:
        return QStringLiteral("Received invalid response from Claude");
    }
    return QString();
}

} // namespace orva
