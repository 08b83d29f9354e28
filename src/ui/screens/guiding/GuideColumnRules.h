#pragma once

// The guide column's decisions about scrolling: whether part of it lies
// above or below what shows (the edge then fades, so that a line is never
// seen cut in half, and the fade under the view tells that more follows),
// and how far it scrolls once a check has answered, so that the result and
// the folder row with "다시 선택하기" under it come into view together.

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace orva {

namespace guiding {

struct Fold {
    bool hiddenAbove = false; // content above the view's top edge
    bool hiddenBelow = false; // content below its bottom edge
    friend bool operator==(const Fold&, const Fold&) = default;
};

// Where a vertical scroll area standing at `contentY` (its content starting
// at `originY`) hides part of `contentHeight` in its `viewHeight`. Less than
// half a pixel of hidden content counts as none.
Fold foldOf(double contentY, double originY, double viewHeight, double contentHeight);

// The offset at which the verdict is read: the result box [resultTop,
// resultBottom] and the folder row [rowTop, rowBottom] under it, `margin`
// clear of the edges, moving as little as it can; when both do not fit, the
// result box alone (its top first when it is taller than the view). Clamped
// to the content.
double verdictOffset(double contentY, double viewHeight, double contentHeight, double resultTop, double resultBottom,
                     double rowTop, double rowBottom, double margin);

} // namespace guiding

// The rules above for the guide column, as the QML singleton GuideColumnRules.
class GuideColumnRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE bool hidesAbove(double contentY, double originY, double viewHeight, double contentHeight) const;
    Q_INVOKABLE bool hidesBelow(double contentY, double originY, double viewHeight, double contentHeight) const;
    Q_INVOKABLE double verdictOffset(double contentY, double viewHeight, double contentHeight, double resultTop,
                                     double resultBottom, double rowTop, double rowBottom, double margin) const;
};

} // namespace orva
