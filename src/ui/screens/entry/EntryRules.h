#pragma once

// The entry screen's decisions: which form the status row takes, what it
// says when `claude` is slow to answer, when the idea may be submitted, and
// the line written when an idea goes on to the interview.

#include "workflow/EntryViewModel.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

enum class EntryStatusForm { idle, preparing, failed };

// A running preparation shows the preparing form whatever error an earlier
// one left; otherwise an error shows the failed form; otherwise the idle form
// (before the preparation starts and after it succeeded).
EntryStatusForm entryStatusForm(bool isInitializing, bool hasInitializationError);

// The words under the spinner once the opening call has waited long (the
// model's isWaitingLong) while the preparation still runs; empty otherwise.
QString entryWaitingNotice(bool isInitializing, bool isWaitingLong);

// The idea may be submitted only once the preparation succeeded and while no
// new one runs.
bool entrySubmitOffered(bool isReadyForInterview, bool isInitializing);

// The standard-output line of a submission: the two flags ("true"/"false")
// and the idea as typed, separated by single blanks.
QString entrySubmissionLine(bool isInitializing, bool isReadyForInterview, const QString& idea);

// The rules above for the entry screen, as the QML singleton EntryRules.
class EntryRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    enum StatusForm { Idle, Preparing, Failed };
    Q_ENUM(StatusForm)

    using QObject::QObject;

    Q_INVOKABLE orva::EntryRules::StatusForm statusForm(bool isInitializing, bool hasInitializationError) const;
    Q_INVOKABLE bool isSubmitOffered(bool isReadyForInterview, bool isInitializing) const;
    Q_INVOKABLE QString waitingNotice(bool isInitializing, bool isWaitingLong) const;

    // The screen's submission: while submission is offered, hands the idea to
    // the model; when the model accepts it (a blank idea is refused), writes
    // the submission line and returns true, and the screen moves on to the
    // interview. Otherwise nothing is written and it returns false.
    Q_INVOKABLE bool submit(orva::EntryViewModel* model, const QString& idea) const;
};

} // namespace orva
