#pragma once

#include "platform/MainThread.h"
#include "workflow/ClaudeProcessError.h"
#include "workflow/ClaudeSearchEnvironment.h"

#include <QObject>
#include <QPointer>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>

class QProcess;

namespace orva {

class ClaudeProbeControl;

// The outcome of one request to `claude`: the reply text, or the error.
struct ClaudeResult {
    QString text;                             // the reply (empty for generatePRD)
    std::optional<ClaudeProcessError> error;  // set when the request failed

    bool ok() const { return !error.has_value(); }
    static ClaudeResult success(QString text) { return {std::move(text), std::nullopt}; }
    static ClaudeResult failure(ClaudeProcessError error) { return {QString(), std::move(error)}; }
};

// Finds the `claude` executable and runs it, one child per prompt, with the
// application's prompts.
//
// Every request returns at once and completes exactly once through its
// callback, always on the main thread and never inside the call itself. When
// a context object is given, the callback is skipped if that object has been
// destroyed by then. Requests never overlap: a request made while another
// child runs waits for it, and requests run in the order they were made.
// Properties change on the main thread only.
class ClaudeProcessService : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isProcessRunning READ isProcessRunning NOTIFY isProcessRunningChanged)
    Q_PROPERTY(QString claudeExecutablePath READ claudeExecutablePath NOTIFY claudeExecutablePathChanged)
    Q_PROPERTY(QVariantMap processEnvironment READ processEnvironmentMap NOTIFY processEnvironmentChanged)
    Q_PROPERTY(QString workingDirectory READ workingDirectory NOTIFY workingDirectoryChanged)

public:
    using Callback = std::function<void(const ClaudeResult&)>;

    // The most a child may write to each of its two streams. No real reply
    // comes near it (a long interview answer is a few kilobytes, a reply
    // that writes files into the workspace says little more); past it the
    // call fails with outputTooLarge and the child is ended. It also bounds
    // what a call holds in memory: the two streams and the decoded reply.
    static constexpr qint64 kOutputLimitBytes = 16 * 1024 * 1024;

    // The process-wide instance, created on first use (on the main thread)
    // and kept until the process ends. Its children are ended when the
    // application quits.
    static ClaudeProcessService& shared();

    // Tests make instances of their own; the application uses shared().
    explicit ClaudeProcessService(QObject* parent = nullptr);
    ~ClaudeProcessService() override;

    // The conversation of a project is open.
    bool isProcessRunning() const { return isProcessRunning_; }
    // The executable found by the search; a null string when none.
    QString claudeExecutablePath() const { return claudeExecutablePath_.value_or(QString()); }
    bool hasExecutable() const { return claudeExecutablePath_.has_value(); }
    // The complete environment of every child; nullopt when none.
    std::optional<QProcessEnvironment> processEnvironment() const { return processEnvironment_; }
    QVariantMap processEnvironmentMap() const;
    // The current folder of every child; a null string when none.
    QString workingDirectory() const { return workingDirectory_.value_or(QString()); }

    // What the search looks at. Unset, each search uses
    // ClaudeSearchEnvironment::platformDefaults() taken when it starts.
    void setSearchEnvironment(std::optional<ClaudeSearchEnvironment> search);
    ClaudeSearchEnvironment searchEnvironment() const;

    // Synchronous: unless both the executable and the environment are
    // present, searches (running the user's shell, blocking the caller) and
    // stores both. Returns the not-found error when nothing is found. Call on
    // the main thread; startSession() does the same search off it.
    std::optional<ClaudeProcessError> initialize();

    // Back to the initial state: not running, no working directory, no
    // executable, no environment.
    void reset();

    // Stores the folder, finds `claude` if not yet found (off the main
    // thread), sends the opening prompt without "-c" and marks the service
    // running. Completes with the raw reply. Any failure resets the service.
    void startSession(const QString& workingDirectory, Callback done, QObject* context = nullptr);

    // Requires a running service. Wraps the answer in the interview prompt,
    // sends it with "-c"; completes with the reply without escape sequences,
    // trimmed.
    void sendInterviewAnswer(const QString& answer, Callback done, QObject* context = nullptr);

    // Requires a running service. Asks for the two product documents; the
    // reply is dropped (the result's text is empty on success).
    void generatePRD(const QString& documentPath, Callback done, QObject* context = nullptr);

    // Runs one child with the prompt; needs an executable, an environment and
    // a working directory (taken when called), not a running service.
    // Completes with the raw standard output.
    void sendMessage(const QString& message, bool continueSession, bool skipPermissions, Callback done,
                     QObject* context = nullptr);

    // Ends the running child (with everything it started) and any shell
    // probe, drops the waiting requests without calling them back, and
    // starts nothing more. Runs when the application quits.
    void shutdown();

    // A child or a search is under way, or requests are waiting.
    bool isBusy() const { return busy_ || !queue_.empty(); }

    // The pieces of a call, exposed for tests and callers that log them.
    static QStringList buildClaudeArguments(const QString& prompt, bool continueSession, bool skipPermissions);
    static QString stripANSIEscapes(const QString& text);
    static QString openingPrompt();
    static QString interviewPrompt(const QString& answer);
    static QString documentPrompt(const QString& documentPath);

signals:
    void isProcessRunningChanged();
    void claudeExecutablePathChanged();
    void processEnvironmentChanged();
    void workingDirectoryChanged();

private:
    struct Target {
        QString program;
        QProcessEnvironment environment;
        QString workingDirectory;
    };
    using Job = std::function<void()>;

    void setRunning(bool running);
    void setWorkingDirectory(std::optional<QString> folder);
    void setFound(std::optional<QString> path, std::optional<QProcessEnvironment> environment);
    std::optional<Target> currentTarget() const;

    void enqueue(Job job);
    void runNext();
    void finishJob();

    void runChild(const Target& target, const QStringList& arguments, std::function<void(ClaudeResult)> done);
    void searchInBackground(std::function<void(std::optional<QString>, QProcessEnvironment)> done);
    void waitForSearch();
    void deliver(const Callback& done, const CallbackContext& caller, const ClaudeResult& result);
    void deliverLater(Callback done, QObject* context, ClaudeResult result);

    bool isProcessRunning_ = false;
    std::optional<QString> claudeExecutablePath_;
    std::optional<QProcessEnvironment> processEnvironment_;
    std::optional<QString> workingDirectory_;
    std::optional<ClaudeSearchEnvironment> injectedSearch_;

    std::deque<Job> queue_;
    bool busy_ = false;
    bool stopped_ = false;
    QProcess* child_ = nullptr;
    std::future<void> searchFinished_;
    std::shared_ptr<ClaudeProbeControl> probeControl_;
};

} // namespace orva
