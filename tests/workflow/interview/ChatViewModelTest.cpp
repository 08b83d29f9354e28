#include "InterviewFixture.h"

#include "model/ProjectModel.h"
#include "platform/Log.h"
#include "workflow/ChatViewModel.h"
#include "workspace/LocalStorageService.h"

#include <QSaveFile>
#include <QSignalSpy>

namespace orva::test {
namespace {

class ChatViewModelTest : public InterviewFixture {
protected:
    void SetUp() override
    {
        InterviewFixture::SetUp();
        // The prompt documents are not needed: the fake answers by prompt text.
        QDir().mkpath(workspacePath(QStringLiteral("ZAVE/project")));
    }

    void send(ChatViewModel& model, const QString& text)
    {
        bool done = false;
        model.sendMessage(text, [&done] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    QString transcriptPath() const { return context.context().documentsPath + QStringLiteral("/chat_history.json"); }

    std::optional<QList<ChatHistory>> savedTranscript() const
    {
        return decodeChatHistoryList(readFile(transcriptPath()));
    }

    static QStringList speakers(const QList<ChatHistory>& turns)
    {
        QStringList result;
        for (const ChatHistory& turn : turns)
            result << turn.question;
        return result;
    }
};

TEST_F(ChatViewModelTest, StartMonitoringMarksTheInterviewRunningAndWatchesIt)
{
    ChatViewModel model(services);
    LogCapture log;
    model.startMonitoring();

    const auto state = decodeInterviewState(readFile(workspacePath(QStringLiteral("ZAVE/interview_state.json"))));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->status, InterviewState::Status::inProgress);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$")).match(state->timestamp).hasMatch());
    EXPECT_TRUE(monitor.hasInterviewStateHandler());
    const QStringList lines = log.lines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines.contains(QStringLiteral("[ChatViewModel] Starting monitoring...")));
    EXPECT_TRUE(lines.contains(QStringLiteral("[ChatViewModel] Initial state file created: ")
                               + QString::fromUtf8(readFile(workspacePath(QStringLiteral("ZAVE/interview_state.json"))))));
    EXPECT_EQ(lines.last(), QStringLiteral("[ChatViewModel] Monitoring started successfully"));
}

TEST_F(ChatViewModelTest, TurnsKeepTheTextAsTypedAndRepliesWithoutEscapes)
{
    openConversation();
    ChatViewModel model(services);
    QSignalSpy scroll(&model, &ChatViewModel::scrollIDChanged);

    send(model, QStringLiteral("  A habit tracker\n"));
    send(model, QStringLiteral(" \n\t"));
    const QList<ChatHistory> turns = model.chatHistories();
    ASSERT_EQ(turns.size(), 2);
    EXPECT_EQ(turns[0].id, 1);
    EXPECT_EQ(turns[0].question, QStringLiteral("User"));
    EXPECT_EQ(turns[0].answer, QStringLiteral("  A habit tracker\n"));
    EXPECT_EQ(turns[1].id, 2);
    EXPECT_EQ(turns[1].question, QStringLiteral("Claude"));
    EXPECT_EQ(turns[1].answer, QStringLiteral("답변 1 확인\n\n질문 2: 어떤 기능이 가장 중요한가요?"));
    EXPECT_EQ(scroll.count(), 2);
    EXPECT_FALSE(model.isWaitingForResponse());
    EXPECT_EQ(model.chatHistoryModel()->rowCount(), 2);
    EXPECT_EQ(model.chatHistoryModel()->data(model.chatHistoryModel()->index(1), ChatHistoryListModel::QuestionRole),
              QStringLiteral("Claude"));

    // The blank answer started no child.
    const QList<FakeCall> calls = claudeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1].arguments, (QStringList{QStringLiteral("-p"), QStringLiteral("-c"),
                                               ClaudeProcessService::interviewPrompt(QStringLiteral("  A habit tracker\n")),
                                               QStringLiteral("--dangerously-skip-permissions")}));
}

TEST_F(ChatViewModelTest, AFailedAnswerKeepsTheUserTurnAndReportsTheError)
{
    ChatViewModel model(services);
    LogCapture log;
    send(model, QStringLiteral("first"));
    EXPECT_EQ(model.errorMessage(), QStringLiteral("Claude process is not running"));
    EXPECT_TRUE(log.contains(QStringLiteral("[ChatViewModel] Error sending message: Claude process is not running")));
    EXPECT_FALSE(model.isWaitingForResponse());
    ASSERT_EQ(model.chatHistories().size(), 1);

    openConversation();
    send(model, QStringLiteral("second"));
    const QList<ChatHistory> turns = model.chatHistories();
    ASSERT_EQ(turns.size(), 3);
    EXPECT_EQ(speakers(turns), (QStringList{"User", "User", "Claude"}));
    EXPECT_EQ(turns[2].id, 3);
    // The next answer cleared the error; its reply came.
    EXPECT_TRUE(model.errorMessage().isEmpty());
}

