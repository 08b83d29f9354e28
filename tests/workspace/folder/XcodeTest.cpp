#include "support/TempContext.h"
#include "support/FakeFolderPanel.h"
#include "support/Waiting.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/TestFiles.h"
#include "workspace/XcodeService.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace orva {
namespace {

class XcodeTest : public ::testing::Test {
protected:
    XcodeTest()
    {
        xcode.setOpener([this](const QUrl& url) {
            opened.append(url);
            openedOnThread = QThread::currentThread();
            return true;
        });
    }

    // Builds a tree: entries ending in "/" are folders, "a -> b" is a link.
    QString makeTree(const QString& name, const QStringList& entries)
    {
        const QString root = temp.root() + QStringLiteral("/trees/") + name;
        QDir().mkpath(root);
        for (const QString& entry : entries) {
            if (entry.contains(QLatin1String(" -> "))) {
                const QString link = root + QLatin1Char('/') + entry.section(QLatin1String(" -> "), 0, 0);
                QString target = entry.section(QLatin1String(" -> "), 1);
                if (!QDir::isAbsolutePath(target))
                    target = root + QLatin1Char('/') + target;
                QDir().mkpath(QFileInfo(link).path());
                EXPECT_TRUE(QFile::link(target, link)) << link.toStdString();
            } else if (entry.endsWith(QLatin1Char('/'))) {
                QDir().mkpath(root + QLatin1Char('/') + entry);
            } else {
                EXPECT_TRUE(test::writeFile(root + QLatin1Char('/') + entry, "x"));
            }
        }
        return root;
    }

