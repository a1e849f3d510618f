#include "framework/QtText.h"

#include "store/TextCodec.h"

namespace klt {

QString ToQString(std::string_view bytes) {
    const std::u32string text = DecodeText(bytes);
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
    return EncodeUtf8(text.toStdU32String());
}

} // namespace klt
