#include "ui/screens/dashboard/PlainTextClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

namespace orva {

void copyPlainText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    auto* data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data);
}

CopiedMark::CopiedMark(QObject* parent)
    : QObject(parent)
    , scheduler_([](int delayMs, QObject* context, std::function<void()> reset) {
        QTimer::singleShot(delayMs, context, std::move(reset));
    })
{
}

void CopiedMark::setResetDelay(int milliseconds)
{
    if (resetDelay_ == milliseconds)
        return;
    resetDelay_ = milliseconds;
    emit resetDelayChanged();
}

void CopiedMark::setScheduler(Scheduler scheduler) { scheduler_ = std::move(scheduler); }

void CopiedMark::copy(const QString& text)
{
    copyPlainText(text);
    setCopied(true);
    scheduler_(resetDelay_, this, [this] { setCopied(false); });
}

void CopiedMark::setCopied(bool value)
{
    if (copied_ == value)
        return;
    copied_ = value;
    emit copiedChanged();
}

} // namespace orva
