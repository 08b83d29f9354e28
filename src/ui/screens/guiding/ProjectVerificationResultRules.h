#pragma once

#include "ui/screens/guiding/ProjectGuidingRules.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orva {

// Which box ProjectVerificationResultView draws, with which texts, for the
// verdict it is given (guiding::verificationResult).
class ProjectVerificationResultRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isVerified MEMBER isVerified_ WRITE setIsVerified NOTIFY inputChanged)
    Q_PROPERTY(bool hasProjectName MEMBER hasProjectName_ WRITE setHasProjectName NOTIFY inputChanged)
    Q_PROPERTY(QString projectName MEMBER projectName_ WRITE setProjectName NOTIFY inputChanged)
    Q_PROPERTY(bool hasErrorMessage MEMBER hasErrorMessage_ WRITE setHasErrorMessage NOTIFY inputChanged)
    Q_PROPERTY(QString errorMessage MEMBER errorMessage_ WRITE setErrorMessage NOTIFY inputChanged)

    Q_PROPERTY(bool showsSuccess READ showsSuccess NOTIFY inputChanged)
    Q_PROPERTY(bool showsFailure READ showsFailure NOTIFY inputChanged)
    Q_PROPERTY(QString title READ title NOTIFY inputChanged)
    Q_PROPERTY(QString message READ message NOTIFY inputChanged)
    Q_PROPERTY(bool showsProjectName READ showsProjectName NOTIFY inputChanged)
    Q_PROPERTY(QString shownProjectName READ shownProjectName NOTIFY inputChanged)

public:
    using QObject::QObject;

    void setIsVerified(bool value) { set(isVerified_, value); }
    void setHasProjectName(bool value) { set(hasProjectName_, value); }
    void setProjectName(const QString& value) { set(projectName_, value); }
    void setHasErrorMessage(bool value) { set(hasErrorMessage_, value); }
    void setErrorMessage(const QString& value) { set(errorMessage_, value); }

    guiding::ResultDisplay result() const;
    bool showsSuccess() const { return result().box == guiding::ResultBox::success; }
    bool showsFailure() const { return result().box == guiding::ResultBox::failure; }
    QString title() const { return result().title; }
    QString message() const { return result().message; }
    bool showsProjectName() const { return result().projectName.has_value(); }
    QString shownProjectName() const { return result().projectName.value_or(QString()); }

signals:
    void inputChanged();

private:
    template <typename T>
    void set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        emit inputChanged();
    }

    bool isVerified_ = false;
    bool hasProjectName_ = false;
    QString projectName_;
    bool hasErrorMessage_ = false;
    QString errorMessage_;
};

} // namespace orva
