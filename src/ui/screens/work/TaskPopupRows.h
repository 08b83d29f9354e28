#pragma once

// What the task popup lists, as models its views create only the seen rows
// of: the checklist rows with their verdicts, and the bulleted lines of an
// information section.

#include "ui/screens/work/TaskDetailVerdict.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The lines of an information section: every item split at its line
// breaks, empty pieces left out, each cut for display.
QStringList sectionLines(const QStringList& items);

// One row per checklist item of the verdict's task, with the roles `number`
// (1-based), `text` (cut for display, short enough for the boxes beside its
// middle to stay in sight), `works`, `fails` and `disabled`; the verdict
// roles follow every change of the verdicts.
class ChecklistRows : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orva::TaskDetailVerdict* verdict READ verdict WRITE setVerdict NOTIFY verdictChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { NumberRole = Qt::UserRole + 1, TextRole, WorksRole, FailsRole, DisabledRole };

    explicit ChecklistRows(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    TaskDetailVerdict* verdict() const { return verdict_; }
    void setVerdict(TaskDetailVerdict* verdict);
    int count() const { return count_; }

signals:
    void verdictChanged();
    void countChanged();

private:
    void reload();
    void verdictsChanged();

    QPointer<TaskDetailVerdict> verdict_;
    QStringList texts_;
    int count_ = 0;
};

// The task popup's rules for QML, as the singleton TaskPopupRules.
class TaskPopupRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE QStringList sectionLines(const QStringList& items) const { return orva::sectionLines(items); }
};

} // namespace orva
