#pragma once
// A password file as JSON, the form keyloft-cli prints and reads:
//   {"encrypted": false, "protected": true, "master_password": "...", "timestamp": 916358400,
//    "entries": [{"system": "Mail", "user": "ann", "password": "", "fourth": "", "changed": 917827200}],
//    "second_list": 0}
// A text that is valid UTF-8 is a JSON string; any other text is {"hex": "e9..."}, so no byte is lost.

#include "store/PasswordFileContent.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace klt::cli {

using Json = nlohmann::ordered_json;

// JSON that does not describe a password file this tool can write.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Json TextToJson(std::string_view text);
std::string TextFromJson(const Json& value, std::string_view strWhat);

Json ContentToJson(const PasswordFileContent& content);
// Throws InputError, naming the field that is wrong.
PasswordFileContent ContentFromJson(const Json& json);

} // namespace klt::cli
