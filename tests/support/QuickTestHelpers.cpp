#include "support/QuickTestHelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace orva::test {

QuickTestHelpers::QuickTestHelpers(QObject* parent)
    : QObject(parent)
{
}

QuickTestHelpers::~QuickTestHelpers() = default;

void QuickTestHelpers::compose(QObject* item, const QString& preedit) const
{
    QList<QInputMethodEvent::Attribute> attributes;
    attributes.append(QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, static_cast<int>(preedit.size()), 1));
    QInputMethodEvent event(preedit, attributes);
    QCoreApplication::sendEvent(item, &event);
}

void QuickTestHelpers::commit(QObject* item, const QString& text) const
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(item, &event);
}

void QuickTestHelpers::startCapturingOutput()
{
    std::fflush(stdout);
    capture_ = std::make_unique<QTemporaryFile>();
    capture_->open();
    savedStdout_ = ::dup(STDOUT_FILENO);
    ::dup2(capture_->handle(), STDOUT_FILENO);
}

QString QuickTestHelpers::stopCapturingOutput()
{
    if (!capture_)
        return {};
    std::fflush(stdout);
    ::dup2(savedStdout_, STDOUT_FILENO);
    ::close(savedStdout_);
    savedStdout_ = -1;
    QFile read(capture_->fileName());
    read.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(read.readAll());
    capture_.reset();
    return text;
}

} // namespace orva::test
