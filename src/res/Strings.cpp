// The string table: messages, command prompts ("prompt\ntool tip"), the document template's
// strings and the framework's own texts.

#include "res/Resources.h"
#include "res/resource.h"

#include <algorithm>
#include <array>
#include <utility>

namespace klt::res {
namespace {

struct StringEntry {
    UINT id;
    const char* text;
};

// Sorted by id for the binary search below.
constexpr std::array kStrings = std::to_array<StringEntry>({
    {IDR_TRAYICON, "Keyloft"},
    {IDR_MAINFRAME, "Keyloft\n\nKLT\nKeyloft Files (*.klt)\n.klt\nKLT.Document\nKeyloft Document"},
    {ID_EDIT_ADD, "Add a new entry\nAdd"},
    {ID_EDIT_DELETE, "Delete an entry\nDelete"},
    {ID_TRAY_CONFIGURE, "Configure the Keyloft and edit passwords"},
    {ID_TRAY_PASTE, "Paste a password or username into the active window"},
    {ID_TRAY_ADD, "Add a password and username"},
    {ID_FILE_PASSWORD, "Change the master password for this file\nFile Password"},
    {ID_FILE_MERGE, "Merge another Keyloft file into this one\nMerge"},
    {ID_EDIT_PROPERTIES, "Edit the properties of an entry\nProperties"},
    {AFX_IDS_APP_TITLE, "Keyloft"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_FILE_NEW, "Create a new password file\nNew"},
    {ID_FILE_OPEN, "Open an existing password file\nOpen"},
    {ID_FILE_SAVE, "Save the password file\nSave"},
    {ID_FILE_SAVE_AS, "Save the password file under a new name\nSave As"},
    {ID_FILE_MRU_FILE1, "Open this file"},
    {ID_FILE_MRU_FILE2, "Open this file"},
    {ID_FILE_MRU_FILE3, "Open this file"},
    {ID_FILE_MRU_FILE4, "Open this file"},
    {ID_APP_ABOUT, "Show the program's version and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the program; asks to save changes\nExit"},
    {ID_HELP_FINDER, "List the help topics\nHelp Topics"},
    {ID_CONTEXT_HELP, "Show help for the button, menu or window clicked next\nHelp"},
    {ID_HELP, "Show help for the current task\nHelp"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle Toolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle Status Bar"},
    {IDS_SWITCHES, "Startup switches:\n\n/S - Start in System Tray Mode\n/N - Start in Normal Mode\n"
                   "/M - Start Minimized (normal mode only)"},
    {IDS_INVALID_PASSWORD, "Invalid Password."},
    {IDS_CONFIRM_MISMATCH, "The password confirmation does not match."},
    {IDS_ORIGINAL_INCORRECT, "Original password incorrect."},
    {IDS_DEFAULT_FILE_CREATED,
     "The default password file has been created.  The next dialog will prompt for a password to protect "
     "this new file.  Enter a master password to keep your other passwords confidential."},
    {IDS_ENCRYPTED_EDITION,
     "This password file requires the encrypted edition.  To convert, open this file in "
     "the encrypted edition and save it without a password."},
    {IDS_FILE_NOT_SAVED, "Your file was not saved."},
    {IDS_DELETE_MARKED, "Delete all marked entries?"},
    {IDS_ENTER_PASSWORD, "Enter the password."},
    {IDS_ENTER_PASSWORD_FOR, "Enter the password for %s."},
    {IDS_DELETE_ENTRY, "Delete the entry for %s?"},
    {IDS_NEED_SYSTEM_NAME, "You must enter a system name."},
    {IDS_PRINT_ERROR, "Error printing file."},
    {IDS_MERGE_COMPLETE, "Merge complete."},
    {IDS_DUPLICATE_SYSTEM, "This system name has already been defined.  Please enter a unique system name."},
    {IDS_PASSWORD_TOO_LONG, "The password is too long.  A master password can have at most 255 bytes; "
                            "accented letters and other special characters take two or more bytes each."},
    {IDS_NO_PASTE_TARGET, "No active window to paste into."},
    {IDS_TARGET_GONE, "%s no longer exists."},
    {IDS_AUTOSTART_FOLDER_FAILED, "Could not open or create the autostart folder %s."},
    {IDS_AUTOSTART_ENTRY_FAILED, "Could not write or remove the autostart entry.\n\n%s"},
    {IDS_TEXT_FILE_MISSING, "The file %s is missing or otherwise could not be opened."},
    {IDS_ABORT_SETUP_ERROR, "Abort process setup error."},
    {IDS_PRODUCT_LINE, "%s, %scrypted Edition"},
    {IDS_VERSION_LINE, "Version %s (build date: %s)"},
    {IDS_README_TITLE, "ReadMe File"},
    {IDS_LICENSE_TITLE, "License Agreement"},
    {IDS_FILE_CHANGED_ELSEWHERE,
     "%1 has been changed by another program since it was opened or saved. Replace it with your version?"},
    {IDS_INSTANCE_UNREACHABLE,
     "Keyloft is already running but could not be reached, so it was not brought up.  "
     "End the running Keyloft and start it again."},
    {IDS_NO_PRIVATE_FOLDER,
     "Keyloft needs a folder that only you can use, for the lock that keeps it to one copy "
     "at a time, and none could be found or made.  Set XDG_RUNTIME_DIR to such a folder."},
    {IDS_CHARACTERS_NOT_TYPED,
     "Keyloft could not type %s of the characters: the keyboard layout of this desktop cannot "
     "produce them."},
    {IDS_CANNOT_TYPE_HERE,
     "Keyloft cannot type into this window on this desktop.  Windows of X11 programs still work."},
    {IDS_TYPING_STOPPED, "Typing stopped after %d of %d characters: %s no longer has the keyboard focus."},
    {IDS_INVALID_PASSWORD_OR_DAMAGED, "Invalid password, or the file is damaged."},
    {IDS_OPEN_FILTER, "Keyloft Files (*.klt;*.kltx)|*.klt;*.kltx|All Files (*.*)|*.*||"},
    {IDS_SAVE_FILTER,
     "Keyloft Files (*.klt)|*.klt|Keyloft Encrypted Files (*.kltx)|*.kltx|All Files (*.*)|*.*||"},
    {IDS_USAGE, "Usage: keyloft [/S] [/N] [/M] [FILE]\n"
                "       keyloft --paste\n"
                "\n"
                "Keeps passwords and types them into other windows.  Only one Keyloft runs for each user:\n"
                "starting it again brings up the running one.\n"
                "\n"
                "  FILE       the password file to open; without one, the start-up file\n"
                "  /S         start in System Tray Mode\n"
                "  /N         start in Normal Mode\n"
                "  /M         start minimized (normal mode only)\n"
                "  /?         show the startup switches in a window\n"
                "  --paste    type a user name or password into the window you work in (for a hot key)\n"
                "  --help     show this help and exit\n"
                "  --version  show the version and exit\n"
                "\n"
                "A switch may be written with - as well, as in -s.\n"},
    {IDS_STARTUP_FOLDER_MISSING,
     "The start-up file's folder %s does not exist, so Keyloft starts without a file.  Choose "
     "another start-up file in Options."},
    {IDS_ASK_STARTUP_FOLDER_MISSING,
     "The folder %s does not exist.  Until it does, Keyloft starts without a file.  Keep this "
     "start-up file?"},
    {AFX_IDS_UNTITLED, "Untitled"},
    {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDP_INVALID_FILENAME, "Invalid filename."},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
    {AFX_IDP_ASK_TO_SAVE, "Save changes to %1?"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
    {AFX_IDP_PARSE_INT, "Please enter an integer."},
    {AFX_IDP_ARCH_BADFORMAT, "Unexpected file format."},
});

constexpr bool IsSorted() {
    for (size_t i = 1; i < kStrings.size(); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(IsSorted(), "the string table must be sorted by id without duplicates");

} // namespace

std::optional<std::string_view> FindString(UINT id) {
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const StringEntry& e, UINT key) { return e.id < key; });
    if (it == kStrings.end() || it->id != id) {
        return std::nullopt;
    }
    return std::string_view(it->text);
}

} // namespace klt::res
