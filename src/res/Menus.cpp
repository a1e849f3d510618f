// Menus, accelerator tables, the toolbar and the icons of commands and windows.

#include "res/Resources.h"
#include "res/resource.h"

#include <algorithm>
#include <array>

namespace klt::res {
namespace {

const MenuItem kSeparator{nullptr, 0, {}};

const std::vector<MenuTemplate>& Menus() {
    static const std::vector<MenuTemplate> menus{
        {IDR_TRAYICON,
         {{"Tray",
           0,
           {
               {"&Paste a username or password", ID_TRAY_PASTE, {}},
               {"&Configure the Keyloft and edit passwords", ID_TRAY_CONFIGURE, {}},
               {"A&dd a password", ID_TRAY_ADD, {}},
               kSeparator,
               {"&About", ID_APP_ABOUT, {}},
               kSeparator,
               {"&Exit and remove this icon from the System Tray", ID_TRAY_EXIT, {}},
           }}}},
        {IDR_MAINFRAME,
         {
             {"&File",
              0,
              {
                  {"&New\tCtrl+N", ID_FILE_NEW, {}},
                  {"&Open...\tCtrl+O", ID_FILE_OPEN, {}},
                  {"&Save\tCtrl+S", ID_FILE_SAVE, {}},
                  {"Save &As...", ID_FILE_SAVE_AS, {}},
                  kSeparator,
                  {"&Merge", ID_FILE_MERGE, {}},
                  {"File &Password", ID_FILE_PASSWORD, {}},
                  kSeparator,
                  {"Recent File", ID_FILE_MRU_FILE1, {}},
                  kSeparator,
                  {"E&xit", ID_APP_EXIT, {}},
              }},
             {"&Edit",
              0,
              {
                  {"&Add\tCtrl+A", ID_EDIT_ADD, {}},
                  {"&Delete\tCtrl+D", ID_EDIT_DELETE, {}},
                  {"&Properties\tCtrl+P", ID_EDIT_PROPERTIES, {}},
              }},
             {"&View",
              0,
              {
                  {"&Toolbar", ID_VIEW_TOOLBAR, {}},
                  {"&Status Bar", ID_VIEW_STATUS_BAR, {}},
                  kSeparator,
                  {"&Options", ID_VIEW_OPTIONS, {}},
              }},
             {"&Help",
              0,
              {
                  {"&Help Topics", ID_HELP_FINDER, {}},
                  {"View Read&Me file", ID_HELP_README, {}},
                  {"View &License Agreement", ID_HELP_LICENSE, {}},
                  kSeparator,
                  {"&About the Keyloft...", ID_APP_ABOUT, {}},
              }},
         }},
        {IDR_CONTEXT_MENU,
         {{"Entry",
           0,
           {
               {"&Add\tCtrl+A", ID_EDIT_ADD, {}},
               {"&Delete\tCtrl+D", ID_EDIT_DELETE, {}},
               {"&Properties\tCtrl+P", ID_EDIT_PROPERTIES, {}},
           }}}},
    };
    return menus;
}

constexpr BYTE kVirt = FVIRTKEY;
constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;

const std::vector<AcceleratorTable>& Accelerators() {
    static const std::vector<AcceleratorTable> tables{
        {IDR_MAINFRAME,
         {
             {kCtrl, 'N', ID_FILE_NEW},
             {kCtrl, 'O', ID_FILE_OPEN},
             {kCtrl, 'S', ID_FILE_SAVE},
             {kCtrl, 'A', ID_EDIT_ADD},
             {kVirt, 0x2D /* VK_INSERT */, ID_EDIT_ADD},
             {kCtrl, 'D', ID_EDIT_DELETE},
             {kVirt, 0x2E /* VK_DELETE */, ID_EDIT_DELETE},
             {kCtrl, 'P', ID_EDIT_PROPERTIES},
             {kVirt, 0x0D /* VK_RETURN */, ID_EDIT_PROPERTIES},
             {kVirt | FALT, 0x0D /* VK_RETURN */, ID_EDIT_PROPERTIES},
             {kVirt, 0x70 /* VK_F1 */, ID_HELP},
             {kVirt | FSHIFT, 0x70 /* VK_F1 */, ID_CONTEXT_HELP},
         }},
    };
    return tables;
}

const std::vector<ToolbarTemplate>& Toolbars() {
    static const std::vector<ToolbarTemplate> toolbars{
        {IDR_MAINFRAME,
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR, ID_EDIT_ADD, ID_EDIT_DELETE,
          ID_EDIT_PROPERTIES, ID_SEPARATOR, ID_APP_ABOUT, ID_CONTEXT_HELP}},
    };
    return toolbars;
}

struct IconEntry {
    UINT id;
    const char* path;
};

constexpr std::array kCommandIcons = std::to_array<IconEntry>({
    {ID_FILE_NEW, ":/icons/new.svg"},
    {ID_FILE_OPEN, ":/icons/open.svg"},
    {ID_FILE_SAVE, ":/icons/save.svg"},
    {ID_EDIT_ADD, ":/icons/add.svg"},
    {ID_EDIT_DELETE, ":/icons/delete.svg"},
    {ID_EDIT_PROPERTIES, ":/icons/properties.svg"},
    {ID_APP_ABOUT, ":/icons/about.svg"},
    {ID_CONTEXT_HELP, ":/icons/contexthelp.svg"},
});

constexpr std::array kResourceIcons = std::to_array<IconEntry>({
    {IDR_TRAYICON, ":/icons/tray.svg"},
    {IDR_MAINFRAME, ":/icons/keyloft.svg"},
});

template <class Container> auto FindById(const Container& all, UINT id) {
    auto it = std::find_if(std::begin(all), std::end(all), [id](const auto& e) { return e.id == id; });
    return it == std::end(all) ? nullptr : &*it;
}

} // namespace

const MenuTemplate* FindMenu(UINT id) {
    return FindById(Menus(), id);
}
const AcceleratorTable* FindAccelerators(UINT id) {
    return FindById(Accelerators(), id);
}
const ToolbarTemplate* FindToolbar(UINT id) {
    return FindById(Toolbars(), id);
}

const char* IconForCommand(UINT id) {
    const IconEntry* entry = FindById(kCommandIcons, id);
    return entry ? entry->path : nullptr;
}

const char* IconForResource(UINT id) {
    const IconEntry* entry = FindById(kResourceIcons, id);
    return entry ? entry->path : nullptr;
}

} // namespace klt::res
