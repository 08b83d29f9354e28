#pragma once

// What the current-work card shows: its state from the task and the
// planned-display flag, the colours, symbol and texts of each state, and the
// one action its button runs.

#include "model/ProjectModel.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

namespace orva {

// A design colour chosen by name, at an opacity.
struct TokenColor {
    enum class Token { blue, indigo, green, yellow, teal, white40, background };
    Token token = Token::blue;
    double opacity = 1.0;
    QColor color() const;
    bool operator==(const TokenColor&) const = default;
};

struct CurrentWorkCardDisplay {
    TokenColor backgroundColor;
    QString iconName;
    TokenColor iconColor;
    QString title;
    std::optional<QString> subtitle;
    std::optional<QString> statusText;
    bool showsAnimatedBorder = false;
    std::optional<QString> buttonTitle;
    bool operator==(const CurrentWorkCardDisplay&) const = default;
};

struct CurrentWorkCardViewState {
    enum class Case { planned, inProgress, testReady, testChecking, empty };
    Case kind = Case::empty;
    // The input task unchanged; none for `empty`.
    std::optional<TaskItem> task;

    // The state of a card given `task` and the planned-display flag.
    static CurrentWorkCardViewState of(const std::optional<TaskItem>& task, bool forceShowAsPlanned);
    CurrentWorkCardDisplay display() const;
};

// The card's button: writes the state's line and calls its callback; nothing
// in the states without a button.
void performCurrentWorkPrimaryAction(const std::optional<TaskItem>& task, bool forceShowAsPlanned,
                                     const std::function<void()>& onStartTest,
                                     const std::function<void()>& onStartWork);

// The card for QML: give `task` (a TaskItem value, or nothing) and
// `forceShowAsPlanned`; read the state and its record. A new task value that
// leaves the record unchanged notifies nothing, so a reload of the plan in
// the same state changes nothing on screen.
class CurrentWorkCardState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariant task READ task WRITE setTask NOTIFY taskChanged)
    Q_PROPERTY(bool forceShowAsPlanned READ forceShowAsPlanned WRITE setForceShowAsPlanned NOTIFY taskChanged)
    Q_PROPERTY(int viewState READ viewState NOTIFY displayChanged)
    Q_PROPERTY(QColor backgroundColor READ backgroundColor NOTIFY displayChanged)
    Q_PROPERTY(QString iconName READ iconName NOTIFY displayChanged)
    Q_PROPERTY(QColor iconColor READ iconColor NOTIFY displayChanged)
    Q_PROPERTY(QString title READ title NOTIFY displayChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY displayChanged)
    Q_PROPERTY(bool hasSubtitle READ hasSubtitle NOTIFY displayChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY displayChanged)
    Q_PROPERTY(bool hasStatusText READ hasStatusText NOTIFY displayChanged)
    Q_PROPERTY(bool showsAnimatedBorder READ showsAnimatedBorder NOTIFY displayChanged)
    Q_PROPERTY(QString buttonTitle READ buttonTitle NOTIFY displayChanged)
    Q_PROPERTY(bool hasButton READ hasButton NOTIFY displayChanged)
    Q_PROPERTY(bool isInProgress READ isInProgress NOTIFY displayChanged)
    Q_PROPERTY(bool isTestChecking READ isTestChecking NOTIFY displayChanged)
    // The in-progress task's modified files (empty in the other states).
    Q_PROPERTY(QStringList modifiedFiles READ modifiedFiles NOTIFY modifiedFilesChanged)

public:
    // QML values of `viewState`, in the order of CurrentWorkCardViewState::Case.
    enum State { Planned, InProgress, TestReady, TestChecking, Empty };
    Q_ENUM(State)

    using QObject::QObject;

    QVariant task() const;
    void setTask(const QVariant& value);
    bool forceShowAsPlanned() const { return force_; }
    void setForceShowAsPlanned(bool value);

    int viewState() const { return static_cast<int>(state_.kind); }
    QColor backgroundColor() const { return display_.backgroundColor.color(); }
    QString iconName() const { return display_.iconName; }
    QColor iconColor() const { return display_.iconColor.color(); }
    QString title() const { return display_.title; }
    QString subtitle() const { return display_.subtitle.value_or(QString()); }
    bool hasSubtitle() const { return display_.subtitle.has_value(); }
    QString statusText() const { return display_.statusText.value_or(QString()); }
    bool hasStatusText() const { return display_.statusText.has_value(); }
    bool showsAnimatedBorder() const { return display_.showsAnimatedBorder; }
    QString buttonTitle() const { return display_.buttonTitle.value_or(QString()); }
    bool hasButton() const { return display_.buttonTitle.has_value(); }
    bool isInProgress() const { return state_.kind == CurrentWorkCardViewState::Case::inProgress; }
    bool isTestChecking() const { return state_.kind == CurrentWorkCardViewState::Case::testChecking; }
    QStringList modifiedFiles() const { return modifiedFiles_; }

    // The button's action: emits startTest() or startWork() after its line.
    Q_INVOKABLE void performPrimaryAction();

signals:
    void taskChanged();
    void displayChanged();
    void modifiedFilesChanged();
    void startTest();
    void startWork();

private:
    void update();

    std::optional<TaskItem> task_;
    bool force_ = false;
    CurrentWorkCardViewState state_ = CurrentWorkCardViewState::of(std::nullopt, false);
    CurrentWorkCardDisplay display_ = state_.display();
    QStringList modifiedFiles_;
};

} // namespace orva
