#pragma once

// The platform symbol names the screens use, each drawn as one glyph of the
// Material Icons font.

#include <QString>
#include <QStringList>

#include <optional>

namespace orva {

// The glyph for a symbol name, or nullopt for a name not in the table.
std::optional<QString> symbolGlyph(const QString& name);

// Every name in the table.
QStringList knownSymbolNames();

} // namespace orva
