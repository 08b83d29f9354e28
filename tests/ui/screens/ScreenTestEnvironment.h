#pragma once

#include "support/QuickTestHelpers.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class QQmlEngine;

namespace orva {
class FakeFolderPanel;
}

namespace orva::test {

// A machine of its own for the screen tests, installed before any shared
// service starts: a temporary HOME, XDG folders, container, Documents and
// settings, the fake `claude` and fake shell first in PATH (the claude search
// finds the fake), FAKE_CLAUDE_LOG pointing into the temporary folder, and
// FAKE_CLAUDE_MODE_FILE (absent: every call answers normally) for tests that
// make calls fail or hold them.
class ScreenTestEnvironment {
public:
    ScreenTestEnvironment();
    ~ScreenTestEnvironment();

    QString root() const { return dir_.path(); }
    QString home() const;
    QString containerPath() const;
    QString documentsPath() const;
    QString fakeClaudeLog() const;
    QString fakeClaudeModeFile() const { return modeFile_; }

private:
    QTemporaryDir dir_;
    QString modeFile_;
};

// Helpers the screen tests reach from QML as the context property `helpers`.
class ScreenTestHelpers : public QuickTestHelpers {
    Q_OBJECT
    Q_PROPERTY(QString containerPath READ containerPath CONSTANT)
    Q_PROPERTY(QString documentsPath READ documentsPath CONSTANT)
    Q_PROPERTY(QString fakeClaudeLog READ fakeClaudeLog CONSTANT)
    Q_PROPERTY(QString rootPath READ rootPath CONSTANT)
public:
    explicit ScreenTestHelpers(const ScreenTestEnvironment& environment, QObject* parent = nullptr);
    ~ScreenTestHelpers() override;

    QString containerPath() const { return environment_.containerPath(); }
    QString documentsPath() const { return environment_.documentsPath(); }
    QString fakeClaudeLog() const { return environment_.fakeClaudeLog(); }
    QString rootPath() const { return environment_.root(); }

    // Files, by absolute path. writeFile creates missing folders and replaces
    // the file atomically (a reader never sees half of it).
    Q_INVOKABLE bool writeFile(const QString& path, const QString& text) const;
    Q_INVOKABLE QString readFile(const QString& path) const;
    Q_INVOKABLE bool exists(const QString& path) const;
    Q_INVOKABLE bool makeFolder(const QString& path) const;
    Q_INVOKABLE bool removePath(const QString& path) const;

    // The fake `claude`'s mode (see tests/fakes/bin/claude): "exit1",
    // "empty", ... make the calls that start from now on fail; "hold" keeps
    // every call, also one already running, from answering until the mode
    // changes; "" or "normal" answers normally. `text` is the mode's line of
    // text, where it takes one ("stdout-only": what it prints).
    Q_INVOKABLE bool setFakeClaudeMode(const QString& mode, const QString& text = QString()) const;

    // The settings store ("hasSeenOnboarding", "hasLaunchedBefore", ...).
    Q_INVOKABLE bool boolDefault(const QString& key) const;
    Q_INVOKABLE bool hasUserDefault(const QString& key) const;
    Q_INVOKABLE void setBoolDefault(const QString& key, bool value) const;
    Q_INVOKABLE void removeUserDefault(const QString& key) const;

    // Deletes an object now (as a window closing would).
    Q_INVOKABLE void destroyNow(QObject* object) const;

    // A project-guiding model owned by `owner` whose folder service (with an
    // Xcode service of its own) shows a fake folder panel; the other services
    // are the shared ones. The panel of the last such model is answered with
    // answerFolderPanel(): a path confirms it (the folder is made), an empty
    // one cancels.
    Q_INVOKABLE QObject* createProjectGuidingViewModel(QObject* owner);
    Q_INVOKABLE bool isFolderPanelShowing() const;
    Q_INVOKABLE void answerFolderPanel(const QString& path);

private:
    const ScreenTestEnvironment& environment_;
    std::shared_ptr<FakeFolderPanel> folderPanel_;
};

// Loads the fonts and prepares `engine` the way the application does, and
// sets the context property `helpers`.
void prepareScreenEngine(QQmlEngine& engine, ScreenTestHelpers& helpers);

} // namespace orva::test
