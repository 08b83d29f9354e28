#pragma once

// Painted Qt Quick items for what Qt Quick 6.4 does not draw itself:
// continuous-corner rectangles with per-corner radii and gradient fills,
// the turning conic border, trimmed stroked outlines, the scaled-fill
// progress bar and soft shadows.

#include "ui/components/AnyShape.h"

#include <QColor>
#include <QPainterPath>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace orva {

// A rounded rectangle with continuous (smooth) corners: each corner curve
// starts 1.28 radii from the corner and meets the edges with no kink.
// Radii larger than half a side are reduced to fit.
QPainterPath continuousRoundedRect(const QRectF& rect, double topLeft, double topRight, double bottomRight,
                                   double bottomLeft);

class SmoothRect : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double radius READ radius WRITE setRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double topLeftRadius MEMBER topLeft_ WRITE setTopLeftRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double topRightRadius MEMBER topRight_ WRITE setTopRightRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double bottomRightRadius MEMBER bottomRight_ WRITE setBottomRightRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double bottomLeftRadius MEMBER bottomLeft_ WRITE setBottomLeftRadius NOTIFY appearanceChanged)
    Q_PROPERTY(QColor color MEMBER color_ WRITE setColor NOTIFY appearanceChanged)
    // When gradientEnd is valid the fill is a linear gradient from `color` at
    // the top-left corner to `gradientEnd` at the bottom-right corner.
    Q_PROPERTY(QColor gradientEnd MEMBER gradientEnd_ WRITE setGradientEnd NOTIFY appearanceChanged)
    Q_PROPERTY(QColor borderColor MEMBER borderColor_ WRITE setBorderColor NOTIFY appearanceChanged)
    Q_PROPERTY(double borderWidth MEMBER borderWidth_ WRITE setBorderWidth NOTIFY appearanceChanged)
    // Inside: the line lies wholly within the shape. Clipped: the line is
    // centred on the outline and its outer half is cut off. Centered: centred
    // on the outline, nothing cut (the item should leave room).
    Q_PROPERTY(BorderMode borderMode MEMBER borderMode_ WRITE setBorderMode NOTIFY appearanceChanged)
public:
    enum BorderMode { Inside, Clipped, Centered };
    Q_ENUM(BorderMode)

    explicit SmoothRect(QQuickItem* parent = nullptr);
    void paint(QPainter* painter) override;

    double radius() const { return radius_; }
    void setRadius(double r);
    void setTopLeftRadius(double r);
    void setTopRightRadius(double r);
    void setBottomRightRadius(double r);
    void setBottomLeftRadius(double r);
    void setColor(const QColor& c);
    void setGradientEnd(const QColor& c);
    void setBorderColor(const QColor& c);
    void setBorderWidth(double w);
    void setBorderMode(BorderMode m);

signals:
    void appearanceChanged();

private:
    void changed();
    double corner(double r) const { return r >= 0 ? r : radius_; }
    double radius_ = 0;
    double topLeft_ = -1, topRight_ = -1, bottomRight_ = -1, bottomLeft_ = -1;
    QColor color_ = Qt::transparent;
    QColor gradientEnd_;
    QColor borderColor_ = Qt::transparent;
    double borderWidth_ = 0;
    BorderMode borderMode_ = Inside;
};

// A rounded border stroked inside the shape with an angular gradient about
// the centre of faint, full and faint `color`, starting at `angle` degrees
// (clockwise on screen from the trailing side).
class ConicBorder : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double angle MEMBER angle_ WRITE setAngle NOTIFY appearanceChanged)
    Q_PROPERTY(double radius MEMBER radius_ WRITE setRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double lineWidth MEMBER lineWidth_ WRITE setLineWidth NOTIFY appearanceChanged)
    Q_PROPERTY(QColor color MEMBER color_ WRITE setColor NOTIFY appearanceChanged)
    Q_PROPERTY(double faintOpacity MEMBER faintOpacity_ WRITE setFaintOpacity NOTIFY appearanceChanged)
