#pragma once

#include "support/Waiting.h"

#include <QObject>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace orva::test {

// What every Qt Quick Test reaches through its `helpers` object: an input
// method's composition and commit, standard output captured between two
// calls, and the deadline of its waits. Each test runner derives its own
// helpers from it.
class QuickTestHelpers : public QObject {
    Q_OBJECT
    // How long a wait for a condition may take (ms), for tryCompare and
    // tryVerify: the deadline of every wait (support/Waiting.h).
    Q_PROPERTY(int waitDeadline READ waitDeadline CONSTANT)
public:
    explicit QuickTestHelpers(QObject* parent = nullptr);
    ~QuickTestHelpers() override;

    // An input method composing `preedit` in `item` (a focused editor).
    Q_INVOKABLE void compose(QObject* item, const QString& preedit) const;
    // An input method committing `text`, ending any composition.
    Q_INVOKABLE void commit(QObject* item, const QString& text) const;

    int waitDeadline() const { return kWaitDeadlineMs; }

    // Standard output written between the two calls.
    Q_INVOKABLE void startCapturingOutput();
    Q_INVOKABLE QString stopCapturingOutput();

private:
    std::unique_ptr<QTemporaryFile> capture_;
    int savedStdout_ = -1;
};

} // namespace orva::test
