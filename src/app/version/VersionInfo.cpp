#include "app/version/VersionInfo.h"

#include "app/version/ElfSection.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace klt {
namespace {

constexpr const char* kSection = ".keyloft.version";

// The value of the line "key=value" in the block; false when there is none.
bool FindValue(std::string_view block, std::string_view key, std::string& value) {
    while (!block.empty()) {
        const size_t end = block.find('\n');
        const std::string_view line = block.substr(0, end);
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=') {
            value = line.substr(key.size() + 1);
            return true;
        }
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
    }
    return false;
}

} // namespace

std::string RunningProgramPath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

} // namespace klt

BOOL GetVersionString(const char* name, std::string& out, klt::VersionBlock& block) {
    if (!block.bLoaded) {
        block.bLoaded = true;
        std::string error;
        block.bValid = klt::ReadElfSection(klt::RunningProgramPath(), klt::kSection, block.data, error);
    }
    if (!block.bValid) {
        return FALSE;
    }
    return klt::FindValue(block.data, std::string("\\StringFileInfo\\040904B0\\") + name, out) ? TRUE : FALSE;
}

BOOL ReadBuildTime(int32_t& timeBuild, std::string& error) {
    std::string block;
    if (!klt::ReadElfSection(klt::RunningProgramPath(), klt::kSection, block, error)) {
        return FALSE;
    }
    std::string text;
    int64_t seconds = 0;
    const bool bFound = klt::FindValue(block, "TimeDateStamp", text);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (!bFound || ec != std::errc() || end != text.data() + text.size() || seconds < INT32_MIN ||
        seconds > INT32_MAX) {
        error = std::strerror(ENOEXEC);
        return FALSE;
    }
    timeBuild = static_cast<int32_t>(seconds);
    return TRUE;
}
