// The prompts the application really sends name documents by "@" paths, and
// the work screen points `claude` at the development guide: after an
// installation every one of those paths must be an installed document.

#include "ResourceFiles.h"

#include "support/TempContext.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workflow/WorkViewModel.h"
#include "workspace/PromptFileService.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace orva {
namespace {

QStringList atPaths(const QString& prompt)
{
    QStringList paths;
    const QRegularExpression re(QStringLiteral("@(ZAVE/[A-Za-z0-9_./-]*[A-Za-z0-9_])"));
    for (auto it = re.globalMatch(prompt); it.hasNext();)
        paths.append(it.next().captured(1));
    return paths;
}

class PromptPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto installError = PromptFileService::shared().setupPromptFiles();
        ASSERT_FALSE(installError.has_value()) << installError->description().toStdString();
        const auto copyError = PromptFileService::shared().copyProjectFiles();
        ASSERT_FALSE(copyError.has_value()) << copyError->description().toStdString();
    }

    QFileInfo inWorkspace(const QString& relative) const
    {
        return QFileInfo(QDir(context_.context().containerPath).filePath(relative));
    }

    test::TempContext context_;
};

TEST_F(PromptPaths, EveryDocumentThePromptsNameIsInstalled)
{
    const QString documentPath = QStringLiteral("@") + PromptFileService::shared().promptDirectory
        + QStringLiteral("/agents/agent.docs.prd.md");
    struct Case {
        const char* prompt;
        QString text;
        int minimumPaths;
    };
    const Case cases[] = {
        {"opening", ClaudeProcessService::openingPrompt(), 3},
        {"interview", ClaudeProcessService::interviewPrompt(QStringLiteral("물 마시는 걸 잊어요")), 3},
        {"documents", ClaudeProcessService::documentPrompt(documentPath), 4},
        {"task plan", ProjectGuidingViewModel::taskPlanPrompt(), 4},
    };
    // Written by the application or by `claude` while the prompt runs.
    const QStringList produced = {QStringLiteral("ZAVE/interview_state.json"), QStringLiteral("ZAVE/project")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        const QStringList paths = atPaths(c.text);
        EXPECT_GE(paths.size(), c.minimumPaths);
        for (const QString& path : paths) {
            if (produced.contains(path))
                continue;
            EXPECT_TRUE(inWorkspace(path).isFile()) << path.toStdString();
        }
    }
}

TEST_F(PromptPaths, TheWorkScreenPointsAtTheInstalledGuide)
{
    WorkViewModel model;
    const auto guide = model.promptFilePath();
    ASSERT_TRUE(guide.has_value());
    EXPECT_TRUE(QFileInfo(*guide).isFile()) << guide->toStdString();
    // The guide finds the task plan beside itself.
    EXPECT_EQ(QFileInfo(*guide).absolutePath(), inWorkspace(QStringLiteral("ZAVE/project")).absoluteFilePath());
}

TEST(PromptTexts, TheGuideQuotesTheStartOfWorkSentence)
{
    const QString sentence = WorkViewModel::startOfWorkInstruction().trimmed();
    ASSERT_FALSE(sentence.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(test::readResource(QStringLiteral("CLAUDE_DEV.md"))).contains(sentence))
        << sentence.toStdString();
}

} // namespace
} // namespace orva
