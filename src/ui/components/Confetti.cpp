#include "ui/components/Confetti.h"

#include <QRandomGenerator>

#include <cmath>
#include <numbers>

namespace orva {

namespace {
constexpr std::uint64_t kTwoTo53 = std::uint64_t(1) << 53;
}

ConfettiRandom systemConfettiRandom()
{
    return [] { return QRandomGenerator::system()->bounded(quint64(0), quint64(kTwoTo53 + 1)); };
}

QStringList confettiEmojiSet()
{
    return {QStringLiteral("🎉"), QStringLiteral("🎊"), QStringLiteral("✨"),
            QStringLiteral("🌟"), QStringLiteral("💫"), QString::fromUtf8("\u2B50\uFE0F")};
}

double drawInRange(const ConfettiRandom& random, double a, double b)
{
    const std::uint64_t r = std::min(random(), kTwoTo53);
    return a + (b - a) * (static_cast<double>(r) / static_cast<double>(kTwoTo53));
}

QPointF confettiLaunchPoint(ConfettiCorner corner, double width, double height)
{
    return corner == ConfettiCorner::left ? QPointF(80, height - 80) : QPointF(width - 80, height - 80);
}

ConfettiLaunch emitConfettiParticle(ConfettiCorner corner, double width, double height, const ConfettiRandom& random)
{
    const bool left = corner == ConfettiCorner::left;
    ConfettiLaunch launch;
    launch.angleDegrees = left ? drawInRange(random, 20, 100) : drawInRange(random, 90, 170);
    const double speed = drawInRange(random, 300, 1000);
    const QStringList emoji = confettiEmojiSet();
    // A uniform pick of one of the six, from the same kind of draw.
    const auto pick = static_cast<qsizetype>(std::min<double>(
        std::floor(drawInRange(random, 0, static_cast<double>(emoji.size()))), double(emoji.size() - 1)));
    const double size = drawInRange(random, 35, 55);
    ConfettiParticle& p = launch.particle;
    p.id = QUuid::createUuid();
    p.emoji = emoji[pick];
    p.size = size;
    p.position = confettiLaunchPoint(corner, width, height);
    p.velocity = speed;
    p.horizontalVelocity = speed * std::cos(launch.angleDegrees * std::numbers::pi / 180);
    p.rotation = 0;
    p.opacity = 1;
    return launch;
}

QPointF confettiTarget(const ConfettiParticle& particle, double angleDegrees)
{
    const double theta = angleDegrees * std::numbers::pi / 180;
    return {particle.position.x() + std::cos(theta) * particle.velocity,
            particle.position.y() - std::sin(theta) * particle.velocity};
}

// ---------------------------------------------------------------------------
ConfettiModel::ConfettiModel(QObject* parent) : QAbstractListModel(parent), random_(systemConfettiRandom()) {}

void ConfettiModel::startConfetti(double width, double height)
{
    beginResetModel();
    particles_.clear();
    targets_.clear();
    endResetModel();
    emit countChanged();
    const quint64 burst = ++burst_;
    for (int i = 0; i < kPerCorner; ++i)
        QTimer::singleShot(0, this, [=, this] { emitOne(ConfettiCorner::left, width, height, burst); });
    for (int i = 0; i < kPerCorner; ++i)
        QTimer::singleShot(0, this, [=, this] { emitOne(ConfettiCorner::right, width, height, burst); });
}

void ConfettiModel::emitOne(ConfettiCorner corner, double width, double height, quint64 burst)
{
    if (burst != burst_)
        return; // a newer burst replaced this one before it ran
    const ConfettiLaunch launch = emitConfettiParticle(corner, width, height, random_);
    const int row = static_cast<int>(particles_.size());
    beginInsertRows({}, row, row);
    particles_.append(launch.particle);
    ConfettiParticle& stored = particles_.last();
    targets_.append(confettiTarget(stored, launch.angleDegrees));
    // The flight itself (position to the target, opacity to 0, ease-out over
    // two seconds) is run by the layer's animation; the record holds its end.
    endInsertRows();
    emit countChanged();
    const QUuid id = launch.particle.id;
    QTimer::singleShot(kFlightMs, this, [this, id] { removeParticle(id); });
}

void ConfettiModel::removeParticle(const QUuid& id)
{
    for (qsizetype i = particles_.size() - 1; i >= 0; --i) {
        if (particles_[i].id != id)
            continue;
        beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
        particles_.removeAt(i);
        targets_.removeAt(i);
        endRemoveRows();
        emit countChanged();
    }
}

QList<QPointF> ConfettiModel::targets() const { return targets_; }

int ConfettiModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(particles_.size());
}

namespace {
enum Role { UidRole = Qt::UserRole + 1, EmojiRole, SizeRole, StartXRole, StartYRole, TargetXRole, TargetYRole };
}

QVariant ConfettiModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= particles_.size())
        return {};
    const ConfettiParticle& p = particles_[index.row()];
    const QPointF& t = targets_[index.row()];
    switch (role) {
    case UidRole: return p.id.toString(QUuid::WithoutBraces);
    case EmojiRole: return p.emoji;
    case SizeRole: return p.size;
    case StartXRole: return p.position.x();
    case StartYRole: return p.position.y();
    case TargetXRole: return t.x();
    case TargetYRole: return t.y();
    default: return {};
    }
}

QHash<int, QByteArray> ConfettiModel::roleNames() const
{
    return {{UidRole, "uid"},       {EmojiRole, "emoji"},     {SizeRole, "size"},      {StartXRole, "startX"},
            {StartYRole, "startY"}, {TargetXRole, "targetX"}, {TargetYRole, "targetY"}};
}

} // namespace orva
