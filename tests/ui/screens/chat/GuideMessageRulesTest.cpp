#include "ui/screens/chat/GuideMessageRules.h"

#include <gtest/gtest.h>

namespace orva {

void PrintTo(const GuideLine& line, std::ostream* os)
{
    *os << '{' << line.text.toStdString() << (line.isNumbered ? " numbered}" : "}");
}

void PrintTo(const GuideBlock& block, std::ostream* os)
{
    if (block.isCode) {
        *os << "code{" << block.code.toStdString() << '}';
        return;
    }
    *os << "text[";
    for (const GuideLine& line : block.lines)
        PrintTo(line, os);
    *os << ']';
}

namespace {

TEST(GuideMessageRules, NumberedLines)
{
    struct Case {
        const char* line;
        bool numbered;
    };
    const QList<Case> cases = {
        {"1.", true},
        {"1. Xcode를 여세요", true},
        {"  12.x", true},
        {"\t3.다음", true},
        {"\u00a0\u20034. wide blanks", true},
        {"1)", false},
        {"v1.2.", false},
        {"-1.", false},
        {"1 .", false},
        {"1", false},
        {".", false},
        {"", false},
        {"   ", false},
        {"Step 1.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(isNumberedLine(QString::fromUtf8(c.line)), c.numbered);
    }
}

GuideBlock text(std::initializer_list<GuideLine> lines)
{
    GuideBlock block;
    block.lines = lines;
    return block;
}

GuideBlock code(const QString& content)
{
    GuideBlock block;
    block.isCode = true;
    block.code = content;
    return block;
}

TEST(GuideMessageRules, GuideTextsBecomeBlocksOfLines)
{
    struct Case {
        const char* name;
        QString text;
        QList<GuideBlock> blocks;
    };
    const QList<Case> cases = {
        {"no fence", QStringLiteral("Xcode를 여세요.\n1. 새 프로젝트\n2. iOS App"),
         {text({{QStringLiteral("Xcode를 여세요."), false},
                {QStringLiteral("1. 새 프로젝트"), true},
                {QStringLiteral("2. iOS App"), true}})}},
        {"fenced middle", QStringLiteral("위에\n'''\n  open -a Xcode\n    cd App\n'''\n아래"),
         {text({{QStringLiteral("위에"), false}}), code(QStringLiteral("open -a Xcode\n  cd App")),
          text({{QStringLiteral("아래"), false}})}},
        {"unclosed fence", QStringLiteral("위에\n'''\nnever shown"), {text({{QStringLiteral("위에"), false}})}},
        {"blank lines", QStringLiteral("\n첫 줄\n\n\n3. 셋째\n\n"),
         {text({{QStringLiteral("첫 줄"), false},
                {QString(), false},
                {QString(), false},
                {QStringLiteral("3. 셋째"), true}})}},
        {"empty", QString(), {text({{QString(), false}})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(guideBlocks(c.text), c.blocks);
    }
}

TEST(GuideMessageRules, QmlFaceCarriesTheSameBlocks)
{
    const QVariantList blocks = GuideMessageRules().blocks(QStringLiteral("1. a\n'''\nx\n'''"));
    ASSERT_EQ(blocks.size(), 2);
    const QVariantMap first = blocks[0].toMap();
    EXPECT_FALSE(first.value(QStringLiteral("isCode")).toBool());
    const QVariantList lines = first.value(QStringLiteral("lines")).toList();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].toMap().value(QStringLiteral("text")).toString(), QStringLiteral("1. a"));
    EXPECT_TRUE(lines[0].toMap().value(QStringLiteral("isNumbered")).toBool());
    const QVariantMap second = blocks[1].toMap();
    EXPECT_TRUE(second.value(QStringLiteral("isCode")).toBool());
    EXPECT_EQ(second.value(QStringLiteral("code")).toString(), QStringLiteral("x"));
}

} // namespace
} // namespace orva
