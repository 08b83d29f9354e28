#include "ui/components/FieldFocus.h"

namespace orva {

void FieldFocus::setFieldEnabled(bool enabled)
{
    if (enabled == fieldEnabled_)
        return;
    fieldEnabled_ = enabled;
    emit fieldEnabledChanged();
    if (fieldEnabled_ && wanted_)
        emit focusField();
}

void FieldFocus::request()
{
    setWanted(true);
    if (fieldEnabled_)
        emit focusField();
}

void FieldFocus::release()
{
    setWanted(false);
}

void FieldFocus::setWanted(bool value)
{
    if (value == wanted_)
        return;
    wanted_ = value;
    emit wantedChanged();
}

} // namespace orva
