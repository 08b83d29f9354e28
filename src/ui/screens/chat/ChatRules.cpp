#include "ChatRules.h"

#include "ui/components/DisplayCut.h"
#include "workflow/ChatViewModel.h"
#include "workspace/AppGroupMonitorService.h"

#include <QLocale>

namespace orva {

bool isAISpeaker(const QString& speaker)
{
    const QString lower = speaker.toLower();
    return lower.contains(QLatin1String("claude")) || lower.contains(QLatin1String("ai"));
}

QList<RevealStep> revealOnAppear(const QList<int>& ids)
{
    QList<RevealStep> steps;
    steps.reserve(ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i)
        steps.append({ids[i], static_cast<int>(i) * kRevealStepMs});
    return steps;
}

QList<RevealStep> revealOnCountChange(const QList<int>& ids, int oldCount, int newCount)
{
    QList<RevealStep> steps;
    if (newCount <= oldCount)
        return steps;
    const qsizetype added = std::min<qsizetype>(newCount - oldCount, ids.size());
    for (qsizetype i = ids.size() - added; i < ids.size(); ++i)
        steps.append({ids[i], kRevealStepMs});
    return steps;
}

QList<bool> shownAtOnce(const QList<ChatHistory>& appended, const QStringList& waiting)
{
    QList<bool> result;
    qsizetype next = 0;
    for (const ChatHistory& turn : appended) {
        const bool match = !isAISpeaker(turn.question) && next < waiting.size() && waiting[next] == turn.answer;
        if (match)
            ++next;
        result.append(match);
    }
    return result;
}

QString messageForDisplay(const QString& text)
{
    return cutForDisplay(text, kMessageChars, kMessageLines).text;
}

QString messageCutMark(const QString& text)
{
    const DisplayCut cut = cutForDisplay(text, kMessageChars, kMessageLines);
    if (!cut.cut)
        return {};
    return QStringLiteral("… 너무 길어 앞부분만 보여드려요 (전체 %1자)")
        .arg(QLocale(QLocale::English).toString(static_cast<qlonglong>(cut.total)));
}

bool ChatRules::isAISpeaker(const QString& speaker) const
{
    return orva::isAISpeaker(speaker);
}

void ChatRules::leaveScreen(ChatViewModel* model) const
{
    if (model)
        model->monitorService().stopInterviewStateMonitoring();
}

} // namespace orva
