// Who reads the work screen's terminal, and the gate that types for `claude`
// only while `claude` reads it: sequences of what the terminal shows, what
// the person presses, and what reaches the terminal, on a clock stepped by hand.
#include "platform/UserDefaults.h"
#include "support/TempContext.h"
#include "terminal/NativeTerminalService.h"
#include "ui/screens/work/TerminalClaudeGate.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workflow/common/WorkflowTestSupport.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/FolderPanel.h"
#include "workspace/XcodeService.h"

#include "ui/screens/work/WorkServicesMachine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orva::test {
namespace {

using R = TerminalReader;

TEST(TerminalReaderOf, FromTheForegroundQuery)
{
    constexpr pid_t shell = 4242;
    struct Row {
        const char* name;
        std::optional<ForegroundReader> foreground;
        TerminalReader expected;
    };
    const QList<Row> rows = {
        {"no child runs", std::nullopt, R::nobody},
        {"the shell's line editor", ForegroundReader{shell, false}, R::shellPrompt},
        {"the shell starting or between commands", ForegroundReader{shell, true}, R::shellBusy},
        {"the shell's line editor with a line still unread", ForegroundReader{shell, false, 38}, R::shellBusy},
        {"a program with input unread", ForegroundReader{5000, false, 12}, R::program},
        {"a program the shell started, not yet reading keys", ForegroundReader{5000, true}, R::programStarting},
        {"a program reading keys as they come", ForegroundReader{5000, false}, R::program},
        {"no foreground group", ForegroundReader{0, false}, R::programStarting},
        {"the group could not be asked", ForegroundReader{-1, false}, R::programStarting},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(terminalReaderOf(row.foreground, shell), row.expected);
    }
    EXPECT_EQ(terminalReaderOf(nullptr), R::nobody);
    EXPECT_TRUE(shellReads(R::shellPrompt));
    EXPECT_TRUE(shellReads(R::shellBusy));
    EXPECT_FALSE(shellReads(R::program));
    EXPECT_FALSE(shellReads(R::programStarting));
    EXPECT_FALSE(shellReads(R::nobody));
}

// One step of a sequence.
struct Step {
    enum Op {
        reader,    // the terminal now shows `who`
        pending,   // a start is on its way (n = 1) or not (n = 0)
        startWork, // the card's "시작하기"
        prompt,    // the popup's verdict: `text`
        looks,     // n looks of the gate's timer, the clock moving on between them
        wait,      // the clock moves on n ms (no look)
        retry,     // "다시 시도"
    };
    Op op;
    TerminalReader who = R::nobody;
    int n = 0;
    QString text = {};
};

Step shows(TerminalReader who) { return {Step::reader, who}; }
Step pendingStart(bool on) { return {Step::pending, R::nobody, on ? 1 : 0}; }
Step pressStart() { return {Step::startWork}; }
Step verdict(const QString& text) { return {Step::prompt, R::nobody, 0, text}; }
Step looks(int n) { return {Step::looks, R::nobody, n}; }
Step waitMs(int ms) { return {Step::wait, R::nobody, ms}; }
Step retry() { return {Step::retry}; }

// What a typed input is, as the test names it.
struct Typed {
    enum Form { plain, withInstruction, startOfWork };
    Form form;
    QString text = {};
};

class TerminalClaudeGateTest : public ::testing::Test, protected WorkServicesMachine {
protected:
    void SetUp() override
    {
        NativeTerminalService::shared().setDelegate(&channel);
        UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
    }
    void TearDown() override { NativeTerminalService::shared().setDelegate(nullptr); }

    // Everything typed through the channel but the carriage returns that
    // follow each command.
    QList<QByteArray> typed() const
    {
        QList<QByteArray> result;
        for (const Delivery& delivery : channel.received) {
            if (delivery.bytes != "\r")
                result << delivery.bytes;
        }
        return result;
    }

    QByteArray bytesOf(const Typed& typed, const QString& guide) const
    {
        const QString instruction = WorkViewModel::startOfWorkInstruction() + guide;
        switch (typed.form) {
        case Typed::plain:
            return (typed.text + QLatin1Char('\n')).toUtf8();
        case Typed::withInstruction:
            return (instruction + QLatin1Char('\n') + typed.text + QLatin1Char('\n')).toUtf8();
        case Typed::startOfWork:
            break;
        }
        return (instruction + QLatin1Char('\n')).toUtf8();
    }

