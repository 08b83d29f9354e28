#include "ChatRules.h"

#include "workflow/ChatViewModel.h"
#include "workspace/AppGroupMonitorService.h"

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
