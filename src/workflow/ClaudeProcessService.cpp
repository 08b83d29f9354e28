#include "workflow/ClaudeProcessService.h"

#include "platform/Log.h"
#include "platform/MainThread.h"
#include "platform/Utf8.h"
#include "workflow/ClaudeFailureReason.h"
#include "workflow/ClaudeSearch.h"
#include "workspace/BackgroundWork.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <utility>

#include <signal.h>
#include <unistd.h>

namespace orva {

namespace {

const QString kTag = QStringLiteral("[ClaudeProcessService]");

} // namespace

ClaudeProcessService& ClaudeProcessService::shared()
{
    // Never destroyed: it lives until the process ends. Its children are
    // ended on the application's way out (see the constructor).
    static ClaudeProcessService* instance = new ClaudeProcessService();
    return *instance;
}

ClaudeProcessService::ClaudeProcessService(QObject* parent)
    : QObject(parent)
{
    if (auto* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &ClaudeProcessService::shutdown);
}

ClaudeProcessService::~ClaudeProcessService()
{
    shutdown();
}

QVariantMap ClaudeProcessService::processEnvironmentMap() const
{
    QVariantMap map;
    if (!processEnvironment_)
        return map;
    const QStringList keys = processEnvironment_->keys();
    for (const QString& key : keys)
        map.insert(key, processEnvironment_->value(key));
    return map;
}

void ClaudeProcessService::setSearchEnvironment(std::optional<ClaudeSearchEnvironment> search)
{
    injectedSearch_ = std::move(search);
}

ClaudeSearchEnvironment ClaudeProcessService::searchEnvironment() const
{
    return injectedSearch_ ? *injectedSearch_ : ClaudeSearchEnvironment::platformDefaults();
}

void ClaudeProcessService::setRunning(bool running)
{
    if (isProcessRunning_ == running)
        return;
    isProcessRunning_ = running;
    emit isProcessRunningChanged();
}

void ClaudeProcessService::setWorkingDirectory(std::optional<QString> folder)
{
    if (workingDirectory_ == folder)
        return;
    workingDirectory_ = std::move(folder);
    emit workingDirectoryChanged();
}

void ClaudeProcessService::setFound(std::optional<QString> path, std::optional<QProcessEnvironment> environment)
{
    const bool pathChanged = claudeExecutablePath_ != path;
    const bool environmentChanged = processEnvironment_ != environment;
    claudeExecutablePath_ = std::move(path);
    processEnvironment_ = std::move(environment);
    if (pathChanged)
        emit claudeExecutablePathChanged();
    if (environmentChanged)
        emit processEnvironmentChanged();
}

std::optional<ClaudeProcessService::Target> ClaudeProcessService::currentTarget() const
{
    if (!claudeExecutablePath_ || !processEnvironment_ || !workingDirectory_)
        return std::nullopt;
    return Target{*claudeExecutablePath_, *processEnvironment_, *workingDirectory_};
}

std::optional<ClaudeProcessError> ClaudeProcessService::initialize()
{
    if (claudeExecutablePath_ || processEnvironment_)
        return std::nullopt;
    const ClaudeSearchEnvironment search = searchEnvironment();
    const auto path = claude_search::findClaudeExecutable(search);
    if (!path)
        return ClaudeProcessError::initializationFailed(ClaudeProcessError::notFoundMessage());
    setFound(*path, claude_search::buildProcessEnvironment(*path, search));
    return std::nullopt;
}

void ClaudeProcessService::reset()
{
    setRunning(false);
    setWorkingDirectory(std::nullopt);
    setFound(std::nullopt, std::nullopt);
}

void ClaudeProcessService::startSession(const QString& workingDirectory, Callback done, QObject* context)
{
    setWorkingDirectory(workingDirectory);
    const CallbackContext caller(context);
    auto fail = [this, done, caller](const ClaudeProcessError& error) {
        reset();
        deliver(done, caller, ClaudeResult::failure(error));
        finishJob();
    };
    auto sendOpening = [this, workingDirectory, done, caller, fail] {
        if (!claudeExecutablePath_ || !processEnvironment_) {
            fail(ClaudeProcessError::processNotRunning());
            return;
        }
        const Target target{*claudeExecutablePath_, *processEnvironment_, workingDirectory};
        runChild(target, buildClaudeArguments(openingPrompt(), false, true),
                 [this, done, caller](const ClaudeResult& result) {
                     if (!result.ok()) {
                         reset();
                     } else {
                         setRunning(true);
                     }
                     deliver(done, caller, result);
                     finishJob();
                 });
    };
    enqueue([this, workingDirectory, sendOpening, fail] {
        // A later startSession may have been queued behind this one; this
        // opening runs in the folder it was given.
        setWorkingDirectory(workingDirectory);
        if (claudeExecutablePath_ || processEnvironment_) {
            sendOpening();
            return;
        }
        searchInBackground([this, sendOpening, fail](std::optional<QString> path, QProcessEnvironment environment) {
            if (!path) {
                fail(ClaudeProcessError::initializationFailed(ClaudeProcessError::notFoundMessage()));
                return;
            }
            setFound(*path, std::move(environment));
            sendOpening();
        });
    });
}

void ClaudeProcessService::sendInterviewAnswer(const QString& answer, Callback done, QObject* context)
{
    if (!isProcessRunning_) {
        deliverLater(std::move(done), context, ClaudeResult::failure(ClaudeProcessError::processNotRunning()));
        return;
    }
    Callback cleaned = [done](const ClaudeResult& result) {
        if (!done)
            return;
        if (!result.ok()) {
            done(result);
            return;
        }
        done(ClaudeResult::success(stripANSIEscapes(result.text)));
    };
    sendMessage(interviewPrompt(answer), true, true, std::move(cleaned), context);
}

void ClaudeProcessService::generatePRD(const QString& documentPath, Callback done, QObject* context)
{
    if (!isProcessRunning_) {
        deliverLater(std::move(done), context, ClaudeResult::failure(ClaudeProcessError::processNotRunning()));
        return;
    }
    Callback dropped = [done](const ClaudeResult& result) {
        if (!done)
            return;
        done(result.ok() ? ClaudeResult::success(QString()) : result);
    };
    sendMessage(documentPrompt(documentPath), true, true, std::move(dropped), context);
}

void ClaudeProcessService::sendMessage(const QString& message, bool continueSession, bool skipPermissions,
                                       Callback done, QObject* context)
{
    const auto target = currentTarget();
    if (!target) {
        deliverLater(std::move(done), context, ClaudeResult::failure(ClaudeProcessError::processNotRunning()));
        return;
    }
    const CallbackContext caller(context);
    const QStringList arguments = buildClaudeArguments(message, continueSession, skipPermissions);
    enqueue([this, target = *target, arguments, done, caller] {
        runChild(target, arguments, [this, done, caller](const ClaudeResult& result) {
            deliver(done, caller, result);
            finishJob();
        });
    });
}

void ClaudeProcessService::enqueue(Job job)
{
    if (stopped_)
        return;
    queue_.push_back(std::move(job));
    // Started from the event loop, so that no callback runs inside the call
    // that made the request.
    QMetaObject::invokeMethod(this, [this] { runNext(); }, Qt::QueuedConnection);
}

void ClaudeProcessService::runNext()
{
    if (stopped_ || busy_ || queue_.empty())
        return;
    busy_ = true;
    Job job = std::move(queue_.front());
    queue_.pop_front();
    job();
}

void ClaudeProcessService::finishJob()
{
    busy_ = false;
    if (!queue_.empty())
        QMetaObject::invokeMethod(this, [this] { runNext(); }, Qt::QueuedConnection);
}

void ClaudeProcessService::deliver(const Callback& done, const CallbackContext& caller, const ClaudeResult& result)
{
    if (done && !caller.isGone())
        done(result);
}

void ClaudeProcessService::deliverLater(Callback done, QObject* context, ClaudeResult result)
{
    const CallbackContext caller(context);
    QMetaObject::invokeMethod(
        this, [this, done = std::move(done), caller, result = std::move(result)] {
            deliver(done, caller, result);
        },
        Qt::QueuedConnection);
}

namespace {

// What one child has written so far, and how its run stands.
struct ChildRun {
    QByteArray output;
    QByteArray errorOutput;
    bool settled = false;
    // Past the limit: the child is being ended and reports this once gone.
    std::optional<ClaudeProcessError> overflow;
};

QString streamName(ClaudeProcessError::Stream stream)
{
    return stream == ClaudeProcessError::Stream::standardOutput ? QStringLiteral("standard output")
                                                                : QStringLiteral("standard error");
}

// The child's standard error for the log: decoded whole when short (not
// UTF-8: "Unknown error"), an excerpt when long.
QString errorOutputForLog(const QByteArray& errorOutput)
{
    if (errorOutput.size() > kLogExcerptLimit)
        return logExcerpt(errorOutput);
    return decodeUtf8Strict(errorOutput, ByteOrderMark::keep).value_or(QStringLiteral("Unknown error"));
}

} // namespace

void ClaudeProcessService::runChild(const Target& target, const QStringList& arguments,
                                    std::function<void(ClaudeResult)> done)
{
    auto* process = new QProcess(this);
    process->setProgram(target.program);
    process->setArguments(arguments);
    process->setWorkingDirectory(target.workingDirectory);
    process->setProcessEnvironment(target.environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    // The child never reads from the application.
    process->setStandardInputFile(QProcess::nullDevice());
    // Its own process group, so that quitting can end whatever it started.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });

    auto run = std::make_shared<ChildRun>();

    // Past the limit: no more is read (the pipes are closed, so a writer gets
    // EPIPE), the child and what it started are asked to end, and killed if
    // they have not within two seconds. The failure is reported once the
    // child is gone, so that the next request never runs beside it.
    auto stop = [process, run](ClaudeProcessError::Stream stream, const QByteArray& kept) {
        run->overflow = ClaudeProcessError::outputTooLarge(stream, kOutputLimitBytes);
        logLine(kTag + QStringLiteral(" Output went past the limit of ") + QString::number(kOutputLimitBytes / (1024 * 1024))
                + QStringLiteral(" MiB on ") + streamName(stream) + QStringLiteral("; stopping the process"));
        logLine(kTag + QStringLiteral(" Output excerpt: ") + logExcerpt(kept));
        run->output = QByteArray();
        run->errorOutput = QByteArray();
        process->closeReadChannel(QProcess::StandardOutput);
        process->closeReadChannel(QProcess::StandardError);
        const auto pid = static_cast<pid_t>(process->processId());
        if (pid <= 0)
            return;
        ::kill(-pid, SIGTERM);
        ::kill(pid, SIGTERM);
        QTimer::singleShot(2000, process, [pid] {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
        });
    };
    // Takes what a stream has brought since the last time, as it arrives:
    // the reply is never read in one go at the end, and it is held only up to
    // the limit. Returns false once past it.
    auto take = [process, run, stop](QProcess::ProcessChannel channel) {
        if (run->overflow || run->settled)
            return false;
        const bool isOutput = channel == QProcess::StandardOutput;
        QByteArray& buffer = isOutput ? run->output : run->errorOutput;
        const QByteArray chunk = isOutput ? process->readAllStandardOutput() : process->readAllStandardError();
        if (buffer.size() + chunk.size() > kOutputLimitBytes) {
            const qsizetype room = kOutputLimitBytes - buffer.size();
            buffer.append(chunk.first(room));
            stop(isOutput ? ClaudeProcessError::Stream::standardOutput : ClaudeProcessError::Stream::standardError,
                 buffer);
            return false;
        }
        buffer.append(chunk);
        return true;
    };
    connect(process, &QProcess::readyReadStandardOutput, this, [take] { take(QProcess::StandardOutput); });
    connect(process, &QProcess::readyReadStandardError, this, [take] { take(QProcess::StandardError); });

    connect(process, &QProcess::errorOccurred, this, [this, process, run, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || run->settled)
            return;
        run->settled = true;
        if (child_ == process)
            child_ = nullptr;
        const QString reason = process->errorString();
        process->deleteLater();
        done(ClaudeResult::failure(ClaudeProcessError::initializationFailed(QStringLiteral("Failed to launch: ") + reason)));
    });
    // QProcess reads both pipes while the child runs and reports the end as
    // soon as the child itself has exited, even when a process it started
    // still holds the pipes open: the reply is what was written until then.
    connect(process, &QProcess::finished, this, [this, process, run, take, done](int exitCode, QProcess::ExitStatus) {
        if (run->settled)
            return;
        // What is left in the pipes, still within the limit.
        if (take(QProcess::StandardOutput))
            take(QProcess::StandardError);
        run->settled = true;
        if (child_ == process)
            child_ = nullptr;
        process->deleteLater();
        if (run->overflow) {
            done(ClaudeResult::failure(*run->overflow));
            return;
        }
        const QByteArray output = std::exchange(run->output, QByteArray());
        const QByteArray errorOutput = std::exchange(run->errorOutput, QByteArray());
        // exitCode is the exit status, or the signal's number after a crash.
        if (exitCode != 0) {
            logLine(kTag + QStringLiteral(" Process failed with exit code ") + QString::number(exitCode));
            logLine(kTag + QStringLiteral(" Error output: ") + errorOutputForLog(errorOutput));
            const QString reason = claudeFailureReason(output, errorOutput);
            if (!reason.isEmpty())
                logLine(kTag + QStringLiteral(" Reason: ") + reason);
            done(ClaudeResult::failure(ClaudeProcessError::processTerminated(exitCode).withReason(reason)));
            return;
        }
        const auto text = decodeUtf8Strict(output, ByteOrderMark::keep);
        if (!text || text->isEmpty()) {
            const QString reason = claudeFailureReason(output, errorOutput);
            logLine(kTag + QStringLiteral(" Invalid response (") + QString::number(output.size())
                    + QStringLiteral(" bytes on standard output)") + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
            done(ClaudeResult::failure(ClaudeProcessError::invalidResponse().withReason(reason)));
            return;
        }
        done(ClaudeResult::success(*text));
    });
    child_ = process;
    process->start();
}

void ClaudeProcessService::searchInBackground(std::function<void(std::optional<QString>, QProcessEnvironment)> done)
{
    waitForSearch(); // the previous search has already reported
    const ClaudeSearchEnvironment search = searchEnvironment();
    probeControl_ = std::make_shared<ClaudeProbeControl>();
    // Settled when the search has finished, or was dropped unstarted because
    // the application is quitting.
    auto finished = std::make_shared<std::promise<void>>();
    searchFinished_ = finished->get_future();
    runInBackground([this, search, control = probeControl_, done = std::move(done), finished] {
        const auto path = claude_search::findClaudeExecutable(search, control.get());
        QProcessEnvironment environment;
        if (path)
            environment = claude_search::buildProcessEnvironment(*path, search, control.get());
        QMetaObject::invokeMethod(
            this, [this, path, environment, done] {
                if (!stopped_)
                    done(path, environment);
            },
            Qt::QueuedConnection);
        finished->set_value();
    });
}

void ClaudeProcessService::waitForSearch()
{
    if (searchFinished_.valid())
        searchFinished_.wait();
    searchFinished_ = {};
}

void ClaudeProcessService::shutdown()
{
    stopped_ = true;
    queue_.clear();
    if (probeControl_)
        probeControl_->cancel();
    if (QProcess* process = child_) {
        child_ = nullptr;
        disconnect(process, nullptr, this, nullptr);
        const auto pid = static_cast<pid_t>(process->processId());
        if (pid > 0) {
            ::kill(-pid, SIGTERM);
            ::kill(pid, SIGTERM);
            if (!process->waitForFinished(2000)) {
                ::kill(-pid, SIGKILL);
                ::kill(pid, SIGKILL);
                process->waitForFinished(2000);
            }
        }
        delete process;
    }
    waitForSearch();
}

QStringList ClaudeProcessService::buildClaudeArguments(const QString& prompt, bool continueSession,
                                                       bool skipPermissions)
{
    QStringList arguments{QStringLiteral("-p")};
    if (continueSession)
        arguments << QStringLiteral("-c");
    arguments << prompt;
    if (skipPermissions)
        arguments << QStringLiteral("--dangerously-skip-permissions");
    return arguments;
}

QString ClaudeProcessService::stripANSIEscapes(const QString& text)
{
    static const QRegularExpression escape(QStringLiteral("\\x1B\\[[0-9;]*[a-zA-Z]"));
    QString cleaned = text;
    cleaned.remove(escape);
    return cleaned.trimmed();
}

QString ClaudeProcessService::openingPrompt()
{
    return QStringList{
        QStringLiteral("<system>"),
        QStringLiteral("1. Read @ZAVE/system/CLAUDE_SYSTEM.md and follow all instructions."),
        QStringLiteral("2. Following the flow in @ZAVE/system/system/FLOWS_QA.md."),
        QStringLiteral("3. Begin at @ZAVE/system/agents/agent.discovery.md."),
        QStringLiteral("</system>"),
    }.join(u'\n');
}

QString ClaudeProcessService::interviewPrompt(const QString& answer)
{
    return QStringList{
        QStringLiteral("<User> ") + answer + QStringLiteral(" </User>"),
        QString(),
        QStringLiteral("<System>"),
        QStringLiteral("- Follow @ZAVE/system/system/CLAUDE_ENTRYPOINT.md flow instructions"),
        QStringLiteral("- Update @ZAVE/system/state/context.json after extracting information"),
        QStringLiteral("- Once Q7 is completed, please change the \u201Cstatus\u201D field in "
                       "@ZAVE/interview_state.json to \u201Ccompleted\u201D."),
        QStringLiteral("</System>"),
        QStringLiteral("<Output>"),
        QStringLiteral("1. **Language:** Respond EXCLUSIVELY in Korean."),
        QStringLiteral("2. **Strictly No Markdown:** Do NOT use any Markdown syntax."),
        QStringLiteral("   - No asterisks (**) for bolding."),
        QStringLiteral("   - No hashes (#) for headers."),
        QStringLiteral("   - No hyphens (-) or asterisks (*) for list items (use simple bullets like '\u2022' or "
                       "numbers '1.' if necessary, but purely as text)."),
        QStringLiteral("3. **Formatting for Readability:**"),
        QStringLiteral("   - Use line breaks (newlines) generously to separate sections."),
        QStringLiteral("   - Use whitespace to create a visual hierarchy."),
        QStringLiteral("   - Ensure the text looks neat and organized as plain text."),
        QString(),
        QStringLiteral("Provide only the final raw text message. From this turn onwards, only information that "
                       "the user must receive immediately will be conveyed in Korean at the end."),
        QStringLiteral("</Output>"),
    }.join(u'\n');
}

QString ClaudeProcessService::documentPrompt(const QString& documentPath)
{
    return QStringList{
        QStringLiteral("<System>"),
        QStringLiteral("Read ") + documentPath
            + QStringLiteral(" and create 'PRD.md' in @ZAVE/project. Then read @ZAVE/system/agents/agent.docs.RQ.md "
                             "and create 'RQ.md' in @ZAVE/project."),
        QStringLiteral("Create both sequentially this turn."),
        QStringLiteral("<System>"),
    }.join(u'\n');
}

} // namespace orva
