// The confetti's launch points, flights and removal, from a seeded generator.
#include "ui/components/Confetti.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineF>
#include <QRandomGenerator64>
#include <QSignalSpy>

#include <cmath>

namespace {

using namespace orva;

constexpr std::uint64_t kMax = std::uint64_t(1) << 53;

ConfettiRandom seeded(quint64 seed)
{
    auto gen = std::make_shared<QRandomGenerator64>(seed);
    return [gen] { return gen->bounded(quint64(0), quint64(kMax + 1)); };
}

// A generator that returns the given draws in turn.
ConfettiRandom scripted(std::vector<std::uint64_t> draws)
{
    auto state = std::make_shared<std::pair<std::vector<std::uint64_t>, size_t>>(std::move(draws), 0);
    return [state] { return state->first[state->second++ % state->first.size()]; };
}

TEST(ConfettiMaths, RangeEndsAreReached)
{
    EXPECT_DOUBLE_EQ(drawInRange(scripted({0}), 300, 1000), 300);
    EXPECT_DOUBLE_EQ(drawInRange(scripted({kMax}), 300, 1000), 1000);
    EXPECT_DOUBLE_EQ(drawInRange(scripted({kMax / 2}), 20, 100), 60);
}

struct FlightCase {
    ConfettiCorner corner;
    double angle, speed;
    double endX, endYFromBottom; // end point as (x, h - value)
};

TEST(ConfettiMaths, EndPoints)
{
    const double w = 1000, h = 800;
    const FlightCase cases[] = {
        {ConfettiCorner::right, 90, 500, w - 80, 580},
        {ConfettiCorner::left, 20, 300, 80 + 300 * std::cos(20 * M_PI / 180), 80 + 300 * std::sin(20 * M_PI / 180)},
        {ConfettiCorner::left, 100, 1000, 80 + 1000 * std::cos(100 * M_PI / 180), 80 + 1000 * std::sin(100 * M_PI / 180)},
        {ConfettiCorner::right, 170, 300, w - 80 + 300 * std::cos(170 * M_PI / 180), 80 + 300 * std::sin(170 * M_PI / 180)},
    };
    for (const FlightCase& c : cases) {
        ConfettiParticle p;
        p.position = confettiLaunchPoint(c.corner, w, h);
        p.velocity = c.speed;
        const QPointF end = confettiTarget(p, c.angle);
        EXPECT_NEAR(end.x(), c.endX, 1e-9);
        EXPECT_NEAR(end.y(), h - c.endYFromBottom, 1e-9);
    }
    // The example of 20 degrees and 300 from the left corner.
    ConfettiParticle p;
    p.position = confettiLaunchPoint(ConfettiCorner::left, w, h);
    p.velocity = 300;
    EXPECT_NEAR(confettiTarget(p, 20).x(), 361.9, 0.05);
    EXPECT_NEAR(h - confettiTarget(p, 20).y(), 182.6, 0.05);
}

TEST(ConfettiMaths, DrawOrderAngleSpeedEmojiSize)
{
    // Angle at its top, speed at its bottom, the last emoji, size in the middle.
    const ConfettiLaunch l = emitConfettiParticle(ConfettiCorner::right, 500, 400, scripted({kMax, 0, kMax - 1, kMax / 2}));
    EXPECT_DOUBLE_EQ(l.angleDegrees, 170);
    EXPECT_DOUBLE_EQ(l.particle.velocity, 300);
    EXPECT_EQ(l.particle.emoji, confettiEmojiSet().last());
    EXPECT_DOUBLE_EQ(l.particle.size, 45);
    EXPECT_EQ(l.particle.position, QPointF(420, 320));
    EXPECT_NEAR(l.particle.horizontalVelocity, 300 * std::cos(170 * M_PI / 180), 1e-9);
    EXPECT_EQ(l.particle.rotation, 0);
    EXPECT_EQ(l.particle.opacity, 1);
}

TEST(ConfettiMaths, EmojiSet)
{
    const QStringList set = confettiEmojiSet();
    ASSERT_EQ(set.size(), 6);
    EXPECT_EQ(set.last(), QString::fromUtf8("\u2B50\uFE0F"));
}

TEST(ConfettiModel, BurstLaunchesTwentyAndRemovesThemAfterTwoSeconds)
{
    ConfettiModel model;
    model.setRandom(seeded(7));
    QElapsedTimer clock;
    qint64 firstRemovedAt = -1;
    bool launched = false;
    QObject::connect(&model, &ConfettiModel::countChanged, [&] {
        launched = launched || model.count() == 20;
        if (launched && firstRemovedAt < 0 && model.count() < 20)
            firstRemovedAt = clock.elapsed();
    });
    clock.start();
    model.startConfetti(1000, 800);
    EXPECT_EQ(model.count(), 0); // the emissions are posted, not run at once
    ASSERT_TRUE(orva::test::waitUntil([&] { return model.count() == 20; }));
    int left = 0, right = 0;
    for (qsizetype i = 0; i < model.particles().size(); ++i) {
        const ConfettiParticle& p = model.particles()[i];
        if (p.position == QPointF(80, 720))
            ++left;
        else if (p.position == QPointF(920, 720))
            ++right;
        EXPECT_GE(p.size, 35);
        EXPECT_LE(p.size, 55);
        EXPECT_GE(p.velocity, 300);
        EXPECT_LE(p.velocity, 1000);
        EXPECT_EQ(p.opacity, 1);
        EXPECT_TRUE(confettiEmojiSet().contains(p.emoji));
        // Launch order: ten from the left corner first.
        EXPECT_EQ(p.position.x(), i < 10 ? 80 : 920);
        // Each flight ends at speed distance from its corner, upwards.
        const QPointF t = model.targets()[i];
        EXPECT_NEAR(QLineF(p.position, t).length(), p.velocity, 1e-6);
        EXPECT_LT(t.y(), p.position.y() + 1e-9);
    }
    EXPECT_EQ(left, 10);
    EXPECT_EQ(right, 10);
    QSet<QUuid> ids;
    for (const ConfettiParticle& p : model.particles())
        ids.insert(p.id);
    EXPECT_EQ(ids.size(), 20);
    ASSERT_TRUE(orva::test::waitUntil([&] { return model.count() == 0; }));
    // All twenty stayed for their flight (a coarse timer may end 5% early).
    EXPECT_GE(firstRemovedAt, 1900);
}

// A new burst empties the list at once; the old removals then find nothing.
TEST(ConfettiModel, NewBurstReplacesTheOldOne)
{
    ConfettiModel model;
    model.setRandom(seeded(11));
    QElapsedTimer clock;
    clock.start();
    QUuid first;
    // The second burst a second into the first one's flight, while all of the
    // first is still there (a machine that held the test longer tries again).
    for (int attempt = 1;; ++attempt) {
        model.startConfetti(600, 400);
        ASSERT_TRUE(orva::test::waitUntil([&] { return model.count() == 20; }));
        const qint64 launched = clock.elapsed();
        first = model.particles().first().id;
        ASSERT_TRUE(orva::test::waitUntil([&] { return clock.elapsed() >= launched + 1000; }));
        if (model.count() == 20)
            break;
        ASSERT_LT(attempt, 3) << "the first burst never lasted a second";
    }
    const qint64 secondStarted = clock.elapsed();
    model.startConfetti(600, 400);
    EXPECT_EQ(model.count(), 0);
    ASSERT_TRUE(orva::test::waitUntil([&] { return model.count() == 20; }));
    for (const ConfettiParticle& p : model.particles())
        EXPECT_NE(p.id, first);
    model.removeParticle(model.particles()[3].id);
    EXPECT_EQ(model.count(), 19);
    // The first burst's removals fall due during the second flight and must
    // leave the new ones: the next removal is the second burst's own, after
    // its whole flight (a coarse timer may end 5% early).
    qint64 nextRemovedAt = -1;
    QObject::connect(&model, &ConfettiModel::countChanged, [&] {
        if (nextRemovedAt < 0 && model.count() < 19)
            nextRemovedAt = clock.elapsed();
    });
    ASSERT_TRUE(orva::test::waitUntil([&] { return nextRemovedAt >= 0; }));
    EXPECT_GE(nextRemovedAt - secondStarted, 1900);
}

TEST(ConfettiModel, EverySymbolOccursOverManyBursts)
{
    auto random = seeded(3);
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(emitConfettiParticle(ConfettiCorner::left, 500, 500, random).particle.emoji);
    EXPECT_EQ(seen.size(), 6);
}

} // namespace
