#pragma once
// The program as the user runs it: a copy in a folder of its own (an unpacked portable copy), started
// with a command line in a current folder.

#include "e2e/Desktop.h"
#include "support/userfiles/UserFiles.h"

#include <QProcess>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace klt::e2e {

using klt::testing::ReadSetting;
using klt::testing::WritePasswordFile;
using klt::testing::WriteSetting;

// Copies the built program and its texts into folder; returns the copy's path.
std::string MakePortableCopy(const std::string& folder);

class KeyloftProcess {
public:
    KeyloftProcess(const std::string& program, const std::vector<std::string>& args,
                   const std::string& folder);
    ~KeyloftProcess(); // a process still running is killed

    bool IsRunning() const { return m_process.state() != QProcess::NotRunning; }
    qint64 ProcessId() const { return m_process.processId(); }
    // The exit status, once the process has ended within the bound; empty when it did not.
    std::optional<int> WaitForExit();
    // Ends the process as a crash would: at once, without any clean-up.
    void Crash();

private:
    QProcess m_process;
};

// Waits, within the bound, until the setting has a value other than before.
std::string WaitForSettingOtherThan(const std::string& key, const std::string& before);

} // namespace klt::e2e
