#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace orva::test {

// What every Qt Quick Test reaches through its `helpers` object: an input
// method's composition and commit, and standard output captured between two
// calls. Each test runner derives its own helpers from it.
class QuickTestHelpers : public QObject {
    Q_OBJECT
public:
    explicit QuickTestHelpers(QObject* parent = nullptr);
    ~QuickTestHelpers() override;

    // An input method composing `preedit` in `item` (a focused editor).
    Q_INVOKABLE void compose(QObject* item, const QString& preedit) const;
    // An input method committing `text`, ending any composition.
    Q_INVOKABLE void commit(QObject* item, const QString& text) const;

    // Standard output written between the two calls.
    Q_INVOKABLE void startCapturingOutput();
    Q_INVOKABLE QString stopCapturingOutput();

private:
    std::unique_ptr<QTemporaryFile> capture_;
    int savedStdout_ = -1;
};

} // namespace orva::test
