#include "ui/components/ComponentRules.h"

#include "platform/Log.h"
#include "ui/components/ChipStyle.h"
#include "ui/components/CodeBlockRows.h"
#include "ui/components/RotatingLines.h"
#include "ui/design/DesignTokens.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QVariant>

#include <optional>

namespace orva {

namespace C = DesignTokens::Colors;

QString taskCardTapLine(const QString& title) { return QStringLiteral("TaskCard 클릭: ") + title; }

namespace {
template <typename E>
std::optional<E> caseOf(int v, int count)
{
    if (v < 0 || v >= count)
        return std::nullopt;
    return static_cast<E>(v);
}
} // namespace

QString ComponentRules::taskStatusText(int status) const
{
    const auto s = caseOf<TaskStatus>(status, 4);
    return s ? chipForTaskStatus(*s).text : QString();
}
QColor ComponentRules::taskStatusColor(int status) const
{
    const auto s = caseOf<TaskStatus>(status, 4);
    return s ? chipForTaskStatus(*s).color : C::gray();
}
QString ComponentRules::testStatusText(int status) const
{
    const auto s = caseOf<TestStatus>(status, 5);
    return s ? chipForTestStatus(*s).text : QString();
}
QColor ComponentRules::testStatusColor(int status) const
{
    const auto s = caseOf<TestStatus>(status, 5);
    return s ? chipForTestStatus(*s).color : C::gray();
}
void ComponentRules::logTaskCardTap(const QString& title) const { logLine(taskCardTapLine(title)); }
QString ComponentRules::rotatingLine(const QStringList& texts, int index) const
{
    return orva::rotatingLine(texts, index);
}
int ComponentRules::rotatingNextIndex(int index, int count) const { return orva::rotatingNextIndex(index, count); }
QStringList ComponentRules::codeBlockRows(const QString& code) const { return orva::codeBlockRows(code); }

void ComponentRules::commitComposition(QObject* editor) const
{
    if (!editor)
        return;
    // Ask the input method first; a platform without one (or one that keeps
    // the syllable) leaves the preedit, which is then committed directly.
    QGuiApplication::inputMethod()->commit();
    const QString preedit = editor->property("preeditText").toString();
    if (preedit.isEmpty())
        return;
    QInputMethodEvent event;
    event.setCommitString(preedit);
    QCoreApplication::sendEvent(editor, &event);
}

bool ComponentRules::isShiftHeld(int eventModifiers) const
{
    // The key event carries the modifier state at the moment of the press.
    return Qt::KeyboardModifiers(eventModifiers).testFlag(Qt::ShiftModifier);
}

} // namespace orva
