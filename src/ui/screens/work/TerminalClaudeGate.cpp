#include "ui/screens/work/TerminalClaudeGate.h"

#include "platform/Log.h"
#include "terminal/LocalProcessTerminalView.h"
#include "workflow/WorkViewModel.h"

namespace orva {

TerminalReader terminalReaderOf(const std::optional<ForegroundReader>& foreground, pid_t shellGroup)
{
    if (!foreground)
        return TerminalReader::nobody;
    if (foreground->processGroup <= 0)
        return TerminalReader::programStarting;
    if (foreground->processGroup == shellGroup) {
        const bool atPrompt = !foreground->lineMode && foreground->unreadInput == 0;
        return atPrompt ? TerminalReader::shellPrompt : TerminalReader::shellBusy;
    }
    return foreground->lineMode ? TerminalReader::programStarting : TerminalReader::program;
}

TerminalReader terminalReaderOf(LocalProcessTerminalView* view)
{
    if (!view)
        return TerminalReader::nobody;
    LocalProcess& process = view->process();
    return terminalReaderOf(process.foregroundReader(), process.processId());
}

bool shellReads(TerminalReader reader)
{
    return reader == TerminalReader::shellBusy || reader == TerminalReader::shellPrompt;
}

TerminalClaudeGate::TerminalClaudeGate(WorkViewModel* model, Terminal terminal, QObject* parent)
    : QObject(parent)
    , model_(model)
    , terminal_(std::move(terminal))
{
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

QString TerminalClaudeGate::waitingText()
{
    return QStringLiteral("claude가 준비되는 대로 보낼게요.");
}

QString TerminalClaudeGate::failedText()
{
    return QStringLiteral("claude가 시작되지 않아 보내지 못했어요. 터미널을 확인하고 다시 시도해 주세요.");
}

QString TerminalClaudeGate::noticeText() const
{
    switch (state_) {
    case State::waiting:
        return waitingText();
    case State::failed:
        return failedText();
    case State::idle:
    case State::delivering:
        break;
    }
    return {};
}

void TerminalClaudeGate::setDeadlineMs(int ms)
{
    if (deadlineMs_ == ms)
        return;
    deadlineMs_ = ms;
    emit deadlineMsChanged();
}

void TerminalClaudeGate::setState(State state)
{
    if (state == State::waiting || state == State::delivering) {
        if (!timer_.isActive())
            timer_.start();
    } else {
        timer_.stop();
    }
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

bool TerminalClaudeGate::admit(const ClaudeInput& input)
{
    // The gate itself hands back a held input: it has just seen `claude` read.
    if (performing_)
        return true;
    if (state_ == State::idle) {
        if (terminal_.reader && terminal_.reader() == TerminalReader::program)
            return true;
        logLine(QStringLiteral("[TerminalClaudeGate] - claude does not read the terminal: held until it does"));
        held_ = {input};
        emit heldChanged();
        beginAttempt();
        return false;
    }
    // Something waits already: this goes behind it, once (a second press of
    // the same action neither starts a second `claude` nor sends twice).
    if (!held_.contains(input)) {
        held_.append(input);
        emit heldChanged();
    }
    if (state_ == State::failed)
        beginAttempt();
    return false;
}

void TerminalClaudeGate::retry()
{
    if (state_ != State::failed)
        return;
    beginAttempt();
}

void TerminalClaudeGate::beginAttempt()
{
    attemptStartedAt_ = now();
    startedThisAttempt_ = false;
    sameLooks_ = 0;
    setState(State::waiting);
    poll();
}

void TerminalClaudeGate::poll()
{
    if (state_ == State::delivering) {
        if (now() >= nextDeliveryAt_)
            deliverNext();
        return;
    }
    if (state_ != State::waiting)
        return;

    const TerminalReader reader = terminal_.reader ? terminal_.reader() : TerminalReader::nobody;
    sameLooks_ = reader == lastReader_ ? sameLooks_ + 1 : 1;
    lastReader_ = reader;
    const bool settled = sameLooks_ >= settleLooks;

    if (reader == TerminalReader::program && settled) {
        setState(State::delivering);
        nextDeliveryAt_ = now();
        deliverNext();
        return;
    }
    // One start per attempt, and none while one is on its way: a second
    // start command would be read by the first `claude` as its input.
    const bool pending = terminal_.startPending && terminal_.startPending();
    if (!startedThisAttempt_ && !pending && settled) {
        if (reader == TerminalReader::shellPrompt && sameLooks_ >= promptSettleLooks && terminal_.startClaude) {
            startedThisAttempt_ = true;
            terminal_.startClaude();
        } else if (reader == TerminalReader::nobody && terminal_.startTerminal) {
            logLine(QStringLiteral("[TerminalClaudeGate] - No shell runs in the terminal: starting it again"));
            startedThisAttempt_ = true;
            terminal_.startTerminal();
        }
    }
    if (now() - attemptStartedAt_ >= deadlineMs_) {
        logLine(QStringLiteral("[TerminalClaudeGate] - claude did not come up: nothing sent"));
        setState(State::failed);
    }
}

void TerminalClaudeGate::deliverNext()
{
    if (held_.isEmpty()) {
        setState(State::idle);
        return;
    }
    const TerminalReader reader = terminal_.reader ? terminal_.reader() : TerminalReader::nobody;
    if (reader != TerminalReader::program) {
        // `claude` went away between two inputs: the rest waits for the next one.
        beginAttempt();
        return;
    }
    const ClaudeInput input = held_.takeFirst();
    emit heldChanged();
    performing_ = true;
    if (model_)
        model_->perform(input);
    performing_ = false;
    if (held_.isEmpty())
        setState(State::idle);
    else
        nextDeliveryAt_ = now() + deliverySpacingMs;
}

} // namespace orva