// What claude says when an answer fails reaches the chat's error, and the
// log has one line for it; a large reply is shown whole but logged in part.
TEST_F(ChatViewModelTest, RepliesAndFailuresAsShownAndAsLogged)
{
    struct Case {
        const char* name;
        QByteArray mode;
        QString errorMessage;  // empty: the reply came
        QString logLine;       // a line the log holds
        qsizetype replySize;   // of the reply shown, when it came
    };
    const Case cases[] = {
        {"logged out", "stdout-only\n",
         QStringLiteral("Claude process terminated with exit code 1\nNot logged in · Please run /login"),
         QStringLiteral("[ChatViewModel] Error sending message: Claude process terminated with exit code 1 \u2014 "
                        "Not logged in · Please run /login"),
         0},
        {"a reply of a mebibyte", "megabyte\n", QString(), QString(), 1024 * 1024},
    };
    const QString modeFile = context.root() + QStringLiteral("/mode");
    useFakeClaude(claude, context.context().homePath, logFile(),
                  {QStringLiteral("FAKE_CLAUDE_STATE=") + context.root() + QStringLiteral("/claude.state"),
                   QStringLiteral("FAKE_CLAUDE_MODE_FILE=") + modeFile});
    openConversation();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChatViewModel model(services);
        writeScript(modeFile, c.mode);
        LogCapture log;
        send(model, QStringLiteral("answer"));
        EXPECT_EQ(model.errorMessage(), c.errorMessage);
        if (!c.logLine.isEmpty()) {
            EXPECT_TRUE(log.contains(c.logLine)) << log.text().left(2000).toStdString();
        }
        if (c.replySize > 0) {
            ASSERT_EQ(model.chatHistories().size(), 2);
            EXPECT_EQ(model.chatHistories().last().answer.size(), c.replySize);
        }
        EXPECT_LT(log.text().size(), 2 * kLogExcerptLimit);
    }
}

TEST_F(ChatViewModelTest, TheNextAnswerClearsTheErrorWhetherSentOrQueued)
{
    // A model whose error can be set directly, as a failed send sets it.
    struct Model : ChatViewModel {
        using ChatViewModel::ChatViewModel;
        using ChatViewModel::setErrorMessage;
    };
    struct Case {
        const char* name;
        bool replyAwaited; // an earlier answer is still on its way
        QString answer;
        bool cleared;
    };
    const QList<Case> cases = {
        {"sent at once", false, QStringLiteral("next answer"), true},
        {"waits its turn", true, QStringLiteral("next answer"), true},
        {"blank answer, ignored", false, QStringLiteral(" \n\t"), false},
        {"blank answer while waiting", true, QStringLiteral(" "), false},
    };
    useFakeClaude(claude, context.context().homePath, logFile(),
                  {QStringLiteral("FAKE_CLAUDE_STATE=") + context.root() + QStringLiteral("/claude.state"),
                   QStringLiteral("FAKE_CLAUDE_DELAY=0.3")});
    openConversation();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Model model(services);
        int done = 0;
        if (c.replyAwaited)
            model.sendMessage(QStringLiteral("earlier answer"), [&done] { ++done; });
        model.setErrorMessage(QStringLiteral("Claude process terminated with exit code 1"));
        QSignalSpy errorChanges(&model, &ChatViewModel::errorMessageChanged);
        model.sendMessage(c.answer, [&done] { ++done; });
        EXPECT_EQ(model.errorMessage().isEmpty(), c.cleared);
        EXPECT_EQ(model.hasErrorMessage(), !c.cleared);
        EXPECT_EQ(errorChanges.count(), c.cleared ? 1 : 0);
        ASSERT_TRUE(waitUntil([&] { return done == (c.replyAwaited ? 2 : 1); }));
        ASSERT_TRUE(waitUntil([&] { return !model.isWaitingForResponse(); }));
        EXPECT_EQ(model.errorMessage().isEmpty(), c.cleared) << "the replies that came set no error";
    }
}

