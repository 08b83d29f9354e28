#pragma once

// Helpers shared by the prompt-document checks: reading the shipped documents
// and cutting the fenced blocks out of them.

#include <QByteArray>
#include <QList>
#include <QString>

namespace orva::test {

// The bytes of a shipped prompt document (the build's copy of resources/).
// Fails the running test and returns an empty array when it cannot be read.
QByteArray readResource(const QString& name);

// The bodies of the fenced blocks of `markdown` whose info string equals
// `language` ("json", "text", ...), in document order.
QList<QByteArray> fencedBlocks(const QByteArray& markdown, const QString& language);

// The first checklist step of every task: the build check. Every document
// that describes the plan, and the checker script, must spell it this way.
inline const char* const kBuildStep = "Xcode에서 ⌘ + R을 누르면 오류 없이 빌드되고 앱이 실행된다";

} // namespace orva::test
