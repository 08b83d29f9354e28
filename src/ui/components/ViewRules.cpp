#include "ui/components/ViewRules.h"

#include "ui/components/ContrastRatio.h"
#include "ui/components/DisplayCut.h"
#include "ui/components/KeyRoles.h"
#include "ui/components/ScrollOffsets.h"

#include <QList>
#include <QVariant>

namespace orva {

QString ViewRules::oneLine(const QString& text) const
{
    return cutForDisplay(text, kOneLineChars, 0).text;
}

QString ViewRules::title(const QString& text) const
{
    return displayText(text, kTitleChars, kTitleLines);
}

QString ViewRules::paragraph(const QString& text) const
{
    return displayText(text, kParagraphChars, kParagraphLines);
}

double ViewRules::revealOffset(double contentY, double viewHeight, double top, double bottom, double contentHeight,
                               double margin) const
{
    return orva::revealOffset(contentY, viewHeight, top, bottom, contentHeight, margin);
}

double ViewRules::lineAlignedOffset(double desired, double lineHeight, double contentHeight, double viewHeight,
                                    double cursorTop, double cursorBottom) const
{
    return orva::lineAlignedOffset(desired, lineHeight, contentHeight, viewHeight, cursorTop, cursorBottom);
}

double ViewRules::wholeLinesHeight(double space, double lineHeight) const
{
    return orva::wholeLinesHeight(space, lineHeight);
}

double ViewRules::contrastRatio(const QColor& foreground, const QColor& background) const
{
    return orva::contrastRatio(foreground, background);
}

bool ViewRules::isDismissKey(int key, int modifiers) const
{
    return orva::isDismissKey(key, modifiers);
}

bool ViewRules::isPressKey(int key, int modifiers) const
{
    return orva::isPressKey(key, modifiers);
}

int ViewRules::tabStep(int key, int modifiers, bool takesTab) const
{
    return orva::tabStep(key, modifiers, takesTab);
}

namespace {
void collectControls(QQuickItem* item, QList<QQuickItem*>& out)
{
    if (!item->isVisible() || !item->isEnabled())
        return;
    if (item->property("keyboardControl").toBool())
        out.append(item);
    for (QQuickItem* child : item->childItems())
        collectControls(child, out);
}
// The controls of `scope` (not the scope itself), in tree order.
QList<QQuickItem*> controlsOf(QQuickItem* scope)
{
    QList<QQuickItem*> controls;
    for (QQuickItem* child : scope->childItems())
        collectControls(child, controls);
    return controls;
}
} // namespace

QQuickItem* ViewRules::nextControl(QQuickItem* scope, QQuickItem* from, bool forward) const
{
    if (!scope)
        return nullptr;
    const QList<QQuickItem*> controls = controlsOf(scope);
    if (controls.isEmpty())
        return nullptr;
    qsizetype at = -1;
    for (QQuickItem* item = from; item && item != scope && at < 0; item = item->parentItem())
        at = controls.indexOf(item);
    if (at < 0)
        return forward ? controls.first() : controls.last();
    const qsizetype n = controls.size();
    return controls[(at + (forward ? 1 : n - 1)) % n];
}

bool ViewRules::moveKeyboard(QQuickItem* scope, QQuickItem* from, bool forward) const
{
    QQuickItem* next = nextControl(scope, from, forward);
    if (next)
        next->forceActiveFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return next != nullptr;
}

QQuickItem* ViewRules::controlHolding(QQuickItem* scope, QQuickItem* item) const
{
    if (!scope || !isWithin(item, scope))
        return nullptr;
    const QList<QQuickItem*> controls = controlsOf(scope);
    for (QQuickItem* at = item; at && at != scope; at = at->parentItem()) {
        if (controls.contains(at))
            return at;
    }
    return nullptr;
}

bool ViewRules::isWithin(QQuickItem* item, QQuickItem* scope) const
{
    if (!scope)
        return false;
    for (QQuickItem* at = item; at; at = at->parentItem()) {
        if (at == scope)
            return true;
    }
    return false;
}

} // namespace orva
