#include "MessageRevealer.h"

#include "workflow/ChatHistoryListModel.h"

#include <QTimer>

namespace orva {

MessageRevealer::MessageRevealer(QObject* parent)
    : QObject(parent)
{
}

void MessageRevealer::setTurns(ChatHistoryListModel* turns)
{
    if (turns_ == turns)
        return;
    disconnect(countConnection_);
    turns_ = turns;
    previousCount_ = turns_ ? turns_->count() : 0;
    if (turns_)
        countConnection_ = connect(turns_, &ChatHistoryListModel::countChanged, this, &MessageRevealer::countChanged);
    emit turnsChanged();
    if (started_)
        schedule(revealOnAppear(currentIds()));
}

void MessageRevealer::start()
{
    if (started_)
        return;
    started_ = true;
    previousCount_ = turns_ ? turns_->count() : 0;
    schedule(revealOnAppear(currentIds()));
}

QList<int> MessageRevealer::currentIds() const
{
    QList<int> ids;
    if (!turns_)
        return ids;
    for (const ChatHistory& turn : turns_->turns())
        ids.append(static_cast<int>(turn.id));
    return ids;
}

void MessageRevealer::setWaitingAnswers(const QStringList& answers)
{
    if (answers == waiting_)
        return;
    waiting_ = answers;
    emit waitingAnswersChanged();
}

void MessageRevealer::countChanged()
{
    const int count = turns_ ? turns_->count() : 0;
    const int previous = previousCount_;
    previousCount_ = count;
    if (!started_)
        return;
    QList<RevealStep> steps = revealOnCountChange(currentIds(), previous, count);
    if (!steps.isEmpty() && turns_) {
        const QList<ChatHistory>& turns = turns_->turns();
        const QList<ChatHistory> appended = turns.mid(turns.size() - steps.size());
        const QList<bool> atOnce = shownAtOnce(appended, waiting_);
        bool added = false;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            if (atOnce.value(i)) {
                steps[i].delayMs = 0;
                instant_.append(steps[i].id);
                added = true;
            }
        }
        if (added)
            emit instantIdsChanged();
    }
    schedule(steps);
}

void MessageRevealer::schedule(const QList<RevealStep>& steps)
{
    for (const RevealStep& step : steps) {
        const int id = step.id;
        if (step.delayMs <= 0)
            reveal(id);
        else
            QTimer::singleShot(step.delayMs, Qt::PreciseTimer, this, [this, id] { reveal(id); });
    }
}

void MessageRevealer::reveal(int id)
{
    if (visible_.contains(id))
        return;
    visible_.append(id);
    emit visibleIdsChanged();
    emit revealed(id);
}

} // namespace orva
