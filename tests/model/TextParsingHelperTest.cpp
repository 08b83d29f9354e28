#include "model/TextParsingHelper.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace orva;

namespace {

// "T:" for a text block, "C:" for a code block.
QStringList describe(const QList<ContentBlock>& blocks)
{
    QStringList out;
    for (const ContentBlock& b : blocks)
        out.append((b.isCode() ? QStringLiteral("C:") : QStringLiteral("T:")) + b.content);
    return out;
}

QString lines(std::initializer_list<const char*> parts)
{
    QStringList list;
    for (const char* p : parts)
        list.append(QString::fromUtf8(p));
    return list.join(QLatin1Char('\n'));
}

TEST(ParseContentBlocks, Table)
{
    struct Case {
        const char* name;
        QString message;
        QStringList expected;
    };
    const Case cases[] = {
        {"TextCodeText", lines({"Intro", "'''", "let a = 1", "'''", "Outro"}), {"T:Intro", "C:let a = 1", "T:Outro"}},
        {"FenceWithBlanksAndIdeographicSpace", lines({"Intro", " \t'''\xE3\x80\x80 ", "x", "\xC2\xA0'''\t", "End"}),
         {"T:Intro", "C:x", "T:End"}},
        {"LanguageTagIsNoFence", lines({"Intro", "'''swift", "let a"}), {"T:Intro\n'''swift\nlet a"}},
        {"BackticksAreNoFence", lines({"```", "code", "```"}), {"T:```\ncode\n```"}},
        {"EmptyCodeRunYieldsNoBlock", lines({"'''", "'''"}), {}},
        {"UnclosedFenceDropsCode", lines({"Intro", "'''", "lost code"}), {"T:Intro"}},
        {"OddFenceCountDropsTail", lines({"'''", "a", "'''", "mid", "'''", "lost"}), {"C:a", "T:mid"}},
        {"BlankLineBetweenCodeRuns", lines({"'''", "a", "'''", "", "'''", "b", "'''"}), {"C:a", "T:", "C:b"}},
        {"EmptyMessage", QString(), {"T:"}},
        {"OnlyBlankLines", lines({"", "  ", "\t"}), {"T:"}},
        {"TextKeepsInnerIndentAndBlanks", lines({"  first", "", "    second  "}), {"T:first\n\n    second"}},
        {"CrLfGivesEmptyLineBetween", QStringLiteral("a\r\nb"), {"T:a\n\nb"}},
        // The blank lines after the closing fence still make an (empty) text block.
        {"CrLfAroundFence", QStringLiteral("Intro\r\n'''\r\n  x\r\n'''\r\n"), {"T:Intro", "C:x", "T:"}},
        {"UnicodeLineSeparators",
         QString::fromUtf8("a\xE2\x80\xA8'''\xC2\x85" "b\xE2\x80\xA9'''\x0B" "c\x0C" "d"),
         {"T:a", "C:b", "T:c\nd"}},
        {"CodeDedented", lines({"'''", "    if x {", "      y()", "    }", "'''"}), {"C:if x {\n  y()\n}"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(TextParsingHelper::parseContentBlocks(c.message)), c.expected) << c.name;
}

TEST(ParseContentBlocks, FreshIdentitiesPerParse)
{
    const QString message = lines({"Intro", "'''", "code", "'''", "Outro"});
    const auto first = TextParsingHelper::parseContentBlocks(message);
    const auto second = TextParsingHelper::parseContentBlocks(message);
    EXPECT_EQ(describe(first), describe(second));
    QSet<QUuid> ids;
    for (const auto& b : first + second) {
        EXPECT_FALSE(b.id.isNull());
        EXPECT_EQ(b.id.version(), QUuid::Random);
        ids.insert(b.id);
    }
    EXPECT_EQ(ids.size(), 6);
}

TEST(RemoveCommonIndentation, Table)
{
    struct Case {
        const char* name;
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {"FourSixFour", lines({"    a", "      b", "    c"}), lines({"a", "  b", "c"})},
        {"FourTwoTrimmedAfter", lines({"    a", "  b"}), lines({"a", "b"})},
        {"TabCountsAsOne", lines({"\tx", "    y"}), lines({"x", "   y"})},
        // A blank line shorter than the common indent stays as it is.
        {"BlankLinesIgnoredForIndent", lines({"    a", "", "  ", "      ", "    b"}), lines({"a", "", "  ", "  ", "b"})},
        {"BlankLineShorterThanIndentKept", lines({"    a", " \xC2\xA0", "    b"}), lines({"a", " \xC2\xA0", "b"})},
        {"AllBlank", lines({"  ", "\t"}), QString()},
        {"NoIndent", lines({"a", "  b"}), lines({"a", "  b"})},
        {"NonBreakingSpaceIsNotIndent", lines({"\xC2\xA0\xC2\xA0" "a", "  b"}), lines({"a", "  b"})},
        {"CountsGraphemesNotCodeUnits", lines({"  \xF0\x9F\x98\x80x", "    y"}), lines({"\xF0\x9F\x98\x80x", "  y"})},
        {"CrLfLines", QStringLiteral("  a\r\n  b"), QStringLiteral("a\n\nb")},
        {"Empty", QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextParsingHelper::removeCommonIndentation(c.input), c.expected) << c.name;
}

TEST(SplitLines, EveryNewlineCharacterSplits)
{
    const QString separators = QString::fromUtf8("\n\x0B\x0C\r\xC2\x85\xE2\x80\xA8\xE2\x80\xA9");
    for (QChar sep : separators)
        EXPECT_EQ(TextParsingHelper::splitLines(QStringLiteral("a") + sep + QStringLiteral("b")),
                  (QStringList{"a", "b"}))
            << std::hex << int(sep.unicode());
    EXPECT_EQ(TextParsingHelper::splitLines(QString()), QStringList{QString()});
}

} // namespace
