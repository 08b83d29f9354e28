// Installs the shipped prompt documents into a temporary workspace with the
// system's own installer and checks that every document lands where the
// prompts and the documents themselves point.

#include "ResourceFiles.h"

#include "model/ProjectModel.h"
#include "support/TempContext.h"
#include "workspace/PromptFileService.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace orva {
namespace {

class PromptInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto installError = PromptFileService::shared().setupPromptFiles();
        ASSERT_FALSE(installError.has_value()) << installError->description().toStdString();
        const auto copyError = PromptFileService::shared().copyProjectFiles();
        ASSERT_FALSE(copyError.has_value()) << copyError->description().toStdString();
    }

    QString workspacePath(const QString& relative) const { return QDir(context_.context().containerPath).filePath(relative); }
    bool existsInWorkspace(const QString& relative) const { return QFileInfo(workspacePath(relative)).isFile(); }

    // Every file below "ZAVE", as a path relative to the container.
    QSet<QString> installedFiles() const
    {
        QSet<QString> files;
        const QDir container(context_.context().containerPath);
        QDirIterator it(workspacePath(QStringLiteral("ZAVE")), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.insert(container.relativeFilePath(it.next()));
        return files;
    }

    test::TempContext context_;
};

TEST_F(PromptInstall, EveryPathThePromptsNameIsInstalled)
{
    // The "@" paths of the opening, interview, document and task-plan prompts,
    // and the development guide that the work screen points at.
    const char* const prompted[] = {
        "ZAVE/system/CLAUDE_SYSTEM.md",
        "ZAVE/system/system/FLOWS_QA.md",
        "ZAVE/system/agents/agent.discovery.md",
        "ZAVE/system/system/CLAUDE_ENTRYPOINT.md",
        "ZAVE/system/state/context.json",
        "ZAVE/system/agents/agent.docs.prd.md",
        "ZAVE/system/agents/agent.docs.RQ.md",
        "ZAVE/system/agents/agent.docs.Task.md",
        "ZAVE/system/agents/agent.docs.Task.json.md",
        "ZAVE/project/CLAUDE_DEV.md",
    };
    for (const char* path : prompted)
        EXPECT_TRUE(existsInWorkspace(QString::fromUtf8(path))) << path;
}

TEST_F(PromptInstall, TheWorkspaceHoldsExactlyTheRoutedSet)
{
    const QSet<QString> expected = {
        QStringLiteral("ZAVE/system/CLAUDE_SYSTEM.md"),
        QStringLiteral("ZAVE/system/system/CLAUDE_ENTRYPOINT.md"),
        QStringLiteral("ZAVE/system/system/CONTEXT_STRUCTURE.md"),
        QStringLiteral("ZAVE/system/system/FLOWS_QA.md"),
        QStringLiteral("ZAVE/system/system/GLOBAL_RULES.md"),
        QStringLiteral("ZAVE/system/system/INTERNAL_SLOTS.md"),
        QStringLiteral("ZAVE/system/agents/agent.discovery.md"),
        QStringLiteral("ZAVE/system/agents/agent.docs.prd.md"),
        QStringLiteral("ZAVE/system/agents/agent.docs.RQ.md"),
        QStringLiteral("ZAVE/system/agents/agent.docs.Task.md"),
        QStringLiteral("ZAVE/system/agents/agent.docs.Task.json.md"),
        QStringLiteral("ZAVE/system/agents/agent.check_task_json.py"),
        QStringLiteral("ZAVE/system/agents/agent.task_status.py"),
        QStringLiteral("ZAVE/system/template/PRD_template.md"),
        QStringLiteral("ZAVE/system/template/RQ_template.md"),
        QStringLiteral("ZAVE/system/template/Task_template.md"),
        QStringLiteral("ZAVE/system/template/Task_json.md"),
        QStringLiteral("ZAVE/system/state/context.json"),
        QStringLiteral("ZAVE/system/state/history.md"),
        QStringLiteral("ZAVE/project/CLAUDE_DEV.md"),
    };
    const QSet<QString> installed = installedFiles();
    for (const QString& path : expected)
        EXPECT_TRUE(installed.contains(path)) << "missing: " << path.toStdString();
    for (const QString& path : installed)
        EXPECT_TRUE(expected.contains(path)) << "unexpected: " << path.toStdString();
}

