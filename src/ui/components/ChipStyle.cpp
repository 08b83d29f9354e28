#include "ui/components/ChipStyle.h"

#include "ui/design/DesignTokens.h"

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

} // namespace orva
