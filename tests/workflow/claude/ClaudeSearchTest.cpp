// Finding `claude`: the lookup scripts, the four sources in order, and the
// PATH every child gets.
#include "ClaudeTestSupport.h"

#include "fakes/FakeCalls.h"
#include "workflow/ClaudeSearch.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

using namespace orva;
using namespace orva::test;
namespace cs = orva::claude_search;

namespace {

void setModified(const QString& path, const QDateTime& when)
{
    const struct timespec times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

TEST(ClaudeLookupScript, ZshAndOtherShellsGetTheirStartupFiles)
{
    EXPECT_EQ(cs::lookupScript(QStringLiteral("/usr/local/bin/zsh"), QStringLiteral("/Users/kim"),
                               QStringLiteral("which claude")),
              QStringLiteral("[ -f \"/Users/kim/.zshrc\" ] && source \"/Users/kim/.zshrc\"\n"
                             "[ -s \"/Users/kim/.nvm/nvm.sh\" ] && source \"/Users/kim/.nvm/nvm.sh\"\n"
                             "which claude"));
    EXPECT_EQ(cs::lookupScript(QStringLiteral("/bin/bash"), QStringLiteral("/Users/kim"),
                               QStringLiteral("npm config get prefix")),
              QStringLiteral("[ -f \"/Users/kim/.bash_profile\" ] && source \"/Users/kim/.bash_profile\"\n"
                             "[ -f \"/Users/kim/.bashrc\" ] && source \"/Users/kim/.bashrc\"\n"
                             "[ -s \"/Users/kim/.nvm/nvm.sh\" ] && source \"/Users/kim/.nvm/nvm.sh\"\n"
                             "npm config get prefix"));
    // The substring test is case-sensitive.
    EXPECT_TRUE(cs::lookupScript(QStringLiteral("/opt/ZSH"), QStringLiteral("/h"), QStringLiteral("x"))
                    .contains(QStringLiteral(".bashrc")));
}

TEST(ClaudeLookupScript, HomeFolderIsEscapedInsideTheQuotes)
{
    const QString script = cs::lookupScript(QStringLiteral("/bin/zsh"), QStringLiteral("/h/a$b`c\"d\\e"),
                                            QStringLiteral("which claude"));
    EXPECT_TRUE(script.startsWith(QStringLiteral("[ -f \"/h/a\\$b\\`c\\\"d\\\\e/.zshrc\" ]")));
}

// A home folder whose name holds shell syntax: the probes source the start-up
// file inside it and run nothing else.
TEST(ClaudeLookupScript, HostileHomeFolderRunsNothing)
{
    QTemporaryDir root;
    const QString work = root.filePath(QStringLiteral("cwd"));
    QDir().mkpath(work);
    const QString home = root.filePath(QStringLiteral("h $(touch PWNED1) `touch PWNED2` \"q\\ $HOME"));
    ASSERT_TRUE(QDir().mkpath(home));
    const QString marker = root.filePath(QStringLiteral("sourced"));
    {
        QFile rc(home + QStringLiteral("/.bashrc"));
        ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
        rc.write("touch \"$FAKE_MARK\"\n");
    }
    ClaudeSearchEnvironment search;
    search.homePath = home;
    search.shellPath = fakeShellPath();
    search.environment = QProcessEnvironment::systemEnvironment();
    search.environment.insert(QStringLiteral("FAKE_MARK"), marker);
    search.environment.remove(QStringLiteral("FAKE_SHELL_WHICH"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work);
    EXPECT_FALSE(cs::findViaShellWhich(search).has_value());
    QDir::setCurrent(previous);
    EXPECT_TRUE(QFileInfo::exists(marker)) << "the start-up file in the home folder was not sourced";
    EXPECT_TRUE(QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("/PWNED1")));
}

// Which source wins. Every case starts from a machine where nothing is found,
// and its setup adds candidates.
struct SearchCase {
    const char* name;
    std::function<void(FakeMachine&)> setup;
    QString expected; // relative to the fake machine's root; empty = nothing found
};

void PrintTo(const SearchCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClaudeSearchTable : public ::testing::TestWithParam<SearchCase> {};

TEST_P(ClaudeSearchTable, FirstSourceThatYieldsWins)
{
    FakeMachine machine;
    machine.search.environment.remove(QStringLiteral("FAKE_SHELL_WHICH"));
    machine.search.fixedPaths = {machine.path(QStringLiteral("fixed1/claude")),
                                 machine.path(QStringLiteral("fixed2/claude"))};
    GetParam().setup(machine);
    StdoutCapture capture;
    const auto found = cs::findClaudeExecutable(machine.search);
    const QString log = capture.text();
    if (GetParam().expected.isEmpty()) {
        EXPECT_FALSE(found.has_value()) << found.value_or(QString()).toStdString();
        EXPECT_EQ(log.count(QStringLiteral("[ClaudeProcessService] ERROR: Claude CLI not found\n")), 1);
        EXPECT_EQ(log.count(QStringLiteral(
                      "[ClaudeProcessService] Install Claude Code: npm install -g @anthropic-ai/claude-code\n")),
                  1);
    } else {
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, machine.path(GetParam().expected));
        EXPECT_FALSE(log.contains(QStringLiteral("not found")));
    }
    // The probes never read the application's input.
    for (const FakeCall& call : fakeCallsOfKind(machine.logFile, QStringLiteral("shell")))
        EXPECT_EQ(call.stdinKind, QStringLiteral("null"));
}

namespace {
void which(FakeMachine& m, const QString& text)
{
    m.search.environment.insert(QStringLiteral("FAKE_SHELL_WHICH"), text);
}
void npm(FakeMachine& m, const QString& prefix)
{
    m.search.environment.insert(QStringLiteral("FAKE_SHELL_NPM_PREFIX"), prefix);
}
void nvmVersion(FakeMachine& m, const QString& version, bool withClaude, int ageSeconds)
{
    const QString folder = m.home + QStringLiteral("/.nvm/versions/node/") + version;
    QDir().mkpath(folder + QStringLiteral("/bin"));
    if (withClaude)
        m.writeExecutable(folder + QStringLiteral("/bin/claude"));
    setModified(folder, QDateTime::currentDateTime().addSecs(-ageSeconds));
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Sources, ClaudeSearchTable,
    ::testing::Values(
        SearchCase{"WhichWinsOverEverythingElse",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       m.writeExecutable(m.path(QStringLiteral("npm/bin/claude")));
                       m.writeExecutable(m.path(QStringLiteral("fixed1/claude")));
                       which(m, m.path(QStringLiteral("which/claude")));
                       npm(m, m.path(QStringLiteral("npm")));
                   },
                   QStringLiteral("which/claude")},
        SearchCase{"GreetingLineSpoilsBothProbes",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       m.writeExecutable(m.path(QStringLiteral("npm/bin/claude")));
                       which(m, m.path(QStringLiteral("which/claude")));
                       npm(m, m.path(QStringLiteral("npm")));
                       m.search.environment.insert(QStringLiteral("FAKE_SHELL_GREETING"), QStringLiteral("Welcome!"));
                       m.writeExecutable(m.path(QStringLiteral("fixed1/claude")));
                   },
                   QStringLiteral("fixed1/claude")},
        SearchCase{"MultiLineWhichOutputFallsToNpm",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       m.writeExecutable(m.path(QStringLiteral("npm/bin/claude")));
                       which(m, QStringLiteral("claude: aliased to npx claude\n") + m.path(QStringLiteral("which/claude")));
                       npm(m, m.path(QStringLiteral("npm")));
                   },
                   QStringLiteral("npm/bin/claude")},
        SearchCase{"WhichExitingWithOneYieldsNothing",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       which(m, m.path(QStringLiteral("which/claude")));
                       m.search.environment.insert(QStringLiteral("FAKE_SHELL_EXIT"), QStringLiteral("1"));
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                   },
                   QStringLiteral("fixed2/claude")},
        SearchCase{"NonExecutableNpmClaudeFallsToFixedPlaces",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("npm/bin/claude")), false);
                       npm(m, m.path(QStringLiteral("npm")));
                       m.writeExecutable(m.path(QStringLiteral("fixed1/claude")));
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                   },
                   QStringLiteral("fixed1/claude")},
        SearchCase{"FixedPlacesBeforeNvm",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                       nvmVersion(m, QStringLiteral("v20.0.0"), true, 0);
                   },
                   QStringLiteral("fixed2/claude")},
        SearchCase{"NewestNvmVersionFirst",
                   [](FakeMachine& m) {
                       nvmVersion(m, QStringLiteral("v22.1.0"), true, 3600);
                       nvmVersion(m, QStringLiteral("v18.0.0"), true, 10);
                   },
                   QStringLiteral("home/.nvm/versions/node/v18.0.0/bin/claude")},
        SearchCase{"NewestNvmVersionWithoutClaudeIsSkipped",
                   [](FakeMachine& m) {
                       nvmVersion(m, QStringLiteral("v22.1.0"), true, 3600);
                       nvmVersion(m, QStringLiteral("v18.0.0"), false, 10);
                   },
                   QStringLiteral("home/.nvm/versions/node/v22.1.0/bin/claude")},
        SearchCase{"UnsetShellAsksTheTerminalsZsh",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       which(m, m.path(QStringLiteral("which/claude")));
                       m.search.shellPath.reset();
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                   },
                   QStringLiteral("which/claude")},
        SearchCase{"EmptyShellAsksTheTerminalsZsh",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("npm/bin/claude")));
                       npm(m, m.path(QStringLiteral("npm")));
                       m.search.shellPath = QString();
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                   },
                   QStringLiteral("npm/bin/claude")},
        SearchCase{"NoShellAtAllSkipsTheProbes",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       which(m, m.path(QStringLiteral("which/claude")));
                       m.search.shellPath.reset();
                       m.search.fallbackShellPath.clear();
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                   },
                   QStringLiteral("fixed2/claude")},
        SearchCase{"UnsetShellWithoutZshGoesOn",
                   [](FakeMachine& m) {
                       m.writeExecutable(m.path(QStringLiteral("which/claude")));
                       which(m, m.path(QStringLiteral("which/claude")));
                       m.search.shellPath.reset();
                       m.search.fallbackShellPath = m.path(QStringLiteral("no-such/bin/zsh"));
                       m.writeExecutable(m.path(QStringLiteral("fixed2/claude")));
                   },
                   QStringLiteral("fixed2/claude")},
        SearchCase{"NothingAnywhere", [](FakeMachine&) {}, QString()}),
    [](const ::testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

// Which shell the three probes ask: SHELL when it names one, else the zsh
// the built-in terminal runs (the fake shell behind a link named zsh, so the
// zsh start-up file shows it was asked), else none.
struct ShellCase {
    const char* name;
    std::optional<QString> shell; // SHELL: nullopt unset; "user" the user's (bash-like) shell
    bool fallbackExists;          // the terminal's zsh is installed
    const char* startupFile;      // sourced by the lookups; "" when no shell is asked
};

void PrintTo(const ShellCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClaudeProbeShellTable : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ClaudeProbeShellTable, TheShellAskedIsShellElseTheTerminalsZsh)
{
    const ShellCase& c = GetParam();
    FakeMachine machine;
    const QString userShell = machine.path(QStringLiteral("user/bin/sh"));
    QDir().mkpath(machine.path(QStringLiteral("user/bin")));
    ASSERT_TRUE(QFile::link(fakeShellPath(), userShell));
    if (!c.shell)
        machine.search.shellPath.reset();
    else
        machine.search.shellPath = *c.shell == QStringLiteral("user") ? userShell : *c.shell;
    if (!c.fallbackExists)
        machine.search.fallbackShellPath = machine.path(QStringLiteral("no-such/bin/zsh"));
    machine.writeExecutable(machine.path(QStringLiteral("which/claude")));
    which(machine, machine.path(QStringLiteral("which/claude")));
    machine.search.environment.insert(QStringLiteral("FAKE_SHELL_NPM_PREFIX"), machine.path(QStringLiteral("npm")));

    const bool asked = *c.startupFile != '\0';
    EXPECT_EQ(cs::findViaShellWhich(machine.search).has_value(), asked);
    EXPECT_EQ(cs::findViaNpmPrefix(machine.search).has_value(), false); // no claude under that prefix
    EXPECT_EQ(cs::loginShellPath(machine.search), asked ? std::optional<QString>(QStringLiteral("/login/bin:/login/sbin"))
                                                        : std::nullopt);
    const QList<FakeCall> calls = fakeCallsOfKind(machine.logFile, QStringLiteral("shell"));
    ASSERT_EQ(calls.size(), asked ? 3 : 0);
    if (!asked)
        return;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(calls[i].arguments.size(), 2);
        EXPECT_TRUE(calls[i].arguments[1].startsWith(QStringLiteral("[ -f \"") + machine.home + u'/'
                                                     + QString::fromUtf8(c.startupFile) + u'"'))
            << calls[i].arguments[1].toStdString();
    }
    EXPECT_EQ(calls[2].arguments, (QStringList{QStringLiteral("-l"), QStringLiteral("-c"), QStringLiteral("echo $PATH")}));
}

