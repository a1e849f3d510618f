#pragma once
// Password files for the document's tests, and a folder and settings of their own.

#include "framework/WinApp.h"
#include "store/FileIo.h"
#include "store/PasswordFileContent.h"
#include "support/TempFolder.h"

#include <QSettings>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace klt::test {

constexpr int32_t kStamp = 916358400; // 1999-01-15

// Mail / ann and Bank / bob, in that order.
inline PasswordFileContent TwoEntries(const std::string& strMasterPassword = "", int32_t timeStamp = kStamp) {
    PasswordFileContent content;
    content.strMasterPassword = strMasterPassword;
    content.timeStamp = timeStamp;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "pw1", 917827200));
    content.entryList.push_back(std::make_unique<QMPassword>("Bank", "bob", "pw2", 917913600));
    return content;
}

// The document's time stamp as it stands in a file image.
inline int32_t StampOf(const std::string& image, size_t nPasswordLength) {
    const size_t at = 6 + nPasswordLength;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value |= uint32_t(static_cast<uint8_t>(image.at(at + i))) << (8 * i);
    }
    return static_cast<int32_t>(value);
}

class DocFolder {
public:
    std::string PathOf(const std::string& name) const { return m_folder.PathOf(name); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
    std::string Write(const std::string& name, const PasswordFileContent& content) const {
        return Write(name, content.Build());
    }
    static std::string Read(const std::string& path) { return ReadFileContents(path); }

private:
    testing::TempFolder m_folder{"klt_doc_"};
};

// An application object for the settings ("Last File"), emptied for each test.
class DocApp : public CWinApp {
public:
    DocApp() {
        SetRegistryKey("Quellmoor");
        GetSettings().clear();
    }
    std::string LastFile() { return GetProfileString("Settings", "Last File", ""); }
};

} // namespace klt::test
