#pragma once
// Byte texts to and from Qt: UTF-8 when valid, else Windows-1252 (see TextCodec.h).

#include <QString>
#include <string>
#include <string_view>

namespace klt {
QString ToQString(std::string_view bytes);
std::string ToBytes(const QString& text);
} // namespace klt
