#pragma once

#include "ui/components/DisabledTextGuard.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

// The chat field's guard for QML: report every text change; when it returns
// true, `restoreText` holds the text to write back.
class TextGuard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString restoreText READ restoreText CONSTANT)
public:
    using QObject::QObject;
    Q_INVOKABLE bool textChanged(const QString& newText, bool disabled);
    Q_INVOKABLE void reset(const QString& text) { guard_ = DisabledTextGuard(text); }
    QString restoreText() const { return guard_.acceptedText(); }

private:
    DisabledTextGuard guard_;
};

} // namespace orva
