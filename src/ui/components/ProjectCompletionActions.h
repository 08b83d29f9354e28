#pragma once

#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The completion popup's delayed ways out, owned by the popup's owner so that
// they run even after the popup is gone. close() reports dismiss after
// 0.2 s; startNewProject() closes and reports newProject after 0.3 s. While a
// report is pending a second request schedules nothing more, so neither
// report arrives twice for one way out.
class ProjectCompletionActions : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool closing READ closing NOTIFY closingChanged)
public:
    static constexpr int kDismissDelayMs = 200;
    static constexpr int kNewProjectDelayMs = 300;

    explicit ProjectCompletionActions(QObject* parent = nullptr);
    Q_INVOKABLE void close();
    Q_INVOKABLE void startNewProject();
    bool closing() const { return dismissTimer_.isActive() || newProjectTimer_.isActive(); }

signals:
    void dismiss();
    void newProject();
    void closingChanged();

private:
    QTimer dismissTimer_;
    QTimer newProjectTimer_;
};

} // namespace orva
