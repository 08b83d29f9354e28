#include "ui/screens/dashboard/PlainTextClipboard.h"
#include "workflow/common/WorkflowTestSupport.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace orva::test {
namespace {

const QString kInstruction = QStringLiteral("다음 테스크 진행");

void prefillWithRichText()
{
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<b>bold</b> words"));
    data->setText(QStringLiteral("bold words"));
    data->setData(QStringLiteral("application/x-orva-test"), QByteArray("other"));
    QGuiApplication::clipboard()->setMimeData(data);
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasHtml());
}

void expectOnlyTheInstruction()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/plain")});
    EXPECT_EQ(data->text(), kInstruction);
    EXPECT_FALSE(data->hasHtml());
}

TEST(PlainTextClipboard, ACopyLeavesOnlyTheInstructionAsPlainText)
{
    prefillWithRichText();
    copyPlainText(kInstruction);
    expectOnlyTheInstruction();

    prefillWithRichText();
    CopiedMark mark;
    mark.copy(kInstruction);
    expectOnlyTheInstruction();
    EXPECT_TRUE(mark.copied());
}

// Every copy schedules its own reset: of two copies the first reset clears
// the mark although the second copy's reset is still to come.
TEST(CopiedMark, EachCopyHasItsOwnReset)
{
    struct Pending {
        int delayMs;
        QObject* context;
        std::function<void()> reset;
    };
    QList<Pending> pending;
    CopiedMark mark;
    mark.setScheduler([&](int delayMs, QObject* context, std::function<void()> reset) {
        pending.append({delayMs, context, std::move(reset)});
    });
    EXPECT_FALSE(mark.copied());

    mark.copy(kInstruction);
    mark.copy(kInstruction);
    ASSERT_EQ(pending.size(), 2);
    EXPECT_EQ(pending[0].delayMs, 2000);
    EXPECT_EQ(pending[0].context, &mark);
    EXPECT_TRUE(mark.copied());

    pending[0].reset();
    EXPECT_FALSE(mark.copied()) << "the first copy's reset clears the mark";
    pending[1].reset();
    EXPECT_FALSE(mark.copied());

    mark.copy(kInstruction);
    EXPECT_TRUE(mark.copied());
    ASSERT_EQ(pending.size(), 3);
}

// The real timer: the mark goes off after its delay, and a mark that is gone
// before its reset is due is left alone.
TEST(CopiedMark, TheResetRunsOnItsOwnAndNeverAfterTheMarkIsGone)
{
    CopiedMark kept;
    auto dropped = std::make_unique<CopiedMark>();
    kept.setResetDelay(50);
    dropped->setResetDelay(40);
    dropped->copy(kInstruction);
    kept.copy(kInstruction);
    EXPECT_TRUE(dropped->copied());
    dropped.reset();
    EXPECT_TRUE(kept.copied());
    EXPECT_TRUE(waitUntil([&] { return !kept.copied(); }));
}

} // namespace
} // namespace orva::test
