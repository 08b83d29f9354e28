#pragma once

// QML singletons of Orva.Design that are computed in C++: the colour of a
// colour text, the animation curves and the symbol glyph table.

#include <QColor>
#include <QEasingCurve>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

class HexColor : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Hex)
    QML_SINGLETON
public:
    using QObject::QObject;
    // Hex.color("#D9D9D9"): the colour of a "#RGB", "#RRGGBB" or "#AARRGGBB"
    // text, or of any other form QColor reads; a text it cannot read gives
    // opaque black.
    Q_INVOKABLE QColor color(const QString& text) const;
};

class Motion : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Animations)
    QML_SINGLETON
    Q_PROPERTY(QEasingCurve entranceSpring READ entranceSpring CONSTANT)
    Q_PROPERTY(int entranceSpringDuration READ entranceSpringDuration CONSTANT)
    Q_PROPERTY(QEasingCurve popupSpring READ popupSpring CONSTANT)
    Q_PROPERTY(int popupSpringDuration READ popupSpringDuration CONSTANT)
    Q_PROPERTY(QEasingCurve strokeDraw READ strokeDraw CONSTANT)
    Q_PROPERTY(int strokeDrawDuration READ strokeDrawDuration CONSTANT)
    Q_PROPERTY(QEasingCurve rotation READ rotation CONSTANT)
    Q_PROPERTY(int rotationDuration READ rotationDuration CONSTANT)
    Q_PROPERTY(double slideDistance READ slideDistance CONSTANT)
public:
    using QObject::QObject;
    QEasingCurve entranceSpring() const;
    int entranceSpringDuration() const;
    QEasingCurve popupSpring() const;
    int popupSpringDuration() const;
    QEasingCurve strokeDraw() const;
    int strokeDrawDuration() const;
    QEasingCurve rotation() const;
    int rotationDuration() const;
    double slideDistance() const;
};

class Symbols : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)
public:
    using QObject::QObject;
    QString fontFamily() const;
    // The glyph of a symbol name; an unknown name logs one line and gives "".
    Q_INVOKABLE QString glyph(const QString& name) const;
    Q_INVOKABLE bool isKnown(const QString& name) const;
    // The turn in degrees the glyph of a name is drawn with (0 for most).
    Q_INVOKABLE double rotation(const QString& name) const;
};

} // namespace orva
