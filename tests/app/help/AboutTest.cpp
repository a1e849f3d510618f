// The About box: its lines from the program file's version block and build time, and its owner.

#include "app/AppTestSupport.h"
#include "support/scripted/ScriptedUser.h"

#include <QDialog>
#include <QLocale>

using AboutTest = klt::testing::AppTest;

TEST_F(AboutTest, ShowsTheVersionBlockAndTheLocalBuildDayEvenFromTheTray) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Start({"/s", "a.klt"});          // the main window stays hidden, as in the tray
    m_pApp->m_timeBuild = 920602800; // 5 March 1999, 03:00 UTC
    klt::testing::ScriptedUser user;
    const auto lines = [](CDialog& d) {
        EXPECT_TRUE(d.GetDialogWidget()->isVisible());
        return d.GetDlgItemText(IDC_PRODUCT_NAME) + "|" + d.GetDlgItemText(IDC_PRODUCT_VERSION) + "|" +
               d.GetDlgItemText(IDC_COPYRIGHT);
    };
    for (const auto& [zone, date] : {std::pair{"JST-9", "3/5/99"}, {"PST8", "3/4/99"}}) {
        setenv("TZ", zone, 1);
        tzset();
        const std::string expected =
            "Keyloft, Unencrypted Edition|Version 1.1 (build date: " + std::string(date) +
            ")|Copyright (C) 2026 Quellmoor";
        user.Dialog(IDD_ABOUTBOX).Inspect([&](CDialog& d) { EXPECT_EQ(lines(d), expected); }).Click(IDOK);
        Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    }
    unsetenv("TZ");
    tzset();
    QLocale::setDefault(QLocale::c());

    // Without version strings and build time: the empty forms.
    m_pApp->m_strProductName = m_pApp->m_strProductVersion = m_pApp->m_strLegalCopyright = "";
    m_pApp->m_timeBuild = 0;
    user.Dialog(IDD_ABOUTBOX)
        .Inspect([&](CDialog& d) { EXPECT_EQ(lines(d), ", Unencrypted Edition|Version  (build date: )|"); })
        .Escape();
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
}
