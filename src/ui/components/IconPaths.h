#pragma once

// Vector outlines of the application's own icons, built for a rectangle of
// size W x H: every point is (x * W, y * H) from the origin of the shape's own
// space. Commands are issued in drawing order, which the trimmed stroke
// follows.

#include "model/ProjectModel.h"

#include <QPainterPath>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace orva::IconPaths {

QPainterPath appFolderIcon(const QSizeF& size);
QPainterPath checkIcon(const QSizeF& size);
QPainterPath detailIcon(const QSizeF& size);

// MilestoneIconPaths
QPainterPath setupAndModeling(const QSizeF& size);
QPainterPath featureImplementation(const QSizeF& size);
QPainterPath uiImplementation(const QSizeF& size);
QPainterPath milestoneIcon(MilestoneType type, const QSizeF& size);

// By name: "appFolder", "check", "detail", "setupAndModeling",
// "featureImplementation", "uiImplementation". Unknown names give an empty path.
QPainterPath byName(const QString& name, const QSizeF& size);
QStringList names();

} // namespace orva::IconPaths
