#pragma once

// Texts from the plan or from `claude` cut for display (the data keeps them
// whole), and the limits of what each kind of text lays out.

#include <QString>

namespace orva {

struct DisplayCut {
    QString text;          // what is laid out
    bool cut = false;      // something was left out
    qsizetype total = 0;   // characters (UTF-16 units) of the whole text
    friend bool operator==(const DisplayCut&, const DisplayCut&) = default;
};

// At most `maxChars` characters and `maxLines` lines (line feeds) of `text`,
// never ending inside a surrogate pair. Nothing is added to the text.
DisplayCut cutForDisplay(const QString& text, qsizetype maxChars, qsizetype maxLines);

// Limits of what is laid out:
// a line that is elided anyway (a card's title, the sidebar's title);
inline constexpr qsizetype kOneLineChars = 160;
// a title that wraps (a column's, a tab's, the popup's, the dashboard's; a
// few lines show, the last one elided);
inline constexpr qsizetype kTitleChars = 200;
inline constexpr qsizetype kTitleLines = 8;
// a paragraph of the plan (a line of a description, a file name);
inline constexpr qsizetype kParagraphChars = 2000;
inline constexpr qsizetype kParagraphLines = 40;
// an item beside its own controls (a checklist item: its boxes stand
// beside the middle of its text).
inline constexpr qsizetype kItemChars = 300;
inline constexpr qsizetype kItemLines = 12;

// The text laid out for a title or paragraph: the cut text, followed by "…"
// when something was left out.
QString displayText(const QString& text, qsizetype maxChars, qsizetype maxLines);

} // namespace orva
