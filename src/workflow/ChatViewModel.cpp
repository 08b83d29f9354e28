#include "workflow/ChatViewModel.h"

#include "platform/Log.h"
#include "workflow/ClaudeProcessService.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/AppGroupStorageService.h"
#include "workspace/LocalStorageService.h"

#include <QPointer>

namespace orva {

namespace {
const QString kUserSpeaker = QStringLiteral("User");
const QString kClaudeSpeaker = QStringLiteral("Claude");
const QString kTranscriptFileName = QStringLiteral("chat_history.json");
} // namespace

ChatViewModel::ChatViewModel(QObject* parent)
    : ChatViewModel(WorkflowServices::defaults(), parent)
{
}

ChatViewModel::ChatViewModel(const WorkflowServices& services, QObject* parent)
    : QObject(parent)
    , claudeService_(services.claude())
    , monitorService_(services.monitor())
    , storage_(services.storage())
    , scrollID_(QUuid::createUuid())
{
    connect(&turns_, &ChatHistoryListModel::countChanged, this, &ChatViewModel::chatHistoriesChanged);
}

ChatViewModel::~ChatViewModel() = default;

QList<ChatHistory> ChatViewModel::chatHistories() const
{
    return turns_.turns();
}

bool ChatViewModel::isWaitingForResponse() const
{
    return isWaitingForResponse_;
}

bool ChatViewModel::isInterviewCompleted() const
{
    return isInterviewCompleted_;
}

QString ChatViewModel::errorMessage() const
{
    return errorMessage_;
}

QUuid ChatViewModel::scrollID() const
{
    return scrollID_;
}

QStringList ChatViewModel::waitingAnswers() const
{
    QStringList answers;
    for (const PendingAnswer& answer : pending_)
        answers.append(answer.text);
    return answers;
}

AppGroupMonitorService* ChatViewModel::monitorServiceObject() const
{
    return &monitorService_;
}

void ChatViewModel::startMonitoring()
{
    logLine(QStringLiteral("[ChatViewModel] Starting monitoring..."));

    const QByteArray json = encodeInterviewState(InterviewState::inProgressNow());
    const QString text = QString::fromUtf8(json);
    if (!json.isEmpty() && text.toUtf8() == json) {
        storage_.saveFile(text, QStringLiteral("interview_state.json"), QStringLiteral("ZAVE"));
        logLine(QStringLiteral("[ChatViewModel] Initial state file created: ") + text);
    }

    QPointer<ChatViewModel> self(this);
    monitorService_.startInterviewStateMonitoring(
        [self](const QString& content) {
            if (self)
                self->handleInterviewStateChange(content);
        },
        this);
    logLine(QStringLiteral("[ChatViewModel] Monitoring started successfully"));
}

void ChatViewModel::sendMessage(const QString& text, Completion done)
{
    if (text.trimmed().isEmpty()) {
        if (done)
            done();
        return;
    }
    // A new answer starts a new attempt: the failure of an earlier one no
    // longer stands once the person has gone on.
    setErrorMessage(QString());
    pending_.push_back({text, std::move(done)});
    if (!sending_)
        sendNext();
    else
        emit waitingAnswersChanged();
}

void ChatViewModel::sendNext()
{
    if (pending_.empty()) {
        sending_ = false;
        setWaitingForResponse(false);
        return;
    }
    sending_ = true;
    const bool wasWaiting = isWaitingForResponse_;
    PendingAnswer answer = std::move(pending_.front());
    pending_.pop_front();

    appendTurn(kUserSpeaker, answer.text);
    // An answer that waited leaves the list after its turn is there.
    if (wasWaiting)
        emit waitingAnswersChanged();
    setWaitingForResponse(true);

    const quint64 generation = generation_;
    Completion done = std::move(answer.done);
    claudeService_.sendInterviewAnswer(
        answer.text,
        [this, generation, done](const ClaudeResult& result) {
            if (generation != generation_) {
                // The interview started over while this reply was on its way.
                if (done)
                    done();
                return;
            }
            if (result.ok()) {
                appendTurn(kClaudeSpeaker, result.text);
                // A reply of any size is shown; the log keeps an excerpt of a long one.
                logLine(QStringLiteral("[ChatViewModel] - claude 응답: ") + logExcerpt(result.text));
                // `claude` marks the interview completed while writing its last
                // reply; the transcript saved then lacks that reply.
                if (isInterviewCompleted_)
                    saveTranscript();
            } else {
                const QString description = result.error->localizedDescription();
                setErrorMessage(description);
                logLine(QStringLiteral("[ChatViewModel] Error sending message: ") + oneLogLine(description));
            }
            sending_ = false;
            sendNext();
            if (done)
                done();
        },
        this);
}

void ChatViewModel::handleInterviewStateChange(const QString& content)
{
    QPointer<ChatViewModel> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, content] {
            if (self)
                self->checkInterviewState(content);
        },
        Qt::QueuedConnection);
}

void ChatViewModel::checkInterviewState(const QString& content)
{
    const auto state = decodeInterviewState(content.toUtf8());
    if (!state) {
        logLine(QStringLiteral("[ChatViewModel] Failed to decode interview state"));
        return;
    }
    if (state->status != InterviewState::Status::completed) {
        logLine(QStringLiteral("[ChatViewModel] Interview still in progress"));
        return;
    }
    logLine(QStringLiteral("[ChatViewModel] Interview completed!"));
    setInterviewCompleted(true);
    saveTranscript();
}

void ChatViewModel::resetInterview()
{
    ++generation_;
    std::deque<PendingAnswer> dropped;
    dropped.swap(pending_);
    if (!dropped.empty())
        emit waitingAnswersChanged();
    sending_ = false;
    turns_.clear();
    setWaitingForResponse(false);
    setInterviewCompleted(false);
    setErrorMessage(QString());
    renewScrollID();
    for (PendingAnswer& answer : dropped) {
        if (answer.done)
            answer.done();
    }
}

void ChatViewModel::appendTurn(const QString& speaker, const QString& text)
{
    ChatHistory turn;
    turn.id = turns_.count() + 1;
    turn.question = speaker;
    turn.answer = text;
    turns_.append(turn);
    renewScrollID();
}

void ChatViewModel::setWaitingForResponse(bool value)
{
    if (isWaitingForResponse_ == value)
        return;
    isWaitingForResponse_ = value;
    emit isWaitingForResponseChanged();
}

void ChatViewModel::setInterviewCompleted(bool value)
{
    if (isInterviewCompleted_ == value)
        return;
    isInterviewCompleted_ = value;
    emit isInterviewCompletedChanged();
}

void ChatViewModel::setErrorMessage(const QString& value)
{
    if (errorMessage_ == value)
        return;
    errorMessage_ = value;
    emit errorMessageChanged();
}

void ChatViewModel::renewScrollID()
{
    scrollID_ = QUuid::createUuid();
    emit scrollIDChanged();
}

void ChatViewModel::saveTranscript() const
{
    LocalStorageService().save(turns_.turns(), kTranscriptFileName);
}

} // namespace orva
