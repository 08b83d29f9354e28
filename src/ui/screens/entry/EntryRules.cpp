#include "EntryRules.h"

#include "platform/Log.h"
#include "workflow/EntryViewModel.h"

namespace orva {

namespace {
QString flagText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}
} // namespace

EntryStatusForm entryStatusForm(bool isInitializing, bool hasInitializationError)
{
    if (isInitializing)
        return EntryStatusForm::preparing;
    if (hasInitializationError)
        return EntryStatusForm::failed;
    return EntryStatusForm::idle;
}

QString entryWaitingNotice(bool isInitializing, bool isWaitingLong)
{
    if (!isInitializing || !isWaitingLong)
        return QString();
    // Offline, `claude` waits minutes for the network before it gives up
    // with its reason, which then shows in place of this.
    return QStringLiteral("아직 claude의 답을 기다리고 있어요.\n"
                          "인터넷에 연결되어 있는지 확인해 주세요. 연결되지 않으면 몇 분 뒤에 그 이유가 이 자리에 나와요.");
}

bool entrySubmitOffered(bool isReadyForInterview, bool isInitializing)
{
    return isReadyForInterview && !isInitializing;
}

QString entrySubmissionLine(bool isInitializing, bool isReadyForInterview, const QString& idea)
{
    return flagText(isInitializing) + QLatin1Char(' ') + flagText(isReadyForInterview) + QLatin1Char(' ') + idea;
}

EntryRules::StatusForm EntryRules::statusForm(bool isInitializing, bool hasInitializationError) const
{
    switch (entryStatusForm(isInitializing, hasInitializationError)) {
    case EntryStatusForm::preparing:
        return Preparing;
    case EntryStatusForm::failed:
        return Failed;
    case EntryStatusForm::idle:
        break;
    }
    return Idle;
}

bool EntryRules::isSubmitOffered(bool isReadyForInterview, bool isInitializing) const
{
    return entrySubmitOffered(isReadyForInterview, isInitializing);
}

QString EntryRules::waitingNotice(bool isInitializing, bool isWaitingLong) const
{
    return entryWaitingNotice(isInitializing, isWaitingLong);
}

bool EntryRules::submit(EntryViewModel* model, const QString& idea) const
{
    if (!model || !entrySubmitOffered(model->isReadyForInterview(), model->isInitializing()))
        return false;
    if (!model->submitUserInput(idea))
        return false;
    logLine(entrySubmissionLine(model->isInitializing(), model->isReadyForInterview(), idea));
    return true;
}

} // namespace orva
