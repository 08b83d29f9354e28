#include "workspace/DirectoryAccessService.h"
#include "workspace/FolderPanel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace orva {
namespace {

QFileDialog* shownDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

bool showsText(QWidget* root, const QString& text)
{
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (label->text() == text)
            return true;
    }
    return false;
}

struct Answer {
    bool done = false;
    PanelResponse response = PanelResponse::cancel;
    QString path;
};

TEST(QtFolderPanelTest, TheOpenPanelShowsItsTextsAndReturnsTheChosenFolder)
{
    QTemporaryDir dir;
    QtFolderPanel panel;
    OpenPanelOptions options = DirectoryAccessService::selectPanelOptions();
    options.directory = dir.path();
    Answer answer;
    panel.beginOpenPanel(options, [&](PanelResponse response, const QString& path) {
        answer = {true, response, path};
    });
    ASSERT_TRUE(QTest::qWaitFor([] { return shownDialog() != nullptr; }, 5000));
    QFileDialog* dialog = shownDialog();
    EXPECT_EQ(dialog->windowTitle(), options.title);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), options.prompt);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(showsText(dialog, options.message));
    EXPECT_FALSE(answer.done); // the call did not wait for the user

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("work")));
    dialog->selectFile(dir.filePath(QStringLiteral("work")));
    static_cast<QDialog*>(dialog)->accept();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done; }, 5000));
    EXPECT_EQ(answer.response, PanelResponse::ok);
    EXPECT_EQ(QDir::cleanPath(answer.path), dir.filePath(QStringLiteral("work")));
}

TEST(QtFolderPanelTest, TheSavePanelOffersTheDefaultNameAndCancels)
{
    QTemporaryDir dir;
    QtFolderPanel panel;
    SavePanelOptions options = DirectoryAccessService::createPanelOptions();
    options.directory = dir.path();
    Answer answer;
    panel.beginSavePanel(options, [&](PanelResponse response, const QString& path) {
        answer = {true, response, path};
    });
    ASSERT_TRUE(QTest::qWaitFor([] { return shownDialog() != nullptr; }, 5000));
    QFileDialog* dialog = shownDialog();
    EXPECT_EQ(dialog->windowTitle(), options.title);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), options.prompt);
    EXPECT_EQ(dialog->labelText(QFileDialog::FileName), options.nameFieldLabel);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(showsText(dialog, options.message));
    ASSERT_FALSE(dialog->selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().first()).fileName(), QStringLiteral("MyProject"));

    dialog->reject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done; }, 5000));
    EXPECT_EQ(answer.response, PanelResponse::cancel);
    EXPECT_TRUE(answer.path.isEmpty());
}

} // namespace
} // namespace orva

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
