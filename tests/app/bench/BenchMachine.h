#pragma once

// What the application benchmarks share: a temporary machine nobody has used
// Orva on (folders, environment, the fakes first in PATH), waiting without
// spinning, and the clocks and memory figures they report.

#include <QString>

#include <functional>

namespace orva::bench {

// The variable that names the temporary machine's root; children inherit it.
inline constexpr char kRootVariable[] = "ORVA_BENCH_ROOT";

// CPU time of the calling thread, in seconds.
double threadCpuSeconds();

// A field of /proc/<pid>/status ("self" for this process) in MiB, such as
// VmRSS or VmHWM; -1 when it cannot be read.
double statusMiB(const QString& pid, const char* field);
inline double ownMiB(const char* field) { return statusMiB(QStringLiteral("self"), field); }

// Runs the event loop for `ms` milliseconds.
void idleFor(int ms);

// Runs the event loop until the condition holds or `timeoutMs` pass, looking
// every `pollMs`; returns whether it holds.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs = 10);

QString rootFolder(const QString& root, const char* path);
// A folder of the machine installed last.
QString rootFolder(const char* path);

// Folders and the environment of a fresh machine under `root`, with the fakes
// first in PATH. `claude` is the fake behind a wrapper in root/bin; the shell
// line `promptCall` runs first for a prompt call ("-p"), to hold it or to
// print a prepared reply.
void installEnvironment(const QString& root, const QString& promptCall);

// The application's own folders for this machine; only the prompt documents
// come from the build tree, since the benchmarks are not installed beside them.
void installContext();

} // namespace orva::bench
