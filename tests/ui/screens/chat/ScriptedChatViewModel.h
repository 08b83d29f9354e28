#pragma once

#include "workflow/ChatViewModel.h"

#include <QStringList>

namespace orva::test {

// A chat model the chat screen's tests and pictures script from QML: turns,
// the waiting, completed and error states are set directly; answers the
// screen sends are recorded (and not sent to `claude`); one given while a
// reply is awaited waits, as with the real model, until sendWaiting(). startMonitoring()
// is counted and then does what the real model does, so the workspace
// monitor holds its handler. Registered as Orva.Screens.Chat.Testing 1.0
// ScriptedChatViewModel.
class ScriptedChatViewModel : public ChatViewModel {
    Q_OBJECT
    Q_PROPERTY(QStringList sentAnswers READ sentAnswers NOTIFY sentAnswersChanged)
    Q_PROPERTY(int monitoringStarts READ monitoringStarts NOTIFY monitoringStartsChanged)
public:
    explicit ScriptedChatViewModel(QObject* parent = nullptr);

    QStringList sentAnswers() const { return sentAnswers_; }
    int monitoringStarts() const { return monitoringStarts_; }

    Q_INVOKABLE void addTurn(const QString& speaker, const QString& text) { appendTurn(speaker, text); }
    Q_INVOKABLE void setWaiting(bool value) { setWaitingForResponse(value); }
    Q_INVOKABLE void setCompleted(bool value) { setInterviewCompleted(value); }
    Q_INVOKABLE void setError(const QString& text) { setErrorMessage(text); }
    // Whether the workspace monitor holds an interview-state handler.
    Q_INVOKABLE bool monitorHasInterviewHandler() const;
    // The first waiting answer is sent: its turn is appended, then it
    // leaves the waiting answers (the real model's order).
    Q_INVOKABLE void sendWaiting();

    QStringList waitingAnswers() const override { return waiting_; }

    void startMonitoring() override;
    void sendMessage(const QString& text, Completion done) override;

signals:
    void sentAnswersChanged();
    void monitoringStartsChanged();

private:
    QStringList sentAnswers_;
    QStringList waiting_;
    int monitoringStarts_ = 0;
};

} // namespace orva::test
