// Pasting from the tray and the hot key, with the desktop's windows, the keyboard and the hot key faked.

#include "AppTestSupport.h"
#include "FakeHotKey.h"
#include "FakeKeyboard.h"
#include "FakeWindowSystem.h"
#include "MainFrame.h"
#include "PasteDlg.h"
#include "PlatformServices.h"
#include "ScriptedUser.h"

#include <QFile>

using namespace klt::testing;
using klt::WindowId;

namespace {

// Far from the offscreen platform's own window ids, which count up from 1.
constexpr WindowId kEditor = 0x700001, kOther = 0x700002, kPanel = 0x700003, kGone = 0x700004;

} // namespace

class PasteTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        klt::InstallPlatform(&m_services);
        klt::SetTrayHostQuery([this] { return m_bTrayHost; });
        m_windows.windows = {{kEditor, {"Editor"}}, {kOther, {"Other"}}, {kPanel, {"panel", true}}};
        m_windows.foreground = kEditor;
        WritePasswordFile(File("a.klt"), "", {"Mail", "bank", "Shop", "Mail"});
    }
    void TearDown() override {
        AppTest::TearDown();
        klt::InstallPlatform(nullptr);
        klt::SetTrayHostQuery({});
    }
    CMainFrame& Main() const { return *dynamic_cast<CMainFrame*>(Frame()); }
    // The text the key presses spell on the fake layout.
    std::string Typed() const {
        std::string text;
        unsigned shiftState = 0;
        for (const std::string& event : m_keyboard.events) {
            shiftState = event == "+Shift" ? klt::kShiftBit : event == "-Shift" ? 0 : shiftState;
            for (const auto& [c, scan] : m_keyboard.layout) {
                if (event == "+k" + std::to_string(scan.key) && scan.shiftState == shiftState) {
                    text += static_cast<char>(c);
                }
            }
        }
        return text;
    }

    klt::FakeKeyboard m_keyboard;
    klt::FakeWindowSystem m_windows;
    klt::FakeHotKey m_hotKey;
    klt::PlatformServices m_services{m_keyboard, m_windows, m_hotKey};
    bool m_bTrayHost = true;
    ScriptedUser m_user;
};

TEST_F(PasteTest, DialogListsTheEntriesSortedAndRemembersThePositionNotTheEntry) {
    Start({"a.klt"});
    int n = 0;
    for (auto& pEntry : Doc()->m_entryList) { // in file order: Mail, bank, Shop, Mail
        pEntry->m_strUserName = pEntry->m_strSystem == "Shop" ? "" : "user" + std::to_string(n);
        pEntry->m_strPassword = "pw" + std::to_string(n++);
    }
    const auto opensAt = [](int nRow) {
        return [nRow](CDialog& dlg) { EXPECT_EQ(dynamic_cast<CPasteDlg&>(dlg).m_listBox.GetCurSel(), nRow); };
    };
    struct Round {
        std::function<void()> script;
        std::string typed;
        int nSelAfter;
    };
    const std::vector<Round> rounds{
        {[&] { m_user.Dialog(IDD_PASTE).Inspect(opensAt(0)).Click(IDC_PASTE_PASSWORD); }, "pw1", 0}, // bank
        {[&] { m_user.Dialog(IDD_PASTE).ClickRow(IDC_PASTE_LIST, 2).Click(IDC_PASTE_USERNAME); }, "user3", 2},
        {[&] { m_user.Dialog(IDD_PASTE).Inspect(opensAt(2)).ClickRow(IDC_PASTE_LIST, 1).Escape(); }, "", 2},
        {[&] { m_user.Dialog(IDD_PASTE).ClickRow(IDC_PASTE_LIST, 0).Focus(IDC_PASTE_LIST).Enter(); }, "", 2},
        {[&] { m_user.Dialog(IDD_PASTE).ClickRow(IDC_PASTE_LIST, 1).CloseBox(); }, "", 2},
        {[&] { m_user.Dialog(IDD_PASTE).ClickRow(IDC_PASTE_LIST, 3).Click(IDC_PASTE_USERNAME); }, "",
         3}, // Shop
        {[&] { m_user.Dialog(IDD_PASTE).ClickRow(IDC_PASTE_LIST, 1).Click(IDC_PASTE_CLOSE); }, "", 1},
        // Nothing selected: the Paste buttons do nothing, Close remembers -1.
        {[&] {
             Main().m_nPasteSelection = 9;
             m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD).Click(IDC_PASTE_CLOSE);
         },
         "", -1},
    };
    for (size_t i = 0; i < rounds.size(); ++i) {
        m_keyboard.events.clear();
        rounds[i].script();
        Main().PasteToWindow(kEditor);
        EXPECT_EQ(Typed(), rounds[i].typed) << i;
        EXPECT_EQ(Main().m_nPasteSelection, rounds[i].nSelAfter) << i;
    }
    EXPECT_TRUE(m_user.MessageBoxes().empty());
}

