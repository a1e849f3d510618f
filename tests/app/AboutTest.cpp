// The About box: its lines from the program file's version block and build time, and its owner.

#include "AppTestSupport.h"
#include "ScriptedUser.h"

#include <QDialog>
#include <QLocale>
#include <cstdlib>
#include <ctime>

using klt::testing::AppTest;
using klt::testing::ScriptedUser;

namespace {

// The lines the box shows, product, version and copyright.
std::vector<std::string> Lines(CDialog& d) {
    return {d.GetDlgItemText(IDC_PRODUCT_NAME), d.GetDlgItemText(IDC_PRODUCT_VERSION),
            d.GetDlgItemText(IDC_COPYRIGHT)};
}

} // namespace

class AboutTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        Start({"/s", "a.klt"}); // the main window stays hidden, as in the tray
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        unsetenv("TZ");
        tzset();
        AppTest::TearDown();
    }
    void About() const { Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT); }

    ScriptedUser m_user;
};

TEST_F(AboutTest, TheBuildDateIsTheLocalDayOfTheBuild) {
    m_pApp->m_timeBuild = 920602800; // 5 March 1999, 03:00 UTC
    const std::pair<const char*, const char*> zones[] = {
        {"JST-9", "3/5/99"}, {"UTC0", "3/5/99"}, {"PST8", "3/4/99"}};
    for (const auto& [zone, date] : zones) {
        setenv("TZ", zone, 1);
        tzset();
        const std::vector<std::string> expected{"Keyloft, Unencrypted Edition",
                                                "Version 1.1 (build date: " + std::string(date) + ")",
                                                "Copyright (C) 2026 Quellmoor"};
        m_user.Dialog(IDD_ABOUTBOX)
            .Inspect([&](CDialog& d) { EXPECT_EQ(Lines(d), expected) << zone; })
            .Click(IDOK);
        About();
    }
}

TEST_F(AboutTest, AProgramFileWithoutVersionStringsShowsTheEmptyForms) {
    m_pApp->m_strProductName.clear();
    m_pApp->m_strProductVersion.clear();
    m_pApp->m_strLegalCopyright.clear();
    m_pApp->m_timeBuild = 0; // not known
    const std::vector<std::string> expected{", Unencrypted Edition", "Version  (build date: )", ""};
    m_user.Dialog(IDD_ABOUTBOX).Inspect([&](CDialog& d) { EXPECT_EQ(Lines(d), expected); }).Escape();
    About();
}

TEST_F(AboutTest, TheWindowWithTheFocusOwnsTheBoxAndAHiddenMainWindowStillLetsItShow) {
    m_user.Dialog(IDD_ABOUTBOX)
        .Inspect([](CDialog& d) { EXPECT_TRUE(d.GetDialogWidget()->isVisible()); })
        .Click(IDOK);
    About();
    EXPECT_FALSE(Frame()->IsWindowVisible());

    // Opened while another dialog has the focus, the box belongs to that dialog.
    QWidget* pOptions = nullptr;
    m_user.Dialog(IDD_OPTIONS).Focus(IDC_STARTUP_FILE).Inspect([&](CDialog& d) {
        pOptions = d.GetDialogWidget();
        About();
    });
    m_user.Dialog(IDD_ABOUTBOX)
        .Inspect([&](CDialog& d) { EXPECT_EQ(d.GetDialogWidget()->parentWidget(), pOptions); })
        .Click(IDOK);
    m_user.Click(IDCANCEL);
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_OPTIONS);
    EXPECT_TRUE(m_user.Finished());
}
