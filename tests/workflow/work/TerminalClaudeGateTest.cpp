// The gate that types for claude only into the ready box of the claude its
// terminal started: sequences of what happens in a terminal (a shell, the
// panel's claude, its questions, the person's keys, other programs), what the
// person presses, and what reaches the terminal, on a clock stepped by hand.
#include "platform/UserDefaults.h"
#include "terminal/NativeTerminalService.h"
#include "workflow/TerminalClaudeGate.h"
#include "workflow/WorkViewModel.h"
#include "workflow/common/WorkflowTestSupport.h"

#include "ui/screens/work/WorkServicesMachine.h"

#include <gtest/gtest.h>

#include <map>

namespace orva::test {
namespace {

using State = TerminalClaudeGate::State;
using Question = ClaudeScreen::Question;

constexpr pid_t kShell = 100;
constexpr pid_t kClaude = 200;
constexpr pid_t kOther = 300;

// A terminal as the gate sees it, changed by the steps of a sequence.
struct World {
    bool shellRunning = true;
    ForegroundReader fg{kShell, false, 0, 0, 0, std::nullopt};
    ClaudeScreen screen;
    // The stepped clock, and when output last came.
    const qint64* clock = nullptr;
    qint64 lastOutput = -100000;
    std::map<pid_t, ProcessInfo> processes;
    std::uint64_t nextStart = 1;

    QList<QByteArray> commands;
    // What the gate typed for a group, and the group.
    QList<QByteArray> typed;
    QList<pid_t> typedFor;
    QList<pid_t> guarded;
    int flushes = 0;
    int shellRestarts = 0;
    int focusMoves = 0;

    TerminalLook look() const
    {
        TerminalLook look;
        look.shellRunning = shellRunning;
        look.shell = kShell;
        if (shellRunning) {
            ForegroundReader reader = fg;
            const auto leader = processes.find(fg.processGroup);
            if (leader != processes.end())
                reader.leader = leader->second;
            look.foreground = reader;
        }
        look.screen = screen;
        look.quietMs = *clock - lastOutput;
        look.bracketedPaste = true;
        return look;
    }
    std::optional<ProcessInfo> process(pid_t pid) const
    {
        const auto found = processes.find(pid);
        return found == processes.end() ? std::nullopt : std::optional<ProcessInfo>(found->second);
    }
    std::vector<ProcessInfo> session() const
    {
        std::vector<ProcessInfo> all;
        for (const auto& [pid, info] : processes)
            all.push_back(info);
        return all;
    }
    void drawn() { lastOutput = *clock; }
    void addProcess(pid_t pid, const char* name)
    {
        ProcessInfo info;
        info.pid = pid;
        info.group = pid;
        info.parent = kShell;
        info.session = kShell;
        info.startTime = nextStart++;
        info.name = name;
        processes[pid] = info;
    }
};

ClaudeScreen readyBox()
{
    ClaudeScreen screen;
    screen.kind = ClaudeScreen::Kind::inputPrompt;
    screen.boxEmpty = true;
    return screen;
}

// One step: what happens, or what the person does.
struct Step {
    enum Op {
        shellAtPrompt,   // the shell's line editor reads, nothing unread
        claudeComes,     // the job typed comes to the front (raw, nothing drawn yet)
        claudeReady,     // its empty box drawn, then still
        claudeAsks,      // a question drawn (n: the Question)
        claudeBox,       // the box holds the person's text
        claudeBusy,      // drawing (output keeps coming)
        claudeReads,     // the carriage return has come, and what was typed is read
        otherBackground, // a job of the person's, not in front
        claudeExits,     // claude ends; the shell takes the terminal
        claudeStops,     // Ctrl+Z: stopped, the shell takes the terminal
        personTypes,     // n bytes of the person's reach the shell
        otherComes,      // a program of the person's comes to the front
        otherLeaves,     // and ends
        unread,          // n bytes wait unread
        shellEnds,
        startWork,       // the card's "시작하기"
        verdict,         // the popup's verdict: text, for task n
        looks,           // n looks of the gate's timer, 50 ms apart
        wait,            // the clock moves on n ms
        act,             // the notice's button
        shellAsks,       // the model's half second after the shell start
    };
    Op op;
    int n = 0;
    QString text = {};
};

Step step(Step::Op op, int n = 0) { return {op, n}; }
Step verdict(const QString& text, int task) { return {Step::verdict, task, text}; }

// What reached claude, as the test names it.
struct Typed {
    enum Form { plain, withInstruction, startOfWork };
    Form form;
    QString text = {};
};

// Hands what the command channel types to the gate, as the panel does, and
// counts the carriage returns it sends.
struct GateChannel : NativeTerminalDelegate {
    TerminalClaudeGate* gate = nullptr;
    int texts = 0;
    int returns = 0;
    void forwardBytes(std::span<const std::uint8_t> bytes) override
    {
        (toBytes(bytes) == "\r" ? returns : texts) += 1;
        if (gate)
            gate->typeFromChannel(bytes);
    }
};

class TerminalClaudeGateTest : public ::testing::Test, protected WorkServicesMachine {
protected:
    void SetUp() override
    {
        NativeTerminalService::shared().setDelegate(&channel);
        UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
    }
    void TearDown() override { NativeTerminalService::shared().setDelegate(nullptr); }

