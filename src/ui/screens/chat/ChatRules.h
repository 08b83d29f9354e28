#pragma once

// The interview chat screen's decisions: which turns are the AI's, and when
// each row is revealed.

#include "workflow/ChatViewModel.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
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

// Of the turns just appended (in order), those that show at once, without
// their entrance: a person's turn whose text was already on screen as a
// waiting answer. `waiting` is the list of waiting answers as it stood
// before these turns arrived; they are matched from its front.
QList<bool> shownAtOnce(const QList<ChatHistory>& appended, const QStringList& waiting);

// What a message bubble lays out of a message: at most kMessageChars
// characters in kMessageLines lines (the transcript keeps the message
// whole); what is cut is marked under it.
inline constexpr qsizetype kMessageChars = 6000;
inline constexpr qsizetype kMessageLines = 200;
QString messageForDisplay(const QString& text);
// "" for a message shown whole; for a cut one the mark under it:
// "… 너무 길어 앞부분만 보여드려요 (전체 1,048,576자)".
QString messageCutMark(const QString& text);

// The rules above for the chat screen, as the QML singleton ChatRules.
class ChatRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE bool isAISpeaker(const QString& speaker) const;
    Q_INVOKABLE QString messageForDisplay(const QString& text) const { return orva::messageForDisplay(text); }
    Q_INVOKABLE QString messageCutMark(const QString& text) const { return orva::messageCutMark(text); }

    // The screen is going: the workspace monitor drops the interview's
    // handler and stops watching the interview state.
    Q_INVOKABLE void leaveScreen(orva::ChatViewModel* model) const;
};

} // namespace orva
