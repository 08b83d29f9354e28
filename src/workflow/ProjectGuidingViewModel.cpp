#include "workflow/ProjectGuidingViewModel.h"

#include "platform/Log.h"
#include "workflow/ClaudeProcessService.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/FileOps.h"
#include "workspace/PromptFileService.h"
#include "workspace/XcodeService.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace orva {

namespace {
void log(const QString& message)
{
    logLine(QStringLiteral("[ProjectGuidingViewModel] ") + message);
}
} // namespace

ProjectGuidingViewModel::ProjectGuidingViewModel(QObject* parent)
    : ProjectGuidingViewModel(WorkflowServices::defaults(), parent)
{
}

ProjectGuidingViewModel::ProjectGuidingViewModel(const WorkflowServices& services, QObject* parent)
    : QObject(parent)
    , appGroupMonitorService_(services.monitor())
    , directoryAccessService_(services.directory())
    , claudeService_(services.claude())
    , promptService_(services.prompts())
    , xcodeService_(services.xcodeService())
    , storage_(services.storage())
{
    registerModelMetaTypes();
    connect(&directoryAccessService_, &DirectoryAccessService::selectedDirectoryChanged, this,
            &ProjectGuidingViewModel::clearVerdictForOtherFolder);
}

ProjectGuidingViewModel::~ProjectGuidingViewModel() = default;

QString ProjectGuidingViewModel::taskPlanPrompt()
{
    return QStringLiteral(
               "Read '@ZAVE/system/agents/agent.docs.Task.md' and create 'Task.md' in @ZAVE/project. "
               "Then read @ZAVE/system/agents/agent.docs.Task.json.md and create 'Task.json' in @ZAVE/project.")
        + QLatin1Char('\n') + QStringLiteral("Create both sequentially this turn.");
}

QString ProjectGuidingViewModel::documentPath() const
{
    return QStringLiteral("@") + promptService_.promptDirectory + QStringLiteral("/")
        + QStringLiteral("agents/agent.docs.prd.md");
}

QString ProjectGuidingViewModel::missingTaskPlanMessage(const QString& reason)
{
    return QStringLiteral("Claude finished without writing a readable task plan (ZAVE/project/Task.json): ") + reason;
}

QVariant ProjectGuidingViewModel::previewProjectValue() const
{
    return previewProject_ ? QVariant::fromValue(*previewProject_) : QVariant();
}

void ProjectGuidingViewModel::generateSpec(std::function<void()> done)
{
    // A new generation: the last one's failure no longer stands.
    setGenerationError(std::nullopt);
    setGeneratingSpec(true);
    log(QStringLiteral("Starting spec generation..."));
    appGroupMonitorService_.startTaskDashboardMonitoring();

    QPointer<ProjectGuidingViewModel> self(this);
    claudeService_.generatePRD(
        documentPath(),
        [self, done](const ClaudeResult& prd) {
            if (!self)
                return;
            if (!prd.ok()) {
                self->failGeneration(prd.error->localizedDescription());
                if (done)
                    done();
                return;
            }
            log(QStringLiteral("Spec generation completed, starting task generation..."));
            if (!self->claudeService_.isProcessRunning()) {
                self->failGeneration(ClaudeProcessError::processNotRunning().localizedDescription());
                if (done)
                    done();
                return;
            }
            self->claudeService_.sendMessage(
                taskPlanPrompt(), true, true,
                [self, done](const ClaudeResult& plan) {
                    if (!self)
                        return;
                    if (!plan.ok()) {
                        self->failGeneration(plan.error->localizedDescription());
                    } else {
                        log(QStringLiteral("Task generation completed"));
                        self->checkTaskPlan();
                        emit self->generationFinished();
                    }
                    if (done)
                        done();
                },
                self.data());
        },
        this);
}

void ProjectGuidingViewModel::failGeneration(const QString& description)
{
    setGenerationError(description);
    setGeneratingSpec(false);
    log(QStringLiteral("Error generating PRD: ") + oneLogLine(description));
    emit generationFinished();
}

