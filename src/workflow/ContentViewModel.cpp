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
    case ViewPhase::Entry:
        return QStringLiteral("entry");
    case ViewPhase::Chat:
        return QStringLiteral("chat");
    case ViewPhase::ProjectGuiding:
        return QStringLiteral("projectGuiding");
    case ViewPhase::Dashboard:
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
    , services_(services)
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
        return ViewPhase::Entry;
    return QFileInfo::exists(*taskPlan) ? ViewPhase::Dashboard : ViewPhase::Entry;
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
    // A project begun again in this window starts from an empty interview,
    // emptied before the chat screen is built so that it never shows the
    // previous project's turns.
    chatViewModel_->resetInterview();
    setPhase(ViewPhase::Chat);
    QPointer<ChatViewModel> chat(chatViewModel_);
    QTimer::singleShot(0, this, [chat, idea] {
        if (!chat)
            return;
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

void ContentViewModel::closeOnboarding()
{
    setShowOnboarding(false);
    markOnboardingSeen();
}

EntryViewModel* ContentViewModel::createEntryViewModel(QObject* owner) const
{
    return new EntryViewModel(services_, owner);
}

ProjectGuidingViewModel* ContentViewModel::createProjectGuidingViewModel(QObject* owner) const
{
    return new ProjectGuidingViewModel(services_, owner);
}

WorkViewModel* ContentViewModel::createWorkViewModel(QObject* owner) const
{
    return new WorkViewModel(services_, owner);
}

} // namespace orva
