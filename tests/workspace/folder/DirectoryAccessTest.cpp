#include "platform/UserDefaults.h"
#include "support/TempContext.h"
#include "support/FakeFolderPanel.h"
#include "support/Waiting.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/FolderBookmark.h"
#include "workspace/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace orva {
namespace {

class DirectoryAccessTest : public ::testing::Test {
protected:
    QString folder(const QString& name) const { return temp.root() + QLatin1Char('/') + name; }

    static void storeBookmarkFor(const QString& path)
    {
        const auto bookmark = FolderBookmark::create(path, nullptr);
        ASSERT_TRUE(bookmark.has_value());
        UserDefaults::setData(QString::fromLatin1(UserDefaults::kTerminalDirectoryBookmark), bookmark->encode());
    }

    static bool keyStored() { return UserDefaults::contains(QString::fromLatin1(UserDefaults::kTerminalDirectoryBookmark)); }

    test::TempContext temp;
    std::shared_ptr<FakeFolderPanel> panel = std::make_shared<FakeFolderPanel>();
};

TEST_F(DirectoryAccessTest, RestoringTheBookmarkAtCreation)
{
    enum class Setup { none, valid, deleted, replaced, unreadable, garbage, aFile };
    struct Case {
        const char* label;
        Setup setup;
        bool restored;
        const char* line; // what the restore prints
    };
    const Case cases[] = {
        {"no stored key", Setup::none, false, nullptr},
        {"valid", Setup::valid, true, "Restored directory access: "},
        {"folder deleted", Setup::deleted, false, "Failed to resolve bookmark: "},
        {"folder replaced by another of the same name", Setup::replaced, false,
         "⚠️ Bookmark is stale, need to re-select directory"},
        {"folder unreadable", Setup::unreadable, false, "Failed to access security-scoped resource"},
        {"garbage bytes", Setup::garbage, false, "Failed to resolve bookmark: "},
        {"a file where the folder was", Setup::aFile, false, "Failed to resolve bookmark: "},
    };
    const bool privileged = test::ignoresFolderPermissions(temp.root());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = folder(QString::fromLatin1(c.label).replace(QLatin1Char(' '), QLatin1Char('_')));
        ASSERT_TRUE(QDir().mkpath(path));
        std::function<bool(const QString&)> probe;
        switch (c.setup) {
        case Setup::none:
            UserDefaults::remove(QString::fromLatin1(UserDefaults::kTerminalDirectoryBookmark));
            break;
        case Setup::valid:
            storeBookmarkFor(path);
            break;
        case Setup::deleted:
            storeBookmarkFor(path);
            ASSERT_TRUE(QDir(path).removeRecursively());
            break;
        case Setup::replaced: {
            storeBookmarkFor(path);
            // The new folder is made while the old one still exists, so it
            // cannot get the old one's identity back.
            ASSERT_TRUE(QDir().rename(path, path + QStringLiteral(".old")));
            ASSERT_TRUE(QDir().mkpath(path));
            ASSERT_TRUE(QDir(path + QStringLiteral(".old")).removeRecursively());
            break;
        }
        case Setup::unreadable:
            storeBookmarkFor(path);
            QFile::setPermissions(path, QFileDevice::Permissions());
            // Running with the right to open any folder, permissions do not
            // refuse access; stand in for the refusal the platform would give.
            if (privileged)
                probe = [](const QString&) { return false; };
            break;
        case Setup::garbage:
            UserDefaults::setData(QString::fromLatin1(UserDefaults::kTerminalDirectoryBookmark),
                                  QByteArrayLiteral("\x00\x01not a bookmark"));
            break;
        case Setup::aFile:
            storeBookmarkFor(path);
            ASSERT_TRUE(QDir(path).removeRecursively());
            ASSERT_TRUE(test::writeFile(path, "file"));
            break;
        }

        testing::internal::CaptureStdout();
        auto service = std::make_unique<DirectoryAccessService>(panel, probe);
        const std::string out = testing::internal::GetCapturedStdout();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        EXPECT_EQ(service->hasAccess(), c.restored);
        EXPECT_EQ(service->selectedDirectory(), c.restored ? QDir::cleanPath(path) : QString());
        EXPECT_EQ(keyStored(), c.restored);
        EXPECT_EQ(service->securityScopedBookmark().isEmpty(), !c.restored);
        if (c.line)
            EXPECT_NE(out.find(c.line), std::string::npos) << out;
        else
            EXPECT_EQ(out, "");
    }
}

