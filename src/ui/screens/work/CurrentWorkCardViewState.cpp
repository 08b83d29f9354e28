#include "ui/screens/work/CurrentWorkCardViewState.h"

#include "platform/Log.h"
#include "ui/design/DesignTokens.h"

namespace orva {

namespace {
using Case = CurrentWorkCardViewState::Case;
using Token = TokenColor::Token;

QString testStatusCaption(TestStatus status)
{
    switch (status) {
    case TestStatus::ready: return QStringLiteral("테스트 가능");
    case TestStatus::pending: return QStringLiteral("테스트 대기");
    case TestStatus::checking: return QStringLiteral("테스트 진행 중");
    case TestStatus::checked: return QStringLiteral("테스트 완료");
    case TestStatus::excluded: return QStringLiteral("테스트 제외");
    }
    return {};
}
} // namespace

QColor TokenColor::color() const
{
    namespace C = DesignTokens::Colors;
    QColor base;
    switch (token) {
    case Token::blue: base = C::blue(); break;
    case Token::indigo: base = C::indigo(); break;
    case Token::green: base = C::green(); break;
    case Token::yellow: base = C::yellow(); break;
    case Token::teal: base = C::teal(); break;
    case Token::white40: base = C::white40(); break;
    case Token::background: base = C::background(); break;
    }
    base.setAlphaF(static_cast<float>(base.alphaF() * opacity));
    return base;
}

CurrentWorkCardViewState CurrentWorkCardViewState::of(const std::optional<TaskItem>& task, bool forceShowAsPlanned)
{
    if (!task)
        return {Case::empty, std::nullopt};
    const bool working = task->status == TaskStatus::inProgress || task->status == TaskStatus::onHold;
    if (forceShowAsPlanned)
        return {working && task->testStatus == TestStatus::ready ? Case::testReady : Case::planned, task};
    switch (task->status) {
    case TaskStatus::planned:
    case TaskStatus::completed:
        return {Case::planned, task};
    case TaskStatus::inProgress:
        return {task->testStatus == TestStatus::ready ? Case::testReady : Case::inProgress, task};
    case TaskStatus::onHold:
        if (task->testStatus == TestStatus::ready)
            return {Case::testReady, task};
        if (task->testStatus == TestStatus::checking)
            return {Case::testChecking, task};
        return {Case::planned, task};
    }
    return {Case::planned, task};
}

CurrentWorkCardDisplay CurrentWorkCardViewState::display() const
{
    const QString titleUx = task ? task->titleUx : QString();
    switch (kind) {
    case Case::planned:
        return {{Token::blue}, QStringLiteral("chevron.right.dotted.chevron.right"), {Token::white40},
                QStringLiteral("다음 작업은"), titleUx + QStringLiteral("입니다"), std::nullopt, false,
                QStringLiteral("시작하기")};
    case Case::inProgress:
        return {{Token::indigo, 0.1}, QStringLiteral("asterisk"), {Token::teal}, QStringLiteral("지금 작업중인 내용은"),
                titleUx + QStringLiteral("입니다"), std::nullopt, true, std::nullopt};
    case Case::testReady:
        return {{Token::green}, QStringLiteral("cube"), {Token::white40}, titleUx + QStringLiteral("의"),
                QStringLiteral("테스트가 준비되었습니다"), std::nullopt, false, QStringLiteral("테스트 시작하기")};
    case Case::testChecking:
        return {{Token::yellow}, QStringLiteral("cube"), {Token::background}, titleUx + QStringLiteral(" 기능을"),
                QStringLiteral("테스트 중입니다"), testStatusCaption(task ? task->testStatus : TestStatus::checking),
                false, std::nullopt};
    case Case::empty:
        break;
    }
    return {{Token::blue}, QStringLiteral("circle.dotted.and.circle"), {Token::white40},
            QStringLiteral("진행 중인 작업 없음"), QStringLiteral("언제든 새로운 작업을 시작헤보세요"), std::nullopt, false,
            QStringLiteral("시작하기")};
}

void performCurrentWorkPrimaryAction(const std::optional<TaskItem>& task, bool forceShowAsPlanned,
                                     const std::function<void()>& onStartTest,
                                     const std::function<void()>& onStartWork)
{
    switch (CurrentWorkCardViewState::of(task, forceShowAsPlanned).kind) {
    case Case::empty:
        logLine(QStringLiteral("Empty State: 작업 시작"));
        if (onStartWork)
            onStartWork();
        break;
    case Case::planned:
        logLine(QStringLiteral("Planned State: 작업 시작"));
        if (onStartWork)
            onStartWork();
        break;
    case Case::testReady:
        logLine(QStringLiteral("TestReady State: 테스트 시작"));
        if (onStartTest)
            onStartTest();
        break;
    case Case::inProgress:
    case Case::testChecking:
        break;
    }
}

QVariant CurrentWorkCardState::task() const
{
    return task_ ? QVariant::fromValue(*task_) : QVariant();
}

void CurrentWorkCardState::setTask(const QVariant& value)
{
    std::optional<TaskItem> task;
    if (value.metaType() == QMetaType::fromType<TaskItem>())
        task = value.value<TaskItem>();
    if (task == task_)
        return;
    task_ = std::move(task);
    emit taskChanged();
    update();
}

void CurrentWorkCardState::setForceShowAsPlanned(bool value)
{
    if (force_ == value)
        return;
    force_ = value;
    emit taskChanged();
    update();
}

void CurrentWorkCardState::performPrimaryAction()
{
    performCurrentWorkPrimaryAction(
        task_, force_, [this] { emit startTest(); }, [this] { emit startWork(); });
}

void CurrentWorkCardState::update()
{
    const CurrentWorkCardViewState next = CurrentWorkCardViewState::of(task_, force_);
    const CurrentWorkCardDisplay display = next.display();
    const bool changed = next.kind != state_.kind || !(display == display_);
    state_ = next;
    display_ = display;
    const QStringList files = state_.kind == Case::inProgress && state_.task ? state_.task->detail.modifiedFiles
                                                                             : QStringList();
    if (changed)
        emit displayChanged();
    if (files != modifiedFiles_) {
        modifiedFiles_ = files;
        emit modifiedFilesChanged();
    }
}

} // namespace orva
