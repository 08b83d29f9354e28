#include "support/TempContext.h"
#include "support/Waiting.h"
#include "workflow/ShellLaunch.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace orva::test {
namespace {

TEST(ShellLaunchTest, CommandLines)
{
    struct Case {
        QString folder;
        QStringList arguments;
    };
    const QList<Case> cases = {
        {QString(), {QStringLiteral("-l")}},
        {QStringLiteral("/Users/me/My App"),
         {QStringLiteral("-l"), QStringLiteral("-c"), QStringLiteral("cd '/Users/me/My App' && exec zsh -l")}},
        {QStringLiteral("/Users/me/it's $(touch PWNED)"),
         {QStringLiteral("-l"), QStringLiteral("-c"), QStringLiteral("cd '/Users/me/it'\\''s $(touch PWNED)' && exec zsh -l")}},
        {QStringLiteral("/tmp/''"), {QStringLiteral("-l"), QStringLiteral("-c"), QStringLiteral("cd '/tmp/'\\'''\\''' && exec zsh -l")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const ShellLaunch launch = terminalShellLaunch(c.folder);
        EXPECT_EQ(launch.executable, QStringLiteral("/bin/zsh"));
        EXPECT_EQ(launch.arguments, c.arguments);
        EXPECT_FALSE(launch.environment.has_value());
    }
    const ShellLaunch withStandIn = terminalShellLaunch(QString(), QStringLiteral("/x/zsh"));
    EXPECT_EQ(withStandIn.environment, QStringList{QStringLiteral("ZDOTDIR=/x/zsh")});
}

// The quoted folder, read by a real zsh, is the folder itself and runs nothing.
TEST(ShellLaunchTest, ZshReadsTheQuotedFolderAsOneWord)
{
    TempContext context;
    const QStringList names = {QStringLiteral("plain"), QStringLiteral("with blank"), QStringLiteral("it's"),
                               QStringLiteral("a'b $(touch PWNED) `touch PWNED2` ; touch PWNED3 '")};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString folder = context.root() + QStringLiteral("/") + name;
        ASSERT_TRUE(QDir().mkpath(folder));
        QProcess zsh;
        zsh.setWorkingDirectory(context.root());
        zsh.start(QStringLiteral("/bin/zsh"), {QStringLiteral("-f"), QStringLiteral("-c"),
                                               QStringLiteral("cd ") + singleQuotedForShell(folder) + QStringLiteral(" && pwd")});
        ASSERT_TRUE(zsh.waitForFinished(kWaitDeadlineMs));
        EXPECT_EQ(zsh.exitCode(), 0) << zsh.readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(zsh.readAllStandardOutput()).trimmed(), folder);
    }
    for (const QString& stray : {QStringLiteral("PWNED"), QStringLiteral("PWNED2"), QStringLiteral("PWNED3")})
        EXPECT_FALSE(QFileInfo::exists(context.root() + QStringLiteral("/") + stray));
}

class ZshStandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHome_ = qgetenv("HOME");
        hadDotDir_ = qEnvironmentVariableIsSet("ZDOTDIR");
        savedDotDir_ = qgetenv("ZDOTDIR");
        qputenv("HOME", context.context().homePath.toUtf8());
        qunsetenv("ZDOTDIR");
    }
    void TearDown() override
    {
        qputenv("HOME", savedHome_);
        if (hadDotDir_)
            qputenv("ZDOTDIR", savedDotDir_);
    }

    TempContext context;
    QByteArray savedHome_;
    QByteArray savedDotDir_;
    bool hadDotDir_ = false;
};

