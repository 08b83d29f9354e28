#include "workflow/EntryViewModel.h"

#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "workflow/ClaudeProcessService.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/PromptFileService.h"

#include <QPointer>

#include <algorithm>
#include <QTimer>

namespace orva {

QString EntryError::description() const
{
    switch (kind_) {
    case Kind::claudeInitializationFailed:
        return QStringLiteral("Failed to initialize Claude: ") + message_;
    case Kind::appGroupNotAccessible:
        return QStringLiteral("Cannot access App Group storage");
    }
    return {};
}

EntryViewModel::EntryViewModel(QObject* parent)
    : EntryViewModel(WorkflowServices::defaults(), parent)
{
}

EntryViewModel::EntryViewModel(const WorkflowServices& services, QObject* parent)
    : QObject(parent)
    , claudeService_(services.claude())
    , promptService_(services.prompts())
    , directoryAccessService_(services.directory())
    , storage_(services.storage())
    , monitor_(services.monitor())
{
    waitingTimer_.setSingleShot(true);
    connect(&waitingTimer_, &QTimer::timeout, this, [this] {
        logLine(QStringLiteral("[EntryViewModel] No answer from claude after ") + QString::number(waitingNoticeDelay_ / 1000.0)
                + QStringLiteral(" s; still waiting"));
        setWaitingLong(true);
    });
}

EntryViewModel::~EntryViewModel() = default;

void EntryViewModel::startPreparation()
{
    if (hasStartedPreparation_)
        return;
    setHasStartedPreparation(true);
    QPointer<EntryViewModel> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self)
            self->initialize();
    });
}

void EntryViewModel::initialize(std::function<void()> done)
{
    setInitializing(true);
    setInitializationError(std::nullopt);

    // The monitor drops its plan when it sees the plan file go; make sure it
    // is watching, so that the screens of the new project never show the
    // previous project's plan.
    if (monitor_.hasProject())
        monitor_.startTaskDashboardMonitoring();
    storage_.clearProjectFolder();
    directoryAccessService_.clearDirectoryAccess();
    UserDefaults::setBool(QString::fromLatin1(UserDefaults::kHasLaunchedBefore), false);

    std::optional<PromptFileError> installError = promptService_.setupPromptFiles();
    if (!installError)
        installError = promptService_.copyProjectFiles();
    if (installError) {
        fail(installError->description());
        if (done)
            done();
        return;
    }

    const auto container = AppGroupStorageService::containerPath();
    if (!container) {
        fail(EntryError::appGroupNotAccessible().description());
        if (done)
            done();
        return;
    }

    stopWaitingNotice();
    waitingTimer_.start(waitingNoticeDelay_);
    claudeService_.startSession(
        *container,
        [this, done](const ClaudeResult& result) {
            stopWaitingNotice();
            if (result.ok()) {
                setReadyForInterview(true);
                setInitializing(false);
                emit preparationFinished();
            } else {
                fail(result.error->localizedDescription());
            }
            if (done)
                done();
        },
        this);
}

void EntryViewModel::fail(const QString& description)
{
    setInitializationError(description);
    logLine(QStringLiteral("[EntryViewModel] Initialization failed: ") + oneLogLine(description));
    setInitializing(false);
    emit preparationFinished();
}

void EntryViewModel::reset()
{
    stopWaitingNotice();
    setInitializing(false);
    setInitializationError(std::nullopt);
    setReadyForInterview(false);
    setHasStartedPreparation(false);
    setUserInitialInput(QString());
    setHasUserSubmitted(false);
}

bool EntryViewModel::submitUserInput(const QString& text)
{
    if (!isReadyForInterview_ || text.trimmed().isEmpty())
        return false;
    setUserInitialInput(text);
    setHasUserSubmitted(true);
    return true;
}

void EntryViewModel::setInitializing(bool value)
{
    if (isInitializing_ == value)
        return;
    isInitializing_ = value;
    emit isInitializingChanged();
}

void EntryViewModel::setInitializationError(std::optional<QString> value)
{
    if (initializationError_ == value)
        return;
    initializationError_ = std::move(value);
    emit initializationErrorChanged();
}

void EntryViewModel::setReadyForInterview(bool value)
{
    if (isReadyForInterview_ == value)
        return;
    isReadyForInterview_ = value;
    emit isReadyForInterviewChanged();
}

void EntryViewModel::setUserInitialInput(const QString& value)
{
    if (userInitialInput_ == value)
        return;
    userInitialInput_ = value;
    emit userInitialInputChanged();
}

void EntryViewModel::setHasUserSubmitted(bool value)
{
    if (hasUserSubmitted_ == value)
        return;
    hasUserSubmitted_ = value;
    emit hasUserSubmittedChanged();
}

void EntryViewModel::setWaitingNoticeDelay(int milliseconds)
{
    milliseconds = std::max(0, milliseconds);
    if (waitingNoticeDelay_ == milliseconds)
        return;
    waitingNoticeDelay_ = milliseconds;
    emit waitingNoticeDelayChanged();
}

void EntryViewModel::stopWaitingNotice()
{
    waitingTimer_.stop();
    setWaitingLong(false);
}

void EntryViewModel::setWaitingLong(bool value)
{
    if (isWaitingLong_ == value)
        return;
    isWaitingLong_ = value;
    emit isWaitingLongChanged();
}

void EntryViewModel::setHasStartedPreparation(bool value)
{
    if (hasStartedPreparation_ == value)
        return;
    hasStartedPreparation_ = value;
    emit hasStartedPreparationChanged();
}

} // namespace orva
