// The dialog templates. Rectangles are in dialog units; controls are listed in tab order.

#include "res/Resources.h"
#include "res/resource.h"

#include <algorithm>

namespace klt::res {
namespace {

constexpr DWORD kModalDialog = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kText = kChild | SS_LEFT;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kPassword = kEdit | ES_PASSWORD;
constexpr DWORD kReadOnlyEdit = kEdit | ES_READONLY;
constexpr DWORD kDisplayEdit = kEdit | WS_DISABLED;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefButton = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kViewerEdit =
    kChild | WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;

constexpr ControlKind S = ControlKind::staticText;
constexpr ControlKind E = ControlKind::edit;
constexpr ControlKind B = ControlKind::pushButton;

const char* const kCaseNote = "NOTE:  This password is case sensitive.";

std::vector<ControlTemplate> ViewerControls(bool bWithCheckBox) {
    std::vector<ControlTemplate> controls{
        {IDOK, B, "OK", kDefButton, 328, 122, 50, 14},
        {IDC_PRINT, B, "&Print", kButton, 273, 122, 50, 14},
        {IDC_TEXT, E, "", kViewerEdit, 7, 7, 371, 107},
    };
    if (bWithCheckBox) {
        controls.push_back({IDC_SHOW_README, ControlKind::checkBox,
                            "&Show this every time the Keyloft starts.", kCheck, 7, 126, 180, 10});
    }
    return controls;
}

const std::vector<DialogTemplate>& Templates() {
    static const std::vector<DialogTemplate> templates{
        {IDD_ABOUTBOX,
         "About the Keyloft",
         kModalDialog,
         304,
         138,
         {
             {IDOK, B, "OK", kDefButton, 264, 9, 31, 14},
             {IDC_APP_ICON, ControlKind::icon, "", kChild | SS_ICON, 8, 6, 21, 20, IDR_MAINFRAME},
             {IDC_PRODUCT_NAME, S, "Product Name", kText, 40, 7, 224, 8},
             {IDC_PRODUCT_VERSION, S, "Product Version", kText, 40, 16, 224, 8},
             {IDC_COPYRIGHT, S, "Legal Copyright", kText, 40, 25, 224, 8},
             {IDC_STATIC, S,
              "Warning: this program is protected by copyright law and international treaties.", kText, 10,
              91, 285, 11},
             {IDC_STATIC, S,
              "Keyloft is free software under the MIT licence. Copying or distributing it, or any part of "
              "it, in a way that licence does not allow (without its copyright and permission notice) "
              "may lead to civil and criminal penalties.",
              kText, 10, 105, 285, 26},
         }},
        {IDD_PROPERTIES,
         "Properties",
         kModalDialog,
         288,
         126,
         {
             {IDOK, B, "OK", kDefButton, 231, 7, 50, 14},
             {IDCANCEL, B, "Cancel", kButton, 231, 24, 50, 14},
             {IDC_REVEAL, B, "&Reveal", kButton, 231, 74, 50, 14},
             {IDC_STATIC, S, "&System:", kText, 7, 7, 26, 8},
             {IDC_SYSTEM, E, "", kEdit, 7, 16, 202, 14},
             {IDC_STATIC, S, "&User Name:", kText, 7, 36, 38, 8},
             {IDC_USERNAME, E, "", kEdit, 7, 45, 202, 14},
             {IDC_STATIC, S, "&Password:", kText, 7, 65, 34, 8},
             {IDC_PASSWORD, E, "", kPassword, 7, 74, 202, 14},
             {IDC_STATIC, S, "Days since last password change:", kText, 7, 104, 108, 8},
             {IDC_DAYS, E, "", kDisplayEdit, 121, 102, 40, 14},
         }},
        {IDD_PASSWORD,
         "Enter your password",
         kModalDialog,
         172,
         62,
         {
             {IDC_PASSWORD, E, "", kPassword, 7, 7, 158, 14},
             {IDOK, B, "OK", kDefButton, 61, 41, 50, 14},
             {IDCANCEL, B, "Cancel", kButton, 115, 41, 50, 14},
             {IDC_STATIC, S, kCaseNote, kText, 7, 24, 128, 8},
         }},
        {IDD_MASTER_PASSWORD,
         "Master password",
         kModalDialog,
         166,
         101,
         {
             {IDC_STATIC, S, "&Original password:", kText, 7, 7, 58, 8},
             {IDC_ORIGINAL_PASSWORD, E, "", kPassword, 7, 16, 152, 14},
             {IDC_STATIC, S, "&New password:", kText, 7, 37, 50, 8},
             {IDC_NEW_PASSWORD, E, "", kPassword, 7, 47, 152, 14},
             {IDC_STATIC, S, kCaseNote, kText, 7, 64, 128, 8},
             {IDOK, B, "OK", kDefButton, 55, 80, 50, 14},
             {IDCANCEL, B, "Cancel", kButton, 109, 80, 50, 14},
         }},
        {IDD_NEW_ENTRY,
         "New entry",
         kModalDialog,
         283,
         101,
         {
             {IDC_STATIC, S, "&System:", kText, 7, 7, 26, 8},
             {IDC_SYSTEM, E, "", kEdit, 7, 17, 202, 14},
             {IDC_STATIC, S, "&User Name:", kText, 7, 37, 38, 8},
             {IDC_USERNAME, E, "", kEdit, 7, 46, 202, 14},
             {IDC_STATIC, S, "&Password:", kText, 7, 66, 34, 8},
             {IDC_PASSWORD, E, "", kPassword, 7, 74, 202, 14},
             {IDOK, B, "OK", kDefButton, 226, 7, 50, 14},
             {IDCANCEL, B, "Cancel", kButton, 226, 24, 50, 14},
         }},
        {IDD_PASTE,
         "Paste a password or username",
         kModalDialog,
         269,
         175,
         {
             {IDC_STATIC, S, "Paste to:", kText, 7, 7, 29, 8},
             {IDC_PASTE_TO, E, "", kChild | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 7, 16, 255, 14},
             {IDC_PASTE_LIST, ControlKind::listBox, "",
              kChild | WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7,
              39, 255, 108},
             {IDC_PASTE_USERNAME, B, "Paste &Username", kButton, 7, 154, 62, 14},
             {IDC_PASTE_PASSWORD, B, "Paste &Password", kButton, 74, 154, 62, 14},
             {IDC_PASTE_CLOSE, B, "&Close", kButton, 212, 154, 50, 14},
         }},
        {IDD_CONFIRM_PASSWORD,
         "Confirm Password",
         kModalDialog,
         231,
         74,
         {
             {IDC_STATIC, S, "Reenter &password:", kText, 7, 7, 60, 8},
             {IDC_CONFIRM, E, "", kPassword, 7, 17, 125, 14},
             {IDOK, B, "OK", kDefButton, 174, 7, 50, 14},
             {IDCANCEL, B, "Cancel", kButton, 174, 24, 50, 14},
             {IDC_STATIC, S, "To confirm that you have not made a typing error, please reenter the password.",
              kText, 7, 51, 217, 16},
         }},
        {IDD_README, "", kModalDialog, 385, 143, ViewerControls(true)},
        {IDD_OPTIONS,
         "Options",
         kModalDialog,
         270,
         95,
         {
             {IDOK, B, "OK", kDefButton, 159, 74, 50, 14},
             {IDCANCEL, B, "Cancel", kButton, 213, 74, 50, 14},
             {IDC_TRAY, ControlKind::checkBox,
              "Keep an icon in the System Tray even when this program is not running.", kCheck, 7, 7, 256,
              10},
             {IDC_STATIC, S, "File to open on startup:", kText, 7, 20, 73, 8},
             {IDC_STARTUP_FILE, E, "", kEdit, 7, 29, 203, 14},
             {IDC_BROWSE, B, "&Browse", kButton, 213, 29, 50, 14},
             {IDC_ENABLE_HOTKEY, ControlKind::checkBox, "Enable hot key", kCheck, 7, 54, 63, 10},
             {IDC_STATIC, S, "Hot key:", kText, 7, 65, 28, 8},
             {IDC_HOTKEY, ControlKind::hotKey, "", kChild | WS_BORDER | WS_TABSTOP, 7, 74, 80, 14},
         }},
        {IDD_LICENSE, "", kModalDialog, 385, 143, ViewerControls(false)},
        {IDD_CONFIRM_REPLACE,
         "Confirm Replace",
         kModalDialog,
         320,
         173,
         {
             {IDOK, B, "Yes", kDefButton, 108, 150, 50, 14},
             {IDCANCEL, B, "No", kButton, 162, 150, 50, 14},
             {IDC_REVEAL, B, "&Reveal", kButton, 135, 90, 50, 14},
             {IDC_STATIC, S, "&System:", kText, 17, 23, 26, 8},
             {IDC_CUR_SYSTEM, E, "", kReadOnlyEdit, 17, 32, 100, 14},
             {IDC_STATIC, S, "&User Name:", kText, 17, 52, 38, 8},
             {IDC_CUR_USERNAME, E, "", kReadOnlyEdit, 17, 61, 100, 14},
             {IDC_STATIC, S, "&Password:", kText, 17, 81, 34, 8},
             {IDC_CUR_PASSWORD, E, "", kReadOnlyEdit | ES_PASSWORD, 17, 90, 100, 14},
             {IDC_STATIC, S, "Last modified:", kText, 17, 120, 44, 8},
             {IDC_CUR_LASTMODIFIED, E, "", kDisplayEdit, 68, 118, 49, 14},
             {IDC_STATIC, ControlKind::groupBox, "Replace:", kGroup, 7, 7, 121, 136},
             {IDC_STATIC, S, "&System:", kText, 202, 23, 26, 8},
             {IDC_WITH_SYSTEM, E, "", kReadOnlyEdit, 202, 32, 100, 14},
             {IDC_STATIC, S, "&User Name:", kText, 202, 52, 38, 8},
             {IDC_WITH_USERNAME, E, "", kReadOnlyEdit, 202, 61, 100, 14},
             {IDC_STATIC, S, "&Password:", kText, 202, 81, 34, 8},
             {IDC_WITH_PASSWORD, E, "", kReadOnlyEdit | ES_PASSWORD, 202, 90, 100, 14},
             {IDC_STATIC, S, "Last modified:", kText, 202, 120, 44, 8},
             {IDC_WITH_LASTMODIFIED, E, "", kDisplayEdit, 253, 118, 49, 14},
             {IDC_STATIC, ControlKind::groupBox, "With:", kGroup, 192, 7, 121, 136},
         }},
    };
    return templates;
}

} // namespace

const std::vector<DialogTemplate>& AllDialogs() {
    return Templates();
}

const DialogTemplate* FindDialog(UINT id) {
    const auto& all = Templates();
    auto it = std::find_if(all.begin(), all.end(), [id](const DialogTemplate& t) { return t.id == id; });
    return it == all.end() ? nullptr : &*it;
}

} // namespace klt::res
