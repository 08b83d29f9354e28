#pragma once

// The completion confetti: twenty emoji launched at once from the two bottom
// corners, flying in straight lines for two seconds while they fade, each
// removed by its identity two seconds after its launch.

#include <QAbstractListModel>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <cstdint>
#include <functional>

namespace orva {

struct ConfettiParticle {
    QUuid id;
    QString emoji;
    double size = 0;
    QPointF position;
    double velocity = 0;
    double horizontalVelocity = 0;
    double rotation = 0;
    double opacity = 1;
};

// Uniform integers from 0 to 2^53 inclusive.
using ConfettiRandom = std::function<std::uint64_t()>;
// The system random source.
ConfettiRandom systemConfettiRandom();

enum class ConfettiCorner { left, right };

QStringList confettiEmojiSet();
// a + (b - a) * r / 2^53 for one draw r.
double drawInRange(const ConfettiRandom& random, double a, double b);
QPointF confettiLaunchPoint(ConfettiCorner corner, double width, double height);

struct ConfettiLaunch {
    ConfettiParticle particle;
    double angleDegrees = 0;
};
// One emission: draws the angle, the speed, the emoji and the size, in that order.
ConfettiLaunch emitConfettiParticle(ConfettiCorner corner, double width, double height, const ConfettiRandom& random);
// Where a particle launched at `angleDegrees` ends its flight.
QPointF confettiTarget(const ConfettiParticle& particle, double angleDegrees);

// The live particles as a list model for the confetti layer. Roles: uid,
// emoji, size, startX, startY, targetX, targetY.
class ConfettiModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    static constexpr int kPerCorner = 10;
    static constexpr int kFlightMs = 2000;

    explicit ConfettiModel(QObject* parent = nullptr);

    void setRandom(ConfettiRandom random) { random_ = std::move(random); }

    // Empties the list and posts the twenty emissions (run as soon as the
    // event loop is free), for a layer of this size.
    Q_INVOKABLE void startConfetti(double width, double height);
    void removeParticle(const QUuid& id);

    int count() const { return static_cast<int>(particles_.size()); }
    const QList<ConfettiParticle>& particles() const { return particles_; }
    QList<QPointF> targets() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    void emitOne(ConfettiCorner corner, double width, double height, quint64 burst);

    ConfettiRandom random_;
    QList<ConfettiParticle> particles_;
    QList<QPointF> targets_;
    quint64 burst_ = 0;
};

} // namespace orva
