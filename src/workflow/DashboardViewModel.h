#pragma once

#include "model/ProjectModel.h"
#include "workflow/WorkflowServices.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QVariant>

#include <optional>

namespace orva {

// The dashboard overlay's model: counts the completed tasks of the examined
// project and raises the completed-task popup when that count rises while
// some task is still open. Its first check only arms it.
//
// The examined project is `previewProject` when set, else the monitor's.
// While the dashboard is open it follows the monitor: every plan the monitor
// publishes replaces `previewProject`, so the count the dashboard shows (and
// checks) is the current one; when the monitor publishes none, the model
// holds none either.
class DashboardViewModel : public QObject, public QQmlParserStatus {
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(QVariant previewProject READ previewProjectValue WRITE setPreviewProjectValue NOTIFY previewProjectChanged)
    Q_PROPERTY(bool showCompletedTaskPopup READ showCompletedTaskPopup NOTIFY showCompletedTaskPopupChanged)
    Q_PROPERTY(qint64 previousCompletedTasks READ previousCompletedTasks NOTIFY previousCompletedTasksChanged)
    Q_PROPERTY(bool isInitialLoad READ isInitialLoad NOTIFY isInitialLoadChanged)
    // The examined project (a Project value); undefined when there is none.
    Q_PROPERTY(QVariant project READ projectValue NOTIFY projectChanged)
    // Its completed-task count; the dashboard checks for a rise when it changes.
    Q_PROPERTY(qint64 completedTaskCount READ completedTaskCount NOTIFY projectChanged)
    Q_PROPERTY(orva::AppGroupMonitorService* appGroupMonitorService READ appGroupMonitorServiceObject CONSTANT)
    Q_MOC_INCLUDE("workspace/AppGroupMonitorService.h")

public:
    // QML: the model of the monitor's project, or of the `previewProject`
    // set when it is created.
    explicit DashboardViewModel(QObject* parent = nullptr);
    explicit DashboardViewModel(std::optional<Project> previewProject, QObject* parent = nullptr);
    DashboardViewModel(std::optional<Project> previewProject, const WorkflowServices& services,
                       QObject* parent = nullptr);
    ~DashboardViewModel() override;

    std::optional<Project> previewProject() const { return previewProject_; }
    void setPreviewProject(std::optional<Project> project);
    QVariant previewProjectValue() const;
    void setPreviewProjectValue(const QVariant& value);

    bool showCompletedTaskPopup() const { return showCompletedTaskPopup_; }
    qint64 previousCompletedTasks() const { return previousCompletedTasks_; }
    bool isInitialLoad() const { return isInitialLoad_; }

    std::optional<Project> project() const;
    QVariant projectValue() const;
    qint64 completedTaskCount() const;

    AppGroupMonitorService& appGroupMonitorService() const { return appGroupMonitorService_; }
    AppGroupMonitorService* appGroupMonitorServiceObject() const;

    Q_INVOKABLE void syncCompletedTaskCount();
    Q_INVOKABLE void checkForCompletedTasks();
    Q_INVOKABLE void dismissPopup();

    void classBegin() override {}
    void componentComplete() override;

signals:
    void previewProjectChanged();
    void showCompletedTaskPopupChanged();
    void previousCompletedTasksChanged();
    void isInitialLoadChanged();
    void projectChanged();

private:
    void followMonitor();
    void setShowCompletedTaskPopup(bool value);
    void setPreviousCompletedTasks(qint64 value);
    void setInitialLoad(bool value);

    AppGroupMonitorService& appGroupMonitorService_;
    std::optional<Project> previewProject_;
    bool showCompletedTaskPopup_ = false;
    qint64 previousCompletedTasks_ = 0;
    bool isInitialLoad_ = true;
};

} // namespace orva