// `claude` has ended the turn that should have written the task plan. If it
// wrote none that can be read, the screen would wait for it forever.
void ProjectGuidingViewModel::checkTaskPlan()
{
    const QString fileName = QStringLiteral("Task.json");
    const QString folder = QStringLiteral("ZAVE/project");
    QString reason;
    const auto path = storage_.url(fileName, folder);
    // The file's own bytes go to the reader, read as the monitor reads them.
    const fileops::FileBytes file = path ? fileops::readFileBytes(*path) : fileops::FileBytes{};
    if (file.status == fileops::FileBytes::Status::missing) {
        reason = QStringLiteral("the file was not created");
    } else if (file.status != fileops::FileBytes::Status::read) {
        reason = file.error;
    } else {
        QString error;
        if (decodeProjectWrapper(file.bytes, &error))
            return;
        reason = error;
    }
    setGenerationError(missingTaskPlanMessage(reason));
    setGeneratingSpec(false);
    log(QStringLiteral("Task plan not readable: ") + reason);
}

void ProjectGuidingViewModel::requestProjectDirectory()
{
    log(QStringLiteral("Requesting project directory creation/selection..."));
    QPointer<DirectoryAccessService> service(&directoryAccessService_);
    QTimer::singleShot(0, this, [service] {
        if (service)
            service->createProjectDirectory();
    });
}

void ProjectGuidingViewModel::verifyProject()
{
    const quint64 check = ++verification_;
    const QString folder = directoryAccessService_.selectedDirectory();
    if (folder.isEmpty()) {
        setVerifyingProject(false);
        log(QStringLiteral("No project directory selected"));
        setErrorMessage(QStringLiteral("프로젝트 디렉토리가 선택되지 않았습니다."));
        setProjectVerified(false);
        setProjectName(std::nullopt);
        verifiedFolder_ = QString();
        return;
    }
    setVerifyingProject(true);
    xcodeService_.verifyXcodeProjectAsync(folder, this, [this, check, folder](const XcodeProjectVerdict& verdict) {
        if (check != verification_)
            return;
        setVerifyingProject(false);
        applyVerdict(folder, verdict);
    });
}

void ProjectGuidingViewModel::applyVerdict(const QString& folder, const XcodeProjectVerdict& verdict)
{
    setProjectVerified(verdict.isValid);
    setProjectName(verdict.projectName);
    setErrorMessage(verdict.errorMessage);
    verifiedFolder_ = folder;
    if (verdict.isValid && verdict.projectName)
        log(QStringLiteral("Project verified: ") + *verdict.projectName);
    else
        log(QStringLiteral("Project verification failed: ") + verdict.errorMessage.value_or(QStringLiteral("Unknown error")));
}

// A verdict is about the folder it was made for: once another folder is
// chosen it no longer holds, and a walk still running for the old folder
// has nothing left to say.
void ProjectGuidingViewModel::clearVerdictForOtherFolder()
{
    if (isVerifyingProject_) {
        ++verification_;
        setVerifyingProject(false);
    }
    if (!verifiedFolder_ || *verifiedFolder_ == directoryAccessService_.selectedDirectory())
        return;
    verifiedFolder_.reset();
    setProjectVerified(false);
    setProjectName(std::nullopt);
    setErrorMessage(std::nullopt);
}

void ProjectGuidingViewModel::setGeneratingSpec(bool value)
{
    if (isGeneratingSpec_ == value)
        return;
    isGeneratingSpec_ = value;
    emit isGeneratingSpecChanged();
}

void ProjectGuidingViewModel::setGenerationError(std::optional<QString> value)
{
    if (generationError_ == value)
        return;
    generationError_ = std::move(value);
    emit generationErrorChanged();
}

void ProjectGuidingViewModel::setVerifyingProject(bool value)
{
    if (isVerifyingProject_ == value)
        return;
    isVerifyingProject_ = value;
    emit isVerifyingProjectChanged();
}

void ProjectGuidingViewModel::setErrorMessage(std::optional<QString> value)
{
    if (errorMessage_ == value)
        return;
    errorMessage_ = std::move(value);
    emit errorMessageChanged();
}

void ProjectGuidingViewModel::setProjectName(std::optional<QString> value)
{
    if (projectName_ == value)
        return;
    projectName_ = std::move(value);
    emit projectNameChanged();
}

void ProjectGuidingViewModel::setProjectVerified(bool value)
{
    if (isProjectVerified_ == value)
        return;
    isProjectVerified_ = value;
    emit isProjectVerifiedChanged();
}

} // namespace orva
