#include "ui/components/ProjectCompletionActions.h"

namespace orva {

ProjectCompletionActions::ProjectCompletionActions(QObject* parent) : QObject(parent)
{
    // Precise timers keep the 0.2 s and 0.3 s reports in their order and apart.
    dismissTimer_.setTimerType(Qt::PreciseTimer);
    newProjectTimer_.setTimerType(Qt::PreciseTimer);
    dismissTimer_.setSingleShot(true);
    dismissTimer_.setInterval(kDismissDelayMs);
    newProjectTimer_.setSingleShot(true);
    newProjectTimer_.setInterval(kNewProjectDelayMs);
    connect(&dismissTimer_, &QTimer::timeout, this, [this] {
        emit closingChanged();
        emit dismiss();
    });
    connect(&newProjectTimer_, &QTimer::timeout, this, [this] {
        emit closingChanged();
        emit newProject();
    });
}

void ProjectCompletionActions::close()
{
    if (dismissTimer_.isActive())
        return;
    dismissTimer_.start();
    emit closingChanged();
}

void ProjectCompletionActions::startNewProject()
{
    close();
    if (newProjectTimer_.isActive())
        return;
    newProjectTimer_.start();
    emit closingChanged();
}

} // namespace orva
