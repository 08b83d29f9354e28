// The folder dialogs as the application shows them: Qt's own texts in
// Korean (Qt's Korean translation installed at start-up), the application's
// dark palette, and columns wide enough for what they show. Pictures of both
// dialogs are saved to ORVA_DIALOG_PICTURES.
#include "ScreenTestEnvironment.h"
#include "app/AppStart.h"
#include "support/GoogleTestMain.h"
#include "support/ShownFileDialog.h"
#include "support/Waiting.h"
#include "ui/components/ContrastRatio.h"
#include "ui/design/DesignTokens.h"
#include "ui/design/WidgetPalette.h"
#include "workspace/DirectoryAccessService.h"
#include "app/QtFolderPanel.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <filesystem>

namespace orva::test {
namespace {

bool hasHangul(const QString& text)
{
    for (const QChar c : text) {
        if ((c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3) || (c.unicode() >= 0x3131 && c.unicode() <= 0x318E))
            return true;
    }
    return false;
}

bool hasLatinLetter(const QString& text)
{
    for (const QChar c : text) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            return true;
    }
    return false;
}

// A size in bytes' multiples, whose unit is written as everywhere ("1.50 MB").
bool isDataSize(const QString& text)
{
    static const QRegularExpression size(QStringLiteral("^\\d[\\d.,]* [KMGTPE]B$"));
    return size.match(text).hasMatch();
}

// Latin letters without Hangul, other than a size's unit.
bool isEnglish(const QString& text)
{
    const QString shown = text.mid(text.indexOf(u':') + 2);
    return hasLatinLetter(shown) && !hasHangul(shown) && !isDataSize(shown);
}

QTreeView* detailView(QFileDialog* dialog)
{
    return dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
}

// Every text the dialog shows a person that is not data (paths, file and
// folder names), with where it stands.
QStringList shownTexts(QFileDialog* dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible())
            texts << QStringLiteral("label: ") + label->text();
    }
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (!button->isVisible())
            continue;
        if (!button->text().isEmpty())
            texts << QStringLiteral("button: ") + button->text();
        if (!button->toolTip().isEmpty())
            texts << QStringLiteral("tip: ") + button->toolTip();
    }
    if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")); types && types->isVisible()) {
        for (int i = 0; i < types->count(); ++i)
            texts << QStringLiteral("file type: ") + types->itemText(i);
    }
    QTreeView* tree = detailView(dialog);
    const QAbstractItemModel* model = tree->model();
    for (int column = 0; column < model->columnCount(tree->rootIndex()); ++column) {
        if (tree->isColumnHidden(column))
            continue;
        texts << QStringLiteral("heading: ") + model->headerData(column, Qt::Horizontal).toString();
        if (column == 0)
            continue; // the names are the files'
        for (int row = 0; row < model->rowCount(tree->rootIndex()); ++row) {
            const QString detail = model->index(row, column, tree->rootIndex()).data().toString();
            if (!detail.isEmpty())
                texts << QStringLiteral("detail: ") + detail;
        }
    }
    return texts;
}

class FolderDialogTest : public ::testing::Test {
protected:
    // The application's own start on a machine of the test's.
    static void SetUpTestSuite()
    {
        environment_ = new ScreenTestEnvironment;
        configureApplication();
    }
    // A dialog a failed test left open goes with it.
    void TearDown() override
    {
        while (QFileDialog* dialog = shownFileDialog()) {
            dialog->reject();
            waitUntil([dialog] { return !dialog->isVisible(); });
        }
    }
    static void TearDownTestSuite()
    {
        delete environment_;
        environment_ = nullptr;
    }
    static ScreenTestEnvironment* environment_;
};
ScreenTestEnvironment* FolderDialogTest::environment_ = nullptr;

