// Qt Quick Test main for the shared components: registers the two static QML
// modules and a few helpers. Inside a test every TestCase fails on any
// warning (failOnWarning in its init()); the guard installed here fails the
// run for warnings raised before the test log takes over the message handler.
#include "support/WarningGuard.h"
#include "ui/TaskValues.h"
#include "ui/design/DesignTokens.h"

#include <QCoreApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTemporaryFile>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>

#include <cstdio>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(Orva_DesignPlugin)
Q_IMPORT_QML_PLUGIN(Orva_ComponentsPlugin)

namespace {

// Test helpers reachable from QML as `helpers`.
class Helpers : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE QVariant task(const QString& title, const QString& titleUx, const QString& summaryUx, int status,
                              int testStatus) const
    {
        return orva::test::taskValue(7, title, titleUx, summaryUx, status, testStatus);
    }

    // An input method composing `preedit` in the focused editor.
    Q_INVOKABLE void compose(QObject* item, const QString& preedit) const
    {
        QList<QInputMethodEvent::Attribute> attributes;
        attributes.append(QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, preedit.size(), 1));
        QInputMethodEvent event(preedit, attributes);
        QCoreApplication::sendEvent(item, &event);
    }
    // An input method committing `text` (ending any composition).
    Q_INVOKABLE void commit(QObject* item, const QString& text) const
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(item, &event);
    }

    // Standard output captured between the two calls.
    Q_INVOKABLE void startCapturingOutput()
    {
        std::fflush(stdout);
        file_ = std::make_unique<QTemporaryFile>();
        file_->open();
        saved_ = ::dup(STDOUT_FILENO);
        ::dup2(file_->handle(), STDOUT_FILENO);
    }
    Q_INVOKABLE QString stopCapturingOutput()
    {
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
        QFile read(file_->fileName());
        read.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(read.readAll());
        file_.reset();
        return text;
    }

private:
    std::unique_ptr<QTemporaryFile> file_;
    int saved_ = -1;
};

class Setup : public QObject {
    Q_OBJECT
public slots:
    void applicationAvailable() { orva::DesignTokens::loadDesignFonts(); }
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        engine->rootContext()->setContextProperty(QStringLiteral("helpers"), &helpers_);
    }

private:
    Helpers helpers_;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    orva::test::installWarningGuard();
    Setup setup;
    const int status = quick_test_main_with_setup(argc, argv, "orva_ui_quick_test", nullptr, &setup);
    const QStringList warnings = orva::test::takeRecordedWarnings();
    for (const QString& line : warnings)
        std::fprintf(stderr, "Unexpected Qt warning: %s\n", qPrintable(line));
    return status != 0 ? status : (warnings.isEmpty() ? 0 : 1);
}

#include "QuickTestMain.moc"
