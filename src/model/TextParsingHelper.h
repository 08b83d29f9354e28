#pragma once

// Cuts a guide message into runs of prose and runs of code. Inside a message
// a code run is fenced by lines of three apostrophes ('''), not backticks.

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

namespace orva {

struct ContentBlock {
    Q_GADGET
    Q_PROPERTY(bool isCode READ isCode CONSTANT)
    Q_PROPERTY(QString content READ contentValue CONSTANT)
    Q_PROPERTY(QString id READ idText CONSTANT)
public:
    enum class Kind { text, code };

    Kind kind = Kind::text;
    QString content; // prose already trimmed, or code already dedented and trimmed
    QUuid id;        // random (version 4), fresh for every block made

    static ContentBlock text(const QString& content);
    static ContentBlock code(const QString& content);

    bool isCode() const { return kind == Kind::code; }
    QString contentValue() const { return content; }
    QString idText() const { return id.toString(QUuid::WithoutBraces); }
};

class TextParsingHelper {
public:
    // Splits at every newline character (U+000A..U+000D, U+0085, U+2028,
    // U+2029); the separators are dropped and CR LF yields an empty line
    // between. An empty text is one empty line.
    static QStringList splitLines(const QString& text);

    // Trims tabs and Unicode space separators (category Zs) from both ends.
    static QString trimLineWhitespace(const QString& text);
    // Trims line whitespace and newline characters from both ends.
    static QString trimWhitespaceAndNewlines(const QString& text);

    // The message's text and code blocks in order. A line that is exactly '''
    // once spaces and tabs around it are trimmed opens or closes a code run;
    // the code of a run that is never closed is dropped. Never fails; an empty
    // message yields one empty text block.
    static QList<ContentBlock> parseContentBlocks(const QString& message);

    // Removes the smallest leading run of spaces and tabs shared by the lines
    // that are not blank (a tab counts as one character), joins the lines
    // with line feeds and trims the result.
    static QString removeCommonIndentation(const QString& text);
};

} // namespace orva

Q_DECLARE_METATYPE(orva::ContentBlock)
