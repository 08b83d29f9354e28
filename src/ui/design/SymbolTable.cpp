#include "ui/design/SymbolTable.h"

#include <QHash>

namespace orva {
namespace {

// A glyph and the turn it is drawn with: the font has one quotation mark, a
// closing one, so the opening mark is that glyph turned half round.
struct Symbol {
    char16_t codePoint;
    double rotation = 0;
};

const QHash<QString, Symbol>& table()
{
    // Material Icons code points.
    static const QHash<QString, Symbol> t = {
        {QStringLiteral("arrow.forward"), {0xe5c8}},  // arrow_forward
        {QStringLiteral("arrow.right"), {0xe5c8}},    // arrow_forward
        {QStringLiteral("arrow.left"), {0xe5c4}},     // arrow_back
        {QStringLiteral("asterisk"), {0xe1eb}},       // emergency
        {QStringLiteral("book.fill"), {0xea19}},      // menu_book
        {QStringLiteral("checkmark"), {0xe5ca}},      // check
        {QStringLiteral("checkmark.circle.fill"), {0xe86c}}, // check_circle
        {QStringLiteral("chevron.right"), {0xe5cc}},  // chevron_right
        {QStringLiteral("chevron.right.dotted.chevron.right"), {0xeac9}}, // keyboard_double_arrow_right
        {QStringLiteral("circle"), {0xe836}},         // radio_button_unchecked
        {QStringLiteral("circle.dotted.and.circle"), {0xe39e}}, // adjust
        {QStringLiteral("cube"), {0xe9fe}},           // view_in_ar
        {QStringLiteral("doc.on.doc"), {0xe14d}},     // content_copy
        {QStringLiteral("exclamationmark.triangle"), {0xf083}}, // warning_amber (the outline)
        {QStringLiteral("exclamationmark.triangle.fill"), {0xe002}}, // warning
        {QStringLiteral("location.north.fill"), {0xe55d}}, // navigation
        {QStringLiteral("paperplane"), {0xe163}},     // send
        {QStringLiteral("play.fill"), {0xe037}},      // play_arrow
        {QStringLiteral("quote.opening"), {0xe244, 180}}, // format_quote, turned
        {QStringLiteral("quote.closing"), {0xe244}},  // format_quote
        {QStringLiteral("sparkles"), {0xe65f}},       // auto_awesome
        {QStringLiteral("square.arrowtriangle.4.outward"), {0xf1ce}}, // open_in_full
        {QStringLiteral("terminal.fill"), {0xeb8e}},  // terminal
        {QStringLiteral("text.book.closed.fill"), {0xe865}}, // book
        {QStringLiteral("timer"), {0xe425}},          // timer
        {QStringLiteral("wand.and.stars"), {0xe663}}, // auto_fix_high
        {QStringLiteral("waveform"), {0xe1b8}},       // graphic_eq
        {QStringLiteral("xmark"), {0xe5cd}},          // close
    };
    return t;
}

} // namespace

std::optional<QString> symbolGlyph(const QString& name)
{
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return std::nullopt;
    return QString(QChar(it.value().codePoint));
}

double symbolRotation(const QString& name)
{
    const auto it = table().constFind(name);
    return it == table().constEnd() ? 0 : it.value().rotation;
}

QStringList knownSymbolNames()
{
    QStringList names = table().keys();
    names.sort();
    return names;
}

} // namespace orva