INSTANTIATE_TEST_SUITE_P(
    Shells, ClaudeProbeShellTable,
    ::testing::Values(ShellCase{"ShellIsAskedItself", QStringLiteral("user"), true, ".bash_profile"},
                      ShellCase{"UnsetShellAsksZsh", std::nullopt, true, ".zshrc"},
                      ShellCase{"EmptyShellAsksZsh", QString(), true, ".zshrc"},
                      ShellCase{"UnsetShellWithoutZshAsksNone", std::nullopt, false, ""},
                      ShellCase{"ShellIsAskedEvenWithoutZsh", QStringLiteral("user"), false, ".bash_profile"}),
    [](const ::testing::TestParamInfo<ShellCase>& info) { return std::string(info.param.name); });

// The application's own environment: SHELL unset or empty leaves the
// terminal's zsh to be asked.
TEST(ClaudeSearch, PlatformDefaultsFallBackToTheTerminalsZsh)
{
    const QByteArray saved = qgetenv("SHELL");
    const bool had = qEnvironmentVariableIsSet("SHELL");
    struct Case {
        const char* shell; // nullptr: unset
        const char* asked;
    };
    for (const Case& c : {Case{nullptr, "/bin/zsh"}, Case{"", "/bin/zsh"}, Case{"/bin/bash", "/bin/bash"}}) {
        SCOPED_TRACE(c.shell ? c.shell : "(unset)");
        if (c.shell)
            qputenv("SHELL", c.shell);
        else
            qunsetenv("SHELL");
        EXPECT_EQ(ClaudeSearchEnvironment::platformDefaults().probeShell(), std::optional<QString>(QString::fromUtf8(c.asked)));
    }
    if (had)
        qputenv("SHELL", saved);
    else
        qunsetenv("SHELL");
}

