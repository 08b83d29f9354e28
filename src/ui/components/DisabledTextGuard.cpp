#include "ui/components/DisabledTextGuard.h"

namespace orva {

std::optional<QString> DisabledTextGuard::textChanged(const QString& newText, bool disabled)
{
    if (newText == accepted_)
        return std::nullopt;
    if (disabled)
        return accepted_;
    accepted_ = newText;
    return std::nullopt;
}

} // namespace orva
