#include "support/TempContext.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/LocalStorageService.h"
#include "workspace/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace orva {
namespace {

using test::listTree;
using test::readFile;
using test::writeFile;

class StorageTest : public ::testing::Test {
protected:
    QString container() const { return temp.context().containerPath; }
    QString projectFolder() const { return container() + QStringLiteral("/ZAVE/project"); }

    test::TempContext temp;
};

TEST_F(StorageTest, FirstUseCreatesTheBaseFolders)
{
    AppGroupStorageService storage;
    EXPECT_TRUE(QFileInfo(container() + QStringLiteral("/ZAVE")).isDir());
    EXPECT_TRUE(QFileInfo(projectFolder()).isDir());
    EXPECT_EQ(storage.url(QStringLiteral("Task.json"), QStringLiteral("ZAVE/project/")),
              projectFolder() + QStringLiteral("/Task.json"));
}

TEST_F(StorageTest, WithoutAContainerNothingIsFound)
{
    AppContext context = temp.context();
    context.containerPath.clear();
    AppContext::setCurrent(context);
    AppGroupStorageService storage;
    EXPECT_FALSE(storage.url(QStringLiteral("a"), QStringLiteral("ZAVE")).has_value());
    EXPECT_FALSE(storage.loadFile(QStringLiteral("a"), QStringLiteral("ZAVE")).has_value());
    EXPECT_FALSE(storage.createDirectory(QStringLiteral("ZAVE")).has_value());
    storage.saveFile(QStringLiteral("x"), QStringLiteral("a"), QStringLiteral("ZAVE")); // must not crash
}

TEST_F(StorageTest, SavedTextReadsBackAndTheMissingFolderIsCreated)
{
    AppGroupStorageService storage;
    QDir(container() + QStringLiteral("/ZAVE")).removeRecursively();
    const QString text = QStringLiteral("{\"status\":\"in_progress\",\"memo\":\"인터뷰 🙂\"}");

    storage.saveFile(text, QStringLiteral("interview_state.json"), QStringLiteral("ZAVE"));
    storage.saveFile(text + QStringLiteral(" "), QStringLiteral("interview_state.json"), QStringLiteral("ZAVE"));

    EXPECT_EQ(storage.loadFile(QStringLiteral("interview_state.json"), QStringLiteral("ZAVE")), text + QStringLiteral(" "));
    // The write goes through a temporary file that is renamed away: nothing else is left.
    EXPECT_EQ(listTree(container() + QStringLiteral("/ZAVE")), QStringList{QStringLiteral("interview_state.json")});
}

TEST_F(StorageTest, LoadingFailsOnMissingFilesAndOnBytesThatAreNotUtf8)
{
    AppGroupStorageService storage;
    struct Case {
        const char* label;
        QByteArray bytes; // empty = no file at all
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"missing", QByteArray(), std::nullopt},
        {"valid", QByteArrayLiteral("완료 \xF0\x9F\x8E\x89"), QStringLiteral("완료 🎉")},
        {"invalid byte", QByteArrayLiteral("ab\xFF" "cd"), std::nullopt},
        {"overlong encoding", QByteArrayLiteral("\xC0\xAF"), std::nullopt},
        {"cut off at the end", QByteArrayLiteral("ok \xEC\x99"), std::nullopt},
        {"lone surrogate", QByteArrayLiteral("\xED\xA0\x80"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString name = QString::fromLatin1(c.label).replace(QLatin1Char(' '), QLatin1Char('_'));
        if (!c.bytes.isEmpty()) {
            ASSERT_TRUE(writeFile(container() + QStringLiteral("/ZAVE/") + name, c.bytes));
        }
        EXPECT_EQ(storage.loadFile(name, QStringLiteral("ZAVE")), c.expected);
    }
}

TEST_F(StorageTest, ClearingEmptiesEverythingButNeverFollowsALink)
{
    AppGroupStorageService storage;
    const QString outside = temp.root() + QStringLiteral("/outside");
    ASSERT_TRUE(writeFile(outside + QStringLiteral("/keep.txt"), "target stays"));
    ASSERT_TRUE(writeFile(outside + QStringLiteral("/inner/keep2.txt"), "target stays"));

    ASSERT_TRUE(writeFile(projectFolder() + QStringLiteral("/PRD.md"), "prd"));
    ASSERT_TRUE(writeFile(projectFolder() + QStringLiteral("/.hidden"), "h"));
    ASSERT_TRUE(writeFile(projectFolder() + QStringLiteral("/.claude/settings.json"), "{}"));
    ASSERT_TRUE(writeFile(projectFolder() + QStringLiteral("/deep/er/still/file.swift"), "x"));
    ASSERT_TRUE(QFile::link(outside, projectFolder() + QStringLiteral("/linked-folder")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/keep.txt"), projectFolder() + QStringLiteral("/linked-file")));
    ASSERT_TRUE(QFile::link(outside, projectFolder() + QStringLiteral("/deep/link-inside")));
    ASSERT_TRUE(QFile::link(temp.root() + QStringLiteral("/gone"), projectFolder() + QStringLiteral("/dangling")));

    storage.clearProjectFolder();

    EXPECT_TRUE(QFileInfo(projectFolder()).isDir());
    EXPECT_EQ(listTree(projectFolder()), QStringList());
    EXPECT_EQ(listTree(outside), (QStringList{QStringLiteral("inner/"), QStringLiteral("inner/keep2.txt"),
                                              QStringLiteral("keep.txt")}));
}

TEST_F(StorageTest, AProjectFolderThatIsALinkIsReplacedByAnEmptyFolder)
{
    AppGroupStorageService storage;
    const QString outside = temp.root() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(writeFile(outside + QStringLiteral("/keep.txt"), "target stays"));
    QDir(projectFolder()).removeRecursively();
    ASSERT_TRUE(QFile::link(outside, projectFolder()));

    storage.clearProjectFolder();

    EXPECT_FALSE(QFileInfo(projectFolder()).isSymLink());
    EXPECT_TRUE(QFileInfo(projectFolder()).isDir());
    EXPECT_EQ(listTree(outside), QStringList{QStringLiteral("keep.txt")});
}

TEST_F(StorageTest, ClearingAMissingProjectFolderLeavesItMissing)
{
    AppGroupStorageService storage;
    QDir(projectFolder()).removeRecursively();
    testing::internal::CaptureStdout();
    storage.clearProjectFolder();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(QFileInfo::exists(projectFolder()));
    EXPECT_NE(out.find("ZAVE/project 폴더가 없음, 생성 건너뜀 (이후 자동 생성)"), std::string::npos);
}

TEST_F(StorageTest, TranscriptIsSavedIntoAMissingDocumentsFolder)
{
    QDir(temp.context().documentsPath).removeRecursively();
    LocalStorageService local;
    const QList<ChatHistory> turns = {{1, QStringLiteral("User"), QStringLiteral("할 일 앱")},
                                      {2, QStringLiteral("Claude"), QStringLiteral("누가 쓰나요?")}};
    local.save(turns, QStringLiteral("chat_history.json"));

    const QString path = local.url(QStringLiteral("chat_history.json"));
    EXPECT_EQ(path, temp.context().documentsPath + QStringLiteral("/chat_history.json"));
    const auto decoded = decodeChatHistoryList(readFile(path));
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->size(), 2);
    EXPECT_EQ(decoded->at(1).answer, QStringLiteral("누가 쓰나요?"));
    EXPECT_EQ(listTree(temp.context().documentsPath), QStringList{QStringLiteral("chat_history.json")});
}

} // namespace
} // namespace orva
