#include "ui/components/IconPaths.h"

#include <cmath>
#include <numbers>

namespace orva::IconPaths {
namespace {

// A small pen over fractions of the rectangle.
class Pen {
public:
    explicit Pen(const QSizeF& s) : w_(s.width()), h_(s.height()) {}
    QPointF p(double x, double y) const { return {x * w_, y * h_}; }
    void move(double x, double y) { path_.moveTo(p(x, y)); }
    void line(double x, double y) { path_.lineTo(p(x, y)); }
    void curve(double x, double y, double c1x, double c1y, double c2x, double c2y)
    {
        path_.cubicTo(p(c1x, c1y), p(c2x, c2y), p(x, y));
    }
    void close() { path_.closeSubpath(); }
    void ellipse(double x, double y, double ew, double eh) { path_.addEllipse(QRectF(p(x, y), p(x + ew, y + eh))); }
    QPainterPath path() const { return path_; }

private:
    double w_, h_;
    QPainterPath path_;
};

} // namespace

QPainterPath appFolderIcon(const QSizeF& size)
{
    Pen pen(size);
    pen.move(0.5, 0.375);
    pen.line(0.5, 0.73214);
    pen.move(0.32143, 0.55357);
    pen.line(0.67857, 0.55357);
    pen.move(0.03571, 0.85717);
    pen.line(0.03571, 0.10717);
    pen.curve(0.05664, 0.05667, 0.03571, 0.08823, 0.04324, 0.07006);
    pen.curve(0.10714, 0.03574, 0.07003, 0.04327, 0.0882, 0.03574);
    pen.line(0.37071, 0.03574);
    pen.curve(0.41601, 0.05027, 0.38703, 0.03527, 0.40302, 0.0404);
    pen.curve(0.44214, 0.09003, 0.42901, 0.06015, 0.43823, 0.07418);
    pen.line(0.46429, 0.1786);
    pen.line(0.89286, 0.1786);
    pen.curve(0.94336, 0.19952, 0.9118, 0.1786, 0.92997, 0.18613);
    pen.curve(0.96429, 0.25003, 0.95676, 0.21292, 0.96429, 0.23109);
    pen.line(0.96429, 0.85717);
    pen.curve(0.94336, 0.90768, 0.96429, 0.87612, 0.95676, 0.89429);
    pen.curve(0.89286, 0.9286, 0.92997, 0.92108, 0.9118, 0.9286);
    pen.line(0.10714, 0.9286);
    pen.curve(0.05664, 0.90768, 0.0882, 0.9286, 0.07003, 0.92108);
    pen.curve(0.03571, 0.85717, 0.04324, 0.89429, 0.03571, 0.87612);
    pen.close();
    return pen.path();
}

QPainterPath checkIcon(const QSizeF& size)
{
    Pen pen(size);
    pen.move(0.7, 0.36667);
    pen.line(0.46667, 0.7);
    pen.line(0.3, 0.53333);
    pen.ellipse(0.03333, 0.03333, 0.93333, 0.93333);
    return pen.path();
}

QPainterPath detailIcon(const QSizeF& size)
{
    Pen pen(size);
    const double rows[3][4] = {
        // bullet centre y, bottom y, top y, line y
        {0.09091, 0.13636, 0.04545, 0.09091},
        {0.5, 0.54545, 0.45455, 0.5},
        {0.90909, 0.95455, 0.86364, 0.90909},
    };
    for (const auto& r : rows) {
        const double cy = r[0], bottom = r[1], top = r[2];
        // The bullet: lowest point, right, top, left, back to the lowest.
        pen.move(0.07143, bottom);
        pen.curve(0.10714, cy, 0.09115, bottom, 0.10714, cy + (bottom - cy) * 0.55228);
        pen.curve(0.07143, top, 0.10714, cy - (cy - top) * 0.55228, 0.09115, top);
        pen.curve(0.03571, cy, 0.0517, top, 0.03571, cy - (cy - top) * 0.55228);
        pen.curve(0.07143, bottom, 0.03571, cy + (bottom - cy) * 0.55228, 0.0517, bottom);
        pen.close();
        pen.move(0.32143, r[3]);
        pen.line(0.96429, r[3]);
    }
    return pen.path();
}

QPainterPath featureImplementation(const QSizeF& size)
{
    Pen pen(size);
    // Fractions of the top-left circle and their replacements for the other half.
    const double lowSet[5] = {0.03571, 0.12366, 0.23214, 0.34063, 0.42857};
    const double highSet[5] = {0.57143, 0.65937, 0.76786, 0.87634, 0.96429};
    auto circle = [&](const double* xs, const double* ys) {
        // xs/ys index: 0 = 0.03571, 1 = 0.12366, 2 = 0.23214, 3 = 0.34063, 4 = 0.42857
        pen.move(xs[2], ys[4]);
        pen.curve(xs[4], ys[2], xs[3], ys[4], xs[4], ys[3]);
        pen.curve(xs[2], ys[0], xs[4], ys[1], xs[3], ys[0]);
        pen.curve(xs[0], ys[2], xs[1], ys[0], xs[0], ys[1]);
        pen.curve(xs[2], ys[4], xs[0], ys[3], xs[1], ys[4]);
        pen.close();
    };
    circle(lowSet, lowSet);   // top left
    circle(highSet, lowSet);  // top right
    circle(lowSet, highSet);  // bottom left
    circle(highSet, highSet); // bottom right
    return pen.path();
}

QPainterPath uiImplementation(const QSizeF& size)
{
    Pen pen(size);
    pen.move(0.03571, 0.53307);
    pen.curve(0.46049, 0.07407, 0.09178, 0.4487, 0.26165, 0.20894);
    pen.curve(0.64168, 0.24133, 0.60998, -0.02733, 0.75117, 0.10653);
    pen.curve(0.32969, 0.64471, 0.53461, 0.37317, 0.39099, 0.55462);
    pen.curve(0.48375, 0.74351, 0.26616, 0.73808, 0.37491, 0.85098);
    pen.curve(0.70934, 0.528, 0.5565, 0.67168, 0.63229, 0.58905);
    pen.curve(0.85712, 0.61124, 0.81333, 0.4456, 0.90251, 0.51836);
    pen.curve(0.77314, 0.7645, 0.82432, 0.67836, 0.80054, 0.70801);
    pen.curve(0.81626, 0.89453, 0.74574, 0.82098, 0.77474, 0.88872);
    pen.curve(0.9442, 0.8001, 0.86771, 0.90173, 0.90024, 0.86202);
    return pen.path();
}

QPainterPath setupAndModeling(const QSizeF& size)
{
    // Six teeth, clockwise on screen from the top one, each followed by the
    // rim line to the next tooth's left foot: 24 lines and 24 curves after
    // the move. Then the inner ring of ten curves.
    //
    // The top tooth is drawn as given. The upper right tooth is the top one
    // turned by 60 degrees about the gear's centre and then fitted by a
    // linear map so that its left foot and the end of its first flank fall
    // on their drawn points, (0.74599, 0.22071) and (0.83676, 0.20786). The
    // other teeth follow from these two by the gear's symmetry: the bottom
    // tooth is the top one turned half-way round, the lower left the upper
    // right turned half-way round, and the lower right and upper left are
    // the upper right mirrored top to bottom. The outline so spans y 0.03571
    // to 0.96429 and x 0.0374 to 0.9577.
    Pen pen(size);
    const QPointF centre(0.49753, 0.5);
    // One tooth in fractions, starting at its left foot, clockwise: each entry is
    // a line (l) or curve (c) to a point.
    struct Seg {
        bool curve;
        QPointF to, c1, c2;
    };
    const Seg tooth[] = {
        {false, {0.39446, 0.08143}, {}, {}},
        {true, {0.42261, 0.0483}, {0.40004, 0.068}, {0.40985, 0.05646}},
        {true, {0.466, 0.03571}, {0.43538, 0.04014}, {0.4505, 0.03576}},
        {false, {0.52907, 0.03571}, {}, {}},
        {true, {0.57245, 0.0483}, {0.54457, 0.03576}, {0.55969, 0.04014}},
        {true, {0.60061, 0.08143}, {0.58522, 0.05646}, {0.59503, 0.068}},
        {false, {0.63369, 0.16071}, {}, {}},
    };
    const QPointF start(0.36138, 0.16071);
    const QPointF upperRightFoot(0.74599, 0.22071);
    const QPointF upperRightFlank(0.83676, 0.20786);

    // 2x2 matrices as {a, b, c, d} = [[a, b], [c, d]].
    struct Mat {
        double a, b, c, d;
        QPointF operator*(const QPointF& v) const { return {a * v.x() + b * v.y(), c * v.x() + d * v.y()}; }
        Mat operator*(const Mat& m) const
        {
            return {a * m.a + b * m.c, a * m.b + b * m.d, c * m.a + d * m.c, c * m.b + d * m.d};
        }
        Mat inverse() const
        {
            const double det = a * d - b * c;
            return {d / det, -b / det, -c / det, a / det};
        }
    };
    auto rotation = [](int k) {
        const double angle = k * std::numbers::pi / 3;
        return Mat{std::cos(angle), -std::sin(angle), std::sin(angle), std::cos(angle)};
    };
    // The fit of the upper right tooth: the map that takes the turned foot
    // and flank end (as columns) onto their drawn points.
    const QPointF turnedFoot = rotation(1) * (start - centre);
    const QPointF turnedFlank = rotation(1) * (tooth[0].to - centre);
    const QPointF drawnFoot = upperRightFoot - centre;
    const QPointF drawnFlank = upperRightFlank - centre;
    const Mat fit = Mat{drawnFoot.x(), drawnFlank.x(), drawnFoot.y(), drawnFlank.y()}
                    * Mat{turnedFoot.x(), turnedFlank.x(), turnedFoot.y(), turnedFlank.y()}.inverse();
    const Mat identity{1, 0, 0, 1};
    const Mat mirroredFit{fit.a, -fit.b, -fit.c, fit.d}; // top to bottom: F * fit * F, F = diag(1, -1)
    const Mat toothMaps[6] = {identity, fit, mirroredFit, identity, fit, mirroredFit};
    auto turn = [&](const QPointF& q, int k) { return centre + toothMaps[k] * (rotation(k) * (q - centre)); };
    auto toPath = [&](const QPointF& q) { return pen.p(q.x(), q.y()); };
    QPainterPath path;
    path.moveTo(toPath(start));
    for (int k = 0; k < 6; ++k) {
        for (const Seg& s : tooth) {
            if (s.curve)
                path.cubicTo(toPath(turn(s.c1, k)), toPath(turn(s.c2, k)), toPath(turn(s.to, k)));
            else
                path.lineTo(toPath(turn(s.to, k)));
        }
        // The rim: one straight line from this tooth's right foot to the
        // next tooth's left foot.
        path.lineTo(toPath(turn(start, (k + 1) % 6)));
    }
    path.closeSubpath();
    // Inner ring through its ten points, one curve between each pair (a
    // Catmull-Rom spline turned into cubic segments).
    const QPointF ring[] = {{0.34369, 0.5},     {0.36962, 0.57937}, {0.43866, 0.63198}, {0.52755, 0.64011},
                            {0.60632, 0.60102}, {0.64842, 0.52787}, {0.63967, 0.44533}, {0.58301, 0.38122},
                            {0.49753, 0.35714}, {0.38875, 0.39899}};
    const int n = 10;
    path.moveTo(toPath(ring[0]));
    for (int i = 0; i < n; ++i) {
        const QPointF p0 = ring[(i + n - 1) % n], p1 = ring[i], p2 = ring[(i + 1) % n], p3 = ring[(i + 2) % n];
        const QPointF c1 = p1 + (p2 - p0) / 6.0;
        const QPointF c2 = p2 - (p3 - p1) / 6.0;
        path.cubicTo(toPath(c1), toPath(c2), toPath(p2));
    }
    path.closeSubpath();
    return path;
}

QPainterPath milestoneIcon(MilestoneType type, const QSizeF& size)
{
    switch (type) {
    case MilestoneType::setupAndModeling: return setupAndModeling(size);
    case MilestoneType::featureImplementation: return featureImplementation(size);
    case MilestoneType::uiImplementation: return uiImplementation(size);
    }
    return {};
}

QPainterPath byName(const QString& name, const QSizeF& size)
{
    if (name == u"appFolder") return appFolderIcon(size);
    if (name == u"check") return checkIcon(size);
    if (name == u"detail") return detailIcon(size);
    if (name == u"setupAndModeling") return setupAndModeling(size);
    if (name == u"featureImplementation") return featureImplementation(size);
    if (name == u"uiImplementation") return uiImplementation(size);
    return {};
}

QStringList names()
{
    return {QStringLiteral("appFolder"), QStringLiteral("check"), QStringLiteral("detail"),
            QStringLiteral("setupAndModeling"), QStringLiteral("featureImplementation"),
            QStringLiteral("uiImplementation")};
}

} // namespace orva::IconPaths
