#include "ui/components/ComponentLogic.h"

#include "platform/Log.h"
#include "ui/components/ViewRules.h"
#include "ui/design/DesignTokens.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QVariant>

namespace orva {

namespace C = DesignTokens::Colors;

ChipStyle chipForTaskStatus(TaskStatus status)
{
    switch (status) {
    case TaskStatus::planned: return {QStringLiteral("구현 예정"), C::gray()};
    case TaskStatus::inProgress: return {QStringLiteral("구현 진행중"), C::green()};
    case TaskStatus::completed: return {QStringLiteral("구현 완료"), C::blue()};
    case TaskStatus::onHold: return {QStringLiteral("구현 보류"), C::yellow()};
    }
    return {};
}

ChipStyle chipForTestStatus(TestStatus status)
{
    switch (status) {
    case TestStatus::ready: return {QStringLiteral("테스트 가능"), C::green()};
    case TestStatus::pending: return {QStringLiteral("테스트 대기"), C::yellow()};
    case TestStatus::checking: return {QStringLiteral("테스트 진행 중"), C::green()};
    case TestStatus::checked: return {QStringLiteral("테스트 완료"), C::blue()};
    case TestStatus::excluded: return {QStringLiteral("테스트 제외"), C::gray()};
    }
    return {};
}

QString taskCardTapLine(const QString& title) { return QStringLiteral("TaskCard 클릭: ") + title; }

std::optional<QString> DisabledTextGuard::textChanged(const QString& newText, bool disabled)
{
    if (newText == accepted_)
        return std::nullopt;
    if (disabled)
        return accepted_;
    accepted_ = newText;
    return std::nullopt;
}

QString rotatingLine(const QStringList& texts, int index)
{
    if (index < 0 || index >= texts.size())
        return {};
    // One line shows: a name of any length is laid out only that far.
    return cutForDisplay(texts[index], kOneLineChars, 0).text;
}

int rotatingNextIndex(int index, qsizetype count)
{
    if (count <= 0 || index < 0 || index >= count)
        return 0;
    return static_cast<int>((index + 1) % count);
}

bool rotatingNeedsTimer(qsizetype count) { return count >= 2; }

namespace {
bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}
bool isSpaceSeparatorOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}
} // namespace

QStringList splitLines(const QString& text)
{
    QStringList lines;
    QString current;
    for (const QChar c : text) {
        if (isNewline(c)) {
            lines.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    lines.append(current);
    return lines;
}

bool isBlankLine(const QString& line)
{
    for (const QChar c : line)
        if (!isSpaceSeparatorOrTab(c))
            return false;
    return true;
}

QStringList codeBlockRows(const QString& code)
{
    QStringList rows;
    for (const QString& line : splitLines(code))
        if (!isBlankLine(line))
            rows.append(line);
    return rows;
}

// ---------------------------------------------------------------------------
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

bool TextGuard::textChanged(const QString& newText, bool disabled)
{
    return guard_.textChanged(newText, disabled).has_value();
}

// ---------------------------------------------------------------------------
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
