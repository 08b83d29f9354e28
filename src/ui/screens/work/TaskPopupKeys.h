#pragma once

// The task popup's keyboard round: which control Tab and Shift+Tab move to.
// The checklist rows are made only while in sight, so the round is worked
// out over the verdicts, not over the items that happen to exist.

#include "ui/screens/work/TaskDetailVerdict.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The stops of the round, in order: "Xcode 열기", "다 잘 작동해요", each
// row's works box then its fails box, the explanation, the submit button,
// and last the close button.
enum class PopupStop { none, xcode, master, works, fails, explanation, submit, close };

struct PopupPlace {
    PopupStop stop = PopupStop::none;
    int row = -1; // the checklist row of a works or fails box
    friend bool operator==(const PopupPlace&, const PopupPlace&) = default;
};

// What decides which stops take the keyboard now.
struct PopupRound {
    int count = 0;          // checklist items (none: only the close button)
    bool firstFails = false; // the rows after the first are disabled
    bool anyFail = false;   // the explanation is shown
    bool canSubmit = false; // the submit button is enabled
};

// The stop after (`forward`) or before `from`, wrapping round, skipping
// the stops that do not take the keyboard now. From no stop (or one that is
// not there: a row past the end), the first or the last. A stop that no
// longer takes the keyboard (a row disabled meanwhile) still has its place.
PopupPlace nextPopupPlace(PopupPlace from, bool forward, const PopupRound& round);

// The round over a verdict, for QML: controls carry `popupStop` (a Stop)
// and `popupRow`; next() names the control to go to.
class TaskPopupKeys : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orva::TaskDetailVerdict* verdict READ verdict WRITE setVerdict NOTIFY verdictChanged)

public:
    enum Stop {
        None = static_cast<int>(PopupStop::none),
        Xcode = static_cast<int>(PopupStop::xcode),
        Master = static_cast<int>(PopupStop::master),
        Works = static_cast<int>(PopupStop::works),
        Fails = static_cast<int>(PopupStop::fails),
        Explanation = static_cast<int>(PopupStop::explanation),
        Submit = static_cast<int>(PopupStop::submit),
        Close = static_cast<int>(PopupStop::close),
    };
    Q_ENUM(Stop)

    using QObject::QObject;

    TaskDetailVerdict* verdict() const { return verdict_; }
    void setVerdict(TaskDetailVerdict* verdict);

    // The control to go to: its stop, and its row (-1 for the stops of no row).
    Q_INVOKABLE int nextStop(int stop, int row, bool forward) const;
    Q_INVOKABLE int nextRow(int stop, int row, bool forward) const;
    PopupPlace next(int stop, int row, bool forward) const;

signals:
    void verdictChanged();

private:
    QPointer<TaskDetailVerdict> verdict_;
};

} // namespace orva