// As a desktop launcher or `env -i` starts the application: no SHELL, and
// `claude` only on the application's own PATH. The machine's /bin/zsh (the
// terminal's shell, installed with the application) finds it.
TEST(ClaudeSearch, WithoutShellTheTerminalsZshFindsClaudeOnThePath)
{
    if (!cs::isExecutableFile(QStringLiteral("/bin/zsh")))
        GTEST_SKIP() << "no /bin/zsh on this machine";
    FakeMachine machine;
    machine.writeExecutable(machine.path(QStringLiteral("tools/bin/claude")));
    ClaudeSearchEnvironment search;
    search.homePath = machine.home;
    search.shellPath.reset();
    search.environment.insert(QStringLiteral("HOME"), machine.home);
    search.environment.insert(QStringLiteral("PATH"), machine.path(QStringLiteral("tools/bin")) + QStringLiteral(":/usr/bin:/bin"));
    StdoutCapture capture;
    const auto found = cs::findClaudeExecutable(search);
    EXPECT_EQ(found.value_or(QString()), machine.path(QStringLiteral("tools/bin/claude")));
    EXPECT_FALSE(capture.text().contains(QStringLiteral("not found")));
    EXPECT_TRUE(cs::buildProcessEnvironment(*found, search)
                    .value(QStringLiteral("PATH"))
                    .contains(machine.path(QStringLiteral("tools/bin")) + u':'));
}

