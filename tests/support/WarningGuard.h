#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace orva::test {

// Installs a Qt message handler that records every warning, critical and fatal
// message (QML warnings included) besides printing it. Tests fail when any was
// recorded: GoogleTest tests through the listener installed by the shared main,
// Qt Quick Test runs through the exit status of their main.
// A sink, when given, receives each unexpected message first; when it returns
// true the message is handled there and not recorded.
void installWarningGuard(std::function<bool(const QString&)> sink = {});

// Messages recorded since the last call; empties the record.
QStringList takeRecordedWarnings();

// Lets a test declare a warning it provokes on purpose (a substring match).
void expectWarning(const QString& substring);

} // namespace orva::test
