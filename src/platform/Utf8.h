#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orva {

// What strict decoding does with a byte-order mark at the start.
enum class ByteOrderMark { strip, keep };

// Decodes UTF-8, refusing any malformed byte sequence (no replacement
// characters): overlong forms, surrogates, bytes that start no character and a
// sequence cut off at the end all give none.
std::optional<QString> decodeUtf8Strict(const QByteArray& bytes, ByteOrderMark bom);

} // namespace orva
