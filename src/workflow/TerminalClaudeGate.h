#pragma once

// The gate between the work model and the work screen's terminal: text for
// `claude` is typed only into the input box of the `claude` this terminal
// started, once it has drawn that box, left it empty and gone quiet. Never
// into the shell, another program, or one of claude's own questions.
//
// Who reads: the panel types the `claude` command into the shell, and the job
// that comes to the front after it is the panel's `claude`, known by its
// process (and start time) from then on; a program the person starts is
// never taken for it. Its end is watched: what it leaves unread is discarded
// at once, so the shell never runs it.
//
// What it shows: the screen recognition (ClaudeScreen) reads the emulator.
// At a question (folder trust, the bypass warning, the API key), nothing is
// typed: the notice says claude is asking in the terminal, the keyboard goes
// to the terminal, and the held inputs go once the person has answered and
// the box is drawn. A box holding the person's unsent text, a screen not yet
// drawn, a claude at work: the gate waits and says so.
//
// Starting claude: only where the shell sits at its prompt with an empty
// line. The line is known empty while the person has typed nothing that
// reached the shell (or another program) since the shell started, since the
// gate last typed a command, or since the person said so ("claude 시작").
// Otherwise the gate asks instead of typing. A claude the gate started that
// ends before its box is drawn (the person said no to a question, or it
// refused to run) is not started again by itself: the notice says it ended
// and offers "다시 시도". A claude stopped with Ctrl+Z is brought back with
// `fg` where that is sure to be it, else the person is asked to. The
// terminal is never replaced: when its shell has ended, the notice offers to
// start it again in the same view.
//
// Held inputs: every distinct press, in order; a press equal to one still
// held (the same action for the same task) is not held twice. Each goes
// when the box is ready again after the one before; the notice clears once
// the last has been typed at a ready box and read by claude.

#include "terminal/ClaudeScreen.h"
#include "terminal/LocalProcess.h"
#include "terminal/ProcessInfo.h"
#include "workflow/ClaudeInputGate.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

namespace orva {

class WorkViewModel;

// One look at the terminal.
struct TerminalLook {
    // The shell runs; its process id is its group's and its session's.
    bool shellRunning = false;
    pid_t shell = 0;
    // The terminal's foreground reader; none while no child runs.
    std::optional<ForegroundReader> foreground;
    // What the emulator's live screen shows.
    ClaudeScreen screen;
    // Milliseconds since output last arrived (0 while some waits to be drawn).
    qint64 quietMs = 0;
    // The program in front takes pasted text in brackets (mode 2004).
    bool bracketedPaste = false;
};

class TerminalClaudeGate : public QObject, public ClaudeInputGate {
    Q_OBJECT
    // The notice the panel shows (empty: none).
    Q_PROPERTY(bool showsNotice READ showsNotice NOTIFY stateChanged)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY stateChanged)
    // A spinner goes with the notice while the gate waits on its own.
    Q_PROPERTY(bool isWaiting READ isWaiting NOTIFY stateChanged)
    // The notice's button ("다시 시도", "claude 시작", "터미널 다시 시작"), or
    // empty; act() does what it says.
    Q_PROPERTY(QString actionText READ actionText NOTIFY stateChanged)
    Q_PROPERTY(int heldCount READ heldCount NOTIFY heldChanged)

public:
    enum class State {
        idle,          // nothing to say
        waiting,       // held: claude is starting, drawing or at work
        question,      // claude asks the person something in the terminal
        boxNotEmpty,   // claude's box holds the person's unsent text
        otherProgram,  // a program of the person's has the terminal
        suspended,     // the panel's claude is stopped (Ctrl+Z) and not brought back here
        lineNotEmpty,  // the shell's line may hold the person's text: asks before typing
        claudeEnded,   // the claude started here ended before its box was drawn
        notStarted,    // the `claude` command brought no program up
        shellEnded,    // the terminal's shell has ended
    };
    Q_ENUM(State)

    static constexpr int pollIntervalMs = 50;
    // The box must have been still this long before anything is typed into it.
    static constexpr int quietBeforeTypingMs = 400;
    // The shell's prompt must have been still this long before a command.
    static constexpr int quietBeforeCommandMs = 150;
    // After the `claude` command, how long its program may take to appear.
    static constexpr int appearDeadlineMs = 30000;
    // Waiting this long on a claude that is up but not ready changes the words.
    static constexpr int slowAfterMs = 20000;
    // Once claude has read a text and drawn it, still this long before its
    // carriage return; after the longer bound the return goes all the same.
    static constexpr int quietBeforeReturnMs = 200;
    static constexpr int returnAnywayMs = 3000;

    // What the gate needs of the panel's terminal.
    struct Terminal {
        std::function<TerminalLook()> look;
        // The process now under a pid (processInfo by default).
        std::function<std::optional<ProcessInfo>(pid_t)> process;
        // Every process of a session (processesOfSession by default).
        std::function<std::vector<ProcessInfo>(pid_t)> session;
        // Types a command line into the shell (the application's bytes).
        std::function<void(const QByteArray&)> typeCommand;
        // Types bytes for one process group only (LocalProcess::sendTo).
        std::function<void(const QByteArray&, pid_t)> typeForClaude;
        // Watches the panel's claude (LocalProcess::guardReader).
        std::function<void(pid_t, std::uint64_t)> guardReader;
        // Discards what waits unread (LocalProcess::flushUnreadInput).
        std::function<void()> flushInput;
        // Starts the shell again in the same view.
        std::function<void()> restartShell;
        // Gives the terminal the keyboard.
        std::function<void()> focusTerminal;
    };

