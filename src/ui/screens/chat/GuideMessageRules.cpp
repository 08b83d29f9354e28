#include "GuideMessageRules.h"

#include "model/TextParsingHelper.h"

#include <QRegularExpression>
#include <QVariantMap>

namespace orva {

bool isNumberedLine(const QString& line)
{
    // \d with Unicode properties: any decimal digit, as the platform's
    // regular expressions read it.
    static const QRegularExpression numbered(QStringLiteral("^\\d+\\."),
                                             QRegularExpression::UseUnicodePropertiesOption);
    return numbered.match(TextParsingHelper::trimLineWhitespace(line)).hasMatch();
}

QList<GuideBlock> guideBlocks(const QString& text)
{
    QList<GuideBlock> result;
    for (const ContentBlock& block : TextParsingHelper::parseContentBlocks(text)) {
        GuideBlock view;
        view.isCode = block.isCode();
        if (view.isCode) {
            view.code = block.content;
        } else {
            for (const QString& line : TextParsingHelper::splitLines(block.content))
                view.lines.append({line, isNumberedLine(line)});
        }
        result.append(view);
    }
    return result;
}

bool GuideMessageRules::isNumberedLine(const QString& line) const
{
    return orva::isNumberedLine(line);
}

QVariantList GuideMessageRules::blocks(const QString& text) const
{
    QVariantList result;
    for (const GuideBlock& block : guideBlocks(text)) {
        QVariantList lines;
        for (const GuideLine& line : block.lines)
            lines.append(QVariantMap{{QStringLiteral("text"), line.text},
                                     {QStringLiteral("isNumbered"), line.isNumbered}});
        result.append(QVariantMap{{QStringLiteral("isCode"), block.isCode},
                                  {QStringLiteral("code"), block.code},
                                  {QStringLiteral("lines"), lines}});
    }
    return result;
}

} // namespace orva
