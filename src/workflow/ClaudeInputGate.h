#pragma once

#include <QString>

#include <optional>

#include <sys/types.h>

namespace orva {

// One thing the work model types for `claude`: the start of work (the
// instruction with the guide's path), or a prompt, with the task it is about
// when it is about one (an approval or a fix request from the task popup).
struct ClaudeInput {
    enum class Kind { startWork, prompt };

    Kind kind = Kind::prompt;
    QString prompt;
    std::optional<qint64> taskId;

    static ClaudeInput startWork() { return {Kind::startWork, {}, std::nullopt}; }
    static ClaudeInput withPrompt(const QString& text, std::optional<qint64> taskId = std::nullopt)
    {
        return {Kind::prompt, text, taskId};
    }
    // The same press: the same action, with the same text, for the same task.
    bool operator==(const ClaudeInput&) const = default;
};

// Stands between the work model and the terminal: what is typed for `claude`
// is typed only into the input box of the `claude` the terminal started,
// never where the shell or another program would read it. The terminal
// panel puts one in place for its terminal.
class ClaudeInputGate {
public:
    virtual ~ClaudeInputGate() = default;

    // True when claude's box is ready now: the model types the input at once.
    // False: the gate keeps the input and hands it back to the model
    // (WorkViewModel::perform) once the box is ready, or says why not.
    virtual bool admit(const ClaudeInput& input) = 0;

    // The shell has been up half a second: the gate types the `claude`
    // command once the shell sits at its prompt with an empty line.
    virtual void startClaudeWhenReady() = 0;

    // The process group that what the model types now is meant for; 0 when
    // nothing may be typed.
    virtual pid_t typingGroup() const = 0;
};

} // namespace orva
