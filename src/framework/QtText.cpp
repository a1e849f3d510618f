#include "framework/QtText.h"

#include "store/TextCodec.h"

namespace klt {

QString ToQString(std::string_view bytes) {
    // Nearly every text is valid UTF-8, which Qt converts in one pass; only the rest is read byte
    // by byte as Windows-1252.
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const std::u32string text = DecodeText(bytes);
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
    return EncodeUtf8(text.toStdU32String());
}

} // namespace klt