TEST(ClaudeSearch, ProbesDoNotWaitForInput)
{
    StdinPipe input; // the application's own input would never end
    FakeMachine machine;
    machine.writeExecutable(machine.path(QStringLiteral("which/claude")));
    which(machine, machine.path(QStringLiteral("which/claude")));
    machine.search.environment.insert(QStringLiteral("FAKE_SHELL_READ_STDIN"), QStringLiteral("1"));
    // A probe reading the application's input would wait out the fake's minute.
    machine.search.environment.insert(QStringLiteral("FAKE_SHELL_READ_TIMEOUT"), QStringLiteral("60"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(cs::findViaShellWhich(machine.search).value_or(QString()), machine.path(QStringLiteral("which/claude")));
    EXPECT_LT(timer.elapsed(), kWaitDeadlineMs);
    EXPECT_EQ(cs::loginShellPath(machine.search).value_or(QString()), QStringLiteral("/login/bin:/login/sbin"));
    const QList<FakeCall> probes = fakeCallsOfKind(machine.logFile, QStringLiteral("shell"));
    ASSERT_EQ(probes.size(), 2);
    for (const FakeCall& probe : probes)
        EXPECT_EQ(probe.stdinKind, QStringLiteral("null"));
}

TEST(ClaudeSearch, ProbeOutputLargerThanAPipeIsCollected)
{
    FakeMachine machine;
    const QString big(100000, u'x'); // more than a pipe holds, less than one environment entry may
    machine.search.environment.insert(QStringLiteral("FAKE_SHELL_LOGIN_PATH"), big);
    EXPECT_EQ(cs::loginShellPath(machine.search).value_or(QString()).size(), big.size());
}

// The PATH of every child: the executable's folder, the login PATH, the
// application's PATH.
struct PathCase {
    const char* name;
    std::optional<QString> loginPath; // nullopt: the login shell prints nothing
    std::optional<QString> appPath;   // nullopt: the application has no PATH
    std::optional<QString> shell;     // SHELL: nullopt unset, "" empty, "fake" the fake shell
    bool haveFallback;                // the terminal's zsh is there to ask
    QString expectedTail;             // after "<folder>:"
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClaudeEnvironmentTable : public ::testing::TestWithParam<PathCase> {};

TEST_P(ClaudeEnvironmentTable, PathIsFolderLoginAndApplication)
{
    FakeMachine machine;
    const PathCase& c = GetParam();
    if (c.loginPath)
        machine.search.environment.insert(QStringLiteral("FAKE_SHELL_LOGIN_PATH"), *c.loginPath);
    else
        machine.search.environment.remove(QStringLiteral("FAKE_SHELL_LOGIN_PATH"));
    if (c.appPath)
        machine.search.environment.insert(QStringLiteral("PATH"), *c.appPath);
    else
        machine.search.environment.remove(QStringLiteral("PATH"));
    if (!c.shell)
        machine.search.shellPath.reset();
    else if (c.shell->isEmpty())
        machine.search.shellPath = QString();
    if (!c.haveFallback)
        machine.search.fallbackShellPath.clear();
    machine.search.environment.insert(QStringLiteral("ORVA_KEEP"), QStringLiteral("kept"));
    const QProcessEnvironment env = cs::buildProcessEnvironment(QStringLiteral("/opt/tools/bin/claude"), machine.search);
    EXPECT_EQ(env.value(QStringLiteral("PATH")), QStringLiteral("/opt/tools/bin:") + c.expectedTail);
    EXPECT_EQ(env.value(QStringLiteral("ORVA_KEEP")), QStringLiteral("kept"));
    for (const FakeCall& call : fakeCallsOfKind(machine.logFile, QStringLiteral("shell"))) {
        EXPECT_EQ(call.arguments, (QStringList{QStringLiteral("-l"), QStringLiteral("-c"), QStringLiteral("echo $PATH")}));
        EXPECT_EQ(call.stdinKind, QStringLiteral("null"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ClaudeEnvironmentTable,
    ::testing::Values(
        PathCase{"AllThree", QStringLiteral("  /login/bin:/login/sbin\n"), QStringLiteral("/usr/bin:/bin"),
                 QStringLiteral("fake"), true, QStringLiteral("/login/bin:/login/sbin:/usr/bin:/bin")},
        PathCase{"LoginShellPrintsNothing", std::nullopt, QStringLiteral("/usr/bin:/bin"), QStringLiteral("fake"), true,
                 QStringLiteral("/usr/bin:/bin")},
        PathCase{"NoApplicationPath", QStringLiteral("/login/bin"), std::nullopt, QStringLiteral("fake"), true,
                 QStringLiteral("/login/bin:/usr/bin:/bin:/usr/sbin:/sbin")},
        PathCase{"UnsetShellTheTerminalsZshGivesTheLoginPath", QStringLiteral("/login/bin"), QStringLiteral("/usr/bin"),
                 std::nullopt, true, QStringLiteral("/login/bin:/usr/bin")},
        PathCase{"EmptyShellTheTerminalsZshGivesTheLoginPath", QStringLiteral("/login/bin"), QStringLiteral("/usr/bin"),
                 QString(), true, QStringLiteral("/login/bin:/usr/bin")},
        PathCase{"NoShellToAsk", QStringLiteral("/login/bin"), QStringLiteral("/usr/bin"), std::nullopt, false,
                 QStringLiteral("/usr/bin")},
        PathCase{"DuplicatesAreKept", QStringLiteral("/opt/tools/bin"), QStringLiteral("/opt/tools/bin"),
                 QStringLiteral("fake"), true, QStringLiteral("/opt/tools/bin:/opt/tools/bin")}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(ClaudeSearch, SymlinkedClaudeKeepsTheLinkFolder)
{
    FakeMachine machine;
    machine.writeExecutable(machine.path(QStringLiteral("real/lib/claude-code/cli")));
    QDir().mkpath(machine.path(QStringLiteral("links")));
    ASSERT_TRUE(QFile::link(machine.path(QStringLiteral("real/lib/claude-code/cli")),
                            machine.path(QStringLiteral("links/claude"))));
    which(machine, machine.path(QStringLiteral("links/claude")));
    const auto found = cs::findClaudeExecutable(machine.search);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, machine.path(QStringLiteral("links/claude")));
    EXPECT_TRUE(cs::buildProcessEnvironment(*found, machine.search)
                    .value(QStringLiteral("PATH"))
                    .startsWith(machine.path(QStringLiteral("links")) + u':'));
}