TEST_F(DirectoryAccessTest, AFolderWithoutPermissionsIsRefused)
{
    const QString path = folder(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(path));
    if (test::ignoresFolderPermissions(temp.root()))
        GTEST_SKIP() << "this process may open any folder whatever its permissions (running as root)";
    QFile::setPermissions(path, QFileDevice::Permissions());
    EXPECT_FALSE(FolderBookmark::canAccess(path));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(FolderBookmark::canAccess(path));
}

TEST_F(DirectoryAccessTest, ChoosingAFolderSavesTheBookmarkThenPublishes)
{
    DirectoryAccessService service(panel);
    QSignalSpy folderChanges(&service, &DirectoryAccessService::selectedDirectoryChanged);
    QSignalSpy accessChanges(&service, &DirectoryAccessService::hasAccessChanged);
    const QString chosen = folder(QStringLiteral("work"));
    ASSERT_TRUE(QDir().mkpath(chosen));

    service.selectDirectory();
    EXPECT_FALSE(panel->isShowing()); // shown later, on the main loop
    ASSERT_TRUE(test::waitUntil([&] { return panel->isShowing(); }, test::kWaitDeadline));
    ASSERT_TRUE(panel->lastOpenOptions.has_value());
    const OpenPanelOptions& options = *panel->lastOpenOptions;
    EXPECT_FALSE(options.canChooseFiles);
    EXPECT_TRUE(options.canChooseDirectories);
    EXPECT_FALSE(options.allowsMultipleSelection);
    EXPECT_TRUE(options.canCreateDirectories);
    EXPECT_EQ(options.title, QStringLiteral("터미널 작업 디렉토리 선택"));
    EXPECT_EQ(options.message, QStringLiteral("터미널이 사용할 작업 디렉토리를 선택해주세요"));
    EXPECT_EQ(options.prompt, QStringLiteral("선택"));
    EXPECT_EQ(options.directory, temp.context().homePath);

    panel->answer(PanelResponse::ok, chosen);
    EXPECT_TRUE(keyStored());                        // the bookmark first,
    EXPECT_TRUE(service.selectedDirectory().isEmpty()); // the folder after the completion returned
    ASSERT_TRUE(test::waitUntil([&] { return service.hasAccess(); }, test::kWaitDeadline));
    EXPECT_EQ(service.selectedDirectory(), chosen);
    EXPECT_EQ(folderChanges.count(), 1);
    EXPECT_EQ(accessChanges.count(), 1);

    // A new start finds the folder again.
    DirectoryAccessService restarted(panel);
    EXPECT_EQ(restarted.selectedDirectory(), chosen);
}