TEST_F(ChatViewModelTest, AnswersGivenWhileWaitingAreSentOneAtATime)
{
    useFakeClaude(claude, context.context().homePath, logFile(),
                  {QStringLiteral("FAKE_CLAUDE_STATE=") + context.root() + QStringLiteral("/claude.state"),
                   QStringLiteral("FAKE_CLAUDE_DELAY=0.2")});
    openConversation();
    ChatViewModel model(services);
    QList<bool> waiting;
    QObject::connect(&model, &ChatViewModel::isWaitingForResponseChanged, [&] { waiting << model.isWaitingForResponse(); });
    // What the list of waiting answers held each time it changed, and the
    // turns there were then: a waiting answer leaves it once its turn is in.
    QList<QStringList> waitingLists;
    QList<qsizetype> turnsThen;
    QObject::connect(&model, &ChatViewModel::waitingAnswersChanged, [&] {
        waitingLists << model.waitingAnswers();
        turnsThen << model.chatHistories().size();
    });

    int done = 0;
    model.sendMessage(QStringLiteral("one"), [&] { ++done; });
    EXPECT_TRUE(model.waitingAnswers().isEmpty()) << "sent at once, it never waited";
    model.sendMessage(QStringLiteral("two"), [&] { ++done; });
    EXPECT_EQ(model.waitingAnswers(), QStringList{QStringLiteral("two")});
    EXPECT_EQ(model.chatHistories().size(), 1) << "its turn comes when it is sent";
    EXPECT_TRUE(model.isWaitingForResponse());
    ASSERT_TRUE(waitUntil([&] { return done >= 1; }));
    EXPECT_TRUE(model.waitingAnswers().isEmpty());
    EXPECT_EQ(waitingLists, (QList<QStringList>{{QStringLiteral("two")}, {}}));
    EXPECT_EQ(turnsThen, (QList<qsizetype>{1, 3})) << "the turn of \"two\" is appended before it leaves the list";
    EXPECT_TRUE(model.isWaitingForResponse()) << "the second reply is still due";
    ASSERT_TRUE(waitUntil([&] { return done == 2; }));
    EXPECT_FALSE(model.isWaitingForResponse());
    EXPECT_EQ(waiting, (QList<bool>{true, false}));

    const QList<ChatHistory> turns = model.chatHistories();
    EXPECT_EQ(speakers(turns), (QStringList{"User", "Claude", "User", "Claude"}));
    EXPECT_EQ(turns[2].answer, QStringLiteral("two"));
    for (int i = 0; i < turns.size(); ++i)
        EXPECT_EQ(turns[i].id, i + 1);

    const QList<FakeCall> calls = claudeCalls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_LT(calls[1].doneOrder, calls[2].startOrder) << "two claude children ran side by side";
}

TEST_F(ChatViewModelTest, CompletionSavesTheTranscriptWithTheLastReply)
{
    // `claude` marks the interview completed a while before its last reply is out.
    useFakeClaude(claude, context.context().homePath, logFile(),
                  {QStringLiteral("FAKE_CLAUDE_STATE=") + context.root() + QStringLiteral("/claude.state"),
                   QStringLiteral("FAKE_CLAUDE_COMPLETE_DELAY=0.6")});
    openConversation();
    ChatViewModel model(services);
    model.startMonitoring();
    LogCapture log;
    send(model, QStringLiteral("idea"));
    send(model, QStringLiteral("answer 2"));
    bool lastDone = false;
    model.sendMessage(QStringLiteral("answer 3"), [&] { lastDone = true; });
    ASSERT_TRUE(waitUntil([&] { return model.isInterviewCompleted(); }));
    EXPECT_TRUE(model.isWaitingForResponse());
    ASSERT_TRUE(waitUntil([&] { return lastDone; }));

    const auto saved = savedTranscript();
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->size(), 6);
    EXPECT_EQ(saved->last().question, QStringLiteral("Claude"));
    EXPECT_EQ(saved->last().answer, QStringLiteral("인터뷰가 완료되었습니다.\n이제 문서를 만들 수 있어요."));
    EXPECT_TRUE(log.contains(QStringLiteral("[ChatViewModel] Interview completed!")));
}

