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

// The words under the spinner show only while a preparation runs whose
// opening call has waited long; they say what is awaited and what to check.
TEST(EntryRules, TheWaitingNoticeShowsOnlyWhileALongWaitRuns)
{
    struct Case {
        const char* name;
        bool initializing;
        bool waitingLong;
        bool shown;
    };
    const Case cases[] = {
        {"not preparing", false, false, false},
        {"preparing, answered soon", true, false, false},
        {"preparing, waiting long", true, true, true},
        {"ended while the flag lingers", false, true, false},
    };
    const QString notice = QStringLiteral("아직 claude의 답을 기다리고 있어요.\n"
                                          "인터넷에 연결되어 있는지 확인해 주세요. 연결되지 않으면 몇 분 뒤에 그 이유가 이 자리에 나와요.");
    EntryRules rules;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString expected = c.shown ? notice : QString();
        EXPECT_EQ(entryWaitingNotice(c.initializing, c.waitingLong), expected);
        EXPECT_EQ(rules.waitingNotice(c.initializing, c.waitingLong), expected);
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
