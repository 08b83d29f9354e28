#include "ui/components/PaintedItems.h"

#include "ui/components/IconPaths.h"
#include "ui/components/PathTrim.h"

#include <QConicalGradient>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace orva {

QPainterPath continuousRoundedRect(const QRectF& rect, double topLeft, double topRight, double bottomRight,
                                   double bottomLeft)
{
    // Each corner: a cubic from 1.28 r before the corner to 1.28 r after it
    // with both controls 0.354 r from the corner on the edges, which meets a
    // circular corner of radius r at its middle but curves in more gently.
    const double half = std::min(rect.width(), rect.height()) / 2;
    auto extent = [&](double r) { return std::clamp(r * 1.28, 0.0, half); };
    auto control = [&](double r) {
        const double e = extent(r);
        return r > 0 ? e * (0.354 / 1.28) : 0.0;
    };
    const double l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    QPainterPath path;
    path.moveTo(l + extent(topLeft), t);
    path.lineTo(r - extent(topRight), t);
    if (topRight > 0)
        path.cubicTo(r - control(topRight), t, r, t + control(topRight), r, t + extent(topRight));
    path.lineTo(r, b - extent(bottomRight));
    if (bottomRight > 0)
        path.cubicTo(r, b - control(bottomRight), r - control(bottomRight), b, r - extent(bottomRight), b);
    path.lineTo(l + extent(bottomLeft), b);
    if (bottomLeft > 0)
        path.cubicTo(l + control(bottomLeft), b, l, b - control(bottomLeft), l, b - extent(bottomLeft));
    path.lineTo(l, t + extent(topLeft));
    if (topLeft > 0)
        path.cubicTo(l, t + control(topLeft), l + control(topLeft), t, l + extent(topLeft), t);
    path.closeSubpath();
    return path;
}

