#pragma once

// QML access to the rules of the shared components, as the singleton
// ComponentRules: the status chips' texts and colours, the task card's tap
// line, the rotating text's index, the code block's rows, and the chat
// field's composition and Shift state.

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace orva {

// "TaskCard 클릭: " followed by the internal title.
QString taskCardTapLine(const QString& title);

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

} // namespace orva
