#include "ScriptedChatViewModel.h"

#include "workspace/AppGroupMonitorService.h"

#include <QQmlEngine>

namespace orva::test {

ScriptedChatViewModel::ScriptedChatViewModel(QObject* parent)
    : ChatViewModel(parent)
{
}

bool ScriptedChatViewModel::monitorHasInterviewHandler() const
{
    return monitorService().hasInterviewStateHandler();
}

void ScriptedChatViewModel::startMonitoring()
{
    ++monitoringStarts_;
    emit monitoringStartsChanged();
    ChatViewModel::startMonitoring();
}

void ScriptedChatViewModel::sendMessage(const QString& text, Completion done)
{
    sentAnswers_.append(text);
    emit sentAnswersChanged();
    if (isWaitingForResponse() && !text.trimmed().isEmpty()) {
        waiting_.append(text);
        emit waitingAnswersChanged();
    }
    if (done)
        done();
}

void ScriptedChatViewModel::sendWaiting()
{
    if (waiting_.isEmpty())
        return;
    appendTurn(QStringLiteral("User"), waiting_.first());
    waiting_.removeFirst();
    emit waitingAnswersChanged();
}

} // namespace orva::test

static void registerScriptedChatViewModel()
{
    qmlRegisterType<orva::test::ScriptedChatViewModel>("Orva.Screens.Chat.Testing", 1, 0, "ScriptedChatViewModel");
}
Q_CONSTRUCTOR_FUNCTION(registerScriptedChatViewModel)