TEST_F(PromptInstall, TheInstalledJsonFilesAreValid)
{
    QFile file(workspacePath(QStringLiteral("ZAVE/system/state/context.json")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isObject());
}

TEST_F(PromptInstall, NoPermissionSettingsWhereTheCliWouldNotReadThem)
{
    // `claude` reads ".claude" of the folder it runs in (the container, the
    // project folder), never "ZAVE/system/.claude"; none is shipped.
    EXPECT_FALSE(QFileInfo::exists(workspacePath(QStringLiteral("ZAVE/system/.claude"))));
    EXPECT_FALSE(QFileInfo::exists(QDir(test::builtResourcesPath()).filePath(QStringLiteral("settings.local.json"))));
}

TEST_F(PromptInstall, TheInstalledStatusScriptChangesThePlanBesideTheGuide)
{
    // Run as the guide tells `claude` to run it: from the installed agents
    // folder, on the plan beside the guide; it finds the checker beside itself.
    if (test::python3().isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    const QString plan = workspacePath(QStringLiteral("ZAVE/project/Task.json"));
    QFile file(plan);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(test::templatePlanExample());
    file.close();
    const QString script = workspacePath(QStringLiteral("ZAVE/system/agents/agent.task_status.py"));
    const test::ScriptRun run = test::runPythonScript(
        script, {plan, QStringLiteral("1"), QStringLiteral("inProgress"), QStringLiteral("pending")});
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto wrapper = decodeProjectWrapper(file.readAll());
    ASSERT_TRUE(wrapper.has_value());
    EXPECT_EQ(wrapper->project.milestones.first().tasks.first().status, TaskStatus::inProgress);
}

// Files that exist only once `claude` or the application has written them.
bool writtenAtRunTime(const QString& path)
{
    static const QSet<QString> names = {
        QStringLiteral("ZAVE/project/PRD.md"),  QStringLiteral("ZAVE/project/RQ.md"),
        QStringLiteral("ZAVE/project/Task.md"), QStringLiteral("ZAVE/project/Task.json"),
        QStringLiteral("ZAVE/interview_state.json"),
    };
    return names.contains(path);
}

TEST_F(PromptInstall, EveryWorkspacePathTheDocumentsMentionResolves)
{
    // "ZAVE/..." paths as the interview and document phases use them, and the
    // "W/..." paths of the development guide, W being the guide's own folder.
    const QRegularExpression zavePath(QStringLiteral("ZAVE/[A-Za-z0-9_./-]*[A-Za-z0-9_]"));
    const QRegularExpression guidePath(QStringLiteral("(?:<W>|\\bW)/([A-Za-z0-9_./-]*[A-Za-z0-9_])"));
    const QString guideFolder = QStringLiteral("ZAVE/project");
    int checked = 0;
    for (const QString& document : installedFiles()) {
        if (!document.endsWith(QLatin1String(".md")))
            continue;
        QFile file(workspacePath(document));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QSet<QString> mentioned;
        for (auto it = zavePath.globalMatch(text); it.hasNext();)
            mentioned.insert(it.next().captured(0));
        if (document == QLatin1String("ZAVE/project/CLAUDE_DEV.md")) {
            for (auto it = guidePath.globalMatch(text); it.hasNext();)
                mentioned.insert(QDir::cleanPath(guideFolder + u'/' + it.next().captured(1)));
        }
        for (const QString& path : mentioned) {
            const QFileInfo info(workspacePath(path));
            if (writtenAtRunTime(path) || info.isDir())
                continue;
            // A path that names a folder-like prefix ("ZAVE/project") is fine.
            EXPECT_TRUE(info.isFile()) << document.toStdString() << " mentions " << path.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

} // namespace
} // namespace orva
