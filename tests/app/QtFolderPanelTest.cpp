#include "support/TempContext.h"
#include "support/ShownFileDialog.h"
#include "support/Waiting.h"
#include "workspace/DirectoryAccessService.h"
#include "app/QtFolderPanel.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace orva {
namespace {

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
    ASSERT_TRUE(test::waitUntil([] { return test::shownFileDialog() != nullptr; }, test::kWaitDeadline));
    QFileDialog* dialog = test::shownFileDialog();
    EXPECT_EQ(dialog->windowTitle(), options.title);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), options.prompt);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    EXPECT_TRUE(showsText(dialog, options.message));
    EXPECT_FALSE(answer.done); // the call did not wait for the user

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("work")));
    dialog->selectFile(dir.filePath(QStringLiteral("work")));
    static_cast<QDialog*>(dialog)->accept();
    ASSERT_TRUE(test::waitUntil([&] { return answer.done; }, test::kWaitDeadline));
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
    ASSERT_TRUE(test::waitUntil([] { return test::shownFileDialog() != nullptr; }, test::kWaitDeadline));
    QFileDialog* dialog = test::shownFileDialog();
    EXPECT_EQ(dialog->windowTitle(), options.title);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), options.prompt);
    EXPECT_EQ(dialog->labelText(QFileDialog::FileName), options.nameFieldLabel);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(showsText(dialog, options.message));
    ASSERT_FALSE(dialog->selectedFiles().isEmpty());
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().first()).fileName(), QStringLiteral("MyProject"));

    dialog->reject();
    ASSERT_TRUE(test::waitUntil([&] { return answer.done; }, test::kWaitDeadline));
    EXPECT_EQ(answer.response, PanelResponse::cancel);
    EXPECT_TRUE(answer.path.isEmpty());
}

// The create panel, confirmed with its button as a person would, over a
// Documents folder that already holds "MyProject".
struct CreateCase {
    const char* name;
    const char* shownFolder; // relative to Documents; empty: Documents itself
    const char* typedName;   // empty: the panel's own "MyProject"
    const char* published;   // relative to Documents
};

TEST(QtFolderPanelTest, TheCreatePanelTakesAnExistingFolderAndNeverNestsOneInItsNamesake)
{
    const CreateCase cases[] = {
        {"the default name of an existing folder", "", "", "MyProject"},
        {"shown inside the folder of that name", "MyProject", "MyProject", "MyProject"},
        {"a new name", "", "NewApp", "NewApp"},
        {"a new name inside an existing folder", "MyProject", "Inner", "MyProject/Inner"},
    };
    for (const CreateCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempContext context;
        const QDir documents(context.context().documentsPath);
        ASSERT_TRUE(documents.mkpath(QStringLiteral("MyProject")));
        DirectoryAccessService service(std::make_shared<QtFolderPanel>());
        service.createProjectDirectory();
        ASSERT_TRUE(test::waitUntil([] { return test::shownFileDialog() != nullptr; }, test::kWaitDeadline));
        QFileDialog* dialog = test::shownFileDialog();
        if (*c.shownFolder)
            dialog->setDirectory(documents.filePath(QString::fromUtf8(c.shownFolder)));
        if (*c.typedName) {
            auto* nameField = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(nameField, nullptr);
            nameField->selectAll();
            QTest::keyClicks(nameField, QString::fromUtf8(c.typedName));
            ASSERT_EQ(nameField->text(), QString::fromUtf8(c.typedName));
        }
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        QAbstractButton* confirm = nullptr;
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                confirm = button;
        }
        ASSERT_NE(confirm, nullptr);
        ASSERT_TRUE(test::waitUntil([&] { return confirm->isEnabled(); }, test::kWaitDeadline));
        // The button says what it does, also over an existing folder's name.
        EXPECT_TRUE(test::waitUntil([&] { return confirm->text() == QStringLiteral("생성"); }, test::kWaitDeadline)) << confirm->text().toStdString();
        QTest::mouseClick(confirm, Qt::LeftButton);

        const QString expected = documents.filePath(QString::fromUtf8(c.published));
        ASSERT_TRUE(test::waitUntil([&] { return service.hasAccess(); }, test::kWaitDeadline)) << "still showing: " << (test::shownFileDialog() != nullptr);
        EXPECT_EQ(service.selectedDirectory(), expected);
        EXPECT_TRUE(QFileInfo(expected).isDir());
        EXPECT_FALSE(QFileInfo::exists(documents.filePath(QStringLiteral("MyProject/MyProject"))));
        EXPECT_EQ(test::shownFileDialog(), nullptr);
    }
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
