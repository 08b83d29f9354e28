#pragma once

#include "support/FakeFolderPanel.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace orva::test {

// What the work screen's Qt Quick Tests need beyond `helpers`, as the QML
// type WorkTestRig (module Orva.Test.Work): work models whose folder panel
// the test answers, plan values, the fake `claude`'s log, and the children of
// this process.
class WorkTestRig : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool panelShowing READ panelShowing NOTIFY panelChanged)
    Q_PROPERTY(int panelShownCount READ panelShownCount NOTIFY panelChanged)
public:
    explicit WorkTestRig(QObject* parent = nullptr);
    ~WorkTestRig() override;

    // A WorkViewModel over the shared monitor, storage and command channel,
    // with a folder service of its own whose panel this rig answers. Owned by
    // `owner` (the rig when none).
    Q_INVOKABLE QObject* createWorkViewModel(QObject* owner = nullptr);
    // Chooses the folder (made when missing) in the last model's folder
    // service without a panel.
    Q_INVOKABLE void chooseFolder(const QString& folder);

    bool panelShowing() const { return panel_->isShowing(); }
    int panelShownCount() const { return panel_->shownCount; }
    // Answers the panel as the user would: a folder (made when missing).
    Q_INVOKABLE void answerPanel(const QString& folder);
    Q_INVOKABLE void cancelPanel();

    // A Project value from Task.json text (undefined when it does not decode).
    Q_INVOKABLE QVariant decodeProject(const QString& json) const;
    // The interactive `claude` calls of the fake's log: [{pid, cwd, messages, lines, done, plans}]
    // (plans: how many times it rewrote the plan).
    Q_INVOKABLE QVariantList interactiveCalls() const;
    // "pid (name)" of each child of this process, zombies included.
    Q_INVOKABLE QStringList childProcesses() const;
    // Whether an interactive `claude` whose pid is given still runs.
    Q_INVOKABLE bool isRunning(qint64 pid) const;
    // Whether it is stopped (Ctrl+Z, SIGSTOP).
    Q_INVOKABLE bool isStopped(qint64 pid) const;
    // Sends it a signal by name ("TERM", "KILL", "STOP", "CONT").
    Q_INVOKABLE bool signalProcess(qint64 pid, const QString& name) const;
    // How the fake `claude` starts from now on in a terminal: "exit" (a
    // first-run question whose default leaves at once), "" as usual.
    Q_INVOKABLE bool setFakeClaudeStart(const QString& mode) const;
    // Sets (or, with an empty value, removes) a variable of this process's
    // environment, which the terminals made from now on inherit.
    Q_INVOKABLE void setEnvironment(const QString& name, const QString& value) const;
    // The rows of a terminal view's live screen, joined by line feeds.
    Q_INVOKABLE QString screenText(QObject* terminalView) const;

    // The real claude CLI installed in the build folder (ORVA_REAL_CLAUDE),
    // made the `claude` the terminals find, offline and without a login: a
    // home holding {"hasCompletedOnboarding": true}, no updater, no API-key
    // variables, and IS_SANDBOX=1 when this runs as root (claude refuses its
    // permissions flag to root otherwise). Its path, or "" when it is not
    // installed.
    Q_INVOKABLE QString useRealClaude() const;
    // Every message the person's side typed into the real claude, as its
    // session transcripts under ~/.claude/projects keep them, oldest first.
    Q_INVOKABLE QStringList realClaudeMessages() const;

signals:
    void panelChanged();

private:
    std::shared_ptr<FakeFolderPanel> panel_;
    QObject* lastDirectory_ = nullptr;
};

} // namespace orva::test
