#include "ui/screens/chat/ChatRules.h"
#include "ui/screens/chat/MessageRevealer.h"

#include "workflow/interview/InterviewFixture.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QSignalSpy>

namespace orva {

void PrintTo(const RevealStep& step, std::ostream* os)
{
    *os << "{id " << step.id << " after " << step.delayMs << " ms}";
}

namespace test {
namespace {

TEST(ChatRules, SpeakersOfTheAI)
{
    struct Case {
        const char* speaker;
        bool isAI;
    };
    const QList<Case> cases = {
        {"User", false}, {"Claude", true}, {"CLAUDE", true}, {"claude-3", true},
        // Any speaker with the letters a and i in a row counts.
        {"Mail", true}, {"AI", true}, {"", false}, {"Assistant", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speaker);
        EXPECT_EQ(isAISpeaker(QString::fromUtf8(c.speaker)), c.isAI);
    }
}

TEST(ChatRules, RevealSchedules)
{
    struct Case {
        const char* name;
        QList<int> ids;
        bool appear;
        int oldCount;
        int newCount;
        QList<RevealStep> steps;
    };
    const QList<Case> cases = {
        {"appear with no turns", {}, true, 0, 0, {}},
        {"appear with one turn", {1}, true, 0, 0, {{1, 0}}},
        {"appear with three turns", {1, 2, 3}, true, 0, 0, {{1, 0}, {2, 100}, {3, 200}}},
        {"one turn more", {1, 2, 3}, false, 2, 3, {{3, 100}}},
        {"two turns more, together", {1, 2, 3, 4}, false, 2, 4, {{3, 100}, {4, 100}}},
        {"the first turn", {1}, false, 0, 1, {{1, 100}}},
        {"a fall", {1}, false, 3, 1, {}},
        {"no change", {1, 2}, false, 2, 2, {}},
        {"more added than listed", {7}, false, 0, 3, {{7, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.appear ? revealOnAppear(c.ids) : revealOnCountChange(c.ids, c.oldCount, c.newCount), c.steps);
    }
}

ChatHistory turn(qint64 id, const char* speaker)
{
    ChatHistory value;
    value.id = id;
    value.question = QString::fromUtf8(speaker);
    value.answer = QStringLiteral("text %1").arg(id);
    return value;
}

TEST(MessageRevealer, RevealsTheTurnsInOrderAndFollowsTheCount)
{
    ChatHistoryListModel turns;
    turns.append(turn(1, "User"));
    turns.append(turn(2, "Claude"));
    turns.append(turn(3, "User"));

    MessageRevealer revealer;
    revealer.setTurns(&turns);
    QList<int> order;
    QObject::connect(&revealer, &MessageRevealer::revealed, [&order](int id) { order << id; });

    // Nothing before the screen appears.
    turns.append(turn(4, "Claude"));
    QTest::qWait(150);
    EXPECT_TRUE(order.isEmpty());

    revealer.start();
    EXPECT_EQ(order, QList<int>{1}) << "the first row shows at once";
    ASSERT_TRUE(waitUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order, (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(revealer.visibleIds(), (QList<int>{1, 2, 3, 4}));

    // Two turns in one go show together, after the wait.
    turns.append(turn(5, "User"));
    turns.append(turn(6, "Claude"));
    EXPECT_EQ(order.size(), 4);
    ASSERT_TRUE(waitUntil([&] { return order.size() == 6; }));
    EXPECT_EQ(order.mid(4), (QList<int>{5, 6}));

    // A fall reveals nothing and forgets nothing; the count is remembered
    // from there.
    QSignalSpy changes(&revealer, &MessageRevealer::visibleIdsChanged);
    turns.clear();
    QTest::qWait(150);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(revealer.isRevealed(6));
    turns.append(turn(7, "User"));
    ASSERT_TRUE(waitUntil([&] { return revealer.isRevealed(7); }));
    EXPECT_EQ(order.last(), 7);
}

TEST(ChatRules, TurnsThatWereWaitingAnswersShowAtOnce)
{
    auto turnsOf = [](const QList<std::pair<const char*, const char*>>& list) {
        QList<ChatHistory> turns;
        for (const auto& [speaker, text] : list) {
            ChatHistory t;
            t.question = QString::fromUtf8(speaker);
            t.answer = QString::fromUtf8(text);
            turns << t;
        }
        return turns;
    };
    struct Case {
        const char* name;
        QList<ChatHistory> appended;
        QStringList waiting;
        QList<bool> atOnce;
    };
    const QList<Case> cases = {
        {"a reply", turnsOf({{"Claude", "질문"}}), {QStringLiteral("답")}, {false}},
        {"the waiting answer sent", turnsOf({{"User", "답"}}), {QStringLiteral("답"), QStringLiteral("다음")}, {true}},
        {"an answer sent at once", turnsOf({{"User", "답"}}), {}, {false}},
        {"another text than the first waiting", turnsOf({{"User", "다음"}}), {QStringLiteral("답"), QStringLiteral("다음")}, {false}},
        {"a reply and the waiting answer in one go", turnsOf({{"Claude", "질문"}, {"User", "답"}}),
         {QStringLiteral("답")}, {false, true}},
        {"the same text twice, waiting once", turnsOf({{"User", "네"}, {"User", "네"}}), {QStringLiteral("네")},
         {true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shownAtOnce(c.appended, c.waiting), c.atOnce);
    }
}

TEST(ChatRules, AMessageIsLaidOutOnlySoFarAndMarkedWhereCut)
{
    const QString shortReply = QStringLiteral("어떤 기능이 가장 중요한가요?");
    EXPECT_EQ(messageForDisplay(shortReply), shortReply);
    EXPECT_EQ(messageCutMark(shortReply), QString());

    const QString megabyte = QStringLiteral("이 앱에서 가장 중요한 화면은 무엇인가요?\n").repeated(40000);
    const QString shown = messageForDisplay(megabyte);
    EXPECT_LE(shown.size(), kMessageChars);
    EXPECT_LE(shown.count(QLatin1Char('\n')) + 1, kMessageLines);
    EXPECT_TRUE(megabyte.startsWith(shown));
    EXPECT_EQ(messageCutMark(megabyte),
              QStringLiteral("… 너무 길어 앞부분만 보여드려요 (전체 %1자)").arg(QLocale(QLocale::English).toString(megabyte.size())));

    const QString oneLine(200 * 1024, QLatin1Char('a'));
    EXPECT_EQ(messageForDisplay(oneLine).size(), kMessageChars);
    EXPECT_EQ(messageCutMark(oneLine), QStringLiteral("… 너무 길어 앞부분만 보여드려요 (전체 204,800자)"));
}

// An answer given while a reply was awaited was on screen all along: its
// turn takes its place at once, without the entrance.
TEST(MessageRevealer, AWaitingAnswersTurnShowsAtOnce)
{
    ChatHistoryListModel turns;
    turns.append(turn(1, "User"));
    MessageRevealer revealer;
    revealer.setTurns(&turns);
    revealer.start();
    ChatHistory waiting = turn(2, "User");
    waiting.answer = QStringLiteral("기다린 답");
    revealer.setWaitingAnswers({waiting.answer});

    ChatHistory reply = turn(2, "Claude");
    turns.append(reply);
    EXPECT_FALSE(revealer.isRevealed(2)) << "a reply comes in after the wait";
    waiting.id = 3;
    turns.append(waiting);
    EXPECT_TRUE(revealer.isRevealed(3));
    EXPECT_EQ(revealer.instantIds(), QList<int>{3});
    ASSERT_TRUE(waitUntil([&] { return revealer.isRevealed(2); }));
    EXPECT_EQ(revealer.instantIds(), QList<int>{3});
}

TEST(MessageRevealer, AppearingWithNoTurnsRevealsNothing)
{
    ChatHistoryListModel turns;
    MessageRevealer revealer;
    revealer.setTurns(&turns);
    QSignalSpy revealed(&revealer, &MessageRevealer::revealed);
    revealer.start();
    QTest::qWait(150);
    EXPECT_EQ(revealed.count(), 0);
    EXPECT_TRUE(revealer.visibleIds().isEmpty());
}

class ChatScreenLeaveTest : public InterviewFixture {};

TEST_F(ChatScreenLeaveTest, LeavingTheScreenDropsTheInterviewHandler)
{
    ChatViewModel model(services);
    model.startMonitoring();
    ASSERT_TRUE(monitor.hasInterviewStateHandler());
    ChatRules().leaveScreen(&model);
    EXPECT_FALSE(monitor.hasInterviewStateHandler());
    ChatRules().leaveScreen(nullptr);
}

} // namespace
} // namespace test
} // namespace orva
