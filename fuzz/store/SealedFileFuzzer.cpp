// Feeds arbitrary bytes to the reader of encrypted password files. Besides crashes, leaks and
// undefined behaviour it checks that whatever opens writes back to a file that opens to the same
// plain bytes. The key derivation is held to tiny limits so that each input costs microseconds.

#include "store/Archive.h"
#include "store/PasswordFileType.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// The seed files are encrypted with this password; anything else is refused.
const klt::PasswordPrompt kPrompt = [] { return std::optional<std::string>("fuzz"); };
constexpr klt::KdfLimits kMaxLimits{2, 65536};
constexpr klt::KdfLimits kSaveLimits{1, 8192};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    klt::PasswordFileContent content;
    // Plain files have a fuzz target of their own.
    if (!klt::IsSealedImage(image) ||
        klt::LoadContent(image, kPrompt, content, kMaxLimits) != klt::ReadStatus::ok) {
        return 0;
    }
    const std::string rebuilt = klt::BuildPasswordFileOfType(
        true, content.strMasterPassword, [&content](CArchive& ar) { content.Store(ar); }, kSaveLimits);
    klt::PasswordFileContent again;
    if (klt::LoadContent(rebuilt, kPrompt, again, kMaxLimits) != klt::ReadStatus::ok ||
        again.Build() != content.Build()) {
        __builtin_trap();
    }
    return 0;
}
