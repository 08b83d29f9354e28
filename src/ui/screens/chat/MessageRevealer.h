#pragma once

#include "ChatRules.h"
#include "workflow/ChatHistoryListModel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The chat screen's set of revealed rows. start() reveals the turns already
// there one after another; from then on it follows the number of turns,
// remembering the previous count itself, and reveals the turns that arrive
// (ChatRules.h has the schedule). A person's turn that was on screen as a
// waiting answer (`waitingAnswers`, bound to the model's) shows at once,
// without its entrance (its id joins `instantIds`). Ids are only ever added.
class MessageRevealer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orva::ChatHistoryListModel* turns READ turns WRITE setTurns NOTIFY turnsChanged)
    // The revealed turn ids, in the order they were revealed.
    Q_PROPERTY(QList<int> visibleIds READ visibleIds NOTIFY visibleIdsChanged)
    Q_PROPERTY(QStringList waitingAnswers READ waitingAnswers WRITE setWaitingAnswers NOTIFY waitingAnswersChanged)
    // The revealed turns that took their place at once.
    Q_PROPERTY(QList<int> instantIds READ instantIds NOTIFY instantIdsChanged)

public:
    explicit MessageRevealer(QObject* parent = nullptr);

    ChatHistoryListModel* turns() const { return turns_; }
    void setTurns(ChatHistoryListModel* turns);
    QList<int> visibleIds() const { return visible_; }
    QStringList waitingAnswers() const { return waiting_; }
    void setWaitingAnswers(const QStringList& answers);
    QList<int> instantIds() const { return instant_; }

    Q_INVOKABLE void start();
    Q_INVOKABLE bool isRevealed(int id) const { return visible_.contains(id); }

signals:
    void turnsChanged();
    void visibleIdsChanged();
    void waitingAnswersChanged();
    void instantIdsChanged();
    void revealed(int id);

private:
    QList<int> currentIds() const;
    void countChanged();
    void schedule(const QList<RevealStep>& steps);
    void reveal(int id);

    QPointer<ChatHistoryListModel> turns_;
    QMetaObject::Connection countConnection_;
    int previousCount_ = 0;
    bool started_ = false;
    QList<int> visible_;
    QStringList waiting_;
    QList<int> instant_;
};

} // namespace orva
