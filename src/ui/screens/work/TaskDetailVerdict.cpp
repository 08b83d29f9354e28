#include "ui/screens/work/TaskDetailVerdict.h"

#include "platform/Log.h"
#include "workspace/XcodeService.h"

namespace orva {

namespace {

bool isControl(char16_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

} // namespace

QString withoutControlCharacters(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (isControl(code) && code != u'\t' && code != u'\n')
            continue;
        result.append(ch);
    }
    return result;
}

QString asOneLine(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == u'\t' || code == u'\n' || code == u'\r')
            result.append(QLatin1Char(' '));
        else if (!isControl(code))
            result.append(ch);
    }
    return result;
}

TaskDetailVerdict::TaskDetailVerdict(const TaskItem& task, QObject* parent)
    : QObject(parent)
{
    setTask(task);
}

QString TaskDetailVerdict::approvalText()
{
    return QStringLiteral("사용자가 승인했습니다. Task.json 연동 규칙에 따라 진행하세요.");
}

QVariant TaskDetailVerdict::taskValue() const
{
    return task_ ? QVariant::fromValue(*task_) : QVariant();
}

void TaskDetailVerdict::setTask(const TaskItem& task)
{
    if (task_)
        return;
    task_ = task;
    const qsizetype count = task.detail.checklistUx.size();
    checks_ = QList<bool>(count, false);
    xChecks_ = QList<bool>(count, false);
    emit taskChanged();
    emit verdictsChanged();
}

void TaskDetailVerdict::setTaskValue(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<TaskItem>())
        setTask(value.value<TaskItem>());
}

QStringList TaskDetailVerdict::checklist() const
{
    return task_ ? task_->detail.checklistUx : QStringList();
}

void TaskDetailVerdict::setChecked(bool checked)
{
    if (isChecked_ == checked)
        return;
    isChecked_ = checked;
    if (checked) {
        for (qsizetype i = 0; i < checks_.size(); ++i) {
            checks_[i] = true;
            xChecks_[i] = false;
        }
    }
    emit verdictsChanged();
}

QVariantList TaskDetailVerdict::checksValue() const
{
    QVariantList list;
    for (bool value : checks_)
        list.append(value);
    return list;
}

QVariantList TaskDetailVerdict::xChecksValue() const
{
    QVariantList list;
    for (bool value : xChecks_)
        list.append(value);
    return list;
}

bool TaskDetailVerdict::works(int index) const
{
    return index >= 0 && index < checks_.size() && checks_[index];
}

bool TaskDetailVerdict::fails(int index) const
{
    return index >= 0 && index < xChecks_.size() && xChecks_[index];
}

void TaskDetailVerdict::setWorks(int index, bool value)
{
    if (index < 0 || index >= checks_.size() || checks_[index] == value)
        return;
    checks_[index] = value;
    const bool clearedFail = value && xChecks_[index];
    if (clearedFail)
        xChecks_[index] = false;
    if (clearedFail)
        failsChanged();
    emit verdictsChanged();
}

void TaskDetailVerdict::setFails(int index, bool value)
{
    if (index < 0 || index >= xChecks_.size() || xChecks_[index] == value)
        return;
    xChecks_[index] = value;
    if (value)
        checks_[index] = false;
    failsChanged();
    emit verdictsChanged();
}

void TaskDetailVerdict::failsChanged()
{
    // A failing item turns the master box off.
    if (anyFail())
        isChecked_ = false;
}

bool TaskDetailVerdict::isDisabled(int index) const
{
    return index >= 1 && !xChecks_.isEmpty() && xChecks_[0];
}

QVariantList TaskDetailVerdict::disabledRowsValue() const
{
    QVariantList list;
    for (int i = 0; i < count(); ++i)
        list.append(isDisabled(i));
    return list;
}

bool TaskDetailVerdict::anyFail() const
{
    return xChecks_.contains(true);
}

bool TaskDetailVerdict::canSubmit() const
{
    if (!xChecks_.isEmpty() && xChecks_[0])
        return true;
    for (qsizetype i = 0; i < checks_.size(); ++i) {
        if (!checks_[i] && !xChecks_[i])
            return false;
    }
    return true;
}

QString TaskDetailVerdict::buttonTitle() const
{
    return anyFail() ? QStringLiteral("수정요청 보내기") : QStringLiteral("테스트 완료");
}

void TaskDetailVerdict::setAdditionalInput(const QString& text)
{
    if (additionalInput_ == text)
        return;
    additionalInput_ = text;
    emit additionalInputChanged();
}

QStringList TaskDetailVerdict::fixRequestLines() const
{
    if (!task_)
        return {};
    QStringList lines;
    lines << QStringLiteral("[") + asOneLine(task_->title) + QStringLiteral("] 작업에서 문제가 발생했습니다.\n");
    const QStringList& items = task_->detail.checklistUx;
    for (qsizetype i = 0; i < items.size() && i < xChecks_.size(); ++i) {
        if (!xChecks_[i])
            continue;
        lines << QStringLiteral("❌ ") + asOneLine(items[i]);
        lines << (i == 0 ? QStringLiteral("→ 빌드 에러를 수정해주세요.\n") : QStringLiteral("→ 이 기능을 수정해주세요.\n"));
    }
    if (!task_->detail.modifiedFiles.isEmpty()) {
        QStringList files;
        for (const QString& file : task_->detail.modifiedFiles)
            files << asOneLine(file);
        lines << QStringLiteral("관련 파일: ") + files.join(QStringLiteral(", "));
    }
    return lines;
}

QString TaskDetailVerdict::fixRequestPrompt() const
{
    const QString joined = fixRequestLines().join(QLatin1Char('\n'));
    const QString explanation = withoutControlCharacters(additionalInput_);
    if (explanation.trimmed().isEmpty())
        return joined;
    return joined + QStringLiteral("\n\n[추가 설명]\n") + explanation;
}

QString TaskDetailVerdict::promptToSend() const
{
    return anyFail() ? fixRequestPrompt() : approvalText();
}

void TaskDetailVerdict::submit(WorkViewModel& viewModel)
{
    // Verdicts on two tasks are two inputs for claude, even two approvals.
    const std::optional<qint64> taskId = task_ ? std::optional<qint64>(task_->id) : std::nullopt;
    if (anyFail()) {
        const QString prompt = fixRequestPrompt();
        logLine(QStringLiteral("[TaskCardDetailPopup] - ") + prompt);
        viewModel.sendPrompt(prompt, taskId);
    } else {
        logLine(QStringLiteral("[TaskCardDetailPopup] - 테스트 완료"));
        viewModel.sendPrompt(approvalText(), taskId);
    }
    emit dismissRequested();
}

void TaskDetailVerdict::submit(QObject* viewModel)
{
    if (auto* model = qobject_cast<WorkViewModel*>(viewModel))
        submit(*model);
    else
        emit dismissRequested();
}

void TaskDetailVerdict::openXcode(QObject* viewModel)
{
    if (auto* model = qobject_cast<WorkViewModel*>(viewModel))
        model->xcodeService().openXcodeProject();
}

} // namespace orva
