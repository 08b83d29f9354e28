#include "ui/components/KeyRoles.h"

#include <Qt>

namespace orva {

bool isDismissKey(int key, int modifiers)
{
    return key == Qt::Key_Escape && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool isPressKey(int key, int modifiers)
{
    const bool pressKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    return pressKey && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
}

int tabStep(int key, int modifiers, bool takesTab)
{
    const int held = modifiers & ~Qt::KeypadModifier;
    const bool control = (held & Qt::ControlModifier) != 0;
    if ((held & ~(Qt::ControlModifier | Qt::ShiftModifier)) != 0 || (takesTab && !control))
        return 0;
    const bool shift = (held & Qt::ShiftModifier) != 0;
    if (key == Qt::Key_Backtab)
        return -1;
    if (key == Qt::Key_Tab)
        return shift ? -1 : 1;
    return 0;
}

} // namespace orva
