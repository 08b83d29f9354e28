#pragma once

// What a key does in the screens: which key closes an overlay, which presses
// the focused control, and where Tab moves the keyboard.

namespace orva {

// Escape with no modifier but the keypad's: closes an overlay.
bool isDismissKey(int key, int modifiers);
// Return, Enter or Space: presses the focused control.
bool isPressKey(int key, int modifiers);
// Where Tab moves the keyboard in a screen's round: 1 to the next control,
// -1 to the one before (Shift+Tab), 0 for any other key. Control+Tab and
// Control+Shift+Tab move it too; they are the only ones that leave a
// control which takes Tab and Shift+Tab for itself (`takesTab`: the
// terminal, whose programs have them).
int tabStep(int key, int modifiers, bool takesTab);

} // namespace orva
