#pragma once
// The forms in which a program hands the framework its resources: dialog templates in dialog units,
// menus, accelerator tables, toolbars, strings and icons. The framework owns none of them: the program
// gives it its tables once at start (AfxSetResources), before it makes a window.

#include "framework/Styles.h"
#include "framework/WinTypes.h"

#include <optional>
#include <string_view>
#include <vector>

namespace klt::res {

enum class ControlKind { staticText, icon, edit, pushButton, checkBox, groupBox, listBox, hotKey };

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

// The program's lookups; each answers nullptr / nullopt for a resource it does not have. The icons
// are Qt resource paths (":/icons/...svg"): a command's toolbar image, an icon resource.
struct ResourceTables {
    const DialogTemplate* (*FindDialog)(UINT id) = nullptr;
    std::optional<std::string_view> (*FindString)(UINT id) = nullptr;
    const MenuTemplate* (*FindMenu)(UINT id) = nullptr;
    const AcceleratorTable* (*FindAccelerators)(UINT id) = nullptr;
    const ToolbarTemplate* (*FindToolbar)(UINT id) = nullptr;
    const char* (*IconForCommand)(UINT id) = nullptr;
    const char* (*IconForResource)(UINT id) = nullptr;
    // Every dialog template, for what must fit them all (the main window's first size).
    const std::vector<DialogTemplate>& (*AllDialogs)() = nullptr;
};

} // namespace klt::res

namespace klt {

// Hands the framework the program's resources; until then, and for a lookup left out, it finds none.
void AfxSetResources(const res::ResourceTables& tables);
const res::ResourceTables& AfxGetResources();

} // namespace klt
