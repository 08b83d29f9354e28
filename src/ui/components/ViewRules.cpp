#include "ui/components/ViewRules.h"

#include <algorithm>
#include <cmath>

namespace orva {

int milestoneCountIn(const QVariant& project)
{
    const auto p = projectIn(project);
    return p ? static_cast<int>(p->milestones.size()) : 0;
}

QVariant milestoneIn(const QVariant& project, int index)
{
    const auto p = projectIn(project);
    if (!p || index < 0 || index >= p->milestones.size())
        return {};
    return QVariant::fromValue(p->milestones.at(index));
}

DisplayCut cutForDisplay(const QString& text, qsizetype maxChars, qsizetype maxLines)
{
    DisplayCut result;
    result.total = text.size();
    qsizetype end = std::min(text.size(), std::max<qsizetype>(0, maxChars));
    if (maxLines > 0) {
        qsizetype lines = 1;
        for (qsizetype i = 0; i < end; ++i) {
            if (text.at(i) == QLatin1Char('\n') && ++lines > maxLines) {
                end = i;
                break;
            }
        }
    }
    if (end < text.size() && end > 0 && text.at(end - 1).isHighSurrogate())
        --end;
    result.cut = end < text.size();
    result.text = result.cut ? text.left(end) : text;
    return result;
}

QString displayText(const QString& text, qsizetype maxChars, qsizetype maxLines)
{
    const DisplayCut cut = cutForDisplay(text, maxChars, maxLines);
    return cut.cut ? cut.text + QChar(0x2026) : cut.text;
}

double revealOffset(double contentY, double viewHeight, double top, double bottom, double contentHeight,
                    double margin)
{
    double y = contentY;
    if (bottom + margin > y + viewHeight)
        y = bottom + margin - viewHeight;
    if (top - margin < y)
        y = top - margin;
    const double most = std::max(0.0, contentHeight - viewHeight);
    return std::clamp(y, 0.0, most);
}

double lineAlignedOffset(double desired, double lineHeight, double contentHeight, double viewHeight,
                         double cursorTop, double cursorBottom)
{
    const double most = std::max(0.0, contentHeight - viewHeight);
    if (!(lineHeight > 0))
        return std::clamp(desired, 0.0, most);
    // The line starts from which the cursor's line is wholly in view lie
    // between these two; of them, the one nearest the wanted offset.
    const double lowest = std::ceil((cursorBottom - viewHeight) / lineHeight - 1e-6) * lineHeight;
    const double highest = std::floor(cursorTop / lineHeight + 1e-6) * lineHeight;
    const double wanted = std::round(desired / lineHeight) * lineHeight;
    double y = lowest <= highest ? std::clamp(wanted, lowest, highest) : highest;
    // The end of the content need not fall on a line start.
    y = std::clamp(y, 0.0, std::floor(most / lineHeight + 1e-6) * lineHeight);
    return y;
}

double wholeLinesHeight(double space, double lineHeight)
{
    if (!(lineHeight > 0))
        return space;
    return std::max(1.0, std::floor(space / lineHeight + 1e-6)) * lineHeight;
}

namespace {
double luminance(double r, double g, double b)
{
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}
} // namespace

double contrastRatio(const QColor& foreground, const QColor& background)
{
    const double a = foreground.alphaF();
    const double r = foreground.redF() * a + background.redF() * (1 - a);
    const double g = foreground.greenF() * a + background.greenF() * (1 - a);
    const double b = foreground.blueF() * a + background.blueF() * (1 - a);
    const double front = luminance(r, g, b);
    const double back = luminance(background.redF(), background.greenF(), background.blueF());
    return (std::max(front, back) + 0.05) / (std::min(front, back) + 0.05);
}

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
