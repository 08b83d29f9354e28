#include "workflow/TerminalClaudeGate.h"

#include "platform/Log.h"
#include "workflow/WorkViewModel.h"

namespace orva {

namespace {
void gateLog(const QString& text)
{
    logLine(QStringLiteral("[TerminalClaudeGate] - ") + text);
}
} // namespace

TerminalClaudeGate::TerminalClaudeGate(WorkViewModel* model, Terminal terminal, QObject* parent)
    : QObject(parent)
    , model_(model)
    , terminal_(std::move(terminal))
{
    if (!terminal_.process)
        terminal_.process = [](pid_t pid) { return processInfo(pid); };
    if (!terminal_.session)
        terminal_.session = [](pid_t session) { return processesOfSession(session); };
    elapsed_.start();
    timer_.setInterval(pollIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TerminalClaudeGate::poll);
    if (model_)
        model_->setClaudeInputGate(this);
}

TerminalClaudeGate::~TerminalClaudeGate()
{
    if (model_)
        model_->clearClaudeInputGate(this);
}

qint64 TerminalClaudeGate::now() const
{
    return clock_ ? clock_() : elapsed_.elapsed();
}

void TerminalClaudeGate::setState(State state)
{
    // A question with something held: the person answers it in the terminal.
    if (state == State::question && !held_.isEmpty() && !keyboardMoved_) {
        keyboardMoved_ = true;
        if (terminal_.focusTerminal)
            terminal_.focusTerminal();
    }
    if (state != State::question)
        keyboardMoved_ = false;
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

void TerminalClaudeGate::updateWatching()
{
    const bool watch = !held_.isEmpty() || delivery_ || wantStart_ || awaitingClaude_ || (claude_ && !claudeReachedPrompt_);
    if (watch && !timer_.isActive())
        timer_.start();
    else if (!watch)
        timer_.stop();
}

QString TerminalClaudeGate::noticeText() const
{
    const bool held = !held_.isEmpty();
    switch (state_) {
    case State::idle:
        return {};
    case State::waiting:
        if (claude_ && now() - waitingSince_ >= slowAfterMs)
            return QStringLiteral("claude가 아직 준비되지 않았어요. 터미널을 확인해 주세요. 준비되면 바로 보낼게요.");
        return QStringLiteral("claude가 준비되는 대로 보낼게요.");
    case State::question:
        return held ? QStringLiteral("claude가 터미널에서 묻고 있어요. 터미널에서 답하면 기다리던 내용을 보낼게요.")
                    : QStringLiteral("claude가 터미널에서 묻고 있어요. 터미널에서 답해 주세요.");
    case State::boxNotEmpty:
        return QStringLiteral("claude 입력창에 보내지 않은 글이 있어요. 그 글을 보내거나 지우면 이어서 보낼게요.");
    case State::otherProgram:
        return QStringLiteral("터미널에서 다른 프로그램(%1)이 실행 중이에요. 그 프로그램을 마치면 claude를 시작해서 보낼게요.")
            .arg(otherProgramName_);
    case State::suspended:
        return QStringLiteral("claude가 멈춰 있어요. 터미널에서 fg를 입력해 다시 불러오면 이어서 보낼게요.");
    case State::lineNotEmpty:
        return QStringLiteral("터미널 입력줄에 입력하던 내용이 있을 수 있어요. 입력줄을 비운 뒤 'claude 시작'을 눌러 주세요.");
    case State::claudeEnded:
        return held ? QStringLiteral("claude가 종료되어 보내지 못했어요. 터미널을 확인한 뒤 '다시 시도'를 눌러 주세요.")
                    : QStringLiteral("claude가 종료되었어요. 터미널을 확인한 뒤 '다시 시도'를 눌러 주세요.");
    case State::notStarted:
        return QStringLiteral("claude가 시작되지 않았어요. 터미널을 확인한 뒤 '다시 시도'를 눌러 주세요.");
    case State::shellEnded:
        return QStringLiteral("터미널의 셸이 종료되었어요. 다시 시작하면 claude를 시작해서 보낼게요.");
    }
    return {};
}

QString TerminalClaudeGate::actionText() const
{
    switch (state_) {
    case State::claudeEnded:
    case State::notStarted:
        return QStringLiteral("다시 시도");
    case State::lineNotEmpty:
        return QStringLiteral("claude 시작");
    case State::shellEnded:
        return QStringLiteral("터미널 다시 시작");
    default:
        return {};
    }
}

pid_t TerminalClaudeGate::typingGroup() const
{
    return delivery_ && claude_ ? claude_->group : 0;
}

QByteArray TerminalClaudeGate::bytesForClaude(const QByteArray& command, bool bracketedPaste)
{
    QByteArray text = command;
    if (text.endsWith('\n'))
        text.chop(1);
    text.replace('\x1b', QByteArray());
    if (!bracketedPaste)
        return text;
    return QByteArrayLiteral("\x1b[200~") + text + QByteArrayLiteral("\x1b[201~");
}

void TerminalClaudeGate::typeFromChannel(std::span<const std::uint8_t> bytes)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    if (!delivery_ || !claude_ || !terminal_.typeForClaude) {
        gateLog(QStringLiteral("claude's input box is not ready: ") + QString::number(data.size())
                + QStringLiteral(" bytes not typed"));
        return;
    }
    if (data == "\r") {
        delivery_->returnDue = true;
        return;
    }
    if (delivery_->textTyped) {
        gateLog(QStringLiteral("a second text for one input: not typed"));
        return;
    }
    terminal_.typeForClaude(bytesForClaude(data, terminal_.look().bracketedPaste), claude_->group);
    delivery_->textTyped = true;
    delivery_->textTypedAt = now();
}

bool TerminalClaudeGate::admit(const ClaudeInput& input)
{
    // The gate itself hands back a held input: it has just seen the box ready.
    if (performing_)
        return true;
    // The same press again while the first still waits (or is on its way).
    if (held_.contains(input) || (delivery_ && delivery_->input == input))
        return false;
    if (held_.isEmpty() && !delivery_) {
        const TerminalLook look = terminal_.look();
        const bool ready = claude_ && look.foreground && look.foreground->processGroup == claude_->group
                           && !look.foreground->lineMode && look.foreground->unreadInput == 0
                           && look.screen.isReadyPrompt() && look.quietMs >= quietBeforeTypingMs;
        if (ready) {
            delivery_ = Delivery{input};
            updateWatching();
            return true;
        }
        waitingSince_ = now();
    }
    gateLog(QStringLiteral("claude's input box is not ready: held until it is"));
    held_.append(input);
    emit heldChanged();
    updateWatching();
    poll();
    return false;
}

void TerminalClaudeGate::startClaudeWhenReady()
{
    if (awaitingClaude_ || claude_)
        return;
    wantStart_ = true;
    updateWatching();
    poll();
}

void TerminalClaudeGate::shellStarted()
{
    forgetClaude();
    awaitingClaude_ = false;
    delivery_.reset();
    endedEarly_ = false;
    notStarted_ = false;
    lineEmptyMark_ = 0;
    lineMayHoldClaudesText_ = false;
    personSaysLineEmpty_ = false;
    promptLooks_ = 0;
    if (state_ == State::shellEnded)
        setState(held_.isEmpty() ? State::idle : State::waiting);
    updateWatching();
}

void TerminalClaudeGate::forgetClaude()
{
    claude_.reset();
    claudeReachedPrompt_ = false;
    fgTypedFor_ = 0;
}

void TerminalClaudeGate::readerGone(pid_t reader)
{
    if (!claude_ || claude_->pid != reader)
        return;
    gateLog(claudeReachedPrompt_ ? QStringLiteral("claude ended") : QStringLiteral("claude ended before its input box was drawn"));
    if (!claudeReachedPrompt_)
        endedEarly_ = true;
    forgetClaude();
    poll();
}

void TerminalClaudeGate::act()
{
    switch (state_) {
    case State::claudeEnded:
    case State::notStarted:
        endedEarly_ = false;
        notStarted_ = false;
        if (held_.isEmpty())
            wantStart_ = true;
        restartWanted_ = true;
        break;
    case State::lineNotEmpty:
        // The person says the line is empty (what they typed to clear it
        // may still be on its way: it does not count against them).
        personSaysLineEmpty_ = true;
        restartWanted_ = true;
        if (held_.isEmpty())
            wantStart_ = true;
        break;
    case State::shellEnded:
        if (terminal_.restartShell)
            terminal_.restartShell();
        break;
    default:
        return;
    }
    setState(held_.isEmpty() ? State::idle : State::waiting);
    updateWatching();
    poll();
}

bool TerminalClaudeGate::shellAtPrompt(const TerminalLook& look) const
{
    const auto& fg = look.foreground;
    return fg && fg->processGroup == look.shell && !fg->lineMode && fg->unreadInput == 0
           && look.quietMs >= quietBeforeCommandMs && promptLooks_ >= 3;
}

bool TerminalClaudeGate::lineKnownEmpty(const TerminalLook& look) const
{
    if (personSaysLineEmpty_)
        return true;
    return look.foreground && look.foreground->personBytesElsewhere == lineEmptyMark_ && !lineMayHoldClaudesText_;
}

bool TerminalClaudeGate::claudeIsOnlyJob(const TerminalLook& look) const
{
    if (!claude_)
        return false;
    for (const ProcessInfo& process : terminal_.session(look.shell)) {
        if (process.zombie || process.group == look.shell || process.group == claude_->group)
            continue;
        return false;
    }
    return true;
}

void TerminalClaudeGate::startClaude(const TerminalLook& look, bool again)
{
    if (!terminal_.typeCommand)
        return;
    gateLog(again ? QStringLiteral("Starting claude again in the shell") : QStringLiteral("Starting claude in the shell"));
    terminal_.typeCommand(WorkViewModel::claudeStartCommand());
    awaitingClaude_ = true;
    commandTypedAt_ = now();
    waitingSince_ = commandTypedAt_;
    // The command line goes as a whole; the line after it is empty.
    lineEmptyMark_ = look.foreground ? look.foreground->personBytesElsewhere : 0;
    lineMayHoldClaudesText_ = false;
    personSaysLineEmpty_ = false;
    promptLooks_ = 0;
    wantStart_ = false;
    restartWanted_ = false;
    endedEarly_ = false;
    notStarted_ = false;
    if (again && model_)
        model_->claudeStartedAgain();
}

void TerminalClaudeGate::deliver(const TerminalLook&)
{
    const ClaudeInput input = held_.takeFirst();
    emit heldChanged();
    delivery_ = Delivery{input};
    performing_ = true;
    if (model_)
        model_->perform(input);
    performing_ = false;
    // Nothing typed (the model had nothing to type it with).
    if (delivery_ && !delivery_->textTyped)
        delivery_.reset();
}

void TerminalClaudeGate::checkDelivery(const TerminalLook& look, bool claudeInFront)
{
    if (claudeInFront) {
        const std::size_t unread = look.foreground->unreadInput;
        if (delivery_->returnTyped) {
            if (unread == 0) {
                gateLog(QStringLiteral("typed for claude and read"));
                delivery_.reset();
            }
            return;
        }
        // The text read and drawn in the box, then still: its return.
        const qint64 since = now() - delivery_->textTypedAt;
        const bool drawnSince = look.quietMs <= since;
        if (delivery_->textTyped && delivery_->returnDue && unread == 0
            && ((drawnSince && look.quietMs >= quietBeforeReturnMs) || since >= returnAnywayMs)) {
            terminal_.typeForClaude(QByteArrayLiteral("\r"), claude_->group);
            delivery_->returnTyped = true;
        }
        return;
    }
    // claude left the front before it was seen to read everything: what it
    // left is nobody else's, and the input waits for the next claude.
    if (terminal_.flushInput)
        terminal_.flushInput();
    // Pasted, the shell runs none of it; but it may sit on the shell's line.
    lineMayHoldClaudesText_ = true;
    gateLog(QStringLiteral("claude left before reading what was typed: discarded, held again"));
    held_.prepend(delivery_->input);
    delivery_.reset();
    emit heldChanged();
}

void TerminalClaudeGate::poll()
{
    const TerminalLook look = terminal_.look();
    const auto& fg = look.foreground;

    if (!look.shellRunning) {
        forgetClaude();
        awaitingClaude_ = false;
        wantStart_ = false;
        if (delivery_) {
            held_.prepend(delivery_->input);
            delivery_.reset();
            emit heldChanged();
        }
        setState(held_.isEmpty() ? State::idle : State::shellEnded);
        updateWatching();
        return;
    }

    const bool basicPrompt = fg && fg->processGroup == look.shell && !fg->lineMode && fg->unreadInput == 0;
    promptLooks_ = basicPrompt ? promptLooks_ + 1 : 0;

    // The first job to come to the front after the command is the panel's claude.
    if (awaitingClaude_ && fg && fg->processGroup > 0 && fg->processGroup != look.shell && fg->leader
        && fg->leader->pid == fg->processGroup) {
        claude_ = fg->leader;
        claudeReachedPrompt_ = false;
        awaitingClaude_ = false;
        waitingSince_ = now();
        gateLog(QStringLiteral("claude started: process ") + QString::number(claude_->pid));
        if (terminal_.guardReader)
            terminal_.guardReader(claude_->pid, claude_->startTime);
    }
    // Still the same process?
    bool claudeStopped = false;
    if (claude_) {
        const auto now = terminal_.process(claude_->pid);
        if (!now || !now->sameProcessAs(*claude_) || now->zombie) {
            if (!claudeReachedPrompt_)
                endedEarly_ = true;
            gateLog(QStringLiteral("claude is gone"));
            forgetClaude();
        } else {
            claudeStopped = now->stopped;
        }
    }
    const bool claudeInFront = claude_ && fg && fg->processGroup == claude_->group;

    if (delivery_) {
        checkDelivery(look, claudeInFront);
        if (delivery_) {
            updateWatching();
            return;
        }
    }
    decide(look, claudeInFront, claudeStopped);
    updateWatching();
}

void TerminalClaudeGate::decide(const TerminalLook& look, bool claudeInFront, bool claudeStopped)
{
    const auto& fg = look.foreground;
    const bool boxStill = look.screen.isReadyPrompt() && look.quietMs >= quietBeforeTypingMs;
    // Its box drawn (the person may be typing in it already): past its questions.
    if (claudeInFront && look.screen.kind == ClaudeScreen::Kind::inputPrompt)
        claudeReachedPrompt_ = true;
    const bool ready = claudeInFront && boxStill && !fg->lineMode && fg->unreadInput == 0;

    if (held_.isEmpty()) {
        if (wantStart_ && !awaitingClaude_ && !claude_ && shellAtPrompt(look)) {
            if (lineKnownEmpty(look))
                startClaude(look, restartWanted_);
            else if (restartWanted_)
                return setState(State::lineNotEmpty);
            else
                wantStart_ = false; // the person is using the shell: it is theirs
        }
        if (claudeInFront && look.screen.kind == ClaudeScreen::Kind::question)
            setState(State::question);
        else if (endedEarly_ && !claude_ && !awaitingClaude_)
            setState(State::claudeEnded);
        else if (notStarted_)
            setState(State::notStarted);
        else if (state_ != State::lineNotEmpty || !wantStart_)
            setState(State::idle);
        return;
    }

    if (ready) {
        deliver(look);
        setState(State::waiting);
        return;
    }
    if (claudeInFront) {
        if (look.screen.kind == ClaudeScreen::Kind::question)
            setState(State::question);
        else if (look.screen.kind == ClaudeScreen::Kind::inputPrompt && !look.screen.boxEmpty
                 && look.quietMs >= quietBeforeTypingMs)
            setState(State::boxNotEmpty);
        else
            setState(State::waiting);
        return;
    }
    if (claude_) {
        // Alive but not in front: stopped (Ctrl+Z), or sent to the background.
        if (claudeStopped && fgTypedFor_ != claude_->startTime && shellAtPrompt(look) && lineKnownEmpty(look)
            && claudeIsOnlyJob(look) && terminal_.typeCommand) {
            gateLog(QStringLiteral("claude is stopped: bringing it back"));
            terminal_.typeCommand(QByteArrayLiteral("fg\n"));
            fgTypedFor_ = claude_->startTime;
            lineEmptyMark_ = fg->personBytesElsewhere;
            personSaysLineEmpty_ = false;
            promptLooks_ = 0;
            return setState(State::waiting);
        }
        if (fgTypedFor_ == claude_->startTime && promptLooks_ < 3)
            return setState(State::waiting);
        return setState(State::suspended);
    }
    if (fg && fg->processGroup > 0 && fg->processGroup != look.shell) {
        if (awaitingClaude_)
            return setState(State::waiting);
        otherProgramName_ = fg->leader ? QString::fromStdString(fg->leader->name) : QStringLiteral("?");
        return setState(State::otherProgram);
    }
    if (awaitingClaude_) {
        if (now() - commandTypedAt_ >= appearDeadlineMs) {
            gateLog(QStringLiteral("claude did not come up after its command"));
            awaitingClaude_ = false;
            notStarted_ = true;
            return setState(State::notStarted);
        }
        return setState(State::waiting);
    }
    if (endedEarly_)
        return setState(State::claudeEnded);
    if (notStarted_)
        return setState(State::notStarted);
    if (!shellAtPrompt(look))
        return setState(State::waiting);
    if (!lineKnownEmpty(look))
        return setState(State::lineNotEmpty);
    startClaude(look, true);
    setState(State::waiting);
}

} // namespace orva
