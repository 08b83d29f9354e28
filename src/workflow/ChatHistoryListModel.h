#pragma once

#include "model/ProjectModel.h"

#include <QAbstractListModel>
#include <QList>

namespace orva {

// The interview transcript as a list model for QML: one row per turn, in
// conversation order, with the roles `id`, `question` (the speaker, "User" or
// "Claude"), `answer` (the text), `isUser` and `turn` (the ChatHistory value).
class ChatHistoryListModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { IdRole = Qt::UserRole + 1, QuestionRole, AnswerRole, IsUserRole, TurnRole };

    explicit ChatHistoryListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return static_cast<int>(turns_.size()); }
    const QList<ChatHistory>& turns() const { return turns_; }
    // The turn at the row as a ChatHistory value; undefined outside the list.
    Q_INVOKABLE QVariant get(int row) const;

    void append(const ChatHistory& turn);
    void clear();

signals:
    void countChanged();

private:
    QList<ChatHistory> turns_;
};

} // namespace orva
