#pragma once
// The application object: start-up (InitInstance), the profile settings, the document templates,
// the recent-file list, New / Open / Exit, message boxes and the wait cursor. Exactly one exists at
// a time; AfxGetApp() returns it.
//
// Settings live in QSettings with the registry key as organisation and the application name as
// application: $XDG_CONFIG_HOME/Quellmoor/Keyloft.conf. Sections are groups, value names unchanged.

#include "framework/CmdTarget.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;
class QSettings;

constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_FINDER = 0x000B;

class CWinApp : public CCmdTarget {
public:
    // Without a name the application takes string AFX_IDS_APP_TITLE ("Keyloft").
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Writes the recent-file list; the result is the process's exit code (the event loop's).
    virtual int ExitInstance();
    // The event loop; returns ExitInstance's result.
    virtual int Run();
    // Destroys the templates with their documents, frames and menus, and whatever else the
    // application holds that needs the window system: AfxWinMain calls it while the QApplication,
    // and with it the display connection, still exists.
    virtual void DestroyWindows();
    // When the event loop has nothing to do: refreshes the main frame's toolbar and indicators.
    virtual BOOL OnIdle(LONG lCount);

    // The program's arguments (without the program itself): kept for ParseCommandLine and as the
    // raw command-line text m_lpCmdLine (arguments joined by blanks, quoted when they hold one).
    void SetCommandLine(const std::vector<std::string>& args);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // New, Open or Print-as-Open for the record; FALSE when that failed.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // ---- Profile settings
    void SetRegistryKey(const char* lpszRegistryKey);
    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault);
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue);
    std::string GetProfileString(const char* lpszSection, const char* lpszEntry,
                                 const char* lpszDefault = nullptr);
    // A null lpszValue removes the value.
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue);
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry, const std::string& value);
    // The settings file's store (for tests and for removing whole sections).
    QSettings& GetSettings();

    // ---- Documents
    // Reads the recent-file list of nMaxMRU entries (section "Recent File List", "File1"...).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    // Takes ownership.
    void AddDocTemplate(CDocTemplate* pTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    // Opens path through the template (activating the frame if it is open already).
    virtual CDocument* OpenDocumentFile(const std::string& path);
    virtual void AddToRecentFileList(const std::string& path);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // The file dialog for Open (bOpenFileDialog) and Save As, with the types of GetFileFilter and
    // the template's extension. fileName is the initial name in and the choice out.
    BOOL DoPromptFileName(std::string& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);
    // The types that dialog offers, in CFileDialog's filter form: the template's own and
    // "All Files (*.*)". A program with more than one type of file lists its own.
    virtual std::string GetFileFilter(BOOL bOpenFileDialog, CDocTemplate* pTemplate);
    // The folder where a file dialog starts for a name without a folder of its own (the name of a
    // new document); empty: the current folder.
    virtual std::string GetDefaultFolder();

    // ---- Commands (mapped by the application's own map)
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    void OnAppExit();

    // A command that replaces or empties the document (a second start's hand-over, a tray command
    // that opens the file) goes through here: it runs now when no modal dialog is open, else once
    // the last one has closed, after those that came before it (klt::RunWhenNoModal).
    void RunWhenNoModal(std::function<void()> task);

    // ---- User interface
    // nCode 1 shows the wait cursor, -1 removes it, 0 shows it again after a dialog hid it.
    virtual void DoWaitCursor(int nCode);
    int GetWaitCursorCount() const { return m_nWaitCursorCount; }
    virtual int DoMessageBox(const std::string& prompt, UINT nType, UINT nIDPrompt);
    // Help. There is no help file: the default does nothing; the program shows its own help.
    virtual void WinHelp(DWORD dwData, UINT nCmd = HELP_CONTEXT);

    const char* m_pszAppName = nullptr;
    const char* m_pszRegistryKey = nullptr;
    std::string m_lpCmdLine;
    std::vector<std::string> m_args;
    int m_nCmdShow = -1; // the first frame's show command; -1 shows it normally
    CWnd* m_pMainWnd = nullptr;

private:
    void ConnectIdle();
    friend void AfxPostQuitMessage(int nExitCode);

    std::string m_strAppName;
    std::string m_strRegistryKey;
    std::unique_ptr<QSettings> m_pSettings;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    int m_nWaitCursorCount = 0;
    bool m_bQuitPosted = false;
    int m_nQuitCode = 0;
};

CWinApp* AfxGetApp();
// Ends the program's event loop with nExitCode: at once when it runs, else as soon as Run starts it.
void AfxPostQuitMessage(int nExitCode);
// The program's main: makes the QApplication, hands the arguments to the application object, runs
// InitInstance and, when it succeeds, the event loop.
int AfxWinMain(int argc, char* argv[]);
