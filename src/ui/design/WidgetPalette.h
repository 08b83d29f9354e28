#pragma once

// The colours of the few Qt widgets the application shows (the folder
// dialogs): the dark window of the screens, in the design's tokens, each
// text colour laid opaque over the surface it is drawn on.

#include <QColor>
#include <QPalette>

namespace orva::DesignTokens {

// `foreground` with its alpha laid over the opaque `background`, as one
// opaque colour.
QColor laidOver(const QColor& foreground, const QColor& background);

// The widgets' palette: surfaces of the screens' background and card
// colours, text in textPrimary (a note or a placeholder in white60), buttons
// on the white20 fill of the screens' small buttons, the selection in
// indigo; disabled texts in textSecondary.
QPalette widgetPalette();

} // namespace orva::DesignTokens
