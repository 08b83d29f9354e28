// What the task popup lists: the checklist rows with their verdicts, made
// only as far as they are seen, and the lines of its information sections.
#include "ui/components/DisplayCut.h"
#include "ui/screens/work/TaskPopupRows.h"
#include "workflow/work/PlanFixtures.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace orva::test {
namespace {

TEST(TaskPopupRows, SectionLinesSkipEmptyPiecesAndCutLongOnes)
{
    const QString huge(100000, QLatin1Char('f'));
    struct Case {
        const char* name;
        QStringList items;
        QStringList lines;
    };
    const QList<Case> cases = {
        {"none", {}, {}},
        {"no files: an empty item", {QString()}, {}},
        {"lines in stored order", {QStringLiteral("A.swift\nB.swift")}, {QStringLiteral("A.swift"), QStringLiteral("B.swift")}},
        {"empty lines skipped", {QStringLiteral("a\n\nb\n")}, {QStringLiteral("a"), QStringLiteral("b")}},
        {"several items", {QStringLiteral("a"), QStringLiteral("b\nc")},
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"a line of a hundred thousand characters", {huge}, {displayText(huge, kParagraphChars, kParagraphLines)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sectionLines(c.items), c.lines);
    }
    EXPECT_EQ(sectionLines({huge}).first().size(), kParagraphChars + 1);
}

TEST(TaskPopupRows, ChecklistRowsFollowTheVerdicts)
{
    TaskItem t = task(4, TaskStatus::onHold);
    for (int i = 0; i < 20000; ++i)
        t.detail.checklistUx << QStringLiteral("항목 %1").arg(i + 1);
    t.detail.checklistUx[7] = QString(50000, QLatin1Char('x'));
    TaskDetailVerdict verdict(t);
    ChecklistRows rows;
    QSignalSpy count(&rows, &ChecklistRows::countChanged);
    rows.setVerdict(&verdict);
    EXPECT_EQ(count.count(), 1);
    ASSERT_EQ(rows.rowCount(), 20000);
    auto at = [&](int row, ChecklistRows::Role role) { return rows.data(rows.index(row), role); };
    EXPECT_EQ(at(0, ChecklistRows::NumberRole).toInt(), 1);
    EXPECT_EQ(at(19999, ChecklistRows::TextRole).toString(), QStringLiteral("항목 20000"));
    EXPECT_EQ(at(7, ChecklistRows::TextRole).toString().size(), kItemChars + 1) << "cut for display";
    EXPECT_FALSE(at(3, ChecklistRows::WorksRole).toBool());

    QSignalSpy changed(&rows, &QAbstractItemModel::dataChanged);
    verdict.setWorks(3, true);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(at(3, ChecklistRows::WorksRole).toBool());
    verdict.setFails(0, true);
    EXPECT_TRUE(at(0, ChecklistRows::FailsRole).toBool());
    EXPECT_TRUE(at(5, ChecklistRows::DisabledRole).toBool()) << "the build fails: later rows are disabled";
    EXPECT_FALSE(at(0, ChecklistRows::DisabledRole).toBool());
    verdict.setChecked(true);
    EXPECT_TRUE(at(19999, ChecklistRows::WorksRole).toBool());
    EXPECT_FALSE(at(0, ChecklistRows::FailsRole).toBool());
}

} // namespace
} // namespace orva::test
