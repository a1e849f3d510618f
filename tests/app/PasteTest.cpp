// Pasting from the tray and the hot key, with the desktop's windows, the keyboard and the hot key faked.

#include "app/AppTestSupport.h"
#include "frame/MainFrame.h"
#include "frame/PasteDlg.h"
#include "support/WaitUntil.h"


using namespace klt::testing;
using klt::WindowId;

// Far from the offscreen platform's own window ids, which count up from 1.
constexpr WindowId kEditor = 0x700001, kOther = 0x700002, kPanel = 0x700003, kGone = 0x700004;

class PasteTest : public FakeDesktopTest {
protected:
    void SetUp() override {
        FakeDesktopTest::SetUp();
        klt::SetTrayHostQuery([] { return true; });
        m_windows.windows = {{kEditor, {"Editor"}}, {kOther, {"Other"}}, {kPanel, {"panel", true}}};
        m_windows.foreground = kEditor;
        WritePasswordFile(File("a.klt"), "", {"Mail", "bank", "Shop", "Mail"});
        Start({"a.klt"});
    }
    CMainFrame& Main() const { return *dynamic_cast<CMainFrame*>(Frame()); }
    // The small letters the keys typed (on the fake layout, 'a' is key 38).
    std::string Typed() const {
        std::string text;
        for (const std::string& event : m_keyboard.events) {
            text += event.starts_with("+k")
                        ? std::string(1, static_cast<char>('a' + std::stoi(event.substr(2)) - 38))
                        : "";
        }
        return text;
    }
};

TEST_F(PasteTest, DialogListsTheEntriesSortedAndRemembersThePositionNotTheEntry) {
    const std::string letters = "wxyz";   // each entry's password; its user name is that letter twice
    auto it = Doc()->m_entryList.begin(); // in file order: Mail, bank, Shop, Mail
    for (const char c : letters) {
        (*it)->m_strPassword = std::string(1, c);
        (*it++)->m_strUserName = (c == 'y' ? "" : std::string(2, c)); // Shop has none
    }
    const auto opensAt = [](int nRow) {
        return [nRow](CDialog& dlg) { EXPECT_EQ(dynamic_cast<CPasteDlg&>(dlg).m_listBox.GetCurSel(), nRow); };
    };
    struct Round {
        std::function<void(ScriptedUser&)> script; // sorted: bank, Mail, Mail, Shop
        std::string typed;
        int nSelAfter;
    };
    const std::vector<Round> rounds{
        {[&](ScriptedUser& u) { u.Inspect(opensAt(0)).Click(IDC_PASTE_PASSWORD); }, "x", 0},
        {[&](ScriptedUser& u) { u.ClickRow(IDC_PASTE_LIST, 2).Click(IDC_PASTE_USERNAME); }, "zz", 2},
        {[&](ScriptedUser& u) { u.Inspect(opensAt(2)).ClickRow(IDC_PASTE_LIST, 1).Escape(); }, "", 2},
        {[&](ScriptedUser& u) { u.ClickRow(IDC_PASTE_LIST, 0).Focus(IDC_PASTE_LIST).Enter(); }, "", 2},
        {[&](ScriptedUser& u) { u.ClickRow(IDC_PASTE_LIST, 1).CloseBox(); }, "", 2},
        {[&](ScriptedUser& u) { u.ClickRow(IDC_PASTE_LIST, 3).Click(IDC_PASTE_USERNAME); }, "", 3},
        {[&](ScriptedUser& u) {
             u.ClickRow(IDC_PASTE_LIST, 1).DoubleClickRow(IDC_PASTE_LIST, 1).Click(IDC_PASTE_CLOSE);
         },
         "", 1},
        // Nothing selected: the Paste buttons do nothing, Close remembers -1.
        {[&](ScriptedUser& u) {
             Main().m_nPasteSelection = 9;
             u.Click(IDC_PASTE_PASSWORD).Click(IDC_PASTE_CLOSE);
         },
         "", -1},
    };
    for (size_t i = 0; i < rounds.size(); ++i) {
        m_keyboard.events.clear();
        rounds[i].script(m_user.Dialog(IDD_PASTE));
        Main().PasteToWindow(kEditor);
        EXPECT_EQ(Typed(), rounds[i].typed) << i;
        EXPECT_EQ(Main().m_nPasteSelection, rounds[i].nSelAfter) << i;
    }
    EXPECT_TRUE(m_user.MessageBoxes().empty());
}