TEST_F(PasteTest, PasteChecksItsTargetTypesAndLeavesTheTargetInFront) {
    Start({"a.klt"});
    m_user.Answer(IDOK).Answer(IDOK).Answer(IDOK);
    for (const WindowId target : {WindowId{0}, kGone, kPanel, WindowId{Frame()->GetSafeHwnd()}}) {
        Main().PasteToWindow(target);
    }
    ASSERT_EQ(m_user.MessageBoxes().size(), 3u); // none for the frame itself
    for (const RecordedMessageBox& box : m_user.MessageBoxes()) {
        EXPECT_EQ(box.text, "No active window to paste into.");
        EXPECT_EQ(box.Icon(), MB_ICONSTOP);
    }
    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
    Main().PasteToWindow(kEditor);
    EXPECT_EQ(Typed(), "secret");
    EXPECT_EQ(m_windows.activations, (std::vector<WindowId>{kEditor, kEditor})); // before typing, at the end
    EXPECT_TRUE(Frame()->IsIconic());

    // The target goes while the dialog is open: its title as it was when the paste began.
    m_keyboard.events.clear();
    m_user.Dialog(IDD_PASTE)
        .Inspect([this](CDialog&) { m_windows.windows.erase(kEditor); })
        .ClickRow(IDC_PASTE_LIST, 2)
        .Click(IDC_PASTE_PASSWORD);
    m_user.Answer(IDOK);
    Main().PasteToWindow(kEditor);
    EXPECT_EQ(m_user.MessageBoxes().back().text, "Editor no longer exists.");
    EXPECT_TRUE(m_keyboard.events.empty());
    EXPECT_EQ(Main().m_nPasteSelection, 2);
}

TEST_F(PasteTest, TrayNotificationsRecordTheTargetAndOfferTheMenu) {
    Start({"a.klt"});
    const auto notify = [this](UINT uMouse) { return Frame()->SendMessage(WM_USER, IDR_TRAYICON, uMouse); };
    // The click moved the focus to the panel: the window active before it is the target.
    m_windows.UserActivates(kEditor);
    m_windows.UserActivates(kPanel);
    EXPECT_EQ(notify(WM_LBUTTONUP), 0);
    EXPECT_EQ(Main().m_hPasteTarget, kEditor);
    // Our own window in front records nothing, not even the window active before it.
    m_windows.UserActivates(kOther);
    m_windows.foreground = Frame()->GetSafeHwnd();
    notify(WM_MOUSEMOVE);
    EXPECT_EQ(Main().m_hPasteTarget, kEditor);
    EXPECT_EQ(Frame()->SendMessage(WM_USER, IDR_TRAYICON + 1, WM_RBUTTONUP), 0);

    m_user.ChooseCommand(ID_TRAY_PASTE);
    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
    EXPECT_EQ(notify(WM_RBUTTONUP), 1);
    ProcessPendingEvents();
    ASSERT_EQ(m_user.PopupMenus().size(), 1u);
    const RecordedMenu& menu = m_user.PopupMenus()[0];
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(menu[0].text, "&Paste a username or password");
    EXPECT_TRUE(menu[0].bDefault);
    EXPECT_EQ(std::count_if(menu.begin(), menu.end(), [](const auto& item) { return item.bDefault; }), 1);
    EXPECT_EQ(Typed(), "secret");

    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_CLOSE);
    EXPECT_EQ(notify(WM_LBUTTONDBLCLK), 1); // the paste runs at once
    EXPECT_EQ(m_user.Dialogs(), (std::vector<UINT>{IDD_PASTE, IDD_PASTE}));
    EXPECT_EQ(Main().m_trayIcon.GetTip(), "Keyloft");
}