TEST_F(ZshStandInTest, OnlyWhenTheUserHasNoStartupFiles)
{
    const auto standIn = zshStartupStandIn(context.context().containerPath);
    ASSERT_TRUE(standIn.has_value());
    EXPECT_TRUE(standIn->startsWith(context.context().containerPath));
    QFile script(*standIn + QStringLiteral("/.zshenv"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_TRUE(script.readAll().contains("unset ZDOTDIR"));
    EXPECT_EQ(QDir(context.context().homePath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList()) << "nothing is written into the home folder";

    for (const char* name : {".zshenv", ".zprofile", ".zshrc", ".zlogin"}) {
        SCOPED_TRACE(name);
        const QString path = context.context().homePath + QStringLiteral("/") + QString::fromLatin1(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        EXPECT_FALSE(zshStartupStandIn(context.context().containerPath).has_value());
        QFile::remove(path);
    }
}

// A real interactive zsh reaches its prompt and runs the typed command when it
// starts through the stand-in; without it, zsh's first-run menu takes the
// first keys. (zsh skips that menu for root, so as root the shell runs as
// nobody.)
TEST_F(ZshStandInTest, AnInteractiveZshRunsTheTypedCommand)
{
    const auto standIn = zshStartupStandIn(context.context().containerPath);
    ASSERT_TRUE(standIn.has_value());
    QStringList runAs;
    if (::geteuid() == 0) {
        if (!QFileInfo::exists(QStringLiteral("/usr/bin/setpriv")))
            GTEST_SKIP() << "running as root without setpriv: zsh shows no first-run menu to root";
        runAs = {QStringLiteral("/usr/bin/setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups")};
        // Let the unprivileged shell into the temporary folders.
        for (const QString& path : {context.root(), context.context().homePath, context.context().containerPath,
                                    context.context().containerPath + QStringLiteral("/terminal"), *standIn})
            QFile::setPermissions(path, QFileDevice::Permissions(0x7777));
        QFile::setPermissions(*standIn + QStringLiteral("/.zshenv"), QFileDevice::Permissions(0x4444));
    }

    struct Case {
        const char* name;
        bool useStandIn;
        bool expectTyped;
    };
    for (const Case& c : {Case{"through the stand-in", true, true}, Case{"without it", false, false}}) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), context.context().homePath);
        environment.remove(QStringLiteral("ZDOTDIR"));
        if (c.useStandIn)
            environment.insert(QStringLiteral("ZDOTDIR"), *standIn);
        QProcess shell;
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(QStringLiteral("/"));
        // `script` gives zsh an 80x24 terminal, as the terminal panel does.
        const QStringList command = runAs + QStringList{QStringLiteral("/usr/bin/script"), QStringLiteral("-qec"),
                                                        QStringLiteral("stty cols 80 rows 24; exec /bin/zsh -l -c 'cd / && exec zsh -l'"),
                                                        QStringLiteral("/dev/null")};
        shell.start(command.first(), command.mid(1));
        ASSERT_TRUE(shell.waitForStarted(kWaitDeadlineMs));
        shell.write("echo \"typed:$ZDOTDIR:$((6*7))\"\nexit\n");
        // The command's output and the shell's end, or the menu (which waits
        // for keys the typed line does not have).
        QByteArray shown;
        const QByteArray awaited = c.expectTyped ? QByteArrayLiteral("typed::42") : QByteArrayLiteral("zsh-newuser-install");
        EXPECT_TRUE(waitUntil([&] {
            shown += shell.readAllStandardOutput();
            return shown.contains(awaited) && (!c.expectTyped || shell.state() == QProcess::NotRunning);
        })) << shown.toStdString();
        if (shell.state() != QProcess::NotRunning) {
            shell.kill();
            shell.waitForFinished(kWaitDeadlineMs);
        }
        const QString output = QString::fromUtf8(shown + shell.readAllStandardOutput());
        EXPECT_EQ(output.contains(QStringLiteral("typed::42")), c.expectTyped) << output.toStdString();
        EXPECT_EQ(output.contains(QStringLiteral("zsh-newuser-install")), !c.expectTyped) << output.toStdString();
    }
    EXPECT_EQ(QDir(context.context().homePath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

} // namespace
} // namespace orva::test
