#include "ui/components/TextGuard.h"

namespace orva {

bool TextGuard::textChanged(const QString& newText, bool disabled)
{
    return guard_.textChanged(newText, disabled).has_value();
}

} // namespace orva