// ---------------------------------------------------------------------------
SmoothRect::SmoothRect(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void SmoothRect::changed()
{
    update();
    emit appearanceChanged();
}
void SmoothRect::setRadius(double r) { if (r != radius_) { radius_ = r; changed(); } }
void SmoothRect::setTopLeftRadius(double r) { if (r != topLeft_) { topLeft_ = r; changed(); } }
void SmoothRect::setTopRightRadius(double r) { if (r != topRight_) { topRight_ = r; changed(); } }
void SmoothRect::setBottomRightRadius(double r) { if (r != bottomRight_) { bottomRight_ = r; changed(); } }
void SmoothRect::setBottomLeftRadius(double r) { if (r != bottomLeft_) { bottomLeft_ = r; changed(); } }
void SmoothRect::setColor(const QColor& c) { if (c != color_) { color_ = c; changed(); } }
void SmoothRect::setGradientEnd(const QColor& c) { if (c != gradientEnd_) { gradientEnd_ = c; changed(); } }
void SmoothRect::setBorderColor(const QColor& c) { if (c != borderColor_) { borderColor_ = c; changed(); } }
void SmoothRect::setBorderWidth(double w) { if (w != borderWidth_) { borderWidth_ = w; changed(); } }
void SmoothRect::setBorderMode(BorderMode m) { if (m != borderMode_) { borderMode_ = m; changed(); } }

void SmoothRect::paint(QPainter* painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(0, 0, width(), height());
    const QPainterPath shape =
        continuousRoundedRect(bounds, corner(topLeft_), corner(topRight_), corner(bottomRight_), corner(bottomLeft_));
    if (gradientEnd_.isValid()) {
        QLinearGradient g(bounds.topLeft(), bounds.bottomRight());
        g.setColorAt(0, color_);
        g.setColorAt(1, gradientEnd_);
        painter->fillPath(shape, g);
    } else if (color_.alpha() > 0) {
        painter->fillPath(shape, color_);
    }
    if (borderWidth_ <= 0 || borderColor_.alpha() == 0)
        return;
    QPen pen(borderColor_, borderWidth_);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(pen);
    switch (borderMode_) {
    case Inside: {
        const double in = borderWidth_ / 2;
        auto shrink = [&](double r) { return std::max(0.0, r - in); };
        painter->drawPath(continuousRoundedRect(bounds.adjusted(in, in, -in, -in), shrink(corner(topLeft_)),
                                                shrink(corner(topRight_)), shrink(corner(bottomRight_)),
                                                shrink(corner(bottomLeft_))));
        break;
    }
    case Clipped:
        painter->setClipPath(shape);
        painter->drawPath(shape);
        break;
    case Centered:
        painter->drawPath(shape);
        break;
    }
}

// ---------------------------------------------------------------------------
ConicBorder::ConicBorder(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}
void ConicBorder::setAngle(double a) { if (a != angle_) { angle_ = a; update(); emit appearanceChanged(); } }
void ConicBorder::setRadius(double r) { if (r != radius_) { radius_ = r; update(); emit appearanceChanged(); } }
void ConicBorder::setLineWidth(double w) { if (w != lineWidth_) { lineWidth_ = w; update(); emit appearanceChanged(); } }
void ConicBorder::setColor(const QColor& c) { if (c != color_) { color_ = c; update(); emit appearanceChanged(); } }
void ConicBorder::setFaintOpacity(double o) { if (o != faintOpacity_) { faintOpacity_ = o; update(); emit appearanceChanged(); } }

void ConicBorder::paint(QPainter* painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(0, 0, width(), height());
    // Qt's conical gradient runs counter-clockwise from its angle; the colour
    // stops are symmetric, so only the start angle needs mirroring.
    QConicalGradient g(bounds.center(), -angle_);
    QColor faint = color_;
    faint.setAlphaF(static_cast<float>(color_.alphaF() * faintOpacity_));
    g.setColorAt(0, faint);
    g.setColorAt(0.5, color_);
    g.setColorAt(1, faint);
    QPen pen(QBrush(g), lineWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const double in = lineWidth_ / 2;
    const double r = std::max(0.0, radius_ - in);
    painter->drawPath(continuousRoundedRect(bounds.adjusted(in, in, -in, -in), r, r, r, r));
}

// ---------------------------------------------------------------------------
ShapeStroke::ShapeStroke(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void ShapeStroke::setShape(AnyShape* shape)
{
    if (shape == shape_)
        return;
    if (shape_)
        disconnect(shape_, nullptr, this, nullptr);
    shape_ = shape;
    if (shape_)
        connect(shape_, &AnyShape::changed, this, [this] { update(); });
    update();
    emit appearanceChanged();
}
void ShapeStroke::setShapeName(const QString& n) { if (n != shapeName_) { shapeName_ = n; update(); emit appearanceChanged(); } }
void ShapeStroke::setStrokeColor(const QColor& c) { if (c != strokeColor_) { strokeColor_ = c; update(); emit appearanceChanged(); } }
void ShapeStroke::setStrokeWidth(double w) { if (w != strokeWidth_) { strokeWidth_ = w; update(); emit appearanceChanged(); } }
void ShapeStroke::setProgress(double p) { if (p != progress_) { progress_ = p; update(); emit appearanceChanged(); } }

QPainterPath ShapeStroke::currentPath() const
{
    const QSizeF size(width(), height());
    if (shape_)
        return shape_->path(size);
    return IconPaths::byName(shapeName_, size);
}

void ShapeStroke::paint(QPainter* painter)
{
    if (progress_ <= 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    QPen pen(strokeColor_, strokeWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const QPainterPath path = currentPath();
    if (progress_ >= 1)
        painter->drawPath(path);
    else
        painter->drawPath(PathMeasure(path).trimmed(progress_));
}

// ---------------------------------------------------------------------------
ProgressBarShape::ProgressBarShape(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}
void ProgressBarShape::setProgress(double p) { if (p != progress_) { progress_ = p; update(); emit appearanceChanged(); } }
void ProgressBarShape::setCornerRadius(double r) { if (r != cornerRadius_) { cornerRadius_ = r; update(); emit appearanceChanged(); } }
void ProgressBarShape::setBackgroundColor(const QColor& c) { if (c != background_) { background_ = c; update(); emit appearanceChanged(); } }
void ProgressBarShape::setForegroundColor(const QColor& c) { if (c != foreground_) { foreground_ = c; update(); emit appearanceChanged(); } }

void ProgressBarShape::paint(QPainter* painter)
{
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(0, 0, width(), height());
    const double r = cornerRadius_;
    const QPainterPath track = continuousRoundedRect(bounds, r, r, r, r);
    painter->setClipPath(track);
    painter->fillPath(track, background_);
    if (progress_ == 0)
        return;
    QTransform scale;
    scale.scale(progress_, 1);
    painter->fillPath(scale.map(track), foreground_);
}

// ---------------------------------------------------------------------------
namespace {
// One horizontal and one vertical box blur pass over the alpha channel of a
// premultiplied ARGB image, run three times: close to a Gaussian.
void boxBlurAlpha(QImage& img, int radius)
{
    if (radius < 1)
        return;
    const int w = img.width(), h = img.height();
    std::vector<int> line(std::max(w, h));
    for (int pass = 0; pass < 3; ++pass) {
        for (int dir = 0; dir < 2; ++dir) {
            const int outer = dir == 0 ? h : w;
            const int inner = dir == 0 ? w : h;
            for (int o = 0; o < outer; ++o) {
                auto px = [&](int i) -> QRgb* {
                    return dir == 0 ? reinterpret_cast<QRgb*>(img.scanLine(o)) + i
                                    : reinterpret_cast<QRgb*>(img.scanLine(i)) + o;
                };
                for (int i = 0; i < inner; ++i)
                    line[i] = qAlpha(*px(i));
                int sum = 0;
                const int span = 2 * radius + 1;
                for (int i = -radius; i <= radius; ++i)
                    sum += line[std::clamp(i, 0, inner - 1)];
                for (int i = 0; i < inner; ++i) {
                    const int a = sum / span;
                    *px(i) = qRgba(0, 0, 0, a);
                    sum += line[std::clamp(i + radius + 1, 0, inner - 1)] - line[std::clamp(i - radius, 0, inner - 1)];
                }
            }
        }
    }
}
} // namespace

SoftShadow::SoftShadow(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}
void SoftShadow::setBlurRadius(double r) { if (r != blur_) { blur_ = r; update(); emit appearanceChanged(); } }
void SoftShadow::setCornerRadius(double r) { if (r != cornerRadius_) { cornerRadius_ = r; update(); emit appearanceChanged(); } }
void SoftShadow::setColor(const QColor& c) { if (c != color_) { color_ = c; update(); emit appearanceChanged(); } }

void SoftShadow::paint(QPainter* painter)
{
    const int w = static_cast<int>(std::ceil(width()));
    const int h = static_cast<int>(std::ceil(height()));
    if (w <= 0 || h <= 0)
        return;
    QImage mask(w, h, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF inner = QRectF(0, 0, w, h).adjusted(blur_, blur_, -blur_, -blur_);
        p.fillPath(continuousRoundedRect(inner, cornerRadius_, cornerRadius_, cornerRadius_, cornerRadius_),
                   Qt::black);
    }
    // The blur radius is about two standard deviations; three box passes of
    // radius r/3 spread as far.
    boxBlurAlpha(mask, static_cast<int>(std::lround(blur_ / 3)));
    QImage tinted(w, h, QImage::Format_ARGB32_Premultiplied);
    tinted.fill(color_);
    {
        QPainter p(&tinted);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, mask);
    }
    painter->drawImage(0, 0, tinted);
}

} // namespace orva
