#include "app/QtFolderPanel.h"

#include "platform/Log.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLocale>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <optional>

namespace orva {

namespace {
std::optional<QPalette>& dialogPalette()
{
    static std::optional<QPalette> palette;
    return palette;
}

// The dialog's file details in Korean like its labels: Qt's file model
// writes a size and a date in the machine's own locale ("576 bytes",
// "11 Dec 2026 08:48:36") and names a folder's type "Folder" whatever its
// translation; here they read "576 바이트" (or "1.50 MB"), "26. 12. 11. 오전
// 8:49" and "폴더".
class KoreanFileDetails : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    enum Column { name = 0, size = 1, type = 2, modified = 3 };

    QVariant data(const QModelIndex& index, int role) const override
    {
        // Each detail under its heading's start, like the heading.
        if (role == Qt::TextAlignmentRole && index.column() == size)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid() || index.column() == name)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
        switch (index.column()) {
        case size:
            if (info.isFile())
                return korean.formattedDataSize(info.size(), 2, QLocale::DataSizeTraditionalFormat);
            break;
        case type:
            if (info.isDir())
                return QStringLiteral("폴더");
            break;
        case modified:
            if (info.exists())
                return korean.toString(info.lastModified(), QLocale::ShortFormat);
            break;
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// The detail columns a gap wider than their widest text, so that one
// column's text never runs into the next one's.
class SpacedColumns : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int gap = 16;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() > 0)
            hint.rwidth() += gap;
        return hint;
    }
};

// The look every dialog shares: the application's palette (set on the
// dialog itself, so that every widget inside takes it), the detail view
// with its file details in Korean, its size, type and date columns sized to
// their contents (a size is never cut to "576…tes") and the name stretched
// over the rest.
void prepare(QFileDialog* dialog)
{
    if (const auto& palette = dialogPalette())
        dialog->setPalette(*palette);
    dialog->setViewMode(QFileDialog::Detail);
    dialog->setProxyModel(new KoreanFileDetails(dialog));
    if (auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        tree->setItemDelegate(new SpacedColumns(tree));
        QHeaderView* header = tree->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    // The places beside the files wide enough for their names.
    if (auto* splitter = dialog->findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({QtFolderPanel::sidebarWidth, QtFolderPanel::dialogWidth - QtFolderPanel::sidebarWidth});
    dialog->resize(QtFolderPanel::dialogWidth, QtFolderPanel::dialogHeight);
}

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

void QtFolderPanel::setDialogPalette(const QPalette& palette)
{
    dialogPalette() = palette;
}

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
    prepare(dialog);
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
    prepare(dialog);
    run(dialog, std::move(completion));
}

} // namespace orva
