#pragma once

// What the guide message view shows of a text: its blocks in order (cut by
// the text parser), each text block as lines with their numbered flag, each
// code block as its code.

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace orva {

// A step line: once trimmed of blanks, tabs and other space separators it
// begins with one or more decimal digits directly followed by a full stop
// ("1.", "  12.x"); "1)" or "v1.2." are not.
bool isNumberedLine(const QString& line);

struct GuideLine {
    QString text; // verbatim
    bool isNumbered = false;
    friend bool operator==(const GuideLine&, const GuideLine&) = default;
};

struct GuideBlock {
    bool isCode = false;
    QString code;            // a code block's text
    QList<GuideLine> lines;  // a text block's lines, split at every newline, blank lines kept
    friend bool operator==(const GuideBlock&, const GuideBlock&) = default;
};

QList<GuideBlock> guideBlocks(const QString& text);

// The rules above for QML, as the singleton GuideMessageRules.
class GuideMessageRules : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE bool isNumberedLine(const QString& line) const;
    // The blocks as a list of maps: {isCode, code, lines: [{text, isNumbered}]}.
    Q_INVOKABLE QVariantList blocks(const QString& text) const;
};

} // namespace orva
