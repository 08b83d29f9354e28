#pragma once

// QML access, as the singleton ViewRules, to the rules shared by the screens
// about what a person sees and where their keys go: how much of a text is
// laid out (DisplayCut.h), where a scroll area goes (ScrollOffsets.h),
// contrast (ContrastRatio.h), what a key does (KeyRoles.h), and which
// control the keyboard moves to next.

#include <QColor>
#include <QObject>
#include <QQuickItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

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

} // namespace orva
