#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace orva {

// Empties the clipboard, then leaves `text` on it as its only content, as
// plain text.
void copyPlainText(const QString& text);

// A copy button's mark: `copy` puts the text on the clipboard and sets
// `copied`; every copy schedules its own reset of `copied`, `resetDelay`
// milliseconds (2 s) later, so of two copies 1.5 s apart the first reset
// clears the mark 0.5 s after the second copy. A reset due after the mark
// is gone does nothing.
class CopiedMark : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool copied READ copied NOTIFY copiedChanged)
    Q_PROPERTY(int resetDelay READ resetDelay WRITE setResetDelay NOTIFY resetDelayChanged)

public:
    static constexpr int kResetDelayMs = 2000;
    // Runs `reset` after `delayMs`, unless `context` is gone by then.
    using Scheduler = std::function<void(int delayMs, QObject* context, std::function<void()> reset)>;

    explicit CopiedMark(QObject* parent = nullptr);

    bool copied() const { return copied_; }
    int resetDelay() const { return resetDelay_; }
    void setResetDelay(int milliseconds);
    // Tests hold the resets: the default runs them on a single-shot timer.
    void setScheduler(Scheduler scheduler);

    Q_INVOKABLE void copy(const QString& text);

signals:
    void copiedChanged();
    void resetDelayChanged();

private:
    void setCopied(bool value);

    bool copied_ = false;
    int resetDelay_ = kResetDelayMs;
    Scheduler scheduler_;
};

} // namespace orva
