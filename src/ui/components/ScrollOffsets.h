#pragma once

// Where a scroll area goes: which part of its content a box is brought into,
// and which whole lines a small text field shows.

namespace orva {

// The content offset of a vertical scroll area that brings [top, bottom] of
// its content into view, `margin` clear of the edges, moving as little as it
// can; a box taller than the view shows its top. Clamped to the content.
double revealOffset(double contentY, double viewHeight, double top, double bottom, double contentHeight,
                    double margin);

// A text field whose lines are `lineHeight` apart and that shows whole
// lines only (its view is a whole number of lines high): the offset nearest
// `desired` at which the top edge falls on the start of a line, within the
// content, keeping the cursor's line [cursorTop, cursorBottom] in view (a
// top below the bottom keeps nothing in view).
double lineAlignedOffset(double desired, double lineHeight, double contentHeight, double viewHeight,
                         double cursorTop, double cursorBottom);
// How high such a view is in `space`: as many whole lines as fit, at least one.
double wholeLinesHeight(double space, double lineHeight);

} // namespace orva