TEST_F(FolderDialogTest, QtsOwnTextsAreKorean)
{
    struct Case {
        const char* context;
        const char* english;
        const char* korean;
    };
    const Case cases[] = {
        {"QPlatformTheme", "Cancel", "취소"},
        {"QPlatformTheme", "Open", "열기"},
        {"QFileDialog", "Files of type:", "파일 형식:"},
        {"QFileDialog", "Look in:", "다음에서 찾기:"},
        {"QFileSystemModel", "Name", "이름"},
        {"QFileSystemModel", "Size", "크기"},
        {"QFileSystemModel", "Date Modified", "수정한 날짜"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(QCoreApplication::translate(c.context, c.english), QString::fromUtf8(c.korean));
    }
}

// Both panels, over a Documents folder with a folder, a small file and a
// larger one: every text Korean, the application's colours, and columns
// that show their contents whole, a gap apart.
struct PanelCase {
    const char* name;
    bool create; // the create panel (a save dialog); else the select panel
    const char* picture;
};

void PrintTo(const PanelCase& c, std::ostream* os)
{
    *os << c.name;
}

class FolderDialogPanels : public FolderDialogTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(FolderDialogPanels, ShowKoreanTextsInTheDarkPaletteWithWholeColumns)
{
    const PanelCase& c = GetParam();
    const QDir documents(environment_->documentsPath());
    ASSERT_TRUE(documents.mkpath(QStringLiteral("MyProject")));
    QFile small(documents.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly));
    small.write(QByteArray(576, 'x'));
    small.close();
    QFile large(documents.filePath(QStringLiteral("archive.zip")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(1536 * 1024)); // sparse
    large.close();

    DirectoryAccessService service(std::make_shared<QtFolderPanel>());
    if (c.create) {
        service.createProjectDirectory();
    } else {
        service.selectDirectory();
    }
    ASSERT_TRUE(waitUntil([] { return shownFileDialog() != nullptr; }));
    QFileDialog* dialog = shownFileDialog();
    if (!c.create)
        dialog->setDirectory(documents.path());
    QTreeView* tree = detailView(dialog);
    ASSERT_NE(tree, nullptr);
    ASSERT_TRUE(tree->isVisible()) << "the detail view shows";
    const int rows = c.create ? 3 : 1; // the select panel lists folders only
    ASSERT_TRUE(waitUntil([&] { return tree->model()->rowCount(tree->rootIndex()) == rows; }, std::chrono::seconds(3)))
        << tree->model()->rowCount(tree->rootIndex()) << " " << dialog->directory().path().toStdString() << " "
        << tree->rootIndex().data().toString().toStdString();

    // Texts: none in English.
    EXPECT_TRUE(waitUntil([&] {
        const QStringList texts = shownTexts(dialog);
        return std::none_of(texts.begin(), texts.end(), isEnglish);
    }, std::chrono::seconds(5))) << shownTexts(dialog).join(u'\n').toStdString();
    EXPECT_TRUE(shownTexts(dialog).contains(QStringLiteral("button: 취소")));
    EXPECT_TRUE(shownTexts(dialog).contains(QStringLiteral("detail: 폴더")));
    if (c.create) {
        EXPECT_TRUE(shownTexts(dialog).contains(QStringLiteral("detail: 576 바이트")));
        EXPECT_TRUE(shownTexts(dialog).contains(QStringLiteral("detail: 1.50 MB")));
        EXPECT_TRUE(shownTexts(dialog).contains(QStringLiteral("label: 파일 형식:")));
    }

    // Colours: the application's, in every widget inside, each text colour
    // at 4.5:1 or more on the surface it is drawn on.
    const QPalette expected = DesignTokens::widgetPalette();
    for (QWidget* widget : QList<QWidget*>{dialog, tree, tree->header(), dialog->findChild<QLineEdit*>()}) {
        if (!widget)
            continue;
        SCOPED_TRACE(widget->metaObject()->className());
        for (const QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                                               QPalette::Button, QPalette::ButtonText, QPalette::Highlight}) {
            EXPECT_EQ(widget->palette().color(QPalette::Active, role), expected.color(QPalette::Active, role)) << role;
        }
    }
    EXPECT_EQ(dialog->palette().color(QPalette::Window), DesignTokens::Colors::cardBackground());
    EXPECT_EQ(tree->palette().color(QPalette::Base), DesignTokens::Colors::background());
    struct Pair {
        QPalette::ColorRole text;
        QPalette::ColorRole surface;
    };
    const Pair pairs[] = {{QPalette::WindowText, QPalette::Window},     {QPalette::Text, QPalette::Base},
                          {QPalette::Text, QPalette::AlternateBase},    {QPalette::PlaceholderText, QPalette::Base},
                          {QPalette::ButtonText, QPalette::Button},     {QPalette::HighlightedText, QPalette::Highlight},
                          {QPalette::ToolTipText, QPalette::ToolTipBase}, {QPalette::Link, QPalette::Base}};
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const Pair& pair : pairs) {
            const double ratio = contrastRatio(expected.color(group, pair.text), expected.color(group, pair.surface));
            EXPECT_GE(ratio, 4.5) << "group " << group << ", role " << pair.text << " on " << pair.surface << ": "
                                  << ratio << ":1";
        }
    }

    // Columns: each detail and each heading whole, with a gap to the next
    // column.
    const QFontMetrics metrics = tree->fontMetrics();
    const QAbstractItemModel* model = tree->model();
    auto columnsFit = [&] {
        for (int column = 1; column < model->columnCount(tree->rootIndex()); ++column) {
            if (tree->isColumnHidden(column))
                continue;
            const int width = tree->header()->sectionSize(column);
            if (width < tree->header()->sectionSizeHint(column))
                return false;
            for (int row = 0; row < model->rowCount(tree->rootIndex()); ++row) {
                const QString detail = model->index(row, column, tree->rootIndex()).data().toString();
                if (metrics.horizontalAdvance(detail) + 8 > width)
                    return false;
            }
        }
        return tree->header()->sectionSize(0) >= metrics.horizontalAdvance(QStringLiteral("MyProject"));
    };
    EXPECT_TRUE(waitUntil(columnsFit, std::chrono::seconds(5)));
    const int total = tree->header()->length();
    EXPECT_LE(total, tree->viewport()->width() + 1) << "no column is pushed out of sight";

    std::filesystem::create_directories(ORVA_DIALOG_PICTURES);
    EXPECT_TRUE(dialog->grab().save(QStringLiteral(ORVA_DIALOG_PICTURES "/") + QString::fromUtf8(c.picture)));
    dialog->reject();
    ASSERT_TRUE(waitUntil([] { return shownFileDialog() == nullptr; }));
    QDir(documents.filePath(QStringLiteral("MyProject"))).removeRecursively();
    QFile::remove(documents.filePath(QStringLiteral("notes.txt")));
    QFile::remove(documents.filePath(QStringLiteral("archive.zip")));
}

INSTANTIATE_TEST_SUITE_P(Panels, FolderDialogPanels,
                         ::testing::Values(PanelCase{"Create", true, "folder-create.png"},
                                           PanelCase{"Select", false, "folder-select.png"}),
                         [](const ::testing::TestParamInfo<PanelCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace orva::test

int main(int argc, char** argv)
{
    return orva::test::runGoogleTests<QApplication>(argc, argv);
}
