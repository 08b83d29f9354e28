#include "workspace/FolderPanel.h"

#include "platform/Log.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace orva {

namespace {
// Qt dialogs need the widgets application; without one the panel cannot be
// shown and counts as cancelled.
bool widgetsAvailable()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void addMessage(QFileDialog* dialog, const QString& message)
{
    if (message.isEmpty())
        return;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        auto* label = new QLabel(message, dialog);
        label->setWordWrap(true);
        grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void run(QFileDialog* dialog, FolderPanel::Completion completion)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, completion = std::move(completion)](int result) {
        const QStringList files = dialog->selectedFiles();
        const bool ok = result == QDialog::Accepted && !files.isEmpty();
        completion(ok ? PanelResponse::ok : PanelResponse::cancel, ok ? files.first() : QString());
    });
    dialog->open();
}
} // namespace

void QtFolderPanel::beginOpenPanel(const OpenPanelOptions& options, Completion completion)
{
    if (!widgetsAvailable()) {
        logLine(QStringLiteral("[DirectoryAccessService] Folder panels need a widgets application"));
        completion(PanelResponse::cancel, {});
        return;
    }
    auto* dialog = new QFileDialog(nullptr, options.title, options.directory);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setFileMode(options.canChooseFiles ? QFileDialog::ExistingFile : QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, !options.canChooseFiles);
    dialog->setOption(QFileDialog::ReadOnly, !options.canCreateDirectories);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setLabelText(QFileDialog::Accept, options.prompt);
    addMessage(dialog, options.message);
    run(dialog, std::move(completion));
}

void QtFolderPanel::beginSavePanel(const SavePanelOptions& options, Completion completion)
{
    if (!widgetsAvailable()) {
        logLine(QStringLiteral("[DirectoryAccessService] Folder panels need a widgets application"));
        completion(PanelResponse::cancel, {});
        return;
    }
    auto* dialog = new QFileDialog(nullptr, options.title, options.directory.value_or(QString()));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setOption(QFileDialog::ReadOnly, !options.canCreateDirectories);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setLabelText(QFileDialog::Accept, options.prompt);
    dialog->setLabelText(QFileDialog::FileName, options.nameFieldLabel);
    dialog->selectFile(options.nameFieldStringValue);
    addMessage(dialog, options.message);
    run(dialog, std::move(completion));
}

} // namespace orva
