#pragma once
// The application object: the program's start (switches, one instance per user, the start-up file,
// normal or tray mode), the one document template, and the program-wide facts and flags that the
// rest of the program consults.

#include "app/instance/InstanceLock.h"
#include "frame/AppShell.h"
#include "framework/Framework.h"

#include <cstdint>
#include <memory>
#include <string>

class CKLTDoc;

namespace klt {
class CommandServer;
class PlatformRoutes;
} // namespace klt

class CKLTApp : public CWinApp, public klt::AppShell {
public:
    // Reads the version strings and the build time from the program file.
    CKLTApp();
    ~CKLTApp() override;

    // "--help" or "--version" as a word of the command line: prints the usage or the product name and
    // version to standard output and returns true. Asked before the start: it needs no display, takes
    // no lock, reads no settings and leaves a running instance alone.
    bool PrintsInformation(int argc, char* argv[]) const;
    // The start: FALSE ends the program at once (the switch list, a second instance, a failure).
    BOOL InitInstance() override;
    // The command channel goes with the window it serves.
    void DestroyWindows() override;
    // A new file is saved, by default, beside the start-up file.
    std::string GetDefaultFolder() override;
    // Open takes plain and encrypted files alike; Save As offers both types.
    std::string GetFileFilter(BOOL bOpenFileDialog, CDocTemplate* pTemplate) override;

    // Whether the command line holds the switch: a word that is a switch (CCommandLineInfo::IsSwitch)
    // and begins with the letter after its '/' or '-', in either case. A '-' inside a word, as in
    // "my-stuff.klt", is part of a file name.
    BOOL IsSwitchSet(char letter) const;
    // The full path of the file called name beside the program file.
    std::string GetPathBesideProgram(const std::string& name) const;
    // Parses the command line into cmdInfo and settles the file to open: the one named there, else
    // the "Startup File" setting ("DEFAULT.KLT" beside the program). A missing start-up file is made
    // from the open document, which asks for its master password. Records the file as "Last File".
    // A start-up file whose folder is missing is neither made nor opened: the first instance says so
    // once, and "Last File" is left empty.
    void ChooseStartupFile(CCommandLineInfo& cmdInfo);
    // Opens "Last File" unless it is the open document (with none, the window shows what it holds),
    // then shows the main window; FALSE when the file could not be opened.
    BOOL ShowMainWindow(int nCmdShow) override;
    CDocTemplate* GetDocTemplate() const;
    // The one password document, or null before the template has made it.
    CKLTDoc* GetOpenDocument() const;
    // The global hot key from the settings "HotKeyMOD", "HotKeyVK" and "HotKeyEnable", for the main
    // window; TRUE when it is registered now. A combination that cannot be had is no error; one whose
    // key types a character without Ctrl or Alt is never registered.
    BOOL RegisterAppHotKey();
    // TRUE when nothing was registered or the hot key was given back.
    BOOL UnregisterAppHotKey();

    // Commands: Options, the two texts and the About box. Help shows the read-me too.
    void OnOptions();
    void OnHelpReadMe();
    void OnHelpLicense();
    void OnAppAbout();
    void WinHelp(DWORD dwData, UINT nCmd = HELP_CONTEXT) override;

    // klt::AppShell
    BOOL ExitsOnClose() const override { return m_bExitOnClose; }
    void SetExitOnClose(BOOL bExitOnClose) override { m_bExitOnClose = bExitOnClose; }
    bool ConsumeSuppressedActivation() override;

    BOOL m_bHotKeyRegistered = FALSE; // result of the last attempt to register the hot key
    int m_nSuppressActivate = 0;      // main-frame activations still to be skipped
    BOOL m_bExitOnClose = TRUE;       // FALSE: closing the main window only hides it
    std::string m_strProductVersion;
    std::string m_strProductName;
    std::string m_strOriginalFilename;
    std::string m_strProgramPath; // the recorded program file name in the program's folder
    std::string m_strLegalCopyright;
    int32_t m_timeBuild = 0; // seconds since 1970 UTC; 0 when unknown

    static constexpr const char* kSettings = "Settings";
    static constexpr const char* kDefaultFile = "DEFAULT.KLT"; // the start-up file unless the user chose one
    static constexpr const char* kPasteArgument = "--paste";

private:
    // A second start: hands its file, or the paste it was started for, to the first instance and
    // ends; when the first instance cannot be reached, says so and ends with exit status 1.
    void HandOver(bool bPaste);
    // The autostart entry made or removed after Options, and the close rule switched with it.
    void ApplyAutostart(bool bTray);
    // The keyboard, windows and hot key of the desktop, unless a test installed its own.
    void OpenPlatform();

    std::string m_strBuildTimeError; // why the build time could not be read, shown at start
    klt::InstanceLock m_instanceLock;
    std::unique_ptr<klt::CommandServer> m_pCommandServer;
    // The file a second start handed over, for the next ShowMainWindow in place of "Last File",
    // which later starts may have overwritten meanwhile.
    std::string m_strHandedOverFile;
    std::unique_ptr<klt::PlatformRoutes> m_pPlatform;
};
