#include "keyloft-cli/JsonContent.h"

#include "store/PasswordFileWriter.h"
#include "store/TextCodec.h"

#include <cstdint>
#include <initializer_list>
#include <limits>

namespace klt::cli {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

std::string FromHex(std::string_view hex, std::string_view strWhat) {
    const auto digit = [strWhat](char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
            return (c | 0x20) - 'a' + 10;
        }
        throw InputError(std::string(strWhat) +
                         ": \"hex\" holds a character that is not a hexadecimal digit");
    };
    if (hex.size() % 2 != 0) {
        throw InputError(std::string(strWhat) + ": \"hex\" has an odd number of digits");
    }
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(digit(hex[i]) << 4 | digit(hex[i + 1])));
    }
    return bytes;
}

const Json& Field(const Json& object, const char* pszKey, std::string_view strWhat) {
    const auto it = object.find(pszKey);
    if (it == object.end()) {
        throw InputError(std::string(strWhat) + ": \"" + pszKey + "\" is missing");
    }
    return *it;
}

void RefuseUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                       std::string_view strWhat) {
    for (const auto& [key, value] : object.items()) {
        bool bKnown = false;
        for (const std::string_view name : known) {
            bKnown = bKnown || key == name;
        }
        if (!bKnown) {
            throw InputError(std::string(strWhat) + ": unknown field \"" + key + "\"");
        }
    }
}

int32_t TimeFromJson(const Json& value, std::string_view strWhat) {
    if (!value.is_number_integer()) {
        throw InputError(std::string(strWhat) + " must be a whole number of seconds");
    }
    const auto fits = [&value] {
        if (value.is_number_unsigned()) {
            return value.get<uint64_t>() <= uint64_t(std::numeric_limits<int32_t>::max());
        }
        const int64_t n = value.get<int64_t>();
        return n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max();
    };
    if (!fits()) {
        throw InputError(std::string(strWhat) + " does not fit in 32 bits");
    }
    return static_cast<int32_t>(value.get<int64_t>());
}

bool FlagFromJson(const Json& json, const char* pszKey, bool bDefault) {
    const auto it = json.find(pszKey);
    if (it == json.end()) {
        return bDefault;
    }
    if (!it->is_boolean()) {
        throw InputError(std::string("\"") + pszKey + "\" must be true or false");
    }
    return it->get<bool>();
}

std::unique_ptr<QMPassword> EntryFromJson(const Json& json, size_t nIndex) {
    const std::string strWhat = "entry " + std::to_string(nIndex + 1);
    if (!json.is_object()) {
        throw InputError(strWhat + " must be an object");
    }
    RefuseUnknownKeys(json, {"system", "user", "password", "fourth", "changed"}, strWhat);
    auto pEntry =
        std::make_unique<QMPassword>(TextFromJson(Field(json, "system", strWhat), strWhat + " system"),
                                     TextFromJson(Field(json, "user", strWhat), strWhat + " user"),
                                     TextFromJson(Field(json, "password", strWhat), strWhat + " password"),
                                     TimeFromJson(Field(json, "changed", strWhat), strWhat + " changed"));
    if (const auto it = json.find("fourth"); it != json.end()) {
        pEntry->m_strFourth = TextFromJson(*it, strWhat + " fourth");
    }
    return pEntry;
}

} // namespace

Json TextToJson(std::string_view text) {
    if (IsValidUtf8(text)) {
        return std::string(text);
    }
    std::string hex;
    hex.reserve(2 * text.size());
    for (const char c : text) {
        hex.push_back(kHexDigits[static_cast<unsigned char>(c) >> 4]);
        hex.push_back(kHexDigits[static_cast<unsigned char>(c) & 0xF]);
    }
    return Json{{"hex", hex}};
}

std::string TextFromJson(const Json& value, std::string_view strWhat) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_object() && value.size() == 1 && value.contains("hex") && value["hex"].is_string()) {
        return FromHex(value["hex"].get_ref<const std::string&>(), strWhat);
    }
    throw InputError(std::string(strWhat) + " must be a string or {\"hex\": \"...\"}");
}

Json ContentToJson(const PasswordFileContent& content) {
    Json entries = Json::array();
    for (const auto& pEntry : content.entryList) {
        entries.push_back(Json{{"system", TextToJson(pEntry->m_strSystem)},
                               {"user", TextToJson(pEntry->m_strUserName)},
                               {"password", TextToJson(pEntry->m_strPassword)},
                               {"fourth", TextToJson(pEntry->m_strFourth)},
                               {"changed", pEntry->m_timeLastChange}});
    }
    return Json{{"encrypted", false},
                {"protected", content.bProtected},
                {"master_password", TextToJson(content.strMasterPassword)},
                {"timestamp", content.timeStamp},
                {"entries", std::move(entries)},
                {"second_list", content.secondList.size()}};
}

PasswordFileContent ContentFromJson(const Json& json) {
    if (!json.is_object()) {
        throw InputError("the input must be one JSON object");
    }
    RefuseUnknownKeys(json,
                      {"encrypted", "protected", "master_password", "timestamp", "entries", "second_list"},
                      "the file");
    if (FlagFromJson(json, "encrypted", false)) {
        throw InputError("\"encrypted\" must be false: files are written unencrypted");
    }
    if (const auto it = json.find("second_list"); it != json.end() && *it != 0) {
        throw InputError("\"second_list\" must be 0");
    }

    PasswordFileContent content;
    content.strMasterPassword = TextFromJson(Field(json, "master_password", "the file"), "master_password");
    if (content.strMasterPassword.size() > kMaxMasterPasswordLength) {
        throw InputError("master_password is longer than 255 bytes");
    }
    // An empty password always gives an unprotected file; a password always protects it.
    content.bProtected = FlagFromJson(json, "protected", !content.strMasterPassword.empty());
    if (!content.bProtected && !content.strMasterPassword.empty()) {
        throw InputError("\"protected\" is false but a master password is given");
    }
    content.timeStamp = TimeFromJson(Field(json, "timestamp", "the file"), "timestamp");

    const Json& entries = Field(json, "entries", "the file");
    if (!entries.is_array()) {
        throw InputError("\"entries\" must be an array");
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        content.entryList.push_back(EntryFromJson(entries[i], i));
    }
    return content;
}

} // namespace klt::cli
