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

ClaudeProcessError ClaudeProcessError::outputTooLarge(Stream stream, qint64 limitBytes)
{
    ClaudeProcessError error(Kind::outputTooLarge, QString(), 0);
    error.stream_ = stream;
    error.limitBytes_ = limitBytes;
    return error;
}

ClaudeProcessError ClaudeProcessError::withReason(const QString& reason) const
{
    ClaudeProcessError error = *this;
    error.reason_ = reason;
    return error;
}

namespace {
QString sizeText(qint64 bytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0)
        return QString::number(bytes / mebibyte) + QStringLiteral(" MiB");
    return QString::number(bytes) + QStringLiteral(" bytes");
}
} // namespace

QString ClaudeProcessError::description() const
{
    if (reason_.isEmpty())
        return summary();
    return summary() + QLatin1Char('\n') + reason_;
}

QString ClaudeProcessError::summary() const
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
    case Kind::outputTooLarge:
        return QStringLiteral("Claude process wrote more than ") + sizeText(limitBytes_)
               + (stream_ == Stream::standardOutput ? QStringLiteral(" to standard output") : QStringLiteral(" to standard error"))
               + QStringLiteral(" and was stopped");
    }
    return QString();
}

} // namespace orva
