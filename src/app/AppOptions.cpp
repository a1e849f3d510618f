// The Options command: the hot key, the start-up file and the start at log-on in the tray.

#include "app/KLTApp.h"
#include "app/OptionsDlg.h"
#include "app/desktop/DesktopEntry.h"
#include "res/resource.h"

#include <filesystem>

void CKLTApp::OnOptions() {
    COptionsDlg dialog;
    dialog.SetHotKeyFromSettings(LOWORD(GetProfileInt(kSettings, "HotKeyMOD", MOD_ALT)),
                                 LOWORD(GetProfileInt(kSettings, "HotKeyVK", VK_INSERT)));
    dialog.m_bEnableHotKey = static_cast<int>(GetProfileInt(kSettings, "HotKeyEnable", 1));
    dialog.m_bTray = klt::AutostartEntryExists(klt::AutostartEntryPath(m_strProductName)) ? 1 : 0;
    dialog.m_strStartupFile = GetProfileString(kSettings, "Startup File", kDefaultFile);

    // While the dialog is open, pressing the current combination only sets the hot-key field.
    UnregisterAppHotKey();
    if (dialog.DoModal() == IDOK) {
        WORD wModifiers = 0;
        WORD wVirtualKey = 0;
        dialog.GetHotKeyForSettings(wModifiers, wVirtualKey);
        WriteProfileInt(kSettings, "HotKeyVK", wVirtualKey);
        WriteProfileInt(kSettings, "HotKeyMOD", wModifiers);
        WriteProfileInt(kSettings, "HotKeyEnable", dialog.m_bEnableHotKey);
        WriteProfileString(kSettings, "Startup File", dialog.m_strStartupFile);
        ApplyAutostart(dialog.m_bTray != 0);
    }
    RegisterAppHotKey();
}

void CKLTApp::ApplyAutostart(bool bTray) {
    const std::string entry = klt::AutostartEntryPath(m_strProductName);
    // Removing needs no folder: where there is none, there is no entry either.
    if ((bTray || klt::AutostartEntryExists(entry)) && !klt::OpenAutostartFolder(entry)) {
        const std::string folder = std::filesystem::path(entry).parent_path().string();
        AfxMessageBox(klt::FormatString(IDS_AUTOSTART_FOLDER_FAILED, folder), MB_OK | MB_ICONSTOP);
        return;
    }
    std::string error;
    const bool bDone = bTray ? klt::WriteAutostartEntry(entry, m_strProductName, m_strProgramPath, error)
                             : klt::RemoveAutostartEntry(entry, error);
    // The close rule follows the box, whatever became of the entry.
    m_bExitOnClose = bTray ? FALSE : TRUE;
    if (!bDone) {
        AfxMessageBox(klt::FormatString(IDS_AUTOSTART_ENTRY_FAILED, error), MB_OK | MB_ICONSTOP);
    }
}
