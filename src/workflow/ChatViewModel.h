#pragma once

#include "model/ProjectModel.h"
#include "workflow/ChatHistoryListModel.h"
#include "workflow/WorkflowServices.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <deque>
#include <functional>

namespace orva {

// The interview: marks it running in "ZAVE/interview_state.json", keeps the
// transcript, sends each answer to `claude` and appends its reply, notices
// when `claude` marks the interview completed and saves the transcript to
// "chat_history.json" in the Documents folder.
//
// Answers are sent one at a time: an answer given while a reply is awaited
// waits its turn (in `waitingAnswers`, so the screen can show it at once),
// and its "User" turn is appended when it is sent, so the transcript keeps
// the order of the conversation. `isWaitingForResponse` stays true until
// every waiting answer has its reply.
//
// Its operations may be overridden (screens under test stand in models of
// their own).
class ChatViewModel : public QObject {
    Q_OBJECT
    // The transcript for QML; C++ reads chatHistories().
    Q_PROPERTY(orva::ChatHistoryListModel* chatHistories READ chatHistoryModel CONSTANT)
    Q_PROPERTY(bool isWaitingForResponse READ isWaitingForResponse NOTIFY isWaitingForResponseChanged)
    Q_PROPERTY(bool isInterviewCompleted READ isInterviewCompleted NOTIFY isInterviewCompletedChanged)
    // The description of the last failed send; empty when there is none or
    // once the next answer is given.
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool hasErrorMessage READ hasErrorMessage NOTIFY errorMessageChanged)
    // Renewed whenever a turn is appended (and when the interview starts
    // over); the chat screen scrolls to the newest turn when it changes.
    Q_PROPERTY(QString scrollID READ scrollIDText NOTIFY scrollIDChanged)
    // The answers given while a reply is awaited, in order, not yet sent.
    // When one is sent its "User" turn is appended first, then it leaves
    // this list.
    Q_PROPERTY(QStringList waitingAnswers READ waitingAnswers NOTIFY waitingAnswersChanged)
    Q_PROPERTY(orva::AppGroupMonitorService* monitorService READ monitorServiceObject CONSTANT)
    Q_MOC_INCLUDE("workspace/AppGroupMonitorService.h")

public:
    using Completion = std::function<void()>;

    explicit ChatViewModel(QObject* parent = nullptr);
    explicit ChatViewModel(const WorkflowServices& services, QObject* parent = nullptr);
    ~ChatViewModel() override;

    virtual QList<ChatHistory> chatHistories() const;
    virtual bool isWaitingForResponse() const;
    virtual bool isInterviewCompleted() const;
    virtual QString errorMessage() const;
    virtual QUuid scrollID() const;
    virtual QStringList waitingAnswers() const;

    bool hasErrorMessage() const { return !errorMessage().isEmpty(); }
    QString scrollIDText() const { return scrollID().toString(QUuid::WithoutBraces); }
    ChatHistoryListModel* chatHistoryModel() { return &turns_; }
    AppGroupMonitorService* monitorServiceObject() const;

    ClaudeProcessService& claudeService() const { return claudeService_; }
    AppGroupMonitorService& monitorService() const { return monitorService_; }

    // Writes the state "in_progress" and (re)registers for its changes.
    Q_INVOKABLE virtual void startMonitoring();

    // One interview turn; `done` runs once the reply (or the failure) of this
    // answer is in, or at once for an empty answer. An answer that is not
    // blank clears the error of an earlier failed send, whether it is sent at
    // once or waits its turn.
    Q_INVOKABLE void sendMessage(const QString& text) { sendMessage(text, {}); }
    virtual void sendMessage(const QString& text, Completion done);

    // The handler given to the workspace monitor: checks the state file's
    // text on a later turn of the event loop.
    void handleInterviewStateChange(const QString& content);
    virtual void checkInterviewState(const QString& content);

    // Starts over with an empty interview: no turns, not completed, not
    // waiting, no error, a new scroll target. Answers still waiting are
    // dropped and a reply still on its way is ignored. Used when a new project
    // begins in the same window.
    Q_INVOKABLE virtual void resetInterview();

signals:
    void chatHistoriesChanged();
    void isWaitingForResponseChanged();
    void isInterviewCompletedChanged();
    void errorMessageChanged();
    void scrollIDChanged();
    void waitingAnswersChanged();

protected:
    void appendTurn(const QString& speaker, const QString& text);
    void setWaitingForResponse(bool value);
    void setInterviewCompleted(bool value);
    void setErrorMessage(const QString& value);
    void renewScrollID();
    void saveTranscript() const;

private:
    struct PendingAnswer {
        QString text;
        Completion done;
    };
    void sendNext();

    ClaudeProcessService& claudeService_;
    AppGroupMonitorService& monitorService_;
    AppGroupStorageService& storage_;

    ChatHistoryListModel turns_;
    bool isWaitingForResponse_ = false;
    bool isInterviewCompleted_ = false;
    QString errorMessage_;
    QUuid scrollID_;

    std::deque<PendingAnswer> pending_;
    bool sending_ = false;
    quint64 generation_ = 0;
};

} // namespace orva
