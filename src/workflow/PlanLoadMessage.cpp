#include "workflow/PlanLoadMessage.h"

#include "workspace/FileOps.h"

namespace orva {

QString readableSize(qint64 bytes)
{
    static const char* const units[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB"};
    double value = double(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < 6) {
        value /= 1024.0;
        ++unit;
    }
    if (unit == 0)
        return QStringLiteral("%1 B").arg(bytes);
    return QStringLiteral("%1 %2").arg(value, 0, 'f', value < 10 ? 1 : 0).arg(QLatin1String(units[unit]));
}

namespace {
// The reader's words end as a sentence, so the next one does not run on.
QString sentence(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.endsWith(QLatin1Char('.')) ? trimmed : trimmed + QLatin1Char('.');
}
} // namespace

QString planLoadMessage(const TaskFileError& error, bool showsLastGoodPlan)
{
    QString reason;
    switch (error.kind) {
    case TaskFileError::Kind::tooLarge:
        reason = QStringLiteral("파일이 너무 큽니다 (%1, 최대 %2).")
                     .arg(readableSize(error.size), readableSize(fileops::kMaxReadSize));
        break;
    case TaskFileError::Kind::notRegularFile:
        reason = QStringLiteral("그 자리에 일반 파일이 아닌 것(폴더, FIFO 또는 장치)이 있습니다.");
        break;
    case TaskFileError::Kind::unreadable:
        reason = QStringLiteral("파일을 열 수 없습니다: ") + sentence(error.detail);
        break;
    case TaskFileError::Kind::invalid:
        reason = QStringLiteral("올바른 작업 계획이 아닙니다: ") + sentence(error.detail);
        break;
    }
    const QString outcome = showsLastGoodPlan ? QStringLiteral("마지막으로 읽은 계획을 그대로 보여줍니다.")
                                              : QStringLiteral("읽을 수 있는 계획이 저장되면 바로 보여줍니다.");
    return QStringLiteral("작업 계획(Task.json)을 읽을 수 없습니다. ") + reason + QLatin1Char(' ') + outcome;
}

} // namespace orva
