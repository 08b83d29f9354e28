// The sidebar's title, the board's selection and the progress card's texts.
#include "ui/screens/work/SidebarRules.h"
#include "ui/components/DisplayCut.h"
#include "ui/design/DesignTokens.h"
#include "workflow/work/PlanFixtures.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

namespace orva::test {
namespace {

TEST(SidebarRules, Title)
{
    struct Row {
        QString name;
        QString folder;
        QString xcodeName;
        QString expected;
    };
    const QList<Row> rows = {
        {QStringLiteral("Habit"), QString(), QString(), QStringLiteral("Habit")},
        {QStringLiteral("Habit"), QStringLiteral("/p"), QStringLiteral("App"), QStringLiteral("Habit")},
        {QString(), QStringLiteral("/p"), QStringLiteral("App"), QStringLiteral("App")},
        {QString(), QStringLiteral("/p"), QString(), QStringLiteral("프로젝트")},
        {QString(), QString(), QStringLiteral("App"), QStringLiteral("프로젝트")},
        {QString(), QString(), QString(), QStringLiteral("프로젝트")},
        {QStringLiteral(" "), QString(), QString(), QStringLiteral(" ")},
    };
    for (const Row& row : rows)
        EXPECT_EQ(sidebarTitle(row.name, row.folder, row.xcodeName), row.expected)
            << row.name.toStdString() << "|" << row.folder.toStdString() << "|" << row.xcodeName.toStdString();
}

TEST(SidebarRules, BoardSelection)
{
    Project none = projectOf({});
    EXPECT_EQ(firstMilestoneId(none), 0);
    EXPECT_FALSE(selectedMilestoneIndex(none, 0));

    Project plan = projectOf({{TaskStatus::planned}, {}, {TaskStatus::completed}});
    plan.milestones[0].id = 10;
    plan.milestones[1].id = 20;
    plan.milestones[2].id = 10; // a duplicate id: the first milestone wins
    EXPECT_EQ(firstMilestoneId(plan), 10);
    EXPECT_EQ(selectedMilestoneIndex(plan, 10), 0);
    EXPECT_EQ(selectedMilestoneIndex(plan, 20), 1);
    EXPECT_FALSE(selectedMilestoneIndex(plan, 99));

    WorkBoardRules rules;
    const QVariant value = QVariant::fromValue(plan);
    EXPECT_EQ(rules.selectedMilestoneIndex(value, 99), -1);
    EXPECT_EQ(rules.tasksOfSelection(value, 10).size(), 1);
    EXPECT_EQ(rules.tasksOfSelection(value, 10).first().value<TaskItem>(), plan.milestones[0].tasks[0]);
    EXPECT_TRUE(rules.tasksOfSelection(value, 20).isEmpty());
    EXPECT_EQ(rules.firstMilestoneId(QVariant()), 0);

    // One at a time, as the board makes its tabs and cards.
    EXPECT_EQ(rules.milestoneCount(value), 3);
    EXPECT_EQ(rules.milestoneAt(value, 1).value<Milestone>().id, 20);
    EXPECT_FALSE(rules.milestoneAt(value, 3).isValid());
    EXPECT_EQ(rules.taskCountOfSelection(value, 10), 1);
    EXPECT_EQ(rules.taskCountOfSelection(value, 99), 0);
    EXPECT_EQ(rules.taskOfSelection(value, 10, 0).value<TaskItem>(), plan.milestones[0].tasks[0]);
    EXPECT_FALSE(rules.taskOfSelection(value, 10, 1).isValid());
    EXPECT_FALSE(rules.taskOfSelection(value, 20, 0).isValid());
    EXPECT_EQ(rules.milestoneCount(QVariant()), 0);
}

TEST(SidebarRules, ProgressCard)
{
    struct Row {
        Project project;
        QString percentage;
        double fraction;
        QString sentence;
    };
    const QList<Row> rows = {
        {projectOf({}), QStringLiteral("0%"), 0.0, QStringLiteral("전체 0개 태스크 중 0개를 완료했어요")},
        {projectOf({{}, {}}), QStringLiteral("0%"), 0.0, QStringLiteral("전체 0개 태스크 중 0개를 완료했어요")},
        {projectWith(3, 1), QStringLiteral("33%"), 1.0 / 3, QStringLiteral("전체 3개 태스크 중 1개를 완료했어요")},
        {projectWith(3, 2), QStringLiteral("66%"), 2.0 / 3, QStringLiteral("전체 3개 태스크 중 2개를 완료했어요")},
        {projectWith(50, 29), QStringLiteral("57%"), 0.58, QStringLiteral("전체 50개 태스크 중 29개를 완료했어요")},
        {projectWith(4, 4), QStringLiteral("100%"), 1.0, QStringLiteral("전체 4개 태스크 중 4개를 완료했어요")},
        {projectWith(1200, 0), QStringLiteral("0%"), 0.0, QStringLiteral("전체 1200개 태스크 중 0개를 완료했어요")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sentence.toStdString());
        EXPECT_EQ(progressPercentageText(row.project), row.percentage);
        EXPECT_NEAR(clampedProgress(row.project), row.fraction, 1e-9);
        EXPECT_EQ(progressCountSentence(row.project), row.sentence);
    }
    // Tasks on hold count only in the total.
    EXPECT_EQ(progressCountSentence(projectOf({{TaskStatus::onHold, TaskStatus::completed}})),
              QStringLiteral("전체 2개 태스크 중 1개를 완료했어요"));
}

// The tabs share the row down to a readable width; past it they keep that
// width and the row scrolls.
TEST(SidebarRules, TabWidths)
{
    struct Row {
        qsizetype count;
        double rowWidth;
        double width;
        bool scrolls;
    };
    const QList<Row> rows = {
        {0, 316, 0, false},
        {1, 316, 316, false},
        {3, 316, (316 - 32) / 3.0, false},
        {4, 316, (316 - 48) / 4.0, false},
        {5, 316, kMinimumTabWidth, true},
        {40, 316, kMinimumTabWidth, true},
        {10000, 316, kMinimumTabWidth, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        EXPECT_DOUBLE_EQ(tabWidth(row.count, row.rowWidth), row.width);
        EXPECT_EQ(tabRowScrolls(row.count, row.rowWidth), row.scrolls);
        EXPECT_GE(tabWidth(row.count, row.rowWidth), row.count > 0 ? kMinimumTabWidth : 0) << "never narrower";
    }
}

// One line for a title that fits one line, two for one that wraps; the row
// is as tall as a two-line tab only when some title wraps.
TEST(SidebarRules, TabTitleLines)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(QStringLiteral("화면 구현")) + 1;
    struct Row {
        const char* name;
        QString title;
        int lines;
    };
    const QList<Row> rows = {
        {"fits", QStringLiteral("화면"), 1},
        {"fits exactly", QStringLiteral("화면 구현"), 1},
        {"wraps", QStringLiteral("화면 구현과 마무리"), 2},
        {"a line break", QStringLiteral("화면\n구현"), 2},
        {"empty", QString(), 1},
        {"a million characters", QString(1000000, QLatin1Char('x')), 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(tabTitleLines(row.title, width, font), row.lines);
    }
    auto milestones = [](const QStringList& titles) {
        QList<Milestone> list;
        for (const QString& title : titles) {
            Milestone m;
            m.title = title;
            list << m;
        }
        return list;
    };
    EXPECT_FALSE(anyTabTitleWraps(milestones({QStringLiteral("준비"), QStringLiteral("기능")}), width, font));
    EXPECT_TRUE(anyTabTitleWraps(milestones({QStringLiteral("준비"), QStringLiteral("화면 구현과 마무리")}), width, font));
    EXPECT_FALSE(anyTabTitleWraps({}, width, font));
}


// Whether a tab shows its whole title, and the name it then gives on hover
// and under the row: one line at full size, or two at no less than 0.8 of
// it; anything more, or a title cut for display, is named whole.
TEST(SidebarRules, TabNames)
{
    const QFont font = DesignTokens::Fonts::body();
    QFont smallest = font;
    smallest.setPixelSize(10);
    const double word13 = QFontMetricsF(font).horizontalAdvance(QStringLiteral("프로젝트"));
    const double word10 = QFontMetricsF(smallest).horizontalAdvance(QStringLiteral("프로젝트"));
    ASSERT_LT(word10 + 1, word13) << "the word wraps at full size and not at the smallest";
    const QString twoWords = QStringLiteral("프로젝트 프로젝트");
    const QString threeWords = QStringLiteral("프로젝트 프로젝트 프로젝트");
    const QString tooLong = QString(kTitleChars + 1, QChar(0xD55C));
    struct Row {
        const char* name;
        QString title;
        double width;
        bool whole;
    };
    const QList<Row> rows = {
        {"one line", QStringLiteral("준비"), 32, true},
        {"two lines at full size", twoWords, word13 + 1, true},
        {"two lines only shrunk", twoWords, word10 + 1, true},
        {"three lines even shrunk", threeWords, word10 + 1, false},
        {"a tab of 64 (five milestones and more), shrunk", QStringLiteral("마일스톤 1"), kMinimumTabWidth - 2 * kTabPadding, true},
        {"the twelfth of twelve, shrunk", QStringLiteral("마일스톤 12"), kMinimumTabWidth - 2 * kTabPadding, true},
        {"a longer name in a tab of 64", QStringLiteral("데이터 모델 만들기"), kMinimumTabWidth - 2 * kTabPadding, false},
        {"a line break, wide", QStringLiteral("화면\n구현"), 300, true},
        {"two line breaks", QStringLiteral("가\n나\n다"), 300, false},
        {"cut for display", tooLong, 1e6, false},
        {"empty", QString(), 32, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(tabTitleReadsWhole(row.title, row.width, font), row.whole);
        EXPECT_EQ(tabHiddenName(row.title, row.width, font),
                  row.whole ? QString() : displayText(row.title, kTitleChars, kTitleLines));
    }
    EXPECT_TRUE(tabHiddenName(tooLong, 32, font).endsWith(QChar(0x2026))) << "a cut name is marked";

    // The line under the row names the selected milestone when its tab cuts it.
    Project project;
    for (const auto& [id, title] : {std::pair{1, QStringLiteral("준비")}, std::pair{7, QStringLiteral("데이터 모델 만들기")},
                                    std::pair{7, QStringLiteral("같은 번호")}}) {
        Milestone m;
        m.id = id;
        m.title = title;
        project.milestones << m;
    }
    struct Selection {
        qint64 id;
        QString line;
    };
    const double narrow = kMinimumTabWidth - 2 * kTabPadding;
    for (const Selection& selection : QList<Selection>{
             {1, QString()}, {7, QStringLiteral("데이터 모델 만들기")}, {99, QString()}, {0, QString()}}) {
        SCOPED_TRACE(selection.id);
        EXPECT_EQ(selectedMilestoneName(project, selection.id, narrow, font), selection.line);
    }
    EXPECT_EQ(selectedMilestoneName(project, 7, 1000, font), QString()) << "a wide tab shows it";
    EXPECT_EQ(selectedMilestoneName(Project{}, 0, narrow, font), QString());
}

} // namespace
} // namespace orva::test
