#pragma once

// Who reads the work screen's terminal, and the gate that types for `claude`
// only while `claude` reads it: when the shell has the terminal instead
// (`claude` exited, crashed, was quit, or left at a question of its own), the
// input is kept, `claude` is started again where the shell reads the command,
// and the input follows once `claude` reads, after the start-of-work
// instruction. Nothing built from the plan or typed by the person reaches the
// shell.

#include "terminal/LocalProcess.h"
#include "workflow/ClaudeInputGate.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

namespace orva {

class LocalProcessTerminalView;
class WorkViewModel;

enum class TerminalReader {
    // No child runs in the terminal: what is typed is lost.
    nobody,
    // The shell's own group has the terminal but its line editor does not
    // read yet (it is starting, or between two commands), or input waits
    // unread: a line typed now waits and then runs as a command.
    shellBusy,
    // The shell's line editor reads keys and nothing typed waits for it: a
    // line typed now runs as a command.
    shellPrompt,
    // Another group has the terminal with whole lines collected for it, as
    // the shell leaves it for a program it starts: a program on its way up
    // (what is typed would be echoed and its Return turned into a line
    // feed), or a program that reads lines. Also a terminal without a group.
    programStarting,
    // Another group reads keys as they come: `claude` (or a tool it runs).
    program,
};

// The reader from the terminal's foreground query and the shell's own
// process group (the shell leads its session).
TerminalReader terminalReaderOf(const std::optional<ForegroundReader>& foreground, pid_t shellGroup);
// The reader of a process terminal view's terminal; nobody without a view.
TerminalReader terminalReaderOf(LocalProcessTerminalView* view);
bool shellReads(TerminalReader reader);

class TerminalClaudeGate : public QObject, public ClaudeInputGate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the terminal panel")
    // Something waits for `claude`: the panel says so.
    Q_PROPERTY(bool showsNotice READ showsNotice NOTIFY stateChanged)
    // `claude` did not come up in time: nothing was sent; retry() tries again.
    Q_PROPERTY(bool isFailed READ isFailed NOTIFY stateChanged)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY stateChanged)
    Q_PROPERTY(int heldCount READ heldCount NOTIFY heldChanged)
    // How long `claude` has to come up once something waits for it.
    Q_PROPERTY(int deadlineMs READ deadlineMs WRITE setDeadlineMs NOTIFY deadlineMsChanged)

public:
    enum class State {
        idle,       // nothing held
        waiting,    // held, waiting for `claude` to read
        delivering, // `claude` reads: the held inputs are typed one by one
        failed,     // `claude` did not come up before the deadline
    };

    static constexpr int pollIntervalMs = 50;
    // Looks in a row that must agree before the gate acts on what it sees:
    // `claude` settled in its own key reading.
    static constexpr int settleLooks = 3;
    // Before the start command is typed, the shell must have sat at its
    // prompt with nothing unread for this many looks: a start command typed
    // earlier has been read and has run, so a second one cannot end up as
    // input of the first `claude`.
    static constexpr int promptSettleLooks = 10;
    static constexpr int defaultDeadlineMs = 10000;
    // Between two held inputs: each ends with its carriage return first.
    static constexpr int deliverySpacingMs = 200;

    // What the gate needs of the panel's terminal.
    struct Terminal {
        std::function<TerminalReader()> reader;
        // A shell or its `claude` command is on its way already.
        std::function<bool()> startPending;
        // Types the `claude` start command where the shell reads it.
        std::function<void()> startClaude;
        // Starts the terminal anew: a shell in the folder, then `claude`.
        std::function<void()> startTerminal;
    };

    // Becomes the model's gate.
    TerminalClaudeGate(WorkViewModel* model, Terminal terminal, QObject* parent = nullptr);
    ~TerminalClaudeGate() override;

    bool admit(const ClaudeInput& input) override;

    // One look at the terminal; the gate's timer calls it while something is held.
    void poll();
    // After a failure: starts `claude` again (when the shell reads) and waits anew.
    Q_INVOKABLE void retry();

    State state() const { return state_; }
    bool showsNotice() const { return state_ == State::waiting || state_ == State::failed; }
    bool isFailed() const { return state_ == State::failed; }
    QString noticeText() const;
    // "claude가 준비되는 대로 보낼게요."
    static QString waitingText();
    // "claude가 시작되지 않아 보내지 못했어요. 터미널을 확인하고 다시 시도해 주세요."
    static QString failedText();
    QList<ClaudeInput> held() const { return held_; }
    int heldCount() const { return static_cast<int>(held_.size()); }
    int deadlineMs() const { return deadlineMs_; }
    void setDeadlineMs(int ms);

    // Milliseconds on a clock of the caller's (tests step it by hand).
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

signals:
    void stateChanged();
    void heldChanged();
    void deadlineMsChanged();

private:
    void beginAttempt();
    void deliverNext();
    void setState(State state);
    qint64 now() const;

    QPointer<WorkViewModel> model_;
    Terminal terminal_;
    QList<ClaudeInput> held_;
    State state_ = State::idle;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<qint64()> clock_;
    int deadlineMs_ = defaultDeadlineMs;
    qint64 attemptStartedAt_ = 0;
    qint64 nextDeliveryAt_ = 0;
    // This attempt has typed the start command or started the terminal.
    bool startedThisAttempt_ = false;
    TerminalReader lastReader_ = TerminalReader::nobody;
    int sameLooks_ = 0;
    // Set while the gate hands a held input back to the model.
    bool performing_ = false;
};

} // namespace orva
