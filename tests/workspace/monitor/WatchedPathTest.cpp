// One file and its folder watched through deletion, re-creation and
// replacement.
#include "support/Waiting.h"
#include "workspace/TestFiles.h"
#include "workspace/monitor/WorkspaceFilesTest.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/WatchedPath.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include <chrono>
#include <functional>

#include <stdio.h>

namespace orva {
namespace {

using namespace std::chrono_literals;
using test::writeFile;

constexpr auto kDebounce = 150ms;
constexpr auto kDeadline = test::kWaitDeadline;

// A watch that reads its file after each change, as the monitor does: a
// text is seen only once a change after its writing was reported.
struct Reader {
    explicit Reader(const QString& path, const char* name)
        : watch({QStringLiteral("[WatchedPathTest]"), QLatin1String(name) + QStringLiteral("File"),
                 QLatin1String(name) + QStringLiteral("Directory"), QStringLiteral("Change scheduled")},
                kDebounce)
    {
        QObject::connect(&watch, &WatchedPath::changed, [this, path] {
            QFile file(path);
            seen << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>"));
        });
        watch.start(path);
    }
    bool sees(const QString& text) const { return seen.contains(text); }

    WatchedPath watch;
    QStringList seen;
};

using WatchedPathTest = test::WorkspaceFilesTest;

TEST_F(WatchedPathTest, AFileMovedOverTheOldOneAndThenEditedIsSeenBothTimes)
{
    writeInPlace(plan, "Old");
    Reader reader(plan, "plan");
    EXPECT_TRUE(reader.watch.isWatchingFile());
    EXPECT_TRUE(reader.watch.isWatchingFolder());

    const QString staged = plan + QStringLiteral(".new");
    writeInPlace(staged, "Moved");
    ASSERT_EQ(::rename(QFile::encodeName(staged).constData(), QFile::encodeName(plan).constData()), 0);
    ASSERT_TRUE(test::waitUntil([&] { return reader.sees(QStringLiteral("Moved")); }, kDeadline));

    writeInPlace(plan, "Edited");
    ASSERT_TRUE(test::waitUntil([&] { return reader.sees(QStringLiteral("Edited")); }, kDeadline));
    settle(kDebounce * 3);
    EXPECT_EQ(reader.seen.size(), 2) << reader.seen.join(QLatin1Char(',')).toStdString();
}

// A folder deleted, or moved away, and made again at its path is watched
// again from its nearest existing parent: later files are seen, and so are
// edits of them in place.
TEST_F(WatchedPathTest, AFolderMadeAgainIsWatchedAgain)
{
    const QString zave = temp.context().containerPath + QStringLiteral("/ZAVE");
    const QString project = zave + QStringLiteral("/project");
    struct Case {
        const char* name;
        std::function<bool()> remove;
    };
    const Case cases[] = {
        {"the project folder deleted", [&] { return QDir(project).removeRecursively(); }},
        {"the project folder moved away", [&] { return QDir(project).rename(project, zave + QStringLiteral("/old project")); }},
        {"the workspace folder deleted", [&] { return QDir(zave).removeRecursively(); }},
    };
    writeInPlace(plan, "First");
    Reader planReader(plan, "plan");
    Reader interviewReader(interview, "interview");
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++round;
        planReader.seen.clear();
        ASSERT_TRUE(c.remove());
        // The file went with its folder.
        ASSERT_TRUE(test::waitUntil([&] { return planReader.sees(QStringLiteral("<missing>")); }, kDeadline));
        ASSERT_TRUE(QDir().mkpath(project));
        const QString name = QStringLiteral("Round %1").arg(round);
        writeInPlace(plan, name.toUtf8());
        EXPECT_TRUE(test::waitUntil([&] { return planReader.sees(name); }, kDeadline))
            << "seen: " << planReader.seen.join(QLatin1Char(',')).toStdString();
        // Edited in place afterwards: the file is watched as well.
        writeInPlace(plan, (name + QStringLiteral(" edited")).toUtf8());
        EXPECT_TRUE(test::waitUntil([&] { return planReader.sees(name + QStringLiteral(" edited")); }, kDeadline));
        const QString state = QStringLiteral("state %1").arg(round);
        writeInPlace(interview, state.toUtf8());
        EXPECT_TRUE(test::waitUntil([&] { return interviewReader.sees(state); }, kDeadline));
    }
}

TEST_F(WatchedPathTest, AFileWrittenAtomicallyIsSeenEachTime)
{
    AppGroupStorageService storage;
    Reader reader(interview, "interview");

    storage.saveFile(QStringLiteral("one"), QStringLiteral("interview_state.json"), QStringLiteral("ZAVE"));
    ASSERT_TRUE(test::waitUntil([&] { return reader.sees(QStringLiteral("one")); }, kDeadline));
    writeInPlace(interview, "two"); // an in-place edit after the rename
    ASSERT_TRUE(test::waitUntil([&] { return reader.sees(QStringLiteral("two")); }, kDeadline));
}

TEST_F(WatchedPathTest, AfterStoppingNothingIsReported)
{
    writeInPlace(interview, "{}");
    Reader reader(interview, "interview");
    reader.watch.stop();
    EXPECT_FALSE(reader.watch.isWatchingFile());
    EXPECT_FALSE(reader.watch.isWatchingFolder());

    writeInPlace(interview, "after");
    settle(kDebounce * 4);
    EXPECT_TRUE(reader.seen.isEmpty());
}

} // namespace
} // namespace orva
