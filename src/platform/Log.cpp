#include "Log.h"

#include <cstdio>
#include <mutex>

namespace orva {

namespace {
std::mutex& logMutex()
{
    static std::mutex mutex;
    return mutex;
}
} // namespace

void logLine(std::string_view utf8Line)
{
    std::lock_guard lock(logMutex());
    std::fwrite(utf8Line.data(), 1, utf8Line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void logLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    logLine(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace orva
