#include "WorkTestRig.h"

#include "fakes/FakeCalls.h"
#include "model/ProjectModel.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include "terminal/LocalProcessTerminalView.h"
#include "terminal/ProcessInfo.h"
#include "terminal/core/ScreenText.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QQmlEngine>

#include <algorithm>

#include <signal.h>
#include <unistd.h>

namespace orva::test {

WorkTestRig::WorkTestRig(QObject* parent)
    : QObject(parent)
    , panel_(std::make_shared<FakeFolderPanel>())
{
}

WorkTestRig::~WorkTestRig() = default;

QObject* WorkTestRig::createWorkViewModel(QObject* owner)
{
    QObject* parent = owner ? owner : this;
    auto* directory = new DirectoryAccessService(panel_, [](const QString&) { return true; }, parent);
    auto* xcode = new XcodeService(*directory, directory);
    WorkflowServices services;
    services.directoryAccess = directory;
    services.xcode = xcode;
    auto* model = new WorkViewModel(services, parent);
    // The services outlive the model: both are children of `parent`, the
    // model made last is destroyed first.
    QQmlEngine::setObjectOwnership(model, QQmlEngine::CppOwnership);
    lastDirectory_ = directory;
    return model;
}

void WorkTestRig::chooseFolder(const QString& folder)
{
    auto* directory = qobject_cast<DirectoryAccessService*>(lastDirectory_);
    if (!directory)
        return;
    QDir().mkpath(folder);
    directory->saveBookmark(folder);
    directory->restoreBookmark();
}

void WorkTestRig::answerPanel(const QString& folder)
{
    QDir().mkpath(folder);
    panel_->answer(PanelResponse::ok, folder);
    emit panelChanged();
}

void WorkTestRig::cancelPanel()
{
    panel_->answer(PanelResponse::cancel);
    emit panelChanged();
}

QVariant WorkTestRig::decodeProject(const QString& json) const
{
    const auto wrapper = decodeProjectWrapper(json.toUtf8());
    return wrapper ? QVariant::fromValue(wrapper->project) : QVariant();
}

QVariantList WorkTestRig::interactiveCalls() const
{
    QVariantList calls;
    for (const FakeCall& call : fakeCallsOfKind(qEnvironmentVariable("FAKE_CLAUDE_LOG"), QStringLiteral("interactive"))) {
        QVariantMap entry;
        entry.insert(QStringLiteral("pid"), call.pid);
        entry.insert(QStringLiteral("cwd"), call.cwd);
        entry.insert(QStringLiteral("messages"), call.messages);
        entry.insert(QStringLiteral("lines"), call.lines);
        entry.insert(QStringLiteral("done"), call.doneOrder >= 0);
        entry.insert(QStringLiteral("plans"), static_cast<int>(call.plans.size()));
        calls.append(entry);
    }
    return calls;
}

QStringList WorkTestRig::childProcesses() const
{
    return orva::test::childProcesses();
}

bool WorkTestRig::isRunning(qint64 pid) const
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

bool WorkTestRig::isStopped(qint64 pid) const
{
    const auto info = processInfo(static_cast<pid_t>(pid));
    return info && info->stopped;
}

bool WorkTestRig::signalProcess(qint64 pid, const QString& name) const
{
    const int signal = name == QStringLiteral("TERM")   ? SIGTERM
                       : name == QStringLiteral("KILL") ? SIGKILL
                       : name == QStringLiteral("STOP") ? SIGSTOP
                       : name == QStringLiteral("CONT") ? SIGCONT
                                                        : 0;
    return pid > 0 && signal != 0 && ::kill(static_cast<pid_t>(pid), signal) == 0;
}

bool WorkTestRig::setFakeClaudeStart(const QString& mode) const
{
    // Beside the fake's log, in the test's own machine; read by the fake at
    // each start, so the terminal's shell needs only the variable.
    const QString file = QFileInfo(qEnvironmentVariable("FAKE_CLAUDE_LOG")).absolutePath() + QStringLiteral("/claude.start");
    qputenv("FAKE_CLAUDE_START_FILE", file.toUtf8());
    if (mode.isEmpty())
        return !QFile::exists(file) || QFile::remove(file);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return out.write((mode + QLatin1Char('\n')).toUtf8()) > 0;
}

void WorkTestRig::setEnvironment(const QString& name, const QString& value) const
{
    if (value.isEmpty())
        qunsetenv(name.toUtf8().constData());
    else
        qputenv(name.toUtf8().constData(), value.toUtf8());
}

QString WorkTestRig::screenText(QObject* terminalView) const
{
    auto* view = qobject_cast<LocalProcessTerminalView*>(terminalView);
    if (!view)
        return {};
    QStringList rows;
    for (const std::string& row : screenLines(view->terminal()))
        rows << QString::fromStdString(row);
    return rows.join(QLatin1Char('\n'));
}

QString WorkTestRig::useRealClaude() const
{
    const QString claude = qEnvironmentVariable("ORVA_REAL_CLAUDE");
    if (claude.isEmpty() || !QFileInfo(claude).isExecutable())
        return {};
    const QString home = qEnvironmentVariable("HOME");
    QFile config(home + QStringLiteral("/.claude.json"));
    if (!config.exists()) {
        if (!config.open(QIODevice::WriteOnly))
            return {};
        config.write("{\"hasCompletedOnboarding\": true}\n");
        config.close();
    }
    qputenv("PATH", (QFileInfo(claude).absolutePath() + QLatin1Char(':') + qEnvironmentVariable("PATH")).toUtf8());
    qputenv("DISABLE_AUTOUPDATER", "1");
    for (const char* name : {"ANTHROPIC_API_KEY", "ANTHROPIC_AUTH_TOKEN", "CLAUDE_CODE_OAUTH_TOKEN"})
        qunsetenv(name);
    if (::geteuid() == 0)
        qputenv("IS_SANDBOX", "1");
    return claude;
}

QStringList WorkTestRig::realClaudeMessages() const
{
    struct Message {
        QString at;
        QString text;
    };
    QList<Message> messages;
    const QDir projects(qEnvironmentVariable("HOME") + QStringLiteral("/.claude/projects"));
    for (const QFileInfo& folder : projects.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo& transcript : QDir(folder.filePath()).entryInfoList({QStringLiteral("*.jsonl")}, QDir::Files)) {
            QFile file(transcript.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray& line : file.readAll().split('\n')) {
                const QJsonObject entry = QJsonDocument::fromJson(line).object();
                if (entry.value(QStringLiteral("type")).toString() != QStringLiteral("user")
                    || entry.value(QStringLiteral("promptSource")).toString() != QStringLiteral("typed"))
                    continue;
                const QJsonValue content = entry.value(QStringLiteral("message")).toObject().value(QStringLiteral("content"));
                if (content.isString())
                    messages.append({entry.value(QStringLiteral("timestamp")).toString(), content.toString()});
            }
        }
    }
    std::stable_sort(messages.begin(), messages.end(), [](const Message& a, const Message& b) { return a.at < b.at; });
    QStringList texts;
    for (const Message& message : messages)
        texts << message.text;
    return texts;
}

} // namespace orva::test

static void registerWorkTestRig()
{
    qmlRegisterType<orva::test::WorkTestRig>("Orva.Test.Work", 1, 0, "WorkTestRig");
}
Q_COREAPP_STARTUP_FUNCTION(registerWorkTestRig)