    RecordingChannelDelegate channel;
};

TEST_F(TerminalClaudeGateTest, Sequences)
{
    const QString approval = QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
    const QString fix = QStringLiteral("[T] 작업에서 문제가 발생했습니다.\n");
    using S = TerminalClaudeGate::State;
    // Looks of the shell at its prompt before the start command is typed.
    const int settle = TerminalClaudeGate::promptSettleLooks;
    struct Row {
        const char* name;
        QList<Step> steps;
        QList<Typed> expectedTyped;
        int claudeStarts;
        int terminalStarts;
        S state;
    };
    const QList<Row> rows = {
        {"claude reads: typed at once, as it is",
         {shows(R::program), verdict(approval), pressStart()},
         {{Typed::plain, approval}, {Typed::startOfWork}}, 0, 0, S::idle},
        {"the shell at its prompt: held, claude started once, then the instruction, the path and each input once",
         {shows(R::shellPrompt), pressStart(), verdict(approval), verdict(fix), pressStart(), verdict(approval), looks(3),
          looks(20), shows(R::programStarting), looks(5), shows(R::program), looks(3), waitMs(200), looks(1),
          waitMs(200), looks(1)},
         {{Typed::startOfWork}, {Typed::plain, approval}, {Typed::plain, fix}}, 1, 0, S::idle},
        {"a prompt first: it carries the instruction",
         {shows(R::shellPrompt), verdict(approval), looks(settle), shows(R::program), looks(3)},
         {{Typed::withInstruction, approval}}, 1, 0, S::idle},
        {"nothing until the shell settles at its prompt",
         {shows(R::shellBusy), verdict(approval), looks(10), shows(R::shellPrompt), looks(settle - 1)},
         {}, 0, 0, S::waiting},
        {"a start on its way is not doubled",
         {pendingStart(true), shows(R::shellPrompt), verdict(approval), looks(10), shows(R::programStarting), looks(3),
          pendingStart(false), shows(R::program), looks(3)},
         {{Typed::plain, approval}}, 0, 0, S::idle},
        {"a start on its way that leaves the shell at its prompt: claude is started",
         {pendingStart(true), shows(R::shellPrompt), verdict(approval), looks(5), pendingStart(false), looks(settle),
          shows(R::program), looks(3)},
         {{Typed::withInstruction, approval}}, 1, 0, S::idle},
        {"claude starting up is waited for, and nothing started",
         {shows(R::programStarting), pressStart(), looks(10), shows(R::program), looks(3)},
         {{Typed::startOfWork}}, 0, 0, S::idle},
        {"claude reading for a moment only is not trusted",
         {shows(R::shellPrompt), verdict(approval), looks(settle), shows(R::program), looks(2), shows(R::shellPrompt),
          looks(settle + 5)},
         {}, 1, 0, S::waiting},
        {"no shell: the terminal is started again, once",
         {shows(R::nobody), verdict(approval), looks(3), looks(10), shows(R::shellPrompt), looks(5), shows(R::program),
          looks(3)},
         {{Typed::plain, approval}}, 0, 1, S::idle},
        {"claude never comes up: nothing sent, failed",
         {shows(R::shellPrompt), verdict(approval), looks(settle), waitMs(TerminalClaudeGate::defaultDeadlineMs), looks(1),
          looks(5)},
         {}, 1, 0, S::failed},
        {"failed, then retried: claude started again and the input typed",
         {shows(R::shellPrompt), verdict(approval), looks(settle), waitMs(TerminalClaudeGate::defaultDeadlineMs), looks(1),
          retry(), looks(settle), shows(R::program), looks(3)},
         {{Typed::withInstruction, approval}}, 2, 0, S::idle},
        {"failed, then pressed again: a new attempt with both inputs",
         {shows(R::shellPrompt), verdict(approval), looks(settle), waitMs(TerminalClaudeGate::defaultDeadlineMs), looks(1),
          pressStart(), looks(settle), shows(R::program), looks(3), waitMs(200), looks(1)},
         {{Typed::withInstruction, approval}, {Typed::startOfWork}}, 2, 0, S::idle},
        {"claude leaves between two inputs: the rest waits for the next one",
         {shows(R::shellPrompt), verdict(approval), verdict(fix), looks(settle), shows(R::program), looks(3),
          shows(R::shellPrompt), waitMs(200), looks(settle + 1), shows(R::program), looks(3)},
         {{Typed::withInstruction, approval}, {Typed::withInstruction, fix}}, 2, 0, S::idle},
        {"two inputs are spaced for the carriage return in between",
         {shows(R::program), verdict(approval), shows(R::programStarting), verdict(fix), verdict(approval), looks(3),
          shows(R::program), looks(3), waitMs(100), looks(1)},
         {{Typed::plain, approval}, {Typed::plain, fix}}, 0, 0, S::delivering},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        channel.received.clear();
        WorkViewModel model(services);
        const QString guide = *model.promptFilePath();
        RecordingTerminal terminal;
        TerminalReader current = R::nobody;
        bool startOnItsWay = false;
        int claudeStarts = 0;
        int terminalStarts = 0;
        qint64 clock = 0;
        TerminalClaudeGate::Terminal port;
        port.reader = [&] { return current; };
        port.startPending = [&] { return startOnItsWay; };
        port.startClaude = [&] {
            ++claudeStarts;
            model.startClaudeAgain(terminal);
        };
        port.startTerminal = [&] { ++terminalStarts; };
        TerminalClaudeGate gate(&model, port);
        gate.setClock([&] { return clock; });
        ASSERT_EQ(model.claudeInputGate(), &gate);

        for (const Step& step : row.steps) {
            switch (step.op) {
            case Step::reader:
                current = step.who;
                break;
            case Step::pending:
                startOnItsWay = step.n != 0;
                break;
            case Step::startWork:
                model.startWork();
                break;
            case Step::prompt:
                model.sendPrompt(step.text);
                break;
            case Step::looks:
                for (int i = 0; i < step.n; ++i) {
                    clock += TerminalClaudeGate::pollIntervalMs;
                    gate.poll();
                }
                break;
            case Step::wait:
                clock += step.n;
                break;
            case Step::retry:
                gate.retry();
                break;
            }
        }

        QList<QByteArray> expected;
        for (const Typed& t : row.expectedTyped)
            expected << bytesOf(t, guide);
        EXPECT_EQ(typed(), expected);
        EXPECT_EQ(claudeStarts, row.claudeStarts);
        EXPECT_EQ(terminalStarts, row.terminalStarts);
        EXPECT_EQ(gate.state(), row.state);
        // Each start of `claude` is the start command, typed where the shell reads.
        ASSERT_EQ(terminal.delegate.sent.size(), row.claudeStarts);
        for (const Delivery& start : terminal.delegate.sent)
            EXPECT_EQ(start.bytes, WorkViewModel::claudeStartCommand());
        // Work counts as started only once its instruction was typed.
        const bool workStarted = std::any_of(row.expectedTyped.begin(), row.expectedTyped.end(),
                                             [](const Typed& t) { return t.form == Typed::startOfWork; });
        EXPECT_EQ(model.hasLaunchedBefore(), workStarted);
        UserDefaults::setBool(QStringLiteral("hasLaunchedBefore"), false);
        // Every command typed gets its carriage return, here and not in the next row.
        EXPECT_TRUE(waitUntil([&] { return channel.received.size() == 2 * typed().size(); }));
    }
}

TEST_F(TerminalClaudeGateTest, TheNoticeFollowsTheState)
{
    WorkViewModel model(services);
    TerminalReader current = R::shellPrompt;
    qint64 clock = 0;
    TerminalClaudeGate::Terminal port;
    port.reader = [&] { return current; };
    port.startPending = [] { return false; };
    port.startClaude = [] {};
    port.startTerminal = [] {};
    auto gate = std::make_unique<TerminalClaudeGate>(&model, port);
    gate->setClock([&] { return clock; });
    gate->setDeadlineMs(2000);
    EXPECT_FALSE(gate->showsNotice());
    EXPECT_TRUE(gate->noticeText().isEmpty());

    LogCapture log;
    model.sendPrompt(QStringLiteral("x"));
    EXPECT_TRUE(gate->showsNotice());
    EXPECT_FALSE(gate->isFailed());
    EXPECT_EQ(gate->noticeText(), QStringLiteral("claude가 준비되는 대로 보낼게요."));
    EXPECT_EQ(gate->heldCount(), 1);
    clock += 2000;
    gate->poll();
    EXPECT_TRUE(gate->isFailed());
    EXPECT_EQ(gate->noticeText(),
              QStringLiteral("claude가 시작되지 않아 보내지 못했어요. 터미널을 확인하고 다시 시도해 주세요."));
    EXPECT_TRUE(log.contains(QStringLiteral("[TerminalClaudeGate] - claude does not read the terminal: held until it does")));
    EXPECT_TRUE(log.contains(QStringLiteral("[TerminalClaudeGate] - claude did not come up: nothing sent")));
    EXPECT_TRUE(channel.received.isEmpty());

    // The panel goes: the model types at once again, and the held input is gone.
    gate.reset();
    EXPECT_EQ(model.claudeInputGate(), nullptr);
    model.sendPrompt(QStringLiteral("y"));
    ASSERT_FALSE(channel.received.isEmpty());
    EXPECT_EQ(channel.received.first().bytes, QByteArrayLiteral("y\n"));
    EXPECT_TRUE(waitUntil([&] { return channel.received.size() == 2; }));
}

} // namespace
} // namespace orva::test