    // Becomes the model's gate.
    TerminalClaudeGate(WorkViewModel* model, Terminal terminal, QObject* parent = nullptr);
    ~TerminalClaudeGate() override;

    // ClaudeInputGate
    bool admit(const ClaudeInput& input) override;
    void startClaudeWhenReady() override;
    pid_t typingGroup() const override;
    // What the command channel hands over for claude: the text (typed as
    // bytesForClaude makes it) and then its carriage return, which the gate
    // types itself once claude has taken the text in.
    void typeFromChannel(std::span<const std::uint8_t> bytes);
    // The bytes that put a command's text into claude's box: the line feed
    // that ends the command dropped (in claude it only adds an empty line),
    // escapes taken out, and between the brackets of a paste where claude
    // asks for them, so that a text of any size and its blanks and line
    // breaks arrive as they are. The carriage return comes apart.
    static QByteArray bytesForClaude(const QByteArray& command, bool bracketedPaste);

    // The shell has been started (again): nothing of the last one holds.
    void shellStarted();
    // The panel's guarded claude has ended (its unread input discarded).
    void readerGone(pid_t reader);

    // One look at the terminal; the gate's timer calls it while it watches.
    void poll();
    // The notice's button.
    Q_INVOKABLE void act();

    State state() const { return state_; }
    bool showsNotice() const { return !noticeText().isEmpty(); }
    QString noticeText() const;
    bool isWaiting() const { return state_ == State::waiting; }
    QString actionText() const;
    QList<ClaudeInput> held() const { return held_; }
    int heldCount() const { return static_cast<int>(held_.size()); }
    // The process of the panel's claude, while one is known.
    std::optional<ProcessInfo> claudeProcess() const { return claude_; }
    bool isWatching() const { return timer_.isActive(); }

    // Milliseconds on a clock of the caller's (tests step it by hand).
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

signals:
    void stateChanged();
    void heldChanged();

private:
    // An input typed and not yet known to be read.
    struct Delivery {
        ClaudeInput input;
        bool textTyped = false;
        qint64 textTypedAt = 0;
        // The channel's carriage return has come: the gate types it.
        bool returnDue = false;
        // Its carriage return has been typed: once nothing waits unread
        // after it, claude has read the whole input.
        bool returnTyped = false;
    };

    qint64 now() const;
    void setState(State state);
    void updateWatching();
    void deliver(const TerminalLook& look);
    void checkDelivery(const TerminalLook& look, bool claudeInFront);
    void decide(const TerminalLook& look, bool claudeInFront, bool claudeStopped);
    void startClaude(const TerminalLook& look, bool again);
    bool shellAtPrompt(const TerminalLook& look) const;
    bool lineKnownEmpty(const TerminalLook& look) const;
    bool claudeIsOnlyJob(const TerminalLook& look) const;
    void forgetClaude();

    QPointer<WorkViewModel> model_;
    Terminal terminal_;
    QList<ClaudeInput> held_;
    std::optional<Delivery> delivery_;
    State state_ = State::idle;
    QString otherProgramName_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::function<qint64()> clock_;

    // The panel's claude and what is known of it.
    std::optional<ProcessInfo> claude_;
    bool claudeReachedPrompt_ = false;
    // The gate (or the shell's start) typed the `claude` command and waits
    // for its program; when.
    bool awaitingClaude_ = false;
    qint64 commandTypedAt_ = 0;
    // The model asked for claude to be started once the shell is ready.
    bool wantStart_ = false;
    // The person asked for it ("다시 시도", "claude 시작"): a new claude,
    // and where the line is not known empty, the gate asks.
    bool restartWanted_ = false;
    // A claude started here ended before its box: not started again until
    // the person asks.
    bool endedEarly_ = false;
    bool notStarted_ = false;
    // `fg` typed for this stopped claude (by its start time).
    std::uint64_t fgTypedFor_ = 0;
    // personBytesElsewhere at the last moment the shell's line was known empty.
    std::uint64_t lineEmptyMark_ = 0;
    // The shell's line may hold text typed for claude that claude left
    // unread (its discard may have come too late): not known empty until
    // the person says so.
    bool lineMayHoldClaudesText_ = false;
    // The person has said the line is empty ("claude 시작").
    bool personSaysLineEmpty_ = false;
    // Since when the shell has sat at its prompt in the looks.
    int promptLooks_ = 0;
    // Since when the gate has waited on the claude now up.
    qint64 waitingSince_ = 0;
    // The keyboard was given to the terminal for the question now up.
    bool keyboardMoved_ = false;
    // Set while the gate hands a held input back to the model.
    bool performing_ = false;
};

} // namespace orva