TEST_F(PasteTest, InTrayModeCloseAsksFirstAndHidesAndExitEnds) {
    Start({"a.klt"});
    m_pApp->m_bExitOnClose = FALSE;
    Doc()->SetModifiedFlag();
    m_user.Answer(IDCANCEL).Answer(IDNO);
    Frame()->SendMessage(WM_CLOSE);
    EXPECT_TRUE(Frame()->IsWindowVisible());
    Frame()->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_FALSE(Frame()->IsWindowVisible());
    EXPECT_FALSE(Frame()->IsIconic());
    EXPECT_TRUE(Doc()->m_entryList.empty());

    CFrameWnd* pFrame = Frame();
    pFrame->SendMessage(WM_COMMAND, ID_TRAY_EXIT);
    EXPECT_TRUE(m_pApp->m_bExitOnClose);
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    EXPECT_FALSE(dynamic_cast<CMainFrame*>(pFrame)->m_trayIcon.IsShown());
}

TEST_F(PasteTest, TrayAddAppendsAnEntryEvenUnderANameThatExists) {
    Start({"/s", "a.klt"});
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "Mail").Type(IDC_USERNAME, "bob").Click(IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_TRAY_ADD);
    ASSERT_EQ(Doc()->m_entryList.size(), 5u);
    EXPECT_EQ(Doc()->m_entryList.back()->m_strSystem, "Mail");
    EXPECT_EQ(Doc()->m_entryList.back()->m_strUserName, "bob");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Frame()->IsWindowVisible());
}

TEST_F(PasteTest, HotKeyFollowsItsSettingsAndPastesIntoTheForegroundWindow) {
    struct Case {
        std::string mod, vk, enable;
        bool bOwnedElsewhere;
        std::optional<klt::FakeHotKey::Combination> registered;
    };
    const std::vector<Case> cases{
        {"", "", "", false, klt::FakeHotKey::Combination{MOD_ALT, VK_INSERT}},
        {"6", "75", "1", false, klt::FakeHotKey::Combination{MOD_CONTROL | MOD_SHIFT, 'K'}},
        {"", "", "0", false, std::nullopt},
        {"", "", "", true, std::nullopt}, // another program holds it: the start goes on
    };
    for (const Case& c : cases) {
        QFile::remove(SettingsFile());
        for (const auto& [key, value] :
             {std::pair{"HotKeyMOD", c.mod}, {"HotKeyVK", c.vk}, {"HotKeyEnable", c.enable}}) {
            if (!value.empty()) {
                WriteSetting(std::string("Settings/") + key, value);
            }
        }
        m_hotKey.registered.reset();
        m_hotKey.ownedByOthers.clear();
        if (c.bOwnedElsewhere) {
            m_hotKey.ownedByOthers.insert({MOD_ALT, VK_INSERT});
        }
        Start({"a.klt"});
        EXPECT_EQ(m_hotKey.registered, c.registered) << c.mod << c.vk << c.enable;
        EXPECT_EQ(m_pApp->m_bHotKeyRegistered, c.registered.has_value());
    }
    m_user.Dialog(IDD_PASTE)
        .Inspect([](CDialog& dlg) { EXPECT_EQ(dynamic_cast<CPasteDlg&>(dlg).m_strPasteTo, "Other"); })
        .Click(IDC_PASTE_CLOSE);
    m_windows.foreground = kOther;
    m_hotKey.ownedByOthers.clear();
    Start({"a.klt"});
    ASSERT_TRUE(m_hotKey.Press());
    ProcessPendingEvents();
    EXPECT_EQ(m_user.Dialogs(), std::vector<UINT>{IDD_PASTE});
}
