#include "workflow/OnboardingViewModel.h"

namespace orva {

OnboardingViewModel::OnboardingViewModel(QObject* parent)
    : QObject(parent)
{
}

void OnboardingViewModel::setHasSeenOnboardingKey(const QString& key)
{
    if (hasSeenOnboardingKey_ == key)
        return;
    hasSeenOnboardingKey_ = key;
    emit hasSeenOnboardingKeyChanged();
}

} // namespace orva
