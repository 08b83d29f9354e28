#include "ui/components/PathTrim.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace orva {
namespace {
constexpr int kCurveSteps = 48;

QPointF cubicPoint(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3, double t)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}
} // namespace

PathMeasure::PathMeasure(const QPainterPath& path)
{
    Piece current;
    auto finish = [&] {
        if (current.points.size() >= 2) {
            current.cumulative.reserve(current.points.size());
            double len = 0;
            current.cumulative.append(0);
            for (qsizetype i = 1; i < current.points.size(); ++i) {
                len += QLineF(current.points[i - 1], current.points[i]).length();
                current.cumulative.append(len);
            }
            current.length = len;
            total_ += len;
            pieces_.append(current);
        }
        current = Piece();
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            finish();
            current.points.append(QPointF(e.x, e.y));
            break;
        case QPainterPath::LineToElement:
            if (current.points.isEmpty())
                current.points.append(QPointF(0, 0));
            current.points.append(QPointF(e.x, e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPointF p0 = current.points.isEmpty() ? QPointF(0, 0) : current.points.last();
            if (current.points.isEmpty())
                current.points.append(p0);
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element to = path.elementAt(i + 2);
            const QPointF p1(e.x, e.y), p2(c2.x, c2.y), p3(to.x, to.y);
            for (int s = 1; s <= kCurveSteps; ++s)
                current.points.append(cubicPoint(p0, p1, p2, p3, double(s) / kCurveSteps));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
        // A closed subpath in a QPainterPath ends on its start point.
        if (current.points.size() > 2 && current.points.first() == current.points.last())
            current.closed = true;
    }
    finish();
}

QPainterPath PathMeasure::trimmed(double fraction) const
{
    QPainterPath out;
    if (fraction <= 0 || total_ <= 0)
        return out;
    if (fraction >= 1)
        fraction = 1;
    double remaining = total_ * fraction;
    for (const Piece& piece : pieces_) {
        if (remaining <= 0)
            break;
        out.moveTo(piece.points.first());
        if (remaining >= piece.length) {
            for (qsizetype i = 1; i < piece.points.size(); ++i)
                out.lineTo(piece.points[i]);
            if (piece.closed)
                out.closeSubpath();
            remaining -= piece.length;
            continue;
        }
        for (qsizetype i = 1; i < piece.points.size(); ++i) {
            if (piece.cumulative[i] <= remaining) {
                out.lineTo(piece.points[i]);
                continue;
            }
            const double segStart = piece.cumulative[i - 1];
            const double segLen = piece.cumulative[i] - segStart;
            const double t = segLen > 0 ? (remaining - segStart) / segLen : 0;
            out.lineTo(piece.points[i - 1] + (piece.points[i] - piece.points[i - 1]) * t);
            break;
        }
        remaining = 0;
    }
    return out;
}

QPointF PathMeasure::pointAt(double fraction) const
{
    const QPainterPath part = trimmed(std::clamp(fraction, 1e-9, 1.0));
    if (part.elementCount() == 0)
        return pieces_.isEmpty() ? QPointF() : pieces_.first().points.first();
    return part.currentPosition();
}

int PathMeasure::subpathsReached(double fraction) const
{
    const QPainterPath part = trimmed(fraction);
    int count = 0;
    for (int i = 0; i < part.elementCount(); ++i)
        if (part.elementAt(i).type == QPainterPath::MoveToElement)
            ++count;
    return count;
}

} // namespace orva