    // The text as claude's box gets it: pasted.
    QByteArray bytesOf(const Typed& typed, const QString& guide) const
    {
        const QString instruction = WorkViewModel::startOfWorkInstruction() + guide;
        QString text = instruction;
        if (typed.form == Typed::plain)
            text = typed.text;
        else if (typed.form == Typed::withInstruction)
            text = instruction + QLatin1Char('\n') + typed.text;
        return QByteArrayLiteral("\x1b[200~") + text.toUtf8() + QByteArrayLiteral("\x1b[201~");
    }

    GateChannel channel;
};

struct Row {
    const char* name;
    QList<Step> steps;
    QList<Typed> typed;
    // Commands typed into the shell: "claude" (the start command), "fg".
    QStringList commands;
    State state;
    int held = 0;
};

QString commandName(const QByteArray& command)
{
    if (command == WorkViewModel::claudeStartCommand())
        return QStringLiteral("claude");
    return QString::fromUtf8(command).trimmed();
}

TEST_F(TerminalClaudeGateTest, Sequences)
{
    const QString approval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
    const QString fix = QStringLiteral("[T] 작업에서 문제가 발생했습니다.\n");
    // Looks until a box drawn now has been still long enough.
    const int still = TerminalClaudeGate::quietBeforeTypingMs / TerminalClaudeGate::pollIntervalMs;
    const int s = still + 1;
    const Step prompt = step(Step::shellAtPrompt);
    const Step comes = step(Step::claudeComes);
    const Step ready = step(Step::claudeReady);
    const Step reads = step(Step::claudeReads);
    const Step exits = step(Step::claudeExits);
    const Step start = step(Step::startWork);
    const Step asks = step(Step::shellAsks);
    auto looks = [](int n) { return step(Step::looks, n); };
    auto asking = [](Question q) { return step(Step::claudeAsks, static_cast<int>(q)); };

    const QList<Row> rows = {
        {"the shell's start: claude started at its prompt, the input typed at its ready box",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), start, reads, looks(8)},
         {{Typed::startOfWork}}, {"claude"}, State::idle},
        {"the box not yet drawn: held, typed once it is drawn and still",
         {prompt, asks, looks(4), comes, looks(1), start, looks(20), ready, looks(s), reads, looks(8)},
         {{Typed::startOfWork}}, {"claude"}, State::idle},
        {"drawn but still changing: nothing typed yet",
         {prompt, asks, looks(4), comes, looks(1), start, ready, step(Step::claudeBusy), looks(20)},
         {}, {"claude"}, State::waiting, 1},
        {"the trust question, then the bypass warning: nothing typed until the box",
         {prompt, asks, looks(4), comes, looks(1), start, asking(Question::folderTrust), looks(10),
          asking(Question::bypassPermissions), looks(10), ready, looks(s), reads, looks(8)},
         {{Typed::startOfWork}}, {"claude"}, State::idle},
        {"a question up: the notice says so",
         {prompt, asks, looks(4), comes, looks(1), start, asking(Question::apiKey), looks(3)},
         {}, {"claude"}, State::question, 1},
        {"a question with nothing held: said too",
         {prompt, asks, looks(4), comes, looks(1), asking(Question::folderTrust), looks(3)},
         {}, {"claude"}, State::question},
        {"the person declines: claude ends, not started again",
         {prompt, asks, looks(4), comes, looks(1), start, asking(Question::bypassPermissions), looks(3), exits, prompt,
          looks(40)},
         {}, {"claude"}, State::claudeEnded, 1},
        {"declined, then tried again: a new claude, the instruction first",
         {prompt, asks, looks(4), comes, looks(1), verdict(approval, 1), asking(Question::folderTrust), looks(3), exits,
          prompt, looks(10), step(Step::act), looks(4), comes, looks(1), ready, looks(s), reads, looks(8)},
         {{Typed::withInstruction, approval}}, {"claude", "claude"}, State::idle},
        {"declined with nothing held: the notice offers a new try",
         {prompt, asks, looks(4), comes, looks(1), asking(Question::folderTrust), looks(3), exits, prompt, looks(5)},
         {}, {"claude"}, State::claudeEnded},
        {"the person's unsent text in the box: waited for",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), step(Step::claudeBox), verdict(approval, 1),
          looks(10)},
         {}, {"claude"}, State::boxNotEmpty, 1},
        {"claude quit after its box was ready: started again where the line is empty, instruction first",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, prompt, looks(2), verdict(approval, 1),
          looks(4), comes, looks(1), ready, looks(s), reads, looks(8)},
         {{Typed::withInstruction, approval}}, {"claude", "claude"}, State::idle},
        {"the person typed at the shell's prompt: asked, not typed",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, prompt, step(Step::personTypes, 4),
          verdict(approval, 1), looks(10)},
         {}, {"claude"}, State::lineNotEmpty, 1},
        {"asked, and the person says the line is empty: started",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, prompt, step(Step::personTypes, 4),
          verdict(approval, 1), looks(10), step(Step::act), looks(4), comes, looks(1), ready, looks(s), reads,
          looks(8)},
         {{Typed::withInstruction, approval}}, {"claude", "claude"}, State::idle},
        {"the person typed in the shell before its start: claude not started by itself",
         {prompt, step(Step::personTypes, 3), asks, looks(10)},
         {}, {}, State::idle},
        {"a program of the person's in front: nothing typed, said",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, prompt, looks(2), step(Step::otherComes),
          verdict(approval, 1), looks(20)},
         {}, {"claude"}, State::otherProgram, 1},
        {"that program ends after the person typed into it: asked before claude",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, prompt, looks(2), step(Step::otherComes),
          step(Step::personTypes, 6), verdict(approval, 1), looks(5), step(Step::otherLeaves), looks(10)},
         {}, {"claude"}, State::lineNotEmpty, 1},
        {"claude stopped (Ctrl+Z), alone: brought back with fg, not doubled",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), step(Step::claudeStops), looks(2),
          verdict(approval, 1), looks(5), comes, ready, looks(s), reads, looks(8)},
         {{Typed::plain, approval}}, {"claude", "fg"}, State::idle},
        {"claude stopped beside another job: the person is asked to bring it back",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), step(Step::claudeStops),
          step(Step::otherBackground), looks(2), verdict(approval, 1), looks(10)},
         {}, {"claude"}, State::suspended, 1},
        {"two approvals of two tasks: two inputs, in order",
         {prompt, asks, looks(4), comes, looks(1), verdict(approval, 1), verdict(approval, 2), verdict(fix, 3),
          ready, looks(s), reads, looks(8), step(Step::claudeBusy), looks(3), ready, looks(still), reads, looks(8),
          step(Step::claudeBusy), looks(3), ready, looks(still), reads, looks(8)},
         {{Typed::plain, approval}, {Typed::plain, approval}, {Typed::plain, fix}}, {"claude"}, State::idle},
        {"the same press twice for one task: once",
         {prompt, asks, looks(4), comes, looks(1), verdict(approval, 1), verdict(approval, 1), start, start, ready,
          looks(s), reads, looks(8), step(Step::claudeBusy), looks(3), ready, looks(s), reads, looks(8),
          step(Step::claudeBusy), looks(3), ready, looks(s), reads, looks(8)},
         {{Typed::plain, approval}, {Typed::startOfWork}}, {"claude"}, State::idle},
        {"the same press while the first is on its way: once",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), verdict(approval, 1), verdict(approval, 1), reads,
          looks(3), step(Step::claudeBusy), looks(3), ready, looks(still * 2)},
         {{Typed::plain, approval}}, {"claude"}, State::idle},
        {"claude ends with the input unread: discarded, held again, the line no longer known empty",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), verdict(approval, 1), step(Step::unread, 30),
          looks(1), exits, prompt, looks(10)},
         {{Typed::plain, approval}}, {"claude"}, State::lineNotEmpty, 1},
        {"and once the person says the line is empty: a new claude gets it",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), verdict(approval, 1), step(Step::unread, 30),
          looks(1), exits, prompt, looks(10), step(Step::act), looks(4), comes, looks(1), ready, looks(s), reads,
          looks(8)},
         {{Typed::plain, approval}, {Typed::withInstruction, approval}}, {"claude", "claude"}, State::idle},
        {"what the person types to clear the line, still on its way, does not count against them",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, prompt, step(Step::personTypes, 4),
          verdict(approval, 1), looks(10), step(Step::personTypes, 1), step(Step::act), looks(4), comes, looks(1),
          ready, looks(s), reads, looks(8)},
         {{Typed::withInstruction, approval}}, {"claude", "claude"}, State::idle},
        {"the command brings nothing up: said, not typed again",
         {prompt, asks, looks(4), verdict(approval, 1), looks(TerminalClaudeGate::appearDeadlineMs / 50 + 2),
          looks(20)},
         {}, {"claude"}, State::notStarted, 1},
        {"the shell ended: said; started again in the same view on the button",
         {prompt, asks, looks(4), comes, looks(1), ready, looks(s), exits, step(Step::shellEnds), verdict(approval, 1),
          looks(3), step(Step::act)},
         {}, {"claude"}, State::waiting, 1},
        {"a slow start: still waiting, in other words",
         {prompt, asks, looks(4), comes, looks(1), start, step(Step::wait, TerminalClaudeGate::slowAfterMs), looks(1)},
         {}, {"claude"}, State::waiting, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        channel.texts = 0;
        channel.returns = 0;
        World world;
        WorkViewModel model(services);
        const QString guide = *model.promptFilePath();
        qint64 clock = 0;
        world.clock = &clock;
        TerminalClaudeGate* gatePointer = nullptr;
        TerminalClaudeGate::Terminal port;
        port.look = [&] { return world.look(); };
        port.process = [&](pid_t pid) { return world.process(pid); };
        port.session = [&](pid_t) { return world.session(); };
        port.typeCommand = [&](const QByteArray& command) { world.commands << command; };
        port.typeForClaude = [&](const QByteArray& bytes, pid_t group) {
            world.typed << bytes;
            world.typedFor << group;
        };
        port.guardReader = [&](pid_t pid, std::uint64_t) { world.guarded << pid; };
        port.flushInput = [&] { ++world.flushes; };
        port.restartShell = [&] {
            ++world.shellRestarts;
            world.shellRunning = true;
            world.fg = ForegroundReader{kShell, false, 0, 0, 0, std::nullopt};
            gatePointer->shellStarted();
        };
        port.focusTerminal = [&] { ++world.focusMoves; };
        TerminalClaudeGate gate(&model, port);
        gatePointer = &gate;
        channel.gate = &gate;
        gate.setClock([&] { return clock; });
        gate.shellStarted();

        for (const Step& s : row.steps) {
            switch (s.op) {
            case Step::shellAtPrompt:
                world.fg = ForegroundReader{kShell, false, 0, world.fg.personBytes, world.fg.personBytesElsewhere, std::nullopt};
                world.screen = {};
                world.drawn();
                break;
            case Step::claudeComes:
                if (!world.processes.count(kClaude))
                    world.addProcess(kClaude, "claude");
                world.processes[kClaude].stopped = false;
                world.fg.processGroup = kClaude;
                world.fg.lineMode = false;
                world.screen = {};
                world.drawn();
                break;
            case Step::claudeReady:
                world.screen = readyBox();
                world.drawn();
                break;
            case Step::claudeAsks:
                world.screen = ClaudeScreen{ClaudeScreen::Kind::question, static_cast<Question>(s.n), {}, false};
                world.drawn();
                break;
            case Step::claudeBox:
                world.screen = ClaudeScreen{ClaudeScreen::Kind::inputPrompt, Question::none, "half", false};
                world.drawn();
                break;
            case Step::claudeBusy:
                world.screen = {};
                world.drawn();
                break;
            case Step::claudeReads:
                // The channel's carriage return has come (a real timer).
                EXPECT_TRUE(waitUntil([&] { return channel.returns == channel.texts; }));
                world.fg.unreadInput = 0;
                world.screen = {};
                world.drawn();
                break;
            case Step::otherBackground:
                world.addProcess(kOther, "sleep");
                break;
            case Step::claudeExits:
                world.processes.erase(kClaude);
                gate.readerGone(kClaude);
                world.fg.processGroup = kShell;
                world.fg.unreadInput = 0;
                world.screen = {};
                world.drawn();
                break;
            case Step::claudeStops:
                world.processes[kClaude].stopped = true;
                world.fg.processGroup = kShell;
                world.screen = {};
                world.drawn();
                break;
            case Step::personTypes:
                world.fg.personBytes += static_cast<std::uint64_t>(s.n);
                world.fg.personBytesElsewhere += static_cast<std::uint64_t>(s.n);
                break;
            case Step::otherComes:
                world.addProcess(kOther, "python3");
                world.fg.processGroup = kOther;
                world.fg.lineMode = false;
                world.screen = {};
                break;
            case Step::otherLeaves:
                world.processes.erase(kOther);
                world.fg.processGroup = kShell;
                break;
            case Step::unread:
                world.fg.unreadInput = static_cast<std::size_t>(s.n);
                break;
            case Step::shellEnds:
                world.shellRunning = false;
                break;
            case Step::startWork:
                model.startWork();
                break;
            case Step::verdict:
                model.sendPrompt(s.text, s.n);
                break;
            case Step::looks:
                for (int i = 0; i < s.n; ++i) {
                    clock += TerminalClaudeGate::pollIntervalMs;
                    gate.poll();
                }
                break;
            case Step::wait:
                clock += s.n;
                break;
            case Step::act:
                gate.act();
                break;
            case Step::shellAsks:
                gate.startClaudeWhenReady();
                break;
            }
        }

        QList<QByteArray> expected;
        for (const Typed& t : row.typed)
            expected << bytesOf(t, guide);
        QList<QByteArray> texts;
        for (const QByteArray& bytes : world.typed) {
            if (bytes != "\r")
                texts << bytes;
        }
        EXPECT_EQ(texts, expected);
        QStringList commands;
        for (const QByteArray& command : world.commands)
            commands << commandName(command);
        EXPECT_EQ(commands, row.commands);
        EXPECT_EQ(gate.state(), row.state) << gate.noticeText().toStdString();
        EXPECT_EQ(gate.heldCount(), row.held);
        // Every byte for claude went to the panel's claude; a carriage return
        // only ever after its text, and the last text's once all is done.
        for (const pid_t group : world.typedFor)
            EXPECT_EQ(group, kClaude);
        for (qsizetype i = 0; i < world.typed.size(); ++i) {
            if (world.typed[i] == "\r") {
                EXPECT_TRUE(i > 0 && world.typed[i - 1] != "\r") << "a return of no text at " << i;
            }
        }
        if (!world.typed.isEmpty() && row.state == State::idle) {
            EXPECT_EQ(world.typed.last(), QByteArrayLiteral("\r"));
        }
        // Work counts as started only once its instruction was typed.
        const bool workStarted = std::any_of(row.typed.begin(), row.typed.end(),
                                             [](const Typed& t) { return t.form == Typed::startOfWork; });
        EXPECT_EQ(model.hasLaunchedBefore(), workStarted);
        UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
        // Each of the channel's carriage returns has come, here and not in the next row.
        EXPECT_TRUE(waitUntil([&] { return channel.returns == channel.texts; }));
        channel.gate = nullptr;
    }
}

