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
