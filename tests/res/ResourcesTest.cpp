#include "res/Resources.h"

#include "res/resource.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace klt::res;

namespace {

const UINT kDialogs[] = {IDD_ABOUTBOX,  IDD_PROPERTIES, IDD_PASSWORD,         IDD_MASTER_PASSWORD,
                         IDD_NEW_ENTRY, IDD_PASTE,      IDD_CONFIRM_PASSWORD, IDD_README,
                         IDD_OPTIONS,   IDD_LICENSE,    IDD_CONFIRM_REPLACE};

std::string Text(UINT id) {
    auto text = FindString(id);
    return text ? std::string(*text) : std::string("<missing>");
}

void CollectCommands(const std::vector<MenuItem>& items, std::vector<UINT>& ids) {
    for (const MenuItem& item : items) {
        if (item.IsPopup()) {
            CollectCommands(item.popup, ids);
        } else if (!item.IsSeparator()) {
            ids.push_back(item.id);
        }
    }
}

} // namespace

TEST(DialogTemplates, ControlsAreUniqueAndInsideTheirDialog) {
    for (UINT id : kDialogs) {
        const DialogTemplate* pTemplate = FindDialog(id);
        ASSERT_NE(pTemplate, nullptr) << id;
        std::set<int> ids;
        int defaults = 0;
        for (const ControlTemplate& control : pTemplate->controls) {
            if (control.id != IDC_STATIC) {
                EXPECT_TRUE(ids.insert(control.id).second)
                    << "dialog " << id << " repeats control " << control.id;
            }
            if (control.kind == ControlKind::pushButton && (control.style & 0x0F) == BS_DEFPUSHBUTTON) {
                ++defaults;
            }
            EXPECT_LE(control.x + control.cx, pTemplate->cx) << "dialog " << id << " control " << control.id;
            EXPECT_LE(control.y + control.cy, pTemplate->cy) << "dialog " << id << " control " << control.id;
        }
        EXPECT_LE(defaults, 1) << id;
    }
    EXPECT_EQ(FindDialog(999), nullptr);
}

TEST(DialogTemplates, TabOrderPutsTheFirstFocusWhereTheDialogsExpectIt) {
    auto firstTabStop = [](UINT id) {
        for (const ControlTemplate& control : FindDialog(id)->controls) {
            if ((control.style & WS_TABSTOP) != 0 && (control.style & WS_DISABLED) == 0) {
                return control.id;
            }
        }
        return 0;
    };
    EXPECT_EQ(firstTabStop(IDD_NEW_ENTRY), IDC_SYSTEM);
    EXPECT_EQ(firstTabStop(IDD_PROPERTIES), IDOK);
    EXPECT_EQ(firstTabStop(IDD_PASSWORD), IDC_PASSWORD);
    EXPECT_EQ(firstTabStop(IDD_PASTE), IDC_PASTE_LIST); // the "Paste to:" field takes no tab stop
    EXPECT_EQ(firstTabStop(IDD_CONFIRM_REPLACE), IDOK);
    EXPECT_EQ(firstTabStop(IDD_OPTIONS), IDOK);
    EXPECT_EQ(firstTabStop(IDD_README), IDOK);
}

TEST(StringTable, MessagesAndTemplateStringsReadExactly) {
    EXPECT_EQ(Text(IDR_MAINFRAME),
              "Keyloft\n\nKLT\nKeyloft Files (*.klt)\n.klt\nKLT.Document\nKeyloft Document");
    EXPECT_EQ(Text(AFX_IDS_APP_TITLE), "Keyloft");
    EXPECT_EQ(Text(IDR_TRAYICON), "Keyloft");
    EXPECT_EQ(Text(IDS_DUPLICATE_SYSTEM),
              "This system name has already been defined.  Please enter a unique system name.");
    EXPECT_EQ(Text(AFX_IDP_ASK_TO_SAVE), "Save changes to %1?");
    EXPECT_EQ(Text(ID_EDIT_PROPERTIES), "Edit the properties of an entry\nProperties");
    EXPECT_EQ(Text(ID_TRAY_PASTE), "Paste a password or username into the active window");
    EXPECT_FALSE(FindString(12345).has_value());
}

TEST(Menus, EveryCommandOfTheMenuBarAndToolbarHasAPromptAndTheToolbarItsImages) {
    std::vector<UINT> commands;
    CollectCommands(FindMenu(IDR_MAINFRAME)->items, commands);
    CollectCommands(FindMenu(IDR_CONTEXT_MENU)->items, commands);
    const std::set<UINT> withoutPrompt{ID_VIEW_OPTIONS, ID_HELP_README, ID_HELP_LICENSE};
    for (UINT id : commands) {
        if (withoutPrompt.count(id) == 0) {
            EXPECT_TRUE(FindString(id).has_value()) << "command " << id << " has no prompt";
        }
    }
    for (UINT id : FindToolbar(IDR_MAINFRAME)->buttons) {
        if (id != ID_SEPARATOR) {
            EXPECT_NE(IconForCommand(id), nullptr) << id;
            EXPECT_NE(Text(id).find('\n'), std::string::npos) << "button " << id << " has no tool tip";
        }
    }
    ASSERT_EQ(FindMenu(IDR_TRAYICON)->items.size(), 1u);
    EXPECT_EQ(FindMenu(IDR_TRAYICON)->items[0].popup.front().id, static_cast<UINT>(ID_TRAY_PASTE));
}

TEST(Accelerators, NoKeyIsTakenTwice) {
    std::set<std::pair<int, int>> keys;
    for (const Accelerator& key : FindAccelerators(IDR_MAINFRAME)->keys) {
        EXPECT_TRUE(keys.insert({key.flags, key.key}).second)
            << "key " << key.key << " flags " << int(key.flags);
    }
    EXPECT_EQ(keys.size(), 12u);
}
