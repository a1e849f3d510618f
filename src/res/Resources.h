#pragma once
// Keyloft's resources as plain data: dialog templates in dialog units, the string table, menus,
// accelerator tables and toolbars. The framework turns them into windows; nothing here needs Qt.

#include "Styles.h"
#include "WinTypes.h"

#include <optional>
#include <string_view>
#include <vector>

namespace klt::res {

enum class ControlKind { Static, Icon, Edit, PushButton, CheckBox, GroupBox, ListBox, HotKey };

// One control of a dialog template. Controls are listed in tab order.
struct ControlTemplate {
    int id; // IDC_STATIC (-1) for controls the program never addresses
    ControlKind kind;
    const char* text; // caption or static text
    DWORD style;      // WS_*, ES_*, BS_*, LBS_*, SS_* bits
    int x, y, cx, cy; // dialog units
    UINT icon = 0;    // an icon control's icon resource
};

struct DialogTemplate {
    UINT id;
    const char* caption; // "" for none: the dialog then sets its own
    DWORD style;
    int cx, cy; // dialog units of the platform's dialog font
    std::vector<ControlTemplate> controls;
};

// Menu items; a popup carries its items, a separator has id 0 and no text.
struct MenuItem {
    const char* text;
    UINT id;
    std::vector<MenuItem> popup;

    bool IsSeparator() const { return text == nullptr; }
    bool IsPopup() const { return !popup.empty(); }
};

struct MenuTemplate {
    UINT id;
    std::vector<MenuItem> items; // the top level: popups for a menu bar
};

// Accelerator flags as the key tables store them.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct Accelerator {
    BYTE flags; // FVIRTKEY | FSHIFT | FCONTROL | FALT
    WORD key;   // Windows virtual-key code
    UINT command;
};

struct AcceleratorTable {
    UINT id;
    std::vector<Accelerator> keys;
};

// A toolbar: its buttons in order, ID_SEPARATOR (0) for a gap. Each button's image is the icon
// named by IconForCommand.
struct ToolbarTemplate {
    UINT id;
    std::vector<UINT> buttons;
};

// Lookups; nullptr / nullopt when the resource does not exist.
const DialogTemplate* FindDialog(UINT id);
// Every dialog template, for the frame that must hold them and for tests that walk them all.
const std::vector<DialogTemplate>& AllDialogs();
std::optional<std::string_view> FindString(UINT id);
const MenuTemplate* FindMenu(UINT id);
const AcceleratorTable* FindAccelerators(UINT id);
const ToolbarTemplate* FindToolbar(UINT id);

// The Qt resource path (":/icons/...svg") of a command's toolbar image, of an icon resource
// (IDR_MAINFRAME, IDR_TRAYICON), or nullptr.
const char* IconForCommand(UINT id);
const char* IconForResource(UINT id);

} // namespace klt::res
