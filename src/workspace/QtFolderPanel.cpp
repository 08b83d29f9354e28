#include "workspace/FolderPanel.h"

#include "platform/Log.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
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

// The panel that names a new folder. Qt's save dialog, confirmed with the
// name of a folder that exists, opens that folder instead of answering, and
// a second confirmation would then name a folder of the same name inside
// it. Here a name that exists as a folder is the answer (creating a folder
// that already exists succeeds), and a new name equal to the name of the
// folder on show means that folder: a folder is never nested in its
// namesake.
class CreateFolderDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    // Qt names the confirm button "Open" while the name is that of an
    // existing folder; here that folder is the answer, so the button keeps
    // its own label.
    void keepConfirmLabel(const QString& label)
    {
        confirmLabel_ = label;
        if (auto* buttons = findChild<QDialogButtonBox*>()) {
            for (QAbstractButton* button : buttons->buttons()) {
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    button->installEventFilter(this);
            }
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            auto* button = qobject_cast<QAbstractButton*>(watched);
            if (button && button->text() != confirmLabel_)
                button->setText(confirmLabel_);
        }
        return QFileDialog::eventFilter(watched, event);
    }

    // The folder confirmed through the rules above; empty when Qt's own
    // confirmation decided.
    QString chosenFolder() const { return chosen_; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() == 1) {
            const QFileInfo named(files.first());
            const QString shown = directory().absolutePath();
            QString folder;
            if (named.isDir() && QDir::cleanPath(named.absoluteFilePath()) != QDir::cleanPath(shown))
                folder = named.absoluteFilePath();
            else if (!named.exists() && !named.fileName().isEmpty() && named.fileName() == QDir(shown).dirName()
                     && QDir::cleanPath(named.absolutePath()) == QDir::cleanPath(shown))
                folder = shown;
            if (!folder.isEmpty()) {
                chosen_ = QDir::cleanPath(folder);
                emit fileSelected(chosen_);
                emit filesSelected(QStringList{chosen_});
                QDialog::accept();
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    QString confirmLabel_;
    QString chosen_;
};

void run(QFileDialog* dialog, FolderPanel::Completion completion)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, completion = std::move(completion)](int result) {
        QString chosen;
        if (auto* create = dynamic_cast<CreateFolderDialog*>(dialog))
            chosen = create->chosenFolder();
        if (chosen.isEmpty() && !dialog->selectedFiles().isEmpty())
            chosen = dialog->selectedFiles().first();
        const bool ok = result == QDialog::Accepted && !chosen.isEmpty();
        completion(ok ? PanelResponse::ok : PanelResponse::cancel, ok ? chosen : QString());
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
    auto* dialog = new CreateFolderDialog(nullptr, options.title, options.directory.value_or(QString()));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setOption(QFileDialog::ReadOnly, !options.canCreateDirectories);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setLabelText(QFileDialog::Accept, options.prompt);
    dialog->setLabelText(QFileDialog::FileName, options.nameFieldLabel);
    dialog->selectFile(options.nameFieldStringValue);
    dialog->keepConfirmLabel(options.prompt);
    addMessage(dialog, options.message);
    run(dialog, std::move(completion));
}

} // namespace orva
