#pragma once

// The fixture of the tests that watch the workspace's two files: a temporary
// container with ZAVE and ZAVE/project made, and the paths of the plan and
// of the interview state in it.

#include "support/TempContext.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/TestFiles.h"

#include <gtest/gtest.h>

#include <QTest>

#include <chrono>

namespace orva::test {

class WorkspaceFilesTest : public ::testing::Test {
protected:
    WorkspaceFilesTest()
    {
        AppGroupStorageService storage; // makes ZAVE and ZAVE/project
        plan = temp.context().containerPath + QStringLiteral("/ZAVE/project/Task.json");
        interview = temp.context().containerPath + QStringLiteral("/ZAVE/interview_state.json");
    }

    // Lets events flow for a while, so that a report that should not come
    // would have had time to.
    static void settle(std::chrono::milliseconds time) { QTest::qWait(int(time.count())); }

    // Writes the whole file in place (what an editor that truncates does).
    static void writeInPlace(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(writeFile(path, bytes)); }

    TempContext temp;
    QString plan;
    QString interview;
};

} // namespace orva::test
