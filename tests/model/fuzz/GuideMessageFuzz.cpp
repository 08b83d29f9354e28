// Fuzz target of the guide-message parser, which reads claude's replies.
//
// For any input (as UTF-8, as the view gets it):
// - every block's lines stand in the message in the blocks' order: a text
//   block's lines as they are (its first and last trimmed), a code block's
//   with the indentation its run shared removed;
//   no block line stands for a fence line;
// - a message without fences is one text block: the message trimmed;
// - parsing again gives the same contents, under fresh identifiers;
// - nothing crashes.
#include "model/TextParsingHelper.h"

#include <QSet>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using orva::TextParsingHelper;

[[noreturn]] void fail(const char* what, const QString& input)
{
    std::fprintf(stderr, "guide message fuzz: %s\ninput: %s\n", what, input.toUtf8().toPercentEncoding(" ").constData());
    std::abort();
}

bool isFence(const QString& line)
{
    QString trimmed = line;
    while (!trimmed.isEmpty() && (trimmed.front() == u' ' || trimmed.front() == u'\t'))
        trimmed.remove(0, 1);
    while (!trimmed.isEmpty() && (trimmed.back() == u' ' || trimmed.back() == u'\t'))
        trimmed.chop(1);
    return trimmed == QStringLiteral("'''");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString message = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<orva::ContentBlock> blocks = TextParsingHelper::parseContentBlocks(message);
    const QStringList lines = TextParsingHelper::splitLines(message);

    bool anyFence = false;
    for (const QString& line : lines)
        anyFence = anyFence || isFence(line);
    if (!anyFence) {
        if (blocks.size() != 1 || blocks.front().isCode() ||
            blocks.front().content != TextParsingHelper::trimWhitespaceAndNewlines(lines.join(u'\n')))
            fail("a message without fences is not one trimmed text block", message);
    }

    // Each block's lines, in order, within the message's lines after the
    // previous block's.
    qsizetype next = 0;
    QSet<QString> ids;
    for (const orva::ContentBlock& block : blocks) {
        if (block.id.isNull() || ids.contains(block.idText()))
            fail("a block without a fresh identifier", message);
        ids.insert(block.idText());
        const QStringList blockLines = block.content.split(u'\n');
        for (const QString& blockLine : blockLines) {
            if (blockLine.isEmpty())
                continue;
            while (next < lines.size() && (isFence(lines[next]) || !lines[next].contains(blockLine)))
                ++next;
            if (next == lines.size())
                fail("a block's line is not in the message in order", message);
            ++next;
        }
    }

    const QList<orva::ContentBlock> again = TextParsingHelper::parseContentBlocks(message);
    if (again.size() != blocks.size())
        fail("a second parse gives other blocks", message);
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (again[i].kind != blocks[i].kind || again[i].content != blocks[i].content || again[i].id == blocks[i].id)
            fail("a second parse gives other blocks", message);
    }
    return 0;
}