public:
    explicit ConicBorder(QQuickItem* parent = nullptr);
    void paint(QPainter* painter) override;
    void setAngle(double a);
    void setRadius(double r);
    void setLineWidth(double w);
    void setColor(const QColor& c);
    void setFaintOpacity(double o);
signals:
    void appearanceChanged();

private:
    double angle_ = 0, radius_ = 8, lineWidth_ = 2, faintOpacity_ = 0.1;
    QColor color_ = Qt::cyan;
};

// The outline of a shape, traced from its start to `progress` of its length
// in command order, with round caps and joins.
class ShapeStroke : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orva::AnyShape* shape READ shape WRITE setShape NOTIFY appearanceChanged)
    Q_PROPERTY(QString shapeName READ shapeName WRITE setShapeName NOTIFY appearanceChanged)
    Q_PROPERTY(QColor strokeColor MEMBER strokeColor_ WRITE setStrokeColor NOTIFY appearanceChanged)
    Q_PROPERTY(double strokeWidth MEMBER strokeWidth_ WRITE setStrokeWidth NOTIFY appearanceChanged)
    Q_PROPERTY(double progress MEMBER progress_ WRITE setProgress NOTIFY appearanceChanged)
public:
    explicit ShapeStroke(QQuickItem* parent = nullptr);
    void paint(QPainter* painter) override;
    AnyShape* shape() const { return shape_; }
    void setShape(AnyShape* shape);
    QString shapeName() const { return shapeName_; }
    void setShapeName(const QString& name);
    void setStrokeColor(const QColor& c);
    void setStrokeWidth(double w);
    void setProgress(double p);
signals:
    void appearanceChanged();

private:
    QPainterPath currentPath() const;
    QPointer<AnyShape> shape_;
    QString shapeName_;
    QColor strokeColor_ = Qt::white;
    double strokeWidth_ = 1;
    double progress_ = 1;
};

// A track and a fill: the fill is the full-width rounded shape scaled
// horizontally by `progress` about the leading edge, the whole clipped to the
// track's outline. `progress` is used unclamped.
class ProgressBarShape : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double progress MEMBER progress_ WRITE setProgress NOTIFY appearanceChanged)
    Q_PROPERTY(double cornerRadius MEMBER cornerRadius_ WRITE setCornerRadius NOTIFY appearanceChanged)
    Q_PROPERTY(QColor backgroundColor MEMBER background_ WRITE setBackgroundColor NOTIFY appearanceChanged)
    Q_PROPERTY(QColor foregroundColor MEMBER foreground_ WRITE setForegroundColor NOTIFY appearanceChanged)
public:
    explicit ProgressBarShape(QQuickItem* parent = nullptr);
    void paint(QPainter* painter) override;
    void setProgress(double p);
    void setCornerRadius(double r);
    void setBackgroundColor(const QColor& c);
    void setForegroundColor(const QColor& c);
signals:
    void appearanceChanged();

private:
    double progress_ = 0, cornerRadius_ = 0;
    QColor background_ = Qt::gray, foreground_ = Qt::white;
};

// A soft shadow of a rounded rectangle: the shape of the item's size less
// `blurRadius` on every side, blurred by `blurRadius`. Place it under the
// shadowed item with margins of -blurRadius.
class SoftShadow : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double blurRadius MEMBER blur_ WRITE setBlurRadius NOTIFY appearanceChanged)
    Q_PROPERTY(double cornerRadius MEMBER cornerRadius_ WRITE setCornerRadius NOTIFY appearanceChanged)
    Q_PROPERTY(QColor color MEMBER color_ WRITE setColor NOTIFY appearanceChanged)
public:
    explicit SoftShadow(QQuickItem* parent = nullptr);
    void paint(QPainter* painter) override;
    void setBlurRadius(double r);
    void setCornerRadius(double r);
    void setColor(const QColor& c);
signals:
    void appearanceChanged();

private:
    double blur_ = 20, cornerRadius_ = 12;
    QColor color_ = QColor(0, 0, 0, 84);
};

} // namespace orva
