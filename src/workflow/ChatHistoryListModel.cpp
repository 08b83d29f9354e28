#include "workflow/ChatHistoryListModel.h"

namespace orva {

ChatHistoryListModel::ChatHistoryListModel(QObject* parent)
    : QAbstractListModel(parent)
{
    registerModelMetaTypes();
}

int ChatHistoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ChatHistoryListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= count())
        return {};
    const ChatHistory& turn = turns_.at(index.row());
    switch (role) {
    case IdRole:
        return QVariant::fromValue(turn.id);
    case QuestionRole:
        return turn.question;
    case Qt::DisplayRole:
    case AnswerRole:
        return turn.answer;
    case IsUserRole:
        return turn.question == QStringLiteral("User");
    case TurnRole:
        return QVariant::fromValue(turn);
    default:
        return {};
    }
}

QHash<int, QByteArray> ChatHistoryListModel::roleNames() const
{
    return {
        {IdRole, "id"}, {QuestionRole, "question"}, {AnswerRole, "answer"}, {IsUserRole, "isUser"}, {TurnRole, "turn"},
    };
}

QVariant ChatHistoryListModel::get(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return QVariant::fromValue(turns_.at(row));
}

void ChatHistoryListModel::append(const ChatHistory& turn)
{
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    turns_.append(turn);
    endInsertRows();
    emit countChanged();
}

void ChatHistoryListModel::clear()
{
    if (turns_.isEmpty())
        return;
    beginResetModel();
    turns_.clear();
    endResetModel();
    emit countChanged();
}

} // namespace orva
