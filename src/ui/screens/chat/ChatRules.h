#pragma once

// The interview chat screen's decisions: which turns are the AI's, and when
// each row is revealed.

#include "workflow/ChatViewModel.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

// A turn is the AI's when its speaker, lower-cased, contains "claude" or,
// failing that, "ai" (so "Claude" and "CLAUDE" are, "User" is not, and any
// speaker with the letters a and i in a row, like "Mail", is too).
bool isAISpeaker(const QString& speaker);

// One row to reveal: the turn's id and the wait before it shows.
struct RevealStep {
    int id = 0;
    int delayMs = 0;
    friend bool operator==(const RevealStep&, const RevealStep&) = default;
};

// The wait between two rows revealed when the screen appears, and before the
// rows of turns that arrive later.
inline constexpr int kRevealStepMs = 100;

// When the screen appears: the turn at position i (from 0) shows after
// i x 0.1 s, so the first at once and each further one 0.1 s after the one
// before.
QList<RevealStep> revealOnAppear(const QList<int>& ids);

// When the number of turns went from `oldCount` to `newCount`: the last
// (new - old) turns of `ids` (all of them when the list is shorter) show
// together 0.1 s later; nothing when the count did not grow.
QList<RevealStep> revealOnCountChange(const QList<int>& ids, int oldCount, int newCount);

// The rules above for the chat screen, as the QML singleton ChatRules.
class ChatRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE bool isAISpeaker(const QString& speaker) const;

    // The screen is going: the workspace monitor drops the interview's
    // handler and stops watching the interview state.
    Q_INVOKABLE void leaveScreen(orva::ChatViewModel* model) const;
};

} // namespace orva
