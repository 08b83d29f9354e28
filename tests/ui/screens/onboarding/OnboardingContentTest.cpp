// The onboarding's fixed content: the sample apps, the idea examples shared
// with the entry screen, the guide address, the page rules, and the symbols
// its pages draw.
#include "ui/design/DesignTokens.h"
#include "ui/design/SymbolTable.h"
#include "ui/screens/onboarding/OnboardingContent.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUuid>

namespace {

using namespace orva;
namespace C = DesignTokens::Colors;

TEST(SampleApps, RowsInOrder)
{
    struct Row {
        const char* icon;
        const char* name;
        const char* description;
        QColor color;
    };
    const Row rows[] = {
        {"timer", "포모도로 앱", "집중 시간 관리", C::orange()},
        {"checkmark.circle.fill", "습관 만들기", "일상 습관 트래킹", C::green()},
        {"waveform", "소음 측정기", "주변 소음 체크", C::blue()},
        {"location.north.fill", "나침반/수평계", "방향과 각도 측정", C::teal()},
        {"text.book.closed.fill", "방명록", "메시지 기록", C::purple()},
    };
    const QList<SampleApp>& samples = onboarding::sampleApps();
    ASSERT_EQ(samples.size(), static_cast<qsizetype>(std::size(rows)));
    for (qsizetype i = 0; i < samples.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(samples[i].icon, QString::fromUtf8(rows[i].icon));
        EXPECT_EQ(samples[i].name, QString::fromUtf8(rows[i].name));
        EXPECT_EQ(samples[i].description, QString::fromUtf8(rows[i].description));
        EXPECT_EQ(samples[i].color, rows[i].color);
    }
}

TEST(SampleApps, IdentitiesDistinctAndStableWithinARun)
{
    const QList<SampleApp>& first = onboarding::sampleApps();
    QSet<QString> ids;
    for (const SampleApp& sample : first) {
        EXPECT_FALSE(QUuid::fromString(sample.id).isNull()) << sample.id.toStdString();
        ids.insert(sample.id);
    }
    EXPECT_EQ(ids.size(), first.size());
    // Every later read, from C++ or from QML, gives the same rows.
    const QList<SampleApp>& again = onboarding::sampleApps();
    EXPECT_EQ(&first, &again);
    const QVariantList rows = OnboardingContent().samples();
    ASSERT_EQ(rows.size(), first.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QVariantMap row = rows[i].toMap();
        EXPECT_EQ(row.value(QStringLiteral("id")).toString(), first[i].id);
        EXPECT_EQ(row.value(QStringLiteral("name")).toString(), first[i].name);
        EXPECT_EQ(row.value(QStringLiteral("icon")).toString(), first[i].icon);
        EXPECT_EQ(row.value(QStringLiteral("description")).toString(), first[i].description);
        EXPECT_EQ(row.value(QStringLiteral("color")).value<QColor>(), first[i].color);
    }
}

TEST(IdeaExamples, InOrderAndTheFirstIsTheEntryPlaceholder)
{
    const QStringList ideas = onboarding::exampleIdeas();
    EXPECT_EQ(ideas, (QStringList{
                         QStringLiteral("매일매일 운동을 기록하는 앱을 만들고 싶어요"),
                         QStringLiteral("할 일 목록을 관리하는 간단한 투두 앱이 필요해요"),
                         QStringLiteral("여행 계획을 세우고 일정을 공유하는 앱을 만들고 싶어요"),
                     }));
    // Each card is identified by its sentence.
    EXPECT_EQ(QSet<QString>(ideas.begin(), ideas.end()).size(), ideas.size());
    EXPECT_EQ(onboarding::ideaPlaceholder(), ideas.first());
    EXPECT_EQ(OnboardingContent().ideaPlaceholder(), ideas.first());
}

TEST(GuideAddress, IsAnHttpsPageOfTheKoreanDocumentation)
{
    const QUrl address = onboarding::guideAddress();
    EXPECT_TRUE(address.isValid());
    EXPECT_EQ(address.scheme(), QStringLiteral("https"));
    EXPECT_FALSE(address.host().isEmpty());
    EXPECT_TRUE(address.path().contains(QStringLiteral("/ko/"))) << address.toString().toStdString();
    EXPECT_TRUE(address.path().endsWith(QStringLiteral("quickstart"))) << address.toString().toStdString();
    EXPECT_EQ(OnboardingContent().guideAddress(), address);
}

TEST(RequirementPage, NextNeedsBothTicks)
{
    struct Case {
        bool installed, loggedIn, expected;
    };
    for (const Case& c : {Case{false, false, false}, Case{true, false, false}, Case{false, true, false},
                          Case{true, true, true}}) {
        EXPECT_EQ(onboarding::canContinue(c.installed, c.loggedIn), c.expected)
            << "installed " << c.installed << " logged in " << c.loggedIn;
    }
}

TEST(Pages, ARequestMovesOnlyToAnotherPage)
{
    struct Case {
        int current, requested, expected;
    };
    const Case cases[] = {
        {0, 1, 1}, {0, 2, 2}, {1, 0, 0}, {2, 1, 1}, {2, 0, 0}, // another page
        {0, 0, 0}, {1, 1, 1}, {2, 2, 2},                       // the page shown
        {1, -1, 1}, {1, 3, 1},                                  // no such page
    };
    EXPECT_EQ(onboarding::kPageCount, 3);
    for (const Case& c : cases)
        EXPECT_EQ(onboarding::pageAfterRequest(c.current, c.requested), c.expected)
            << c.current << " asked for " << c.requested;
}

// Every symbol name the onboarding's QML files and sample rows draw is in the
// symbol table (an unknown name would leave an empty square).
TEST(Symbols, EveryNameThePagesDrawIsInTheTable)
{
    const QStringList known = knownSymbolNames();
    QSet<QString> used;
    const QDir dir(QStringLiteral(ORVA_ONBOARDING_QML_DIR));
    const QStringList files = dir.entryList({QStringLiteral("*.qml")}, QDir::Files);
    ASSERT_GE(files.size(), 10);
    // The string literals on `name:` and `icon:` lines, ternaries included.
    const QRegularExpression property(QStringLiteral(R"re((?:\bname|\bicon)\s*:\s*([^\n]+))re"));
    const QRegularExpression literal(QStringLiteral(R"re("([a-z][a-z0-9]*(?:\.[a-z0-9]+)*)")re"));
    for (const QString& file : files) {
        QFile f(dir.filePath(file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = property.globalMatch(text); m.hasNext();) {
            const QString value = m.next().captured(1);
            for (auto l = literal.globalMatch(value); l.hasNext();)
                used.insert(l.next().captured(1));
        }
    }
    for (const SampleApp& sample : onboarding::sampleApps())
        used.insert(sample.icon);
    // The names the pages are known to draw are among those found.
    for (const char* name : {"arrow.left", "arrow.right", "wand.and.stars", "terminal.fill", "sparkles", "book.fill",
                             "checkmark.circle.fill", "circle", "quote.opening", "quote.closing"})
        EXPECT_TRUE(used.contains(QString::fromLatin1(name))) << name;
    for (const QString& name : used)
        EXPECT_TRUE(known.contains(name)) << name.toStdString();
}

// The font has one quotation mark, a closing one: the opening mark is the
// same glyph turned half round; every other name is drawn as it is.
TEST(Symbols, OpeningQuoteIsTheClosingMarkTurnedHalfRound)
{
    ASSERT_TRUE(symbolGlyph(QStringLiteral("quote.opening")).has_value());
    EXPECT_EQ(symbolGlyph(QStringLiteral("quote.opening")), symbolGlyph(QStringLiteral("quote.closing")));
    EXPECT_EQ(symbolRotation(QStringLiteral("quote.opening")), 180);
    EXPECT_EQ(symbolRotation(QStringLiteral("quote.closing")), 0);
    EXPECT_EQ(symbolRotation(QStringLiteral("no.such.symbol")), 0);
    for (const QString& name : knownSymbolNames()) {
        if (name != QStringLiteral("quote.opening")) {
            EXPECT_EQ(symbolRotation(name), 0) << name.toStdString();
        }
    }
}

} // namespace
