// Pasting from the tray and the hot key, with the desktop's windows, the keyboard and the hot key faked.

#include "app/AppTestSupport.h"
#include "frame/MainFrame.h"
#include "frame/PasteDlg.h"
#include "support/WaitUntil.h"

using namespace klt::testing;
using klt::WindowId;

// Far from the offscreen platform's own window ids, which count up from 1.
constexpr WindowId kEditor = 0x700001, kOther = 0x700002, kPanel = 0x700003, kGone = 0x700004,
                   kDesktop = 0x700005;

class PasteTest : public FakeDesktopTest {
protected:
    void SetUp() override {
        FakeDesktopTest::SetUp();
        klt::SetTrayHostQuery([] { return true; });
        m_windows.windows = {{kEditor, {"Editor"}},
                             {kOther, {"Other"}},
                             {kPanel, {"panel", false, true}},
                             {kDesktop, {"desktop", true}}};
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

TEST_F(PasteTest, DialogListsTheEntriesSortedAndStartsOnTheEntryChosenLastTime) {
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
             Main().m_strPasteSystem.clear();
             u.Click(IDC_PASTE_PASSWORD).Click(IDC_PASTE_CLOSE);
         },
         "", -1},
        {[&](ScriptedUser& u) { u.ClickRow(IDC_PASTE_LIST, 3).Click(IDC_PASTE_CLOSE); }, "", 3},
        // An entry added in front: the same entry, one row further down.
        {[&](ScriptedUser& u) {
             Doc()->m_entryList.push_back(std::make_unique<QMPassword>("Alpha", "", "a", 0));
             u.Inspect(opensAt(4)).Click(IDC_PASTE_PASSWORD);
         },
         "y", 4},
        // No entry has the name any more: the position counts.
        {[&](ScriptedUser& u) {
             (*std::next(Doc()->m_entryList.begin(), 2))->m_strSystem = "Abc"; // Shop
             u.Inspect(opensAt(4)).Click(IDC_PASTE_PASSWORD);
         },
         "z", 4},
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

// What the user does while the keys go out, or right after the last one: the typing goes on only while
// the target holds the focus, and the end brings the target back only from the target or our own.
TEST_F(PasteTest, TypingStopsWhenTheTargetLosesTheFocusAndTheUsersNextWindowStaysInFront) {
    const WindowId frame = Frame()->GetSafeHwnd();
    const struct {
        const char* what;
        size_t afterKeys; // key events sent before the change; "secret" sends 12
        std::function<void()> change;
        std::string typed;
        std::vector<WindowId> activations;
    } cases[] = {
        {"nothing", 12, [] {}, "secret", {kEditor, kEditor}},
        {"another window", 6, [this] { m_windows.UserActivates(kOther); }, "sec", {kEditor}},
        {"target closed", 2, [this] { m_windows.windows.erase(kEditor); }, "s", {kEditor}},
        {"another window after the last key",
         12,
         [this] { m_windows.UserActivates(kOther); },
         "secret",
         {kEditor}},
        {"our frame after the last key",
         12,
         [&] { m_windows.foreground = frame; },
         "secret",
         {kEditor, kEditor}},
        {"none after the last key", 12, [this] { m_windows.foreground = 0; }, "secret", {kEditor, kEditor}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_windows.windows[kEditor] = {"Editor"};
        m_windows.foreground = kEditor;
        m_windows.activations.clear();
        m_keyboard.events.clear();
        m_keyboard.onKey = [&] {
            if (m_keyboard.events.size() == c.afterKeys) {
                c.change();
            }
        };
        const size_t messagesBefore = m_user.MessageBoxes().size();
        const bool stops = c.typed != "secret";
        m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_PASSWORD);
        if (stops) {
            m_user.Answer(IDOK);
        }
        Main().PasteToWindow(kEditor);
        EXPECT_EQ(Typed(), c.typed);
        EXPECT_EQ(m_keyboard.events.size() % 2, 0u);      // every key pressed was released
        EXPECT_EQ(m_keyboard.textsEnded, &c - cases + 1); // lent keys and the keymap given back
        EXPECT_EQ(m_windows.activations, c.activations);
        ASSERT_EQ(m_user.MessageBoxes().size() - messagesBefore, stops ? 1u : 0u);
        if (stops) {
            EXPECT_EQ(m_user.MessageBoxes().back().text,
                      "Typing stopped after " + std::to_string(c.typed.size()) +
                          " of 6 characters: Editor no longer has the keyboard focus.");
            EXPECT_EQ(m_user.MessageBoxes().back().Icon(), MB_ICONSTOP);
        }
    }
    m_keyboard.onKey = nullptr;
}

TEST_F(PasteTest, TrayNotificationsRecordTheTargetAndOfferTheMenu) {
    const auto notify = [this](UINT uMouse) { return Frame()->SendMessage(WM_USER, IDR_TRAYICON, uMouse); };
    // In front when the icon is used, after the editor was active, and the target that gives.
    const struct {
        WindowId front;
        WindowId target;
    } cases[] = {
        {kOther, kOther},
        {kPanel, kEditor}, // the click moved the focus to the panel: the window active before it
        {kDesktop, 0},
        {0, 0},
        {Frame()->GetSafeHwnd(), kEditor}, // our own window records nothing
    };
    for (const auto& c : cases) {
        Main().m_hPasteTarget = kEditor;
        m_windows.UserActivates(kEditor);
        m_windows.UserActivates(c.front);
        EXPECT_EQ(notify(WM_MOUSEMOVE), 0);
        EXPECT_EQ(Main().m_hPasteTarget, c.target) << c.front;
    }
    m_user.Answer(IDOK);
    m_windows.UserActivates(kDesktop);
    notify(WM_MOUSEMOVE);
    Frame()->SendMessage(WM_COMMAND, ID_TRAY_PASTE);
    ASSERT_TRUE(klt::test::WaitUntil([this] { return !m_user.MessageBoxes().empty(); }));
    EXPECT_EQ(m_user.MessageBoxes().back().text, "No active window to paste into.");
    m_windows.UserActivates(kEditor);
    notify(WM_MOUSEMOVE);

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

// The key while our own dialog is open brings nothing then or later; a second start's paste waits.
TEST_F(PasteTest, HotKeyDuringOurOwnDialogIsDroppedAndAHandOverWaits) {
    for (const WPARAM wParam : {CMainFrame::kHotKeyPressed, WPARAM{0}}) {
        SCOPED_TRACE(wParam);
        const size_t dialogsBefore = m_user.Dialogs().size();
        m_user.Dialog(IDD_NEW_ENTRY)
            .Inspect([this, wParam](CDialog&) {
                Frame()->PostMessage(WM_HOTKEY, wParam, 0);
                ProcessPendingEvents();
            })
            .Escape();
        if (wParam == 0) {
            m_user.Dialog(IDD_PASTE).Click(IDC_PASTE_CLOSE);
        }
        Frame()->SendMessage(WM_COMMAND, ID_TRAY_ADD);
        ProcessPendingEvents();
        EXPECT_EQ(m_user.Dialogs().size() - dialogsBefore, wParam == 0 ? 2u : 1u);
        EXPECT_TRUE(m_user.Finished());
    }
    EXPECT_TRUE(m_user.MessageBoxes().empty());
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