TEST(TerminalClaudeGateBytes, WhatClaudesBoxGets)
{
    struct Row {
        const char* name;
        QByteArray command;
        bool paste;
        QByteArray expected;
    };
    const Row rows[] = {
        {"pasted, the command's line feed dropped", "approve\n", true, "\x1b[200~approve\x1b[201~"},
        {"line breaks, blank lines and blanks kept", "a\n\n b  \n", true, "\x1b[200~a\n\n b  \x1b[201~"},
        {"only the last line feed is the command's", "a\n\n", true, "\x1b[200~a\n\x1b[201~"},
        {"an end of paste in the text cannot end it", "x\x1b[201~\ry\n", true, "\x1b[200~x[201~\ry\x1b[201~"},
        {"typed where claude takes no paste", "a\nb\n", false, "a\nb"},
        {"escapes out there too", "\x1b[Aup\n", false, "[Aup"},
        {"Korean and emoji as they are", "한글 👩‍👩‍👧\n", true, "\x1b[200~한글 👩‍👩‍👧\x1b[201~"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TerminalClaudeGate::bytesForClaude(row.command, row.paste), row.expected);
    }
}

TEST_F(TerminalClaudeGateTest, TheNoticeTheButtonAndTheKeyboard)
{
    World world;
    WorkViewModel model(services);
    qint64 clock = 0;
    world.clock = &clock;
    TerminalClaudeGate::Terminal port;
    port.look = [&] { return world.look(); };
    port.process = [&](pid_t pid) { return world.process(pid); };
    port.session = [&](pid_t) { return world.session(); };
    port.typeCommand = [&](const QByteArray& command) { world.commands << command; };
    port.typeForClaude = [&](const QByteArray& bytes, pid_t) { world.typed << bytes; };
    port.restartShell = [&] { ++world.shellRestarts; };
    port.focusTerminal = [&] { ++world.focusMoves; };
    auto gate = std::make_unique<TerminalClaudeGate>(&model, port);
    channel.gate = gate.get();
    gate->setClock([&] { return clock; });
    auto looks = [&](int n) {
        for (int i = 0; i < n; ++i) {
            clock += TerminalClaudeGate::pollIntervalMs;
            gate->poll();
        }
    };
    EXPECT_FALSE(gate->showsNotice());
    EXPECT_FALSE(gate->isWatching());

    LogCapture log;
    gate->startClaudeWhenReady();
    looks(4);
    ASSERT_EQ(world.commands, QList<QByteArray>{WorkViewModel::claudeStartCommand()});
    world.addProcess(kClaude, "claude");
    world.fg.processGroup = kClaude;
    world.screen = ClaudeScreen{ClaudeScreen::Kind::question, Question::folderTrust, {}, false};
    looks(1);
    EXPECT_EQ(gate->noticeText(), QStringLiteral("claude가 터미널에서 묻고 있어요. 터미널에서 답해 주세요."));
    EXPECT_EQ(world.focusMoves, 0) << "nothing held: the keyboard stays where it is";
    model.startWork();
    looks(1);
    EXPECT_EQ(gate->noticeText(),
              QStringLiteral("claude가 터미널에서 묻고 있어요. 터미널에서 답하면 기다리던 내용을 보낼게요."));
    EXPECT_FALSE(gate->isWaiting());
    EXPECT_TRUE(gate->actionText().isEmpty());
    EXPECT_EQ(world.focusMoves, 1) << "held at a question: the keyboard goes to the terminal";

    // The person says no: the notice, its button, and no new claude.
    world.processes.erase(kClaude);
    world.fg.processGroup = kShell;
    world.screen = {};
    looks(10);
    EXPECT_EQ(gate->state(), State::claudeEnded);
    EXPECT_EQ(gate->actionText(), QStringLiteral("다시 시도"));
    EXPECT_EQ(world.commands.size(), 1);
    EXPECT_TRUE(log.contains(QStringLiteral("[TerminalClaudeGate] - claude started: process 200")));
    EXPECT_TRUE(log.contains(QStringLiteral("[TerminalClaudeGate] - claude is gone")));

    world.fg.personBytesElsewhere = 5;
    gate->act();
    looks(5);
    EXPECT_EQ(gate->state(), State::lineNotEmpty);
    EXPECT_EQ(gate->actionText(), QStringLiteral("claude 시작"));
    gate->act();
    looks(4);
    EXPECT_EQ(world.commands.size(), 2);
    EXPECT_TRUE(gate->isWaiting());
    EXPECT_EQ(gate->noticeText(), QStringLiteral("claude가 준비되는 대로 보낼게요."));
    EXPECT_TRUE(model.forceShowAsPlanned()) << "a new claude gets the instruction";

    world.shellRunning = false;
    looks(1);
    EXPECT_EQ(gate->state(), State::shellEnded);
    EXPECT_EQ(gate->actionText(), QStringLiteral("터미널 다시 시작"));
    gate->act();
    EXPECT_EQ(world.shellRestarts, 1);

    EXPECT_TRUE(world.typed.isEmpty());

    // The panel goes: the model types through the channel at once again.
    channel.gate = nullptr;
    gate.reset();
    EXPECT_EQ(model.claudeInputGate(), nullptr);
    model.sendPrompt(QStringLiteral("y"));
    EXPECT_EQ(channel.texts, 1);
    EXPECT_TRUE(waitUntil([&] { return channel.returns == 1; }));
}

} // namespace
} // namespace orva::test
