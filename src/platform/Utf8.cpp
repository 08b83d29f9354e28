#include "Utf8.h"

#include <QStringDecoder>

namespace orva {

std::optional<QString> decodeUtf8Strict(const QByteArray& bytes, ByteOrderMark bom)
{
    // Stateless: a sequence cut off at the end is an error, not held back.
    QStringDecoder::Flags flags = QStringDecoder::Flag::Stateless;
    if (bom == ByteOrderMark::keep)
        flags |= QStringDecoder::Flag::ConvertInitialBom;
    QStringDecoder decoder(QStringDecoder::Utf8, flags);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace orva
