#pragma once

// Rules shared by the screens about what a person sees and where their keys
// go: how much of a text from the plan or from `claude` is laid out, which
// part of a scroll area a box is brought into, which whole lines a small text
// field shows, when an entry field takes the keyboard, which control the
// keyboard moves to next, and which key closes an overlay.

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include "model/ProjectModel.h"

namespace orva {

// ---- A plan handed to QML as a value, read one piece at a time ----

// How many milestones the project a QML value holds has (0 for anything that
// is not a project; see projectIn()), and one of them (an invalid value past
// the end).
int milestoneCountIn(const QVariant& project);
QVariant milestoneIn(const QVariant& project, int index);

// ---- Texts cut for display (the data keeps them whole) ----

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

// ---- Scrolling ----

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

// ---- Legibility ----

// The contrast ratio (1 to 21) of `foreground`, laid with its alpha over the
// opaque `background`, against that background (relative luminance of sRGB).
double contrastRatio(const QColor& foreground, const QColor& background);

// ---- Keys ----

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

// ---- QML ----

class ViewRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    // The text of a line that is elided anyway (no mark: the elision shows).
    Q_INVOKABLE QString oneLine(const QString& text) const;
    // A title that wraps, cut with "…".
    Q_INVOKABLE QString title(const QString& text) const;
    // A paragraph, cut with "…".
    Q_INVOKABLE QString paragraph(const QString& text) const;
    Q_INVOKABLE double revealOffset(double contentY, double viewHeight, double top, double bottom,
                                    double contentHeight, double margin) const;
    Q_INVOKABLE double lineAlignedOffset(double desired, double lineHeight, double contentHeight, double viewHeight,
                                         double cursorTop, double cursorBottom) const;
    Q_INVOKABLE double wholeLinesHeight(double space, double lineHeight) const;
    Q_INVOKABLE double contrastRatio(const QColor& foreground, const QColor& background) const;
    Q_INVOKABLE bool isDismissKey(int key, int modifiers) const;
    Q_INVOKABLE bool isPressKey(int key, int modifiers) const;
    Q_INVOKABLE int tabStep(int key, int modifiers, bool takesTab) const;
    // The next control that takes the keyboard on Tab (or Shift+Tab when
    // not `forward`) among the descendants of `scope`, in the order they are
    // laid out in the item tree, after `from` (or after the control that
    // holds it, such as a field's editor), wrapping round; `from` in no
    // control of the scope starts at its first (last) control. A control is
    // an item with a true `keyboardControl` property that is visible and
    // enabled. Null when the scope has none.
    Q_INVOKABLE QQuickItem* nextControl(QQuickItem* scope, QQuickItem* from, bool forward) const;
    // Gives the keyboard to that next control, as Tab (Shift+Tab) does; false
    // when the scope has none.
    Q_INVOKABLE bool moveKeyboard(QQuickItem* scope, QQuickItem* from, bool forward) const;
    // The control of `scope` that `item` is or lies inside (a field's
    // editor: the field), or null.
    Q_INVOKABLE QQuickItem* controlHolding(QQuickItem* scope, QQuickItem* item) const;
    // Whether `item` is `scope` or lies inside it.
    Q_INVOKABLE bool isWithin(QQuickItem* item, QQuickItem* scope) const;
};

// When an entry field takes the keyboard: request() asks for it (the screen
// appeared, a retry, a reply arrived); it is given (focusField()) at once
// while the field takes input, and again each time the field takes input
// after it could not (a disabled field loses the keyboard), until release()
// (the person put the keyboard elsewhere).
class FieldFocus : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool fieldEnabled READ fieldEnabled WRITE setFieldEnabled NOTIFY fieldEnabledChanged)
    Q_PROPERTY(bool wanted READ wanted NOTIFY wantedChanged)
public:
    using QObject::QObject;
    bool fieldEnabled() const { return fieldEnabled_; }
    void setFieldEnabled(bool enabled);
    bool wanted() const { return wanted_; }
    Q_INVOKABLE void request();
    Q_INVOKABLE void release();

signals:
    void fieldEnabledChanged();
    void wantedChanged();
    void focusField();

private:
    void setWanted(bool value);
    bool fieldEnabled_ = true;
    bool wanted_ = false;
};

} // namespace orva
