#pragma once

#include <QObject>
#include <QString>

namespace orva {

// The onboarding overlay's model: only the user-defaults key under which the
// root view remembers that the overlay has been closed.
class OnboardingViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString hasSeenOnboardingKey READ hasSeenOnboardingKey WRITE setHasSeenOnboardingKey NOTIFY
                   hasSeenOnboardingKeyChanged)

public:
    explicit OnboardingViewModel(QObject* parent = nullptr);

    QString hasSeenOnboardingKey() const { return hasSeenOnboardingKey_; }
    void setHasSeenOnboardingKey(const QString& key);

signals:
    void hasSeenOnboardingKeyChanged();

private:
    QString hasSeenOnboardingKey_;
};

} // namespace orva
