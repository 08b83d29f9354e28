#pragma once

// AnyShape: a shape given by a path function of the drawing rectangle. In QML
// the function is picked by name (see IconPaths::byName) or by a milestone
// type, e.g. AnyShape { milestoneType: 1 }.

#include <QObject>
#include <QPainterPath>
#include <QSizeF>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace orva {

class AnyShape : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY changed)
    Q_PROPERTY(int milestoneType READ milestoneType WRITE setMilestoneType NOTIFY changed)
public:
    using PathFunction = std::function<QPainterPath(const QSizeF&)>;

    explicit AnyShape(QObject* parent = nullptr);
    explicit AnyShape(PathFunction path, QObject* parent = nullptr);

    QPainterPath path(const QSizeF& size) const;

    QString name() const { return name_; }
    void setName(const QString& name);
    int milestoneType() const { return milestoneType_; }
    void setMilestoneType(int type);
    void setPathFunction(PathFunction path);

signals:
    void changed();

private:
    QString name_;
    int milestoneType_ = -1;
    PathFunction path_;
};

} // namespace orva
