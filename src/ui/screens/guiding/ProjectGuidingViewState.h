#pragma once

#include "model/ProjectModel.h"
#include "ui/screens/guiding/ProjectGuidingRules.h"
#include "workflow/ProjectGuidingViewModel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace orva {

// The decisions of the project-guiding screen, over its model and the folder
// and task-plan services the model holds: which section shows, the header,
// the generation failure, the guide text, what the result box is given, and
// when the entrance animations replay.
//
// The entrance flag `isViewAppeared` rises when the screen appears. When the
// folder or the task plan takes another value, the flag is lowered before
// anything else changes, so that a section built for the new value starts
// hidden and rises in; it rises again `replayDelayMs` later. A verification
// verdict alone never replays the entrance; a check asked for through
// verify() reports its verdict (verdictArrived()) so the screen brings the
// result into view.
class ProjectGuidingViewState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orva::ProjectGuidingViewModel* viewModel READ viewModel WRITE setViewModel NOTIFY viewModelChanged)
    Q_PROPERTY(bool isViewAppeared READ isViewAppeared NOTIFY isViewAppearedChanged)

    Q_PROPERTY(bool showsFolderCard READ showsFolderCard NOTIFY displayChanged)
    Q_PROPERTY(bool showsGuideColumn READ showsGuideColumn NOTIFY displayChanged)
    Q_PROPERTY(bool showsCompletion READ showsCompletion NOTIFY displayChanged)
    Q_PROPERTY(bool showsHeader READ showsHeader NOTIFY displayChanged)
    Q_PROPERTY(QString headerText READ headerText NOTIFY displayChanged)
    Q_PROPERTY(bool showsIndicator READ showsIndicator NOTIFY displayChanged)
    Q_PROPERTY(bool showsGenerationFailure READ showsGenerationFailure NOTIFY displayChanged)
    Q_PROPERTY(QString generationError READ generationError NOTIFY displayChanged)
    Q_PROPERTY(QString failureTitle READ failureTitle CONSTANT)
    Q_PROPERTY(QString retryTitle READ retryTitle CONSTANT)

    // The folder as the folder service holds it, and the guide built on it.
    Q_PROPERTY(QString folderPath READ folderPath NOTIFY displayChanged)
    Q_PROPERTY(QString guideText READ guideText NOTIFY displayChanged)

    // What the result box is given: the verdict's error text only while a
    // folder is chosen, and the verified project's name.
    Q_PROPERTY(bool hasResultErrorMessage READ hasResultErrorMessage NOTIFY displayChanged)
    Q_PROPERTY(QString resultErrorMessage READ resultErrorMessage NOTIFY displayChanged)
    Q_PROPERTY(bool hasProjectName READ hasProjectName NOTIFY displayChanged)
    Q_PROPERTY(QString projectName READ projectName NOTIFY displayChanged)

public:
    static constexpr int replayDelayMs = 50;

    explicit ProjectGuidingViewState(QObject* parent = nullptr);
    ~ProjectGuidingViewState() override;

    ProjectGuidingViewModel* viewModel() const { return viewModel_; }
    void setViewModel(ProjectGuidingViewModel* model);

    bool isViewAppeared() const { return isViewAppeared_; }

    const guiding::Display& display() const { return display_; }
    bool showsFolderCard() const { return display_.stage == guiding::Stage::chooseFolder; }
    bool showsGuideColumn() const { return display_.stage == guiding::Stage::setUpProject; }
    bool showsCompletion() const { return display_.stage == guiding::Stage::ready; }
    bool showsHeader() const { return display_.showsHeader; }
    QString headerText() const { return display_.headerText; }
    bool showsIndicator() const { return display_.showsIndicator; }
    bool showsGenerationFailure() const { return display_.showsGenerationFailure; }
    QString generationError() const { return generationError_; }
    QString failureTitle() const { return guiding::failureTitle(); }
    QString retryTitle() const { return guiding::retryTitle(); }
    QString folderPath() const { return folderPath_; }
    QString guideText() const { return guiding::guideText(folderPath_); }
    std::optional<QString> resultErrorMessageValue() const { return resultErrorMessage_; }
    bool hasResultErrorMessage() const { return resultErrorMessage_.has_value(); }
    QString resultErrorMessage() const { return resultErrorMessage_.value_or(QString()); }
    bool hasProjectName() const { return projectName_.has_value(); }
    QString projectName() const { return projectName_.value_or(QString()); }

    // The screen came on: the entrance starts and, the first time only, the
    // document generation.
    Q_INVOKABLE void appear();
    // "다시 시도": the generation runs again.
    Q_INVOKABLE void retryGeneration();
    // "프로젝트 생성 완료": the folder is checked; verdictArrived() follows
    // once the verdict is published (at once without a folder).
    Q_INVOKABLE void verify();
    // "작업 화면으로 이동": the screen is done (finished()).
    Q_INVOKABLE void finish() { emit finished(); }

signals:
    void viewModelChanged();
    void isViewAppearedChanged();
    void displayChanged();
    void finished();
    void verdictArrived();

private:
    void update();
    void startGenerationOnce();
    void reportVerdict();
    void setViewAppeared(bool value);

    QPointer<ProjectGuidingViewModel> viewModel_;
    QList<QMetaObject::Connection> connections_;
    bool appeared_ = false;
    bool generationStarted_ = false;
    bool awaitingVerdict_ = false;
    bool isViewAppeared_ = false;
    QTimer replay_;

    // The folder and plan last seen, to notice that they changed.
    bool seen_ = false;
    QString seenFolder_;
    std::optional<Project> seenPlan_;

    guiding::Display display_;
    std::optional<QString> resultErrorMessage_;
    std::optional<QString> projectName_;
    QString folderPath_;
    QString generationError_;
};

} // namespace orva
