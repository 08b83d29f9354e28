#include "ui/screens/guiding/ProjectGuidingViewState.h"

#include "workspace/AppGroupMonitorService.h"
#include "workspace/DirectoryAccessService.h"

namespace orva {

ProjectGuidingViewState::ProjectGuidingViewState(QObject* parent)
    : QObject(parent)
{
    display_ = guiding::display({});
    replay_.setSingleShot(true);
    replay_.setInterval(replayDelayMs);
    connect(&replay_, &QTimer::timeout, this, [this] { setViewAppeared(true); });
}

ProjectGuidingViewState::~ProjectGuidingViewState() = default;

void ProjectGuidingViewState::setViewModel(ProjectGuidingViewModel* model)
{
    if (viewModel_ == model)
        return;
    for (const QMetaObject::Connection& connection : connections_)
        disconnect(connection);
    connections_.clear();
    viewModel_ = model;
    seen_ = false;
    if (model) {
        const auto changed = [this] { update(); };
        connections_ << connect(model, &ProjectGuidingViewModel::isProjectVerifiedChanged, this, changed)
                     << connect(model, &ProjectGuidingViewModel::projectNameChanged, this, changed)
                     << connect(model, &ProjectGuidingViewModel::errorMessageChanged, this, changed)
                     << connect(model, &ProjectGuidingViewModel::generationErrorChanged, this, changed)
                     << connect(&model->directoryAccessService(), &DirectoryAccessService::selectedDirectoryChanged,
                                this, changed)
                     << connect(&model->appGroupMonitorService(), &AppGroupMonitorService::projectChanged, this,
                                changed)
                     << connect(model, &ProjectGuidingViewModel::isVerifyingProjectChanged, this, [this] {
                            if (awaitingVerdict_ && viewModel_ && !viewModel_->isVerifyingProject()) {
                                awaitingVerdict_ = false;
                                reportVerdict();
                            }
                        });
    }
    emit viewModelChanged();
    update();
    if (appeared_)
        startGenerationOnce();
}

void ProjectGuidingViewState::appear()
{
    if (appeared_)
        return;
    appeared_ = true;
    setViewAppeared(true);
    startGenerationOnce();
}

void ProjectGuidingViewState::retryGeneration()
{
    if (viewModel_)
        viewModel_->generateSpec();
}

void ProjectGuidingViewState::verify()
{
    if (!viewModel_)
        return;
    awaitingVerdict_ = true;
    viewModel_->verifyProject();
    if (awaitingVerdict_ && !viewModel_->isVerifyingProject()) {
        awaitingVerdict_ = false;
        reportVerdict();
    }
}

void ProjectGuidingViewState::reportVerdict()
{
    // The check's end is announced before its verdict is published: report
    // once the model has published it.
    QTimer::singleShot(0, this, [this] { emit verdictArrived(); });
}

void ProjectGuidingViewState::startGenerationOnce()
{
    if (generationStarted_ || !viewModel_)
        return;
    generationStarted_ = true;
    viewModel_->generateSpec();
}

void ProjectGuidingViewState::update()
{
    guiding::Situation situation;
    QString folder;
    std::optional<Project> plan;
    std::optional<QString> errorMessage;
    std::optional<QString> projectName;
    if (viewModel_) {
        folder = viewModel_->directoryAccessService().selectedDirectory();
        plan = viewModel_->appGroupMonitorService().project();
        situation.hasFolder = !folder.isEmpty();
        situation.hasPlan = plan.has_value();
        situation.isVerified = viewModel_->isProjectVerified();
        situation.generationFailed = viewModel_->hasGenerationError();
        // The result box speaks of the chosen folder only.
        if (situation.hasFolder)
            errorMessage = viewModel_->errorMessageValue();
        projectName = viewModel_->projectNameValue();
    }

    // Another folder or plan: lower the entrance flag before any section
    // changes, so that a section built now starts hidden.
    const bool replay = seen_ && (folder != seenFolder_ || plan != seenPlan_);
    seen_ = true;
    seenFolder_ = folder;
    seenPlan_ = plan;
    if (replay && appeared_) {
        setViewAppeared(false);
        replay_.start();
    }

    const guiding::Display display = guiding::display(situation);
    const QString generationError = viewModel_ ? viewModel_->generationError() : QString();
    if (display == display_ && errorMessage == resultErrorMessage_ && projectName == projectName_
        && folder == folderPath_ && generationError == generationError_)
        return;
    display_ = display;
    resultErrorMessage_ = errorMessage;
    projectName_ = projectName;
    folderPath_ = folder;
    generationError_ = generationError;
    emit displayChanged();
}

void ProjectGuidingViewState::setViewAppeared(bool value)
{
    if (isViewAppeared_ == value)
        return;
    isViewAppeared_ = value;
    emit isViewAppearedChanged();
}

} // namespace orva
