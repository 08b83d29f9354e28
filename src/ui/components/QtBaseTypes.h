#pragma once

// Qt base classes of this module's C++ types that Qt 6.4's QML modules do
// not describe, declared (anonymously) with the module so that the QML tools
// know the types built on them: ConfettiModel is a QAbstractListModel, whose
// base QAbstractItemModel no Qt module lists.

#include <QAbstractItemModel>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace orva::componentsqml {

struct AbstractItemModelType {
    Q_GADGET
    QML_FOREIGN(QAbstractItemModel)
    QML_ANONYMOUS
};

} // namespace orva::componentsqml
