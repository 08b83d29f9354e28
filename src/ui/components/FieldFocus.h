#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace orva {

// When an entry field takes the keyboard: request() asks for it (the screen
// appeared, a retry, a reply arrived); it is given (focusField()) at once
// while the field takes input, and again each time the field takes input
// after it could not (a disabled field loses the keyboard), until release()
// (the person put the keyboard elsewhere).
class FieldFocus : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool fieldEnabled READ fieldEnabled WRITE setFieldEnabled NOTIFY fieldEnabledChanged)
    Q_PROPERTY(bool wanted READ wanted NOTIFY wantedChanged)
public:
    using QObject::QObject;
    bool fieldEnabled() const { return fieldEnabled_; }
    void setFieldEnabled(bool enabled);
    bool wanted() const { return wanted_; }
    Q_INVOKABLE void request();
    Q_INVOKABLE void release();

signals:
    void fieldEnabledChanged();
    void wantedChanged();
    void focusField();

private:
    void setWanted(bool value);
    bool fieldEnabled_ = true;
    bool wanted_ = false;
};

} // namespace orva
