#pragma once

// The rules of the shared components that decide something: chip texts and
// colours, the task card's tap line, the chat field's disabled-text guard,
// the rotating text's index, the code block's rows and the completion
// popup's delayed actions.

#include "model/ProjectModel.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace orva {

struct ChipStyle {
    QString text;
    QColor color;
    friend bool operator==(const ChipStyle&, const ChipStyle&) = default;
};
ChipStyle chipForTaskStatus(TaskStatus status);
ChipStyle chipForTestStatus(TestStatus status);

// "TaskCard 클릭: " followed by the internal title.
QString taskCardTapLine(const QString& title);

// Keeps the chat field's text unchanged while the field is disabled. Every
// change of the text is reported; while disabled a change away from the last
// accepted text yields that text to restore. The restore itself arrives as a
// change back to the accepted text and is simply accepted, so the rule never
// triggers itself again.
class DisabledTextGuard {
public:
    explicit DisabledTextGuard(QString initial = {}) : accepted_(std::move(initial)) {}
    std::optional<QString> textChanged(const QString& newText, bool disabled);
    const QString& acceptedText() const { return accepted_; }

private:
    QString accepted_;
};

// The line shown for an index: the entry when in range (as far as one line
// can show it), else "".
QString rotatingLine(const QStringList& texts, int index);
// The next index, wrapping after the last; 0 for an empty list. An index left
// beyond the end after the list shrank also starts again at 0.
int rotatingNextIndex(int index, qsizetype count);
// Whether a timer is needed: two lines or more.
bool rotatingNeedsTimer(qsizetype count);

// Lines of a code run cut at every newline character (U+000A-U+000D, U+0085,
// U+2028, U+2029).
QStringList splitLines(const QString& text);
// Whether nothing is left after trimming spaces, tabs and other space separators.
bool isBlankLine(const QString& line);
// The rows of the code block: each non-blank line verbatim, in order.
QStringList codeBlockRows(const QString& code);

// ---------------------------------------------------------------------------
// QML access to the rules above, as the singleton ComponentRules.
class ComponentRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE QString taskStatusText(int status) const;
    Q_INVOKABLE QColor taskStatusColor(int status) const;
    Q_INVOKABLE QString testStatusText(int status) const;
    Q_INVOKABLE QColor testStatusColor(int status) const;
    // Writes the task card's tap line.
    Q_INVOKABLE void logTaskCardTap(const QString& title) const;
    Q_INVOKABLE QString rotatingLine(const QStringList& texts, int index) const;
    Q_INVOKABLE int rotatingNextIndex(int index, int count) const;
    Q_INVOKABLE QStringList codeBlockRows(const QString& code) const;
    // Commits text that the input method is still composing in `editor`, so
    // that it becomes part of the editor's text.
    Q_INVOKABLE void commitComposition(QObject* editor) const;
    // Whether Shift was held when the key was pressed.
    Q_INVOKABLE bool isShiftHeld(int eventModifiers) const;
};

// The chat field's guard for QML: report every text change; when it returns
// true, `restoreText` holds the text to write back.
class TextGuard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString restoreText READ restoreText CONSTANT)
public:
    using QObject::QObject;
    Q_INVOKABLE bool textChanged(const QString& newText, bool disabled);
    Q_INVOKABLE void reset(const QString& text) { guard_ = DisabledTextGuard(text); }
    QString restoreText() const { return guard_.acceptedText(); }

private:
    DisabledTextGuard guard_;
};

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