    test::TempContext temp;
    std::shared_ptr<FakeFolderPanel> panel = std::make_shared<FakeFolderPanel>();
    DirectoryAccessService directories{panel};
    XcodeService xcode{directories};
    QList<QUrl> opened;
    QThread* openedOnThread = nullptr;
};

TEST_F(XcodeTest, FindsAndVerifiesTheProject)
{
    struct Case {
        const char* label;
        QStringList tree;
        QStringList openable;  // acceptable results of the search for the file to open; empty = none
        QStringList names;     // acceptable verdict names; empty = no project
    };
    const Case cases[] = {
        {"workspace inside a project package",
         {QStringLiteral("App.xcodeproj/project.pbxproj"), QStringLiteral("App.xcodeproj/project.xcworkspace/contents.xcworkspacedata")},
         {QStringLiteral("App.xcodeproj/project.xcworkspace")}, {QStringLiteral("App")}},
        {"workspace beside a project",
         {QStringLiteral("A.xcworkspace/contents.xcworkspacedata"), QStringLiteral("B.xcodeproj/project.pbxproj")},
         {QStringLiteral("A.xcworkspace")}, {QStringLiteral("A"), QStringLiteral("B")}},
        {"project deeper down", {QStringLiteral("ios/app/Deep.xcodeproj/project.pbxproj"), QStringLiteral("README.md")},
         {QStringLiteral("ios/app/Deep.xcodeproj")}, {QStringLiteral("Deep")}},
        {"no project at any depth", {QStringLiteral("src/main.swift"), QStringLiteral("docs/")}, {}, {}},
        {"empty folder", {}, {}, {}},
        {"upper-case extension", {QStringLiteral("App.XCODEPROJ/project.pbxproj"), QStringLiteral("W.XcWorkspace/")}, {}, {}},
        {"a link loop beside the project",
         {QStringLiteral("a/loop -> .."), QStringLiteral("a/self -> ."), QStringLiteral("z/Real.xcodeproj/")},
         {QStringLiteral("z/Real.xcodeproj")}, {QStringLiteral("Real")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString root = makeTree(QString::fromLatin1(c.label).replace(QLatin1Char(' '), QLatin1Char('_')), c.tree);

        const auto found = xcode.findXcodeProject(root);
        if (c.openable.isEmpty()) {
            EXPECT_FALSE(found.has_value()) << found.value_or(QString()).toStdString();
        } else {
            ASSERT_TRUE(found.has_value());
            EXPECT_TRUE(c.openable.contains(QDir(root).relativeFilePath(*found))) << found->toStdString();
        }

        const XcodeProjectVerdict verdict = xcode.verifyXcodeProject(root);
        EXPECT_EQ(verdict.isValid, !c.names.isEmpty());
        if (c.names.isEmpty()) {
            EXPECT_FALSE(verdict.projectName.has_value());
            EXPECT_EQ(verdict.errorMessage, XcodeService::noProjectMessage());
        } else {
            ASSERT_TRUE(verdict.projectName.has_value());
            EXPECT_TRUE(c.names.contains(*verdict.projectName)) << verdict.projectName->toStdString();
            EXPECT_FALSE(verdict.errorMessage.has_value());
        }
    }
}

TEST_F(XcodeTest, TheLinkBehindWhichAProjectHidesIsNotFollowed)
{
    const QString elsewhere = makeTree(QStringLiteral("elsewhere"), {QStringLiteral("Other.xcodeproj/")});
    const QString root = makeTree(QStringLiteral("linked"), {QStringLiteral("src/"), QStringLiteral("lib -> ") + elsewhere});
    EXPECT_FALSE(xcode.findXcodeProject(root).has_value());
    EXPECT_FALSE(xcode.verifyXcodeProject(root).isValid);
}

TEST_F(XcodeTest, ARootThatCannotBeListedGivesTheReadError)
{
    const QString file = makeTree(QStringLiteral("holder"), {QStringLiteral("not-a-folder")}) + QStringLiteral("/not-a-folder");
    const QString cases[] = {temp.root() + QStringLiteral("/does-not-exist"), file};
    for (const QString& root : cases) {
        SCOPED_TRACE(root.toStdString());
        const XcodeProjectVerdict verdict = xcode.verifyXcodeProject(root);
        EXPECT_FALSE(verdict.isValid);
        EXPECT_FALSE(verdict.projectName.has_value());
        EXPECT_EQ(verdict.errorMessage, QStringLiteral("디렉토리를 읽는 중 오류가 발생했습니다."));
        EXPECT_FALSE(xcode.findXcodeProject(root).has_value());
    }
}

TEST_F(XcodeTest, UnreadableFoldersAreReportedOrPassedOver)
{
    if (test::ignoresFolderPermissions(temp.root()))
        GTEST_SKIP() << "this process may open any folder whatever its permissions (running as root)";
    const QString root = makeTree(QStringLiteral("locked"), {QStringLiteral("a/secret/"), QStringLiteral("b/Open.xcodeproj/")});
    QFile::setPermissions(root + QStringLiteral("/a"), QFileDevice::Permissions());
    EXPECT_EQ(xcode.verifyXcodeProject(root).projectName, std::optional<QString>(QStringLiteral("Open")));
    QFile::setPermissions(root + QStringLiteral("/a"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QFile::setPermissions(root, QFileDevice::Permissions());
    EXPECT_EQ(xcode.verifyXcodeProject(root).errorMessage, XcodeService::unreadableFolderMessage());
    QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(XcodeTest, OpeningTheProjectOfTheSelectedFolder)
{
    EXPECT_FALSE(xcode.openXcodeProject()); // no folder selected: nothing walked, nothing opened
    EXPECT_TRUE(opened.isEmpty());

    const QString empty = makeTree(QStringLiteral("empty"), {QStringLiteral("src/")});
    directories.createProjectDirectory();
    ASSERT_TRUE(test::waitUntil([&] { return panel->isShowing(); }, test::kWaitDeadline));
    panel->answer(PanelResponse::ok, empty);
    ASSERT_TRUE(test::waitUntil([&] { return directories.hasAccess(); }, test::kWaitDeadline));
    QSignalSpy finished(&xcode, &XcodeService::openFinished);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(xcode.openXcodeProject()); // the walk has begun
    ASSERT_TRUE(test::waitUntil([&] { return finished.count() == 1; }, test::kWaitDeadline));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("[XcodeService] - No Xcode project found in " + empty.toStdString()),
              std::string::npos);
    EXPECT_EQ(finished.takeFirst(), QVariantList{false});
    EXPECT_TRUE(opened.isEmpty());

    makeTree(QStringLiteral("empty"), {QStringLiteral("App.xcodeproj/"), QStringLiteral("App.xcworkspace/")});
    EXPECT_TRUE(xcode.openXcodeProject());
    // The folder is walked off the main thread: the call returns before the
    // project is found, and it opens on the main thread afterwards.
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_TRUE(test::waitUntil([&] { return finished.count() == 1; }, test::kWaitDeadline));
    EXPECT_EQ(finished.takeFirst(), QVariantList{true});
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(empty + QStringLiteral("/App.xcworkspace"))});
    EXPECT_EQ(openedOnThread, QCoreApplication::instance()->thread());
}

TEST_F(XcodeTest, ScreensReadAVerdictWorkedOutOffTheMainThread)
{
    const QString root = makeTree(QStringLiteral("cached"), {QStringLiteral("Shop.xcodeproj/")});
    QSignalSpy ready(&xcode, &XcodeService::verdictReady);
    QSignalSpy names(&xcode, &XcodeService::selectedProjectNameChanged);

    EXPECT_FALSE(xcode.cachedVerdict(root).has_value());
    ASSERT_TRUE(test::waitUntil([&] { return ready.count() >= 1; }, test::kWaitDeadline));
    ASSERT_TRUE(xcode.cachedVerdict(root).has_value());
    EXPECT_EQ(xcode.cachedVerdict(root)->projectName, std::optional<QString>(QStringLiteral("Shop")));

    // The name of the selected folder's project follows the selection.
    EXPECT_EQ(xcode.selectedProjectName(), QString());
    directories.selectDirectory();
    ASSERT_TRUE(test::waitUntil([&] { return panel->isShowing(); }, test::kWaitDeadline));
    panel->answer(PanelResponse::ok, root);
    ASSERT_TRUE(test::waitUntil([&] { return xcode.selectedProjectName() == QStringLiteral("Shop"); }, test::kWaitDeadline));
    directories.clearDirectoryAccess();
    EXPECT_EQ(xcode.selectedProjectName(), QString());
    EXPECT_GE(names.count(), 2);
}

TEST_F(XcodeTest, AVerdictWorkedOutOnThePoolArrivesOnTheMainThread)
{
    const QString root = makeTree(QStringLiteral("async"), {QStringLiteral("deep/er/Async.xcodeproj/")});
    std::optional<XcodeProjectVerdict> received;
    bool onMainThread = false;
    QObject context;
    xcode.verifyXcodeProjectAsync(root, &context, [&](const XcodeProjectVerdict& verdict) {
        received = verdict;
        onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    EXPECT_FALSE(received.has_value());
    ASSERT_TRUE(test::waitUntil([&] { return received.has_value(); }, test::kWaitDeadline));
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(received->projectName, std::optional<QString>(QStringLiteral("Async")));
    EXPECT_EQ(xcode.cachedVerdict(root), received);
}

} // namespace
} // namespace orva
