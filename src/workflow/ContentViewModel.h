#pragma once

#include "workflow/ChatViewModel.h"
#include "workflow/OnboardingViewModel.h"
#include "workflow/ViewPhase.h"
#include "workflow/WorkflowServices.h"

#include <QObject>

namespace orva {

// The root view's state and actions: which workflow screen is on display
// (its phase), the window's one interview model, and the onboarding overlay's
// show flag. Every phase change of a window is made here.
class ContentViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(orva::ChatViewModel* chatViewModel READ chatViewModel CONSTANT)
    Q_PROPERTY(orva::OnboardingViewModel* onboardingViewModel READ onboardingViewModel CONSTANT)
    // Two-way: the onboarding overlay sets it to false when it closes.
    Q_PROPERTY(bool showOnboarding READ showOnboarding WRITE setShowOnboarding NOTIFY showOnboardingChanged)
    Q_PROPERTY(orva::ViewPhaseType::ViewPhase currentPhase READ currentPhase WRITE setPhase NOTIFY currentPhaseChanged)

public:
    explicit ContentViewModel(QObject* parent = nullptr);
    explicit ContentViewModel(const WorkflowServices& services, QObject* parent = nullptr);
    ~ContentViewModel() override;

    // `dashboard` when "ZAVE/project/Task.json" exists (file or folder), else
    // `entry` (also without a container).
    static ViewPhase initialPhase();
    static ViewPhase initialPhase(const WorkflowServices& services);

    ChatViewModel* chatViewModel() const { return chatViewModel_; }
    OnboardingViewModel* onboardingViewModel() const { return onboardingViewModel_; }
    bool showOnboarding() const { return showOnboarding_; }
    void setShowOnboarding(bool value);
    ViewPhase currentPhase() const { return currentPhase_; }

    // The entry screen's callback: switches to `chat` at once, then starts a
    // clean interview with the idea.
    Q_INVOKABLE void startInterview(const QString& idea);
    Q_INVOKABLE void setPhase(orva::ViewPhaseType::ViewPhase phase);
    // The chat, project-guiding and work screens' callbacks.
    Q_INVOKABLE void navigateToProjectGuiding() { setPhase(ViewPhase::projectGuiding); }
    Q_INVOKABLE void navigateToDashboard() { setPhase(ViewPhase::dashboard); }
    Q_INVOKABLE void startNewProject() { setPhase(ViewPhase::entry); }

    Q_INVOKABLE void showOnboardingIfNeeded();
    Q_INVOKABLE void markOnboardingSeen();

signals:
    void showOnboardingChanged();
    void currentPhaseChanged();

private:
    ChatViewModel* chatViewModel_;
    OnboardingViewModel* onboardingViewModel_;
    bool showOnboarding_ = false;
    ViewPhase currentPhase_;
};

} // namespace orva
