#pragma once

// The verdicts of one opening of the task detail popup, over a copy of the
// task taken when it opened, and the prompt they compose.

#include "model/ProjectModel.h"
#include "workflow/WorkViewModel.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace orva {

// Text made safe to type into the terminal: the C0 control characters other
// than tab and line feed, DEL and the C1 controls (U+0080-U+009F) are dropped.
// A Ctrl+C, Ctrl+D or carriage return would interrupt, end or submit
// `claude` mid-prompt, an ESC would begin a sequence of its own (a
// bracketed paste's end among them), a DEL erases what came before it, and a
// C1 control is an escape sequence in one character to a terminal that takes
// them. The person's own explanation is typed this way.
QString withoutControlCharacters(const QString& text);
// One line of a prompt from the plan (a title, a checklist item, a file
// name): the same, and a line feed, carriage return or tab inside it becomes
// a blank, so it cannot end the prompt's line early.
QString asOneLine(const QString& text);

// The popup's state: per checklist item a "works" and a "fails" verdict, the
// master box, and the free-text explanation. Both lists always have as many
// entries as the checklist of the task given first; a later task is ignored,
// so a reload of the plan or a new selection never reaches an open popup.
class TaskDetailVerdict : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The task (a TaskItem value), taken once.
    Q_PROPERTY(QVariant task READ taskValue WRITE setTaskValue NOTIFY taskChanged)
    Q_PROPERTY(bool hasTask READ hasTask NOTIFY taskChanged)
    Q_PROPERTY(QStringList checklist READ checklist NOTIFY taskChanged)
    Q_PROPERTY(int count READ count NOTIFY taskChanged)
    Q_PROPERTY(bool isChecked READ isChecked WRITE setChecked NOTIFY verdictsChanged)
    Q_PROPERTY(QVariantList checks READ checksValue NOTIFY verdictsChanged)
    Q_PROPERTY(QVariantList xChecks READ xChecksValue NOTIFY verdictsChanged)
    // Per item, whether its boxes are disabled.
    Q_PROPERTY(QVariantList disabledRows READ disabledRowsValue NOTIFY verdictsChanged)
    Q_PROPERTY(bool anyFail READ anyFail NOTIFY verdictsChanged)
    Q_PROPERTY(bool canSubmit READ canSubmit NOTIFY verdictsChanged)
    Q_PROPERTY(QString buttonTitle READ buttonTitle NOTIFY verdictsChanged)
    Q_PROPERTY(QString additionalInput READ additionalInput WRITE setAdditionalInput NOTIFY additionalInputChanged)

public:
    using QObject::QObject;
    explicit TaskDetailVerdict(const TaskItem& task, QObject* parent = nullptr);

    // "사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요."
    static QString approvalText();

    std::optional<TaskItem> task() const { return task_; }
    QVariant taskValue() const;
    void setTask(const TaskItem& task);
    void setTaskValue(const QVariant& value);
    bool hasTask() const { return task_.has_value(); }
    QStringList checklist() const;
    int count() const { return static_cast<int>(checks_.size()); }

    bool isChecked() const { return isChecked_; }
    // The master box: on marks every item as working; off changes nothing else.
    void setChecked(bool checked);
    QList<bool> checks() const { return checks_; }
    QList<bool> xChecks() const { return xChecks_; }
    QVariantList checksValue() const;
    QVariantList xChecksValue() const;
    Q_INVOKABLE bool works(int index) const;
    Q_INVOKABLE bool fails(int index) const;
    // A row's boxes exclude each other: turning one on clears the other.
    Q_INVOKABLE void setWorks(int index, bool value);
    Q_INVOKABLE void setFails(int index, bool value);
    // Every item after the first while the first (the build) fails.
    Q_INVOKABLE bool isDisabled(int index) const;
    QVariantList disabledRowsValue() const;

    bool anyFail() const;
    // Every item has a verdict, or the first fails; true for no items.
    bool canSubmit() const;
    QString buttonTitle() const;

    QString additionalInput() const { return additionalInput_; }
    void setAdditionalInput(const QString& text);

    QStringList fixRequestLines() const;
    QString fixRequestPrompt() const;
    // What submit sends: the fix request when an item fails, else the approval.
    Q_INVOKABLE QString promptToSend() const;

    // Logs, sends the prompt through the work model and asks to be
    // dismissed (also when the model sends nothing).
    void submit(WorkViewModel& viewModel);
    Q_INVOKABLE void submit(QObject* viewModel);
    // Opens the Xcode project of the chosen folder; the popup stays.
    Q_INVOKABLE void openXcode(QObject* viewModel);

signals:
    void taskChanged();
    void verdictsChanged();
    void additionalInputChanged();
    void dismissRequested();

private:
    void failsChanged();

    std::optional<TaskItem> task_;
    bool isChecked_ = false;
    QList<bool> checks_;
    QList<bool> xChecks_;
    QString additionalInput_;
};

} // namespace orva
