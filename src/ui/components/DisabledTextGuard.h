#pragma once

#include <QString>

#include <optional>

namespace orva {

// Keeps the chat field's text unchanged while the field is disabled. Every
// change of the text is reported; while disabled a change away from the last
// accepted text yields that text to restore. The restore itself arrives as a
// change back to the accepted text and is simply accepted, so the rule never
// triggers itself again.
class DisabledTextGuard {
public:
    explicit DisabledTextGuard(QString initial = {}) : accepted_(std::move(initial)) {}
    std::optional<QString> textChanged(const QString& newText, bool disabled);
    const QString& acceptedText() const { return accepted_; }

private:
    QString accepted_;
};

} // namespace orva
