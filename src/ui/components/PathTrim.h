#pragma once

// Length-based trimming of a path, in command order: the part of a path from
// its start to a fraction of its whole length, as a pen tracing it would have
// drawn it so far. Curves are measured and cut along finely flattened
// polylines.

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>

namespace orva {

class PathMeasure {
public:
    explicit PathMeasure(const QPainterPath& path);

    double totalLength() const { return total_; }
    // The drawn part for `fraction` in [0, 1] (clamped). Empty at 0 or below,
    // so that round caps draw no dot before anything is traced.
    QPainterPath trimmed(double fraction) const;
    // The point reached at `fraction` of the length.
    QPointF pointAt(double fraction) const;
    // Number of subpaths the trimmed part at `fraction` touches.
    int subpathsReached(double fraction) const;

private:
    struct Piece {
        QPolygonF points;
        QList<double> cumulative; // length from the piece's start to each point
        double length = 0;
        bool closed = false;
    };
    QList<Piece> pieces_;
    double total_ = 0;
};

} // namespace orva
