#include "ui/screens/work/TaskPopupRows.h"

#include "ui/components/DisplayCut.h"

namespace orva {

QStringList sectionLines(const QStringList& items)
{
    QStringList lines;
    for (const QString& item : items) {
        for (const QString& piece : item.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            lines.append(displayText(piece, kParagraphChars, kParagraphLines));
    }
    return lines;
}

ChecklistRows::ChecklistRows(QObject* parent)
    : QAbstractListModel(parent)
{
}

int ChecklistRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

QVariant ChecklistRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= count_ || !verdict_)
        return {};
    const int row = index.row();
    switch (role) {
    case NumberRole:
        return row + 1;
    case TextRole:
        return displayText(texts_.value(row), kItemChars, kItemLines);
    case WorksRole:
        return verdict_->works(row);
    case FailsRole:
        return verdict_->fails(row);
    case DisabledRole:
        return verdict_->isDisabled(row);
    default:
        return {};
    }
}

QHash<int, QByteArray> ChecklistRows::roleNames() const
{
    return {{NumberRole, "number"},
            {TextRole, "text"},
            {WorksRole, "works"},
            {FailsRole, "fails"},
            {DisabledRole, "disabled"}};
}

void ChecklistRows::setVerdict(TaskDetailVerdict* verdict)
{
    if (verdict == verdict_)
        return;
    if (verdict_)
        disconnect(verdict_, nullptr, this, nullptr);
    verdict_ = verdict;
    if (verdict_) {
        connect(verdict_, &TaskDetailVerdict::taskChanged, this, &ChecklistRows::reload);
        connect(verdict_, &TaskDetailVerdict::verdictsChanged, this, &ChecklistRows::verdictsChanged);
    }
    emit verdictChanged();
    reload();
}

void ChecklistRows::reload()
{
    beginResetModel();
    texts_ = verdict_ ? verdict_->checklist() : QStringList();
    const int previous = count_;
    count_ = verdict_ ? verdict_->count() : 0;
    endResetModel();
    if (count_ != previous)
        emit countChanged();
}

void ChecklistRows::verdictsChanged()
{
    if (count_ > 0)
        emit dataChanged(index(0), index(count_ - 1), {WorksRole, FailsRole, DisabledRole});
}

} // namespace orva
