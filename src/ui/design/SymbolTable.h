#pragma once

// The platform symbol names the screens use, each drawn as one glyph of the
// Material Icons font.

#include <QString>
#include <QStringList>

#include <optional>

namespace orva {

// The glyph for a symbol name, or nullopt for a name not in the table.
std::optional<QString> symbolGlyph(const QString& name);

// The turn, in degrees clockwise about the glyph's centre, a symbol is drawn
// with: 0 for every name but the ones that borrow a turned glyph
// ("quote.opening" is the closing mark turned half round). 0 for unknown names.
double symbolRotation(const QString& name);

// Every name in the table.
QStringList knownSymbolNames();

} // namespace orva