TEST_F(PasteTest, PasteChecksItsTargetTypesAndLeavesTheTargetInFront) {
    m_user.Answer(IDOK).Answer(IDOK).Answer(IDOK);
    for (const WindowId target : {WindowId{0}, kGone, kPanel, WindowId{Frame()->GetSafeHwnd()}}) {
        Main().PasteToWindow(target);
    }
    ASSERT_EQ(m_user.MessageBoxes().size(), 3u); // none for the frame itself
    EXPECT_EQ(m_user.MessageBoxes()[2].text, "No active window to paste into.");
    EXPECT_EQ(m_user.MessageBoxes()[2].Icon(), MB_ICONSTOP);
    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
    Main().PasteToWindow(kEditor);
    EXPECT_EQ(Typed(), "secret");
    EXPECT_EQ(m_windows.activations, (std::vector<WindowId>{kEditor, kEditor})); // before typing, at the end

    // Where the desktop cannot minimise, a hidden window stays hidden while it serves the paste.
    Frame()->ShowWindow(SW_HIDE);
    m_services.canMinimise = false;
    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
    Main().PasteToWindow(kEditor);
    EXPECT_FALSE(Frame()->IsWindowVisible());
    m_services.canMinimise = true;

    // Where no foreground window may be one the services cannot reach, the message says so; a layout
    // that lacks characters leaves them out and the message counts them.
    m_services.noneMayBeUnreachable = true;
    m_keyboard.layout.erase(U'e');
    m_user.Answer(IDOK).Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
    m_user.Answer(IDOK);
    Main().PasteToWindow(0);
    Main().PasteToWindow(kEditor);
    ASSERT_EQ(m_user.MessageBoxes().size(), 5u);
    EXPECT_EQ(m_user.MessageBoxes()[3].text,
              "Keyloft cannot type into this window on this desktop.  Windows of X11 programs still work.");
    EXPECT_EQ(m_user.MessageBoxes()[4].text, "Keyloft could not type 2 of the characters: the keyboard "
                                             "layout of this desktop cannot produce them.");
    EXPECT_TRUE(Frame()->IsIconic());

    // The target goes while the dialog is open: its title as it was when the paste began.
    m_keyboard.events.clear();
    m_user.Dialog(IDD_PASTE)
        .Inspect([this](CDialog&) { m_windows.windows.erase(kEditor); })
        .Click(IDC_PASTE_PASSWORD);
    m_user.Answer(IDOK);
    Main().PasteToWindow(kEditor);
    EXPECT_EQ(m_user.MessageBoxes().back().text, "Editor no longer exists.");
    EXPECT_TRUE(m_keyboard.events.empty());
}

TEST_F(PasteTest, TrayNotificationsRecordTheTargetAndOfferTheMenu) {
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

    m_user.ChooseCommand(ID_TRAY_PASTE);
    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
    EXPECT_EQ(notify(WM_RBUTTONUP), 1);
    ProcessPendingEvents();
    ASSERT_EQ(m_user.PopupMenus().size(), 1u);
    const RecordedMenu& menu = m_user.PopupMenus()[0];
    EXPECT_EQ(menu.size(), 7u);
    EXPECT_TRUE(menu[0].bDefault && menu[0].id == ID_TRAY_PASTE);
    EXPECT_EQ(Typed(), "secret");
    m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_CLOSE);
    EXPECT_EQ(notify(WM_LBUTTONDBLCLK), 1); // the paste runs at once
    EXPECT_EQ(m_user.Dialogs(), (std::vector<UINT>{IDD_PASTE, IDD_PASTE}));
    EXPECT_EQ(Main().m_trayIcon.GetTip(), "Keyloft");
}

TEST_F(PasteTest, TrayAddAppendsAnEntryEvenUnderANameThatExistsAndWaitsForAnOpenDialog) {
    m_user.Dialog(IDD_NEW_ENTRY)
        .Inspect([this](CDialog&) { Frame()->SendMessage(WM_COMMAND, ID_TRAY_ADD); }) // held
        .Type(IDC_SYSTEM, "Mail")
        .Type(IDC_USERNAME, "bob")
        .Click(IDOK);
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "Web").Click(IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_TRAY_ADD);
    ASSERT_TRUE(klt::test::WaitUntil([this] { return Doc()->m_entryList.size() == 6; }));
    const QMPassword& added = **std::next(Doc()->m_entryList.begin(), 4);
    EXPECT_EQ(added.m_strUserName, "bob");
    EXPECT_EQ(added.m_strSystem, "Mail");
    EXPECT_EQ(Doc()->m_entryList.back()->m_strSystem, "Web");
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(PasteTest, PasteArgumentCountsOnlyAsTheExactFirstWordAndPastesFromTheTray) {
    const struct {
        std::vector<std::string> args;
        bool bPastes;
    } cases[] = {
        {{"--paste"}, true},        // the start-up file is a.klt, recorded by the first start
        {{"/s", "--paste"}, false}, // not the first word
        {{"--pasted.klt"}, false},  // a file name that begins with it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        WriteSetting("Settings/Startup File", File("a.klt"));
        m_keyboard.events.clear();
        const size_t dialogsBefore = m_user.Dialogs().size();
        if (c.bPastes) {
            m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
        }
        Start(c.args);
        ProcessPendingEvents();
        EXPECT_EQ(Typed(), c.bPastes ? "secret" : "");
        EXPECT_EQ(m_user.Dialogs().size() - dialogsBefore, c.bPastes ? 1u : 0u);
        EXPECT_TRUE(m_user.Finished());
    }
}
