// Feeds arbitrary bytes to the password-file reader. Besides crashes, leaks and undefined
// behaviour it checks that whatever is read writes back to bytes that read back the same.

#include "store/PasswordFileContent.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// Protected seed files use this password; anything else is a wrong password.
const klt::PasswordPrompt kPrompt = [] { return std::optional<std::string>("fuzz"); };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    klt::PasswordFileContent content;
    if (content.Load(std::string_view(reinterpret_cast<const char*>(data), size), kPrompt) !=
        klt::ReadStatus::ok)
        return 0;
    const std::string rebuilt = content.Build();
    klt::PasswordFileContent again;
    if (again.Load(rebuilt, kPrompt) != klt::ReadStatus::ok || again.Build() != rebuilt ||
        again.entryList.size() != content.entryList.size())
        __builtin_trap();
    return 0;
}