TEST_F(DirectoryAccessTest, CancellingEitherPanelChangesNothing)
{
    DirectoryAccessService service(panel);
    QSignalSpy folderChanges(&service, &DirectoryAccessService::selectedDirectoryChanged);
    for (int round = 0; round < 2; ++round) {
        if (round == 0)
            service.selectDirectory();
        else
            service.createProjectDirectory();
        ASSERT_TRUE(test::waitUntil([&] { return panel->isShowing(); }, test::kWaitDeadline));
        testing::internal::CaptureStdout();
        panel->answer(PanelResponse::cancel, folder(QStringLiteral("ignored")));
        QTest::qWait(20);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    EXPECT_EQ(folderChanges.count(), 0);
    EXPECT_FALSE(service.hasAccess());
    EXPECT_FALSE(keyStored());
    EXPECT_FALSE(QFileInfo::exists(folder(QStringLiteral("ignored"))));
}

TEST_F(DirectoryAccessTest, CreatingAProjectFolder)
{
    struct Case {
        const char* label;
        QString path;
        bool exists_before;
        bool published;
    };
    ASSERT_TRUE(test::writeFile(folder(QStringLiteral("plainfile")), "x"));
    const Case cases[] = {
        {"new nested folder", folder(QStringLiteral("a/b/MyProject")), false, true},
        {"folder that already exists", folder(QStringLiteral("existing")), true, true},
        {"below a file", folder(QStringLiteral("plainfile/MyProject")), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.exists_before) {
            ASSERT_TRUE(QDir().mkpath(c.path));
        }
        DirectoryAccessService service(panel);
        service.clearDirectoryAccess();
        service.createProjectDirectory();
        ASSERT_TRUE(test::waitUntil([&] { return panel->isShowing(); }, test::kWaitDeadline));
        ASSERT_TRUE(panel->lastSaveOptions.has_value());
        const SavePanelOptions& options = *panel->lastSaveOptions;
        EXPECT_EQ(options.title, QStringLiteral("프로젝트 폴더 생성"));
        EXPECT_EQ(options.message, QStringLiteral("Xcode 프로젝트를 생성할 새 폴더의 이름과 위치를 지정해주세요"));
        EXPECT_EQ(options.prompt, QStringLiteral("생성"));
        EXPECT_EQ(options.nameFieldLabel, QStringLiteral("폴더 이름:"));
        EXPECT_EQ(options.nameFieldStringValue, QStringLiteral("MyProject"));
        EXPECT_FALSE(options.showsTagField);
        EXPECT_EQ(options.directory, std::optional<QString>(temp.context().documentsPath));

        testing::internal::CaptureStdout();
        panel->answer(PanelResponse::ok, c.path);
        (void)test::waitUntil([&] { return service.hasAccess(); }, c.published ? test::kWaitDeadline : std::chrono::milliseconds(50));
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(service.hasAccess(), c.published);
        EXPECT_EQ(keyStored(), c.published);
        if (c.published) {
            EXPECT_TRUE(QFileInfo(c.path).isDir());
            EXPECT_EQ(service.selectedDirectory(), c.path);
            EXPECT_NE(out.find("[DirectoryAccessService] Project directory access granted: "), std::string::npos);
        } else {
            EXPECT_NE(out.find("[DirectoryAccessService] Failed to create directory: "), std::string::npos);
        }
    }
}

TEST_F(DirectoryAccessTest, ForgettingTheFolder)
{
    const QString chosen = folder(QStringLiteral("kept"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    storeBookmarkFor(chosen);
    DirectoryAccessService service(panel);
    ASSERT_TRUE(service.hasAccess());
    QSignalSpy folderChanges(&service, &DirectoryAccessService::selectedDirectoryChanged);

    service.clearDirectoryAccess();

    EXPECT_TRUE(service.selectedDirectory().isEmpty());
    EXPECT_FALSE(service.hasAccess());
    EXPECT_TRUE(service.securityScopedBookmark().isEmpty());
    EXPECT_FALSE(keyStored());
    EXPECT_EQ(folderChanges.count(), 1);
    EXPECT_TRUE(QFileInfo(chosen).isDir()); // the folder itself is the user's
}

TEST_F(DirectoryAccessTest, TheServiceGoneBeforeThePanelAnswersIsHarmless)
{
    auto service = std::make_unique<DirectoryAccessService>(panel);
    service->selectDirectory();
    ASSERT_TRUE(test::waitUntil([&] { return panel->isShowing(); }, test::kWaitDeadline));
    service.reset();
    panel->answer(PanelResponse::ok, folder(QStringLiteral("late")));
    QTest::qWait(20);
    EXPECT_FALSE(keyStored());
}

} // namespace
} // namespace orva
