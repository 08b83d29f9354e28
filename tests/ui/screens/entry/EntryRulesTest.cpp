#include "ui/screens/entry/EntryRules.h"

#include "workflow/interview/InterviewFixture.h"

#include <gtest/gtest.h>

namespace orva::test {
namespace {

TEST(EntryRules, FlagsDecideTheFormAndTheGate)
{
    struct Case {
        const char* name;
        bool initializing;
        bool hasError;
        bool ready;
        EntryStatusForm form;
        bool offered;
    };
    const QList<Case> cases = {
        {"fresh model", false, false, false, EntryStatusForm::idle, false},
        {"preparing", true, false, false, EntryStatusForm::preparing, false},
        {"preparing again after a failure", true, true, false, EntryStatusForm::preparing, false},
        {"preparing again after a success", true, false, true, EntryStatusForm::preparing, false},
        {"failed", false, true, false, EntryStatusForm::failed, false},
        {"ready", false, false, true, EntryStatusForm::idle, true},
        {"ready with an old error", false, true, true, EntryStatusForm::failed, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entryStatusForm(c.initializing, c.hasError), c.form);
        EXPECT_EQ(entrySubmitOffered(c.ready, c.initializing), c.offered);
    }
}

TEST(EntryRules, TheSubmissionLineHoldsBothFlagsAndTheIdeaAsTyped)
{
    struct Case {
        bool initializing;
        bool ready;
        QString idea;
        QString line;
    };
    const QList<Case> cases = {
        {false, true, QStringLiteral("A habit tracker"), QStringLiteral("false true A habit tracker")},
        {true, false, QStringLiteral(" 운동 기록 앱 "), QStringLiteral("true false  운동 기록 앱 ")},
        {false, true, QStringLiteral("first\nsecond"), QStringLiteral("false true first\nsecond")},
        {false, false, QString(), QStringLiteral("false false ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(entrySubmissionLine(c.initializing, c.ready, c.idea), c.line);
    }
}

// The screen's submission on a real model: it goes on, and writes its line,
// only when the model took the idea.
class EntrySubmissionTest : public InterviewFixture {};

TEST_F(EntrySubmissionTest, MovesOnOnlyWithAnIdeaTheModelAccepted)
{
    const EntryRules rules;
    EntryViewModel model(services);
    {
        LogCapture log;
        EXPECT_FALSE(rules.submit(&model, QStringLiteral("A habit tracker"))) << "not prepared yet";
        EXPECT_FALSE(rules.submit(nullptr, QStringLiteral("A habit tracker")));
        EXPECT_TRUE(log.lines().isEmpty());
        EXPECT_FALSE(model.hasUserSubmitted());
    }

    model.startPreparation();
    ASSERT_TRUE(waitUntil([&] { return model.isReadyForInterview() || model.hasInitializationError(); }));
    ASSERT_TRUE(model.isReadyForInterview());

    struct Case {
        QString idea;
        bool movesOn;
    };
    const QList<Case> cases = {
        {QString(), false},
        {QStringLiteral(" \n\t "), false},
        {QStringLiteral("  운동 기록 앱\n매일 "), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.idea.toStdString());
        LogCapture log;
        EXPECT_EQ(rules.submit(&model, c.idea), c.movesOn);
        EXPECT_EQ(model.hasUserSubmitted(), c.movesOn);
        if (c.movesOn) {
            EXPECT_EQ(model.userInitialInput(), c.idea);
            EXPECT_EQ(log.text(), entrySubmissionLine(false, true, c.idea));
        } else {
            EXPECT_TRUE(log.lines().isEmpty()) << log.text().toStdString();
        }
    }
}

} // namespace
} // namespace orva::test
