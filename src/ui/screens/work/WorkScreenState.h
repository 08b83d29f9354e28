#pragma once

// The work screen's project and its completion celebration.

#include "model/ProjectModel.h"
#include "workflow/WorkViewModel.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace orva {

// When the end of the project is celebrated: the first plan the screen sees
// is where it starts (a plan already complete then, or arriving complete
// after the screen was built, is not news); a later plan with at least one
// task, every one of them completed, starts the celebration, once per screen.
class ProjectCompletionRule {
public:
    // Takes the plan now shown; true when the celebration starts with it.
    bool observe(const std::optional<Project>& project);
    bool hasShownCompletion() const { return shown_; }

private:
    bool seenFirst_ = false;
    bool shown_ = false;
};

// The screen's view of the monitor's plan and the celebration's flags:
// confetti at once, the completion popup half a second later on a timer the
// screen owns; dismissing hides the popup, then the confetti.
class WorkScreenState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The work screen's WorkViewModel; read once.
    Q_PROPERTY(QObject* viewModel READ viewModelObject WRITE setViewModelObject NOTIFY projectChanged)
    Q_PROPERTY(QVariant project READ projectValue NOTIFY projectChanged)
    Q_PROPERTY(bool hasProject READ hasProject NOTIFY projectChanged)
    Q_PROPERTY(bool showConfetti READ showConfetti NOTIFY celebrationChanged)
    Q_PROPERTY(bool showCompletionPopup READ showCompletionPopup NOTIFY celebrationChanged)
    Q_PROPERTY(bool hasShownCompletion READ hasShownCompletion NOTIFY celebrationChanged)

public:
    static constexpr int completionPopupDelayMs = 500;

    explicit WorkScreenState(QObject* parent = nullptr);

    QObject* viewModelObject() const;
    void setViewModelObject(QObject* object);
    QVariant projectValue() const;
    bool hasProject() const;
    bool showConfetti() const { return showConfetti_; }
    bool showCompletionPopup() const { return showCompletionPopup_; }
    bool hasShownCompletion() const { return rule_.hasShownCompletion(); }

    // The plan of this moment, for a dashboard opened now.
    Q_INVOKABLE QVariant projectSnapshot() const { return projectValue(); }
    // The completion popup's dismissal: the popup goes, then the confetti.
    Q_INVOKABLE void dismissCompletion();

signals:
    void projectChanged();
    void celebrationChanged();

private:
    void planChanged();

    QPointer<WorkViewModel> viewModel_;
    ProjectCompletionRule rule_;
    QTimer popupTimer_;
    bool showConfetti_ = false;
    bool showCompletionPopup_ = false;
};

} // namespace orva
