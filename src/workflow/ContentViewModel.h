#pragma once

#include "workflow/ChatViewModel.h"
#include "workflow/EntryViewModel.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workflow/WorkViewModel.h"
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

    // `Dashboard` when "ZAVE/project/Task.json" exists (file or folder), else
    // `Entry` (also without a container).
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
    Q_INVOKABLE void navigateToProjectGuiding() { setPhase(ViewPhase::ProjectGuiding); }
    Q_INVOKABLE void navigateToDashboard() { setPhase(ViewPhase::Dashboard); }
    Q_INVOKABLE void startNewProject() { setPhase(ViewPhase::Entry); }

    Q_INVOKABLE void showOnboardingIfNeeded();
    Q_INVOKABLE void markOnboardingSeen();
    // The overlay's finish: hides it and records that onboarding was seen.
    // Nothing else records it, so an overlay torn down another way (as when
    // the window closes) leaves the flag as it was.
    Q_INVOKABLE void closeOnboarding();

    // A new model for a screen, over this window's services, owned by
    // `owner` (the screen), so it lives exactly as long as the screen.
    Q_INVOKABLE orva::EntryViewModel* createEntryViewModel(QObject* owner) const;
    Q_INVOKABLE orva::ProjectGuidingViewModel* createProjectGuidingViewModel(QObject* owner) const;
    Q_INVOKABLE orva::WorkViewModel* createWorkViewModel(QObject* owner) const;

signals:
    void showOnboardingChanged();
    void currentPhaseChanged();

private:
    WorkflowServices services_;
    ChatViewModel* chatViewModel_;
    OnboardingViewModel* onboardingViewModel_;
    bool showOnboarding_ = false;
    ViewPhase currentPhase_;
};

} // namespace orva
