#pragma once
// Keyloft's resources as plain data, in the framework's forms (ResourceTemplates.h): dialog
// templates, the string table, menus, accelerator tables, toolbars and icons. Nothing here needs Qt.

#include "framework/ResourceTemplates.h"

namespace klt::res {

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

// All of the above, for the framework (AfxSetResources).
ResourceTables ProgramResources();

} // namespace klt::res
