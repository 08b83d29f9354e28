#pragma once

#include "ui/screens/dashboard/DashboardRules.h"
#include "workflow/DashboardViewModel.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The dashboard's two moments of asking its model whether the completed-task
// popup is due: once when the dashboard is first shown (with a new model that
// only ends its initial load), and each time the completed count of the shown
// project really changes while it stays open. The count is read from the
// model's project, never from its `completedTaskCount` property, which reads
// 0 without a project and notifies on every new plan.
class DashboardChecks : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orva::DashboardViewModel* viewModel READ viewModel WRITE setViewModel NOTIFY viewModelChanged)
    // Whether the dashboard is on screen; the first time it is, with a
    // model, counts as its appearance.
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)

public:
    explicit DashboardChecks(QObject* parent = nullptr);

    DashboardViewModel* viewModel() const { return model_; }
    // Watches `model` from its current count on (that value is no change).
    void setViewModel(DashboardViewModel* model);

    bool shown() const { return shown_; }
    void setShown(bool shown);

    // The dashboard came on screen; only the first call per model checks.
    void appear();

signals:
    void viewModelChanged();
    void shownChanged();
    // A check was asked of the model.
    void checked();

private:
    void projectChanged();
    void check();

    QPointer<DashboardViewModel> model_;
    QMetaObject::Connection connection_;
    CompletedCountWatch watch_;
    bool shown_ = false;
    bool appeared_ = false;
};

} // namespace orva
