#pragma once

#include "fakes/FakeCalls.h"
#include "platform/UserDefaults.h"
#include "support/TempContext.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "support/FakeFolderPanel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace orva::test {

// A temporary workspace with services of its own and the fake `claude`.
class InterviewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        useFakeClaude(claude, context.context().homePath, logFile(),
                      {QStringLiteral("FAKE_CLAUDE_STATE=") + context.root() + QStringLiteral("/claude.state")});
        services.claudeProcess = &claude;
        services.appGroupStorage = &storage;
        services.appGroupMonitor = &monitor;
        services.directoryAccess = &directory;
    }

    QString logFile() const { return context.root() + QStringLiteral("/claude.log"); }
    QString container() const { return context.context().containerPath; }
    QString workspacePath(const QString& relative) const { return container() + QStringLiteral("/") + relative; }
    QList<FakeCall> claudeCalls() const { return fakeCallsOfKind(logFile(), QStringLiteral("print")); }

    void writeFile(const QString& relative, const QByteArray& content) const
    {
        const QString path = workspacePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QByteArray readFile(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Opens the project's conversation the way the entry screen does.
    void openConversation()
    {
        bool done = false;
        claude.startSession(container(), [&done](const ClaudeResult&) { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
        ASSERT_TRUE(claude.isProcessRunning());
    }

    TempContext context;
    ClaudeProcessService claude;
    AppGroupStorageService storage;
    AppGroupMonitorService monitor{std::chrono::milliseconds(50)};
    std::shared_ptr<FakeFolderPanel> panel = std::make_shared<FakeFolderPanel>();
    DirectoryAccessService directory{panel};
    WorkflowServices services;
};

} // namespace orva::test
