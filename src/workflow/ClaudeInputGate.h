#pragma once

#include <QString>

namespace orva {

// One thing the work model types for `claude`: the start of work (the
// instruction with the guide's path), or a prompt.
struct ClaudeInput {
    enum class Kind { startWork, prompt };

    Kind kind = Kind::prompt;
    QString prompt;

    static ClaudeInput startWork() { return {Kind::startWork, {}}; }
    static ClaudeInput withPrompt(const QString& text) { return {Kind::prompt, text}; }
    bool operator==(const ClaudeInput&) const = default;
};

// Stands between the work model and the terminal: what is typed for `claude`
// is typed only while `claude` reads the terminal, never where the shell
// would run it. The terminal panel puts one in place for its terminal.
class ClaudeInputGate {
public:
    virtual ~ClaudeInputGate() = default;

    // True when `claude` reads the terminal now: the model types the input at
    // once. False: the gate keeps the input and hands it back to the model
    // (WorkViewModel::perform) once `claude` reads, or says why it cannot.
    virtual bool admit(const ClaudeInput& input) = 0;
};

} // namespace orva
