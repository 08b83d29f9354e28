#pragma once

// The one colour of each milestone type, used by every view that colours a
// milestone (dashboard columns, board tabs, progress bars).

#include "model/ProjectModel.h"

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace orva {

// setupAndModeling indigo, featureImplementation blue, uiImplementation teal.
QColor milestoneColor(MilestoneType type);

// QML face: MilestoneColors.color(milestone.type), where the type is the
// record's integer case; an integer outside the vocabulary gives gray.
class MilestoneColors : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE QColor color(int type) const;
};

} // namespace orva
