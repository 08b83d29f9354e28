#pragma once

#include "model/ProjectModel.h"
#include "workflow/WorkflowServices.h"
#include "workspace/XcodeService.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

Q_MOC_INCLUDE("workspace/AppGroupMonitorService.h")
Q_MOC_INCLUDE("workspace/DirectoryAccessService.h")

namespace orva {

// The project-guiding screen's model: has `claude` write the product
// documents and then the task plan, lets the user create the project folder,
// and verifies that the folder holds an Xcode project.
//
// A generation failure and a verification verdict are kept apart: the verdict
// is about the folder and is replaced by each check, while the failure stays
// until a new generation starts, whatever the checks say.
class ProjectGuidingViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isGeneratingSpec READ isGeneratingSpec NOTIFY isGeneratingSpecChanged)
    // The description of the last generation failure; empty when the last
    // generation has not failed (or none has run).
    Q_PROPERTY(QString generationError READ generationError NOTIFY generationErrorChanged)
    Q_PROPERTY(bool hasGenerationError READ hasGenerationError NOTIFY generationErrorChanged)
    // The error text of the last project check; empty when none.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged)
    // A project check is walking the folder (off the main thread).
    Q_PROPERTY(bool isVerifyingProject READ isVerifyingProject NOTIFY isVerifyingProjectChanged)
    // The Xcode project's name from the last successful check; empty when none.
    Q_PROPERTY(QString projectName READ projectName NOTIFY projectNameChanged)
    Q_PROPERTY(bool isProjectVerified READ isProjectVerified NOTIFY isProjectVerifiedChanged)
    Q_PROPERTY(QString previewProjectDirectory READ previewProjectDirectory NOTIFY previewProjectDirectoryChanged)
    Q_PROPERTY(QVariant previewProject READ previewProjectValue NOTIFY previewProjectChanged)
    Q_PROPERTY(bool isPreview READ isPreview CONSTANT)
    // The services the screen reads the folder and the task plan through.
    Q_PROPERTY(orva::AppGroupMonitorService* appGroupMonitorService READ appGroupMonitorServiceObject CONSTANT)
    Q_PROPERTY(orva::DirectoryAccessService* directoryAccessService READ directoryAccessServiceObject CONSTANT)
    Q_PROPERTY(orva::XcodeService* xcodeService READ xcodeServiceObject CONSTANT)

public:
    explicit ProjectGuidingViewModel(QObject* parent = nullptr);
    explicit ProjectGuidingViewModel(const WorkflowServices& services, QObject* parent = nullptr);
    ~ProjectGuidingViewModel() override;

    // The prompt that asks for "Task.md" and "Task.json".
    static QString taskPlanPrompt();
    // The "@"-path of the product-document instructions.
    QString documentPath() const;
    // The error text when `claude` ended the task-plan turn without a
    // readable task plan; `reason` says what is wrong with the file.
    static QString missingTaskPlanMessage(const QString& reason);

    bool isGeneratingSpec() const { return isGeneratingSpec_; }
    QString generationError() const { return generationError_.value_or(QString()); }
    bool hasGenerationError() const { return generationError_.has_value(); }
    std::optional<QString> generationErrorValue() const { return generationError_; }
    bool isVerifyingProject() const { return isVerifyingProject_; }
    QString errorMessage() const { return errorMessage_.value_or(QString()); }
    bool hasErrorMessage() const { return errorMessage_.has_value(); }
    std::optional<QString> errorMessageValue() const { return errorMessage_; }
    QString projectName() const { return projectName_.value_or(QString()); }
    std::optional<QString> projectNameValue() const { return projectName_; }
    bool isProjectVerified() const { return isProjectVerified_; }
    QString previewProjectDirectory() const { return previewProjectDirectory_.value_or(QString()); }
    std::optional<Project> previewProject() const { return previewProject_; }
    QVariant previewProjectValue() const;
    bool isPreview() const { return false; }

    AppGroupMonitorService& appGroupMonitorService() const { return appGroupMonitorService_; }
    DirectoryAccessService& directoryAccessService() const { return directoryAccessService_; }
    ClaudeProcessService& claudeService() const { return claudeService_; }
    PromptFileService& promptService() const { return promptService_; }
    XcodeService& xcodeService() const { return xcodeService_; }
    AppGroupMonitorService* appGroupMonitorServiceObject() const { return &appGroupMonitorService_; }
    DirectoryAccessService* directoryAccessServiceObject() const { return &directoryAccessService_; }
    XcodeService* xcodeServiceObject() const { return &xcodeService_; }

    // The document generation; `done` runs when it has ended, either way.
    Q_INVOKABLE void generateSpec() { generateSpec({}); }
    void generateSpec(std::function<void()> done);

    // Shows the new-folder panel later and returns at once.
    Q_INVOKABLE void requestProjectDirectory();

    // Checks the selected folder and publishes the verdict. Without a folder
    // the verdict is published at once; otherwise the folder is walked off
    // the main thread while isVerifyingProject is true, and only the verdict
    // of the last check is published, and only while its folder is still the
    // selected one.
    Q_INVOKABLE void verifyProject();

signals:
    void isGeneratingSpecChanged();
    void generationErrorChanged();
    void errorMessageChanged();
    void isVerifyingProjectChanged();
    void projectNameChanged();
    void isProjectVerifiedChanged();
    void previewProjectDirectoryChanged();
    void previewProjectChanged();
    // A generation has ended (successfully or not).
    void generationFinished();

private:
    void failGeneration(const QString& description);
    void checkTaskPlan();
    void applyVerdict(const QString& folder, const XcodeProjectVerdict& verdict);
    void clearVerdictForOtherFolder();
    void setGeneratingSpec(bool value);
    void setGenerationError(std::optional<QString> value);
    void setVerifyingProject(bool value);
    void setErrorMessage(std::optional<QString> value);
    void setProjectName(std::optional<QString> value);
    void setProjectVerified(bool value);

    AppGroupMonitorService& appGroupMonitorService_;
    DirectoryAccessService& directoryAccessService_;
    ClaudeProcessService& claudeService_;
    PromptFileService& promptService_;
    XcodeService& xcodeService_;
    AppGroupStorageService& storage_;

    bool isGeneratingSpec_ = false;
    std::optional<QString> generationError_;
    std::optional<QString> errorMessage_;
    std::optional<QString> projectName_;
    bool isProjectVerified_ = false;
    std::optional<QString> previewProjectDirectory_;
    std::optional<Project> previewProject_;

    // The folder the current verdict is about.
    std::optional<QString> verifiedFolder_;
    bool isVerifyingProject_ = false;
    // Counts the checks started; a walk's verdict is published only when no
    // later check (or another folder) has come since it started.
    quint64 verification_ = 0;
};

} // namespace orva
