#include "ScreenTestEnvironment.h"

#include "fakes/FakeCalls.h"
#include "platform/AppContext.h"
#include "platform/UserDefaults.h"
#include "support/TempContext.h"
#include "ui/design/DesignTokens.h"
#include "ui/screens/ScreenModules.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"
#include "workspace/XcodeService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSaveFile>

#include <cstdio>
#include <unistd.h>

namespace orva::test {

ScreenTestEnvironment::ScreenTestEnvironment()
{
    const QString base = dir_.path();
    installFakeMachine(base);
    if (qEnvironmentVariableIsEmpty("FAKE_CLAUDE_COMPLETE_DELAY"))
        qputenv("FAKE_CLAUDE_COMPLETE_DELAY", "0.2");
    // Tests switch the fake's failure modes by writing root()/claude.mode.
    if (qEnvironmentVariableIsEmpty("FAKE_CLAUDE_MODE_FILE"))
        qputenv("FAKE_CLAUDE_MODE_FILE", (base + QStringLiteral("/claude.mode")).toUtf8());
    modeFile_ = qEnvironmentVariable("FAKE_CLAUDE_MODE_FILE");
    if (qEnvironmentVariableIsEmpty("FAKE_CLAUDE_PLAN_STEP_DELAY"))
        qputenv("FAKE_CLAUDE_PLAN_STEP_DELAY", "0.1");

    AppContext context;
    context.containerPath = containerPath();
    context.documentsPath = documentsPath();
    context.homePath = home();
    context.settingsPath = base + QStringLiteral("/xdg/config/orva.ini");
    context.resourcesPath = builtResourcesPath();
    AppContext::setCurrent(context);
}

ScreenTestEnvironment::~ScreenTestEnvironment() = default;

QString ScreenTestEnvironment::home() const { return dir_.path() + QStringLiteral("/home"); }
QString ScreenTestEnvironment::containerPath() const { return dir_.path() + QStringLiteral("/container"); }
QString ScreenTestEnvironment::documentsPath() const { return dir_.path() + QStringLiteral("/Documents"); }
QString ScreenTestEnvironment::fakeClaudeLog() const { return dir_.path() + QStringLiteral("/calls.log"); }

ScreenTestHelpers::ScreenTestHelpers(const ScreenTestEnvironment& environment, QObject* parent)
    : QuickTestHelpers(parent)
    , environment_(environment)
{
}

ScreenTestHelpers::~ScreenTestHelpers() = default;

bool ScreenTestHelpers::writeFile(const QString& path, const QString& text) const
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

QString ScreenTestHelpers::readFile(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

bool ScreenTestHelpers::exists(const QString& path) const { return QFileInfo::exists(path); }
bool ScreenTestHelpers::makeFolder(const QString& path) const { return QDir().mkpath(path); }

bool ScreenTestHelpers::removePath(const QString& path) const
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

bool ScreenTestHelpers::setFakeClaudeMode(const QString& mode, const QString& text) const
{
    const QString file = environment_.fakeClaudeModeFile();
    if (mode.isEmpty() || mode == QLatin1String("normal"))
        return !QFileInfo::exists(file) || QFile::remove(file);
    return writeFile(file, mode + QLatin1Char('\n') + (text.isEmpty() ? QString() : text + QLatin1Char('\n')));
}

bool ScreenTestHelpers::boolDefault(const QString& key) const { return UserDefaults::boolValue(key); }
bool ScreenTestHelpers::hasUserDefault(const QString& key) const { return UserDefaults::contains(key); }
void ScreenTestHelpers::setBoolDefault(const QString& key, bool value) const { UserDefaults::setBool(key, value); }
void ScreenTestHelpers::removeUserDefault(const QString& key) const { UserDefaults::remove(key); }

void ScreenTestHelpers::destroyNow(QObject* object) const { delete object; }

QObject* ScreenTestHelpers::createProjectGuidingViewModel(QObject* owner)
{
    folderPanel_ = std::make_shared<FakeFolderPanel>();
    auto* directory = new DirectoryAccessService(folderPanel_);
    auto* xcode = new XcodeService(*directory);
    WorkflowServices services;
    services.directoryAccess = directory;
    services.xcode = xcode;
    auto* model = new ProjectGuidingViewModel(services, owner);
    // The model's own services go with it.
    directory->setParent(model);
    xcode->setParent(model);
    QQmlEngine::setObjectOwnership(model, QQmlEngine::CppOwnership);
    return model;
}

bool ScreenTestHelpers::isFolderPanelShowing() const
{
    return folderPanel_ && folderPanel_->isShowing();
}

void ScreenTestHelpers::answerFolderPanel(const QString& path)
{
    if (folderPanel_)
        folderPanel_->answer(path.isEmpty() ? PanelResponse::cancel : PanelResponse::ok, path);
}

void prepareScreenEngine(QQmlEngine& engine, ScreenTestHelpers& helpers)
{
    DesignTokens::loadDesignFonts();
    prepareQmlEngine(engine);
    engine.rootContext()->setContextProperty(QStringLiteral("helpers"), &helpers);
}

} // namespace orva::test