TEST_F(ChatViewModelTest, InterviewStateTextsAreCheckedStrictly)
{
    struct Case {
        const char* text;
        const char* line;
        bool completes;
    };
    const QList<Case> cases = {
        {R"({"status":"in_progress","last_updated":"2025-03-01T09:30:00Z"})", "[ChatViewModel] Interview still in progress", false},
        {R"({"status":"done","last_updated":"2025-03-01T09:30:00Z"})", "[ChatViewModel] Failed to decode interview state", false},
        {R"({"status":"completed"})", "[ChatViewModel] Failed to decode interview state", false},
        {"not json", "[ChatViewModel] Failed to decode interview state", false},
        {R"({"status":"completed","last_updated":"2025-03-01T09:30:00Z"})", "[ChatViewModel] Interview completed!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ChatViewModel model(services);
        LogCapture log;
        model.checkInterviewState(QString::fromUtf8(c.text));
        EXPECT_TRUE(log.contains(QString::fromUtf8(c.line)));
        EXPECT_EQ(model.isInterviewCompleted(), c.completes);
        EXPECT_EQ(QFileInfo::exists(transcriptPath()), c.completes);
    }
}

// The state file as `claude` may write it, through the monitor: the reader
// gets the file's own bytes, so one byte-order mark is allowed and a second
// is not.
TEST_F(ChatViewModelTest, AStateFileWithAByteOrderMarkCompletesAndOneWithTwoDoesNot)
{
    const QByteArray completed = R"({"status":"completed","last_updated":"2025-03-01T09:30:00Z"})";
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* line;
        bool completes;
    };
    const QList<Case> cases = {
        {"two marks", "\xEF\xBB\xBF\xEF\xBB\xBF" + completed, "[ChatViewModel] Failed to decode interview state", false},
        {"one mark", "\xEF\xBB\xBF" + completed, "[ChatViewModel] Interview completed!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChatViewModel model(services);
        model.startMonitoring();
        LogCapture log;
        QSaveFile file(workspacePath(QStringLiteral("ZAVE/interview_state.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        ASSERT_TRUE(file.commit());
        ASSERT_TRUE(waitUntil([&] { return log.contains(QString::fromUtf8(c.line)); }));
        EXPECT_EQ(model.isInterviewCompleted(), c.completes);
        monitor.stopInterviewStateMonitoring();
    }
}

TEST_F(ChatViewModelTest, ResetStartsAnEmptyInterviewAndIgnoresTheReplyOnItsWay)
{
    useFakeClaude(claude, context.context().homePath, logFile(),
                  {QStringLiteral("FAKE_CLAUDE_STATE=") + context.root() + QStringLiteral("/claude.state"),
                   QStringLiteral("FAKE_CLAUDE_DELAY=0.3")});
    openConversation();
    ChatViewModel model(services);
    send(model, QStringLiteral("old idea"));
    model.checkInterviewState(QStringLiteral(R"({"status":"completed","last_updated":"2025-03-01T09:30:00Z"})"));
    ASSERT_TRUE(model.isInterviewCompleted());

    bool inFlightDone = false;
    model.sendMessage(QStringLiteral("old answer"), [&] { inFlightDone = true; });
    model.sendMessage(QStringLiteral("queued answer"));
    EXPECT_EQ(model.waitingAnswers(), QStringList{QStringLiteral("queued answer")});
    const QUuid before = model.scrollID();
    QSignalSpy waitingChanged(&model, &ChatViewModel::waitingAnswersChanged);
    model.resetInterview();
    EXPECT_TRUE(model.waitingAnswers().isEmpty());
    EXPECT_EQ(waitingChanged.count(), 1);
    EXPECT_TRUE(model.chatHistories().isEmpty());
    EXPECT_FALSE(model.isInterviewCompleted());
    EXPECT_FALSE(model.isWaitingForResponse());
    EXPECT_TRUE(model.errorMessage().isEmpty());
    EXPECT_NE(model.scrollID(), before);

    ASSERT_TRUE(waitUntil([&] { return inFlightDone; }));
    EXPECT_TRUE(model.chatHistories().isEmpty());
    EXPECT_EQ(claudeCalls().size(), 3) << "the old interview's queued answer must be dropped";

    send(model, QStringLiteral("new idea"));
    ASSERT_EQ(model.chatHistories().size(), 2);
    EXPECT_EQ(model.chatHistories()[0].id, 1);
    EXPECT_EQ(model.chatHistories()[0].answer, QStringLiteral("new idea"));
    // Requests run in order: a queued answer still sent would have come before the new idea.
    const QList<FakeCall> calls = claudeCalls();
    ASSERT_EQ(calls.size(), 4) << "the old interview's queued answer must be dropped";
    EXPECT_TRUE(calls.last().arguments.join(u' ').contains(QStringLiteral("new idea")));
}

} // namespace
} // namespace orva::test
