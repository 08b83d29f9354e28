#include "ui/components/AnyShape.h"

#include "ui/components/IconPaths.h"

namespace orva {

AnyShape::AnyShape(QObject* parent) : QObject(parent) {}

AnyShape::AnyShape(PathFunction path, QObject* parent) : QObject(parent), path_(std::move(path)) {}

QPainterPath AnyShape::path(const QSizeF& size) const
{
    if (path_)
        return path_(size);
    return {};
}

void AnyShape::setName(const QString& name)
{
    if (name == name_)
        return;
    name_ = name;
    milestoneType_ = -1;
    path_ = [name](const QSizeF& s) { return IconPaths::byName(name, s); };
    emit changed();
}

void AnyShape::setMilestoneType(int type)
{
    if (type == milestoneType_)
        return;
    milestoneType_ = type;
    if (type < 0 || type > 2) {
        path_ = {};
    } else {
        const auto t = static_cast<MilestoneType>(type);
        name_ = toString(t);
        path_ = [t](const QSizeF& s) { return IconPaths::milestoneIcon(t, s); };
    }
    emit changed();
}

void AnyShape::setPathFunction(PathFunction path)
{
    path_ = std::move(path);
    emit changed();
}

} // namespace orva
