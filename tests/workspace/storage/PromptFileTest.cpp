#include "support/TempContext.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/PromptFileService.h"
#include "workspace/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace orva {
namespace {

using test::listTree;
using test::readFile;
using test::writeFile;

// A workspace in temporary folders with a resource folder of the test's own.
class PromptFileTest : public ::testing::Test {
protected:
    PromptFileTest()
    {
        resources = temp.root() + QStringLiteral("/resources");
        QDir().mkpath(resources);
        AppContext context = temp.context();
        context.resourcesPath = resources;
        AppContext::setCurrent(context);
        system = temp.context().containerPath + QStringLiteral("/ZAVE/system");
        project = temp.context().containerPath + QStringLiteral("/ZAVE/project");
    }

    void addResource(const QString& name, const QByteArray& text = {})
    {
        ASSERT_TRUE(writeFile(resources + QLatin1Char('/') + name, text.isEmpty() ? name.toUtf8() : text));
    }

    test::TempContext temp;
    QString resources;
    QString system;
    QString project;
};

struct RoutingCase {
    const char* name;
    const char* installedAs; // relative to ZAVE/system; nullptr = not installed
};

// Every name lands where its first matching rule sends it.
TEST_F(PromptFileTest, RoutesEachDocumentByItsName)
{
    const RoutingCase cases[] = {
        {"agent.docs.Task.json.md", "agents/agent.docs.Task.json.md"}, // prefix beats every later rule
        {"agent.discovery.md", "agents/agent.discovery.md"},
        {"agent.tools.json", "agents/agent.tools.json"},             // any extension
        {"agent._template.md", "agents/agent._template.md"},
        {"Agent.x.md", "Agent.x.md"},                                  // the prefix is case-sensitive
        {"CLAUDE_ENTRYPOINT.md", "system/CLAUDE_ENTRYPOINT.md"},
        {"CONTEXT_STRUCTURE.md", "system/CONTEXT_STRUCTURE.md"},
        {"FLOWS_QA.md", "system/FLOWS_QA.md"},
        {"GLOBAL_RULES.md", "system/GLOBAL_RULES.md"},
        {"INTERNAL_SLOTS.md", "system/INTERNAL_SLOTS.md"},
        {"prd_template.md", "template/prd_template.md"},
        {"Task_json.md", "template/Task_json.md"},
        {"history.md", "state/history.md"},
        {"CLAUDE_SYSTEM.md", "CLAUDE_SYSTEM.md"},
        {".gitignore", ".gitignore"},
        {"CLAUDE_DEV.md", nullptr},     // a project document, not a system one
        {"notes.txt", nullptr},         // neither ".md" nor ".gitignore"
        {"README.MD", nullptr},         // the suffix is case-sensitive
        {"history.md.bak", nullptr},
    };
    QStringList expected = {QStringLiteral("agents/"), QStringLiteral("state/"), QStringLiteral("system/"),
                            QStringLiteral("template/")};
    for (const auto& c : cases) {
        addResource(QString::fromUtf8(c.name));
        if (c.installedAs)
            expected.append(QString::fromUtf8(c.installedAs));
    }
    std::sort(expected.begin(), expected.end());

    EXPECT_FALSE(PromptFileService::shared().setupPromptFiles().has_value());

    EXPECT_EQ(listTree(system), expected);
    EXPECT_EQ(readFile(system + QStringLiteral("/agents/agent.docs.Task.json.md")), "agent.docs.Task.json.md");
}

TEST_F(PromptFileTest, InstallsContextAndSettingsOnlyInTheirPlaces)
{
    addResource(QStringLiteral("context.json"), "{\"step\":1}");
    addResource(QStringLiteral("settings.local.json"), "{\"permissions\":{}}");
    addResource(QStringLiteral("CLAUDE_SYSTEM.md"));

    EXPECT_FALSE(PromptFileService::shared().setupPromptFiles().has_value());

    const QStringList expected = {QStringLiteral(".claude/"), QStringLiteral(".claude/settings.local.json"),
                                  QStringLiteral("CLAUDE_SYSTEM.md"), QStringLiteral("agents/"),
                                  QStringLiteral("state/"), QStringLiteral("state/context.json"),
                                  QStringLiteral("system/"), QStringLiteral("template/")};
    EXPECT_EQ(listTree(system), expected);
    EXPECT_EQ(readFile(system + QStringLiteral("/state/context.json")), "{\"step\":1}");
}

TEST_F(PromptFileTest, WithoutOptionalResourcesNoClaudeFolderIsMade)
{
    addResource(QStringLiteral("CLAUDE_SYSTEM.md"));
    EXPECT_FALSE(PromptFileService::shared().setupPromptFiles().has_value());
    EXPECT_FALSE(QFileInfo::exists(system + QStringLiteral("/.claude")));
    EXPECT_FALSE(QFileInfo::exists(system + QStringLiteral("/state/context.json")));
}

TEST_F(PromptFileTest, ReinstallRemovesStaleDocumentsAndRestoresChangedOnes)
{
    addResource(QStringLiteral("CLAUDE_SYSTEM.md"), "shipped");
    addResource(QStringLiteral("context.json"), "{\"shipped\":true}");
    EXPECT_FALSE(PromptFileService::shared().setupPromptFiles().has_value());

    ASSERT_TRUE(writeFile(system + QStringLiteral("/CLAUDE_SYSTEM.md"), "edited in the workspace"));
    ASSERT_TRUE(writeFile(system + QStringLiteral("/state/context.json"), "{\"shipped\":false}"));
    ASSERT_TRUE(writeFile(system + QStringLiteral("/left-behind.md"), "stale"));
    ASSERT_TRUE(writeFile(system + QStringLiteral("/agents/nested/old.md"), "stale"));

    EXPECT_FALSE(PromptFileService::shared().setupPromptFiles().has_value());

    EXPECT_EQ(readFile(system + QStringLiteral("/CLAUDE_SYSTEM.md")), "shipped");
    EXPECT_EQ(readFile(system + QStringLiteral("/state/context.json")), "{\"shipped\":true}");
    EXPECT_FALSE(QFileInfo::exists(system + QStringLiteral("/left-behind.md")));
    EXPECT_FALSE(QFileInfo::exists(system + QStringLiteral("/agents/nested")));
}

TEST_F(PromptFileTest, AFailedCopyIsReportedAfterTheOthersAreInstalled)
{
    addResource(QStringLiteral("A_GOOD.md"));
    // A folder and a dangling link under document names cannot be copied.
    QDir().mkpath(resources + QStringLiteral("/B_folder.md"));
    ASSERT_TRUE(QFile::link(resources + QStringLiteral("/missing-target"), resources + QStringLiteral("/C_dangling.md")));
    addResource(QStringLiteral("D_GOOD.md"));

    const auto error = PromptFileService::shared().setupPromptFiles();
    ASSERT_TRUE(error.has_value()) << "a failed copy must not pass for a finished installation";
    EXPECT_EQ(error->kind(), PromptFileError::Kind::copyFailed);
    EXPECT_EQ(error->description(), QStringLiteral("Failed to copy prompt file: B_folder.md"));
    EXPECT_TRUE(QFileInfo::exists(system + QStringLiteral("/A_GOOD.md")));
    EXPECT_TRUE(QFileInfo::exists(system + QStringLiteral("/D_GOOD.md")));
}

TEST_F(PromptFileTest, ErrorTextsNameWhatIsMissing)
{
    struct Case {
        const char* label;
        QString container;
        QString resourcesPath;
        QString description;
    };
    const Case cases[] = {
        {"no container", QString(), resources, QStringLiteral("Cannot access App Group container")},
        {"no resource folder path", temp.context().containerPath, QString(),
         QStringLiteral("Prompt file not found in bundle: Bundle resource path not found")},
        {"resource folder missing", temp.context().containerPath, temp.root() + QStringLiteral("/nowhere"),
         QStringLiteral("Prompt file not found in bundle: Could not read bundle resources")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        AppContext context = temp.context();
        context.containerPath = c.container;
        context.resourcesPath = c.resourcesPath;
        AppContext::setCurrent(context);
        for (int step = 0; step < 2; ++step) {
            const auto error = step == 0 ? PromptFileService::shared().setupPromptFiles()
                                         : PromptFileService::shared().copyProjectFiles();
            ASSERT_TRUE(error.has_value()) << "expected an error";
            EXPECT_EQ(error->description(), c.description);
        }
    }
}

TEST_F(PromptFileTest, ALinkInPlaceOfTheSystemFolderIsReplacedNotFollowed)
{
    const QString outside = temp.root() + QStringLiteral("/outside");
    ASSERT_TRUE(writeFile(outside + QStringLiteral("/precious.txt"), "keep me"));
    QDir().mkpath(temp.context().containerPath + QStringLiteral("/ZAVE"));
    ASSERT_TRUE(QFile::link(outside, system));
    addResource(QStringLiteral("CLAUDE_SYSTEM.md"));

    EXPECT_FALSE(PromptFileService::shared().setupPromptFiles().has_value());

    EXPECT_FALSE(QFileInfo(system).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(system + QStringLiteral("/CLAUDE_SYSTEM.md")));
    EXPECT_EQ(listTree(outside), QStringList{QStringLiteral("precious.txt")});
}

TEST_F(PromptFileTest, ProjectDocumentsReplaceEarlierCopies)
{
    addResource(QStringLiteral("CLAUDE_DEV.md"), "shipped dev guide");
    ASSERT_TRUE(writeFile(project + QStringLiteral("/CLAUDE_DEV.md"), "old"));

    testing::internal::CaptureStdout();
    EXPECT_FALSE(PromptFileService::shared().copyProjectFiles().has_value());
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(readFile(project + QStringLiteral("/CLAUDE_DEV.md")), "shipped dev guide");
    EXPECT_NE(out.find("[PromptFileService] Successfully copied CLAUDE_DEV.md to ZAVE/project"), std::string::npos);
}

TEST_F(PromptFileTest, AMissingProjectDocumentIsNotAnError)
{
    QDir(project).removeRecursively();
    EXPECT_FALSE(PromptFileService::shared().copyProjectFiles().has_value());
    EXPECT_TRUE(QFileInfo(project).isDir());
    EXPECT_FALSE(QFileInfo::exists(project + QStringLiteral("/CLAUDE_DEV.md")));
}

} // namespace
} // namespace orva
