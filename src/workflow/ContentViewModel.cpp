#include "workflow/ContentViewModel.h"

#include "platform/UserDefaults.h"
#include "workspace/AppGroupStorageService.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace orva {

QString toString(ViewPhase phase)
{
    switch (phase) {
    case ViewPhase::entry:
        return QStringLiteral("entry");
    case ViewPhase::chat:
        return QStringLiteral("chat");
    case ViewPhase::projectGuiding:
        return QStringLiteral("projectGuiding");
    case ViewPhase::dashboard:
        return QStringLiteral("dashboard");
    }
    return {};
}

ContentViewModel::ContentViewModel(QObject* parent)
    : ContentViewModel(WorkflowServices::defaults(), parent)
{
}

ContentViewModel::ContentViewModel(const WorkflowServices& services, QObject* parent)
    : QObject(parent)
    , chatViewModel_(new ChatViewModel(services, this))
    , onboardingViewModel_(new OnboardingViewModel(this))
    , currentPhase_(initialPhase(services))
{
    onboardingViewModel_->setHasSeenOnboardingKey(QString::fromLatin1(UserDefaults::kHasSeenOnboarding));
}

ContentViewModel::~ContentViewModel() = default;

ViewPhase ContentViewModel::initialPhase()
{
    return initialPhase(WorkflowServices::defaults());
}

ViewPhase ContentViewModel::initialPhase(const WorkflowServices& services)
{
    const auto taskPlan = services.storage().url(QStringLiteral("Task.json"), QStringLiteral("ZAVE/project"));
    if (!taskPlan)
        return ViewPhase::entry;
    return QFileInfo::exists(*taskPlan) ? ViewPhase::dashboard : ViewPhase::entry;
}

void ContentViewModel::setShowOnboarding(bool value)
{
    if (showOnboarding_ == value)
        return;
    showOnboarding_ = value;
    emit showOnboardingChanged();
}

void ContentViewModel::setPhase(ViewPhase phase)
{
    if (currentPhase_ == phase)
        return;
    currentPhase_ = phase;
    emit currentPhaseChanged();
}

void ContentViewModel::startInterview(const QString& idea)
{
    setPhase(ViewPhase::chat);
    QPointer<ChatViewModel> chat(chatViewModel_);
    QTimer::singleShot(0, this, [chat, idea] {
        if (!chat)
            return;
        // A project begun again in this window starts from an empty interview.
        chat->resetInterview();
        chat->startMonitoring();
        chat->sendMessage(idea);
    });
}

void ContentViewModel::showOnboardingIfNeeded()
{
    if (!UserDefaults::boolValue(onboardingViewModel_->hasSeenOnboardingKey(), false))
        setShowOnboarding(true);
}

void ContentViewModel::markOnboardingSeen()
{
    UserDefaults::setBool(onboardingViewModel_->hasSeenOnboardingKey(), true);
}

} // namespace orva
