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

QString logExcerpt(const QString& text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype headEnd = limit / 2;
    if (headEnd > 0 && text[headEnd - 1].isHighSurrogate())
        --headEnd;
    qsizetype tailStart = text.size() - limit / 2;
    if (tailStart < text.size() && text[tailStart].isLowSurrogate())
        ++tailStart;
    return text.left(headEnd) + QStringLiteral(" \u2026 [") + QString::number(tailStart - headEnd)
           + QStringLiteral(" characters left out] \u2026 ") + text.mid(tailStart);
}

QString logExcerpt(const QByteArray& bytes, qsizetype limit)
{
    if (bytes.size() <= limit)
        return QString::fromUtf8(bytes);
    const auto continuation = [&bytes](qsizetype i) { return (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80; };
    qsizetype headEnd = limit / 2;
    while (headEnd > 0 && continuation(headEnd))
        --headEnd;
    qsizetype tailStart = bytes.size() - limit / 2;
    while (tailStart < bytes.size() && continuation(tailStart))
        ++tailStart;
    return QString::fromUtf8(bytes.first(headEnd)) + QStringLiteral(" \u2026 [") + QString::number(tailStart - headEnd)
           + QStringLiteral(" bytes left out] \u2026 ") + QString::fromUtf8(bytes.sliced(tailStart));
}

QString oneLogLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            line += QStringLiteral(" \u2014 ");
            continue;
        }
        line += c;
    }
    return line;
}

} // namespace orva
