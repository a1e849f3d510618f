// The framework linked without the program's resources: it finds only what it is handed.

#include "framework/AfxRes.h"
#include "framework/MessageBox.h"
#include "framework/ResourceTemplates.h"

#include <gtest/gtest.h>

TEST(BareFramework, FindsOnlyTheResourcesItIsHanded) {
    EXPECT_EQ(klt::LoadString(AFX_IDS_APP_TITLE), "");
    EXPECT_EQ(klt::AfxGetResources().FindDialog(IDOK), nullptr);

    klt::res::ResourceTables tables;
    tables.FindString = [](UINT nID) -> std::optional<std::string_view> {
        return nID == AFX_IDS_APP_TITLE ? std::optional<std::string_view>("Probe") : std::nullopt;
    };
    klt::AfxSetResources(tables);
    EXPECT_EQ(klt::LoadString(AFX_IDS_APP_TITLE), "Probe");
    EXPECT_EQ(klt::LoadString(AFX_IDS_UNTITLED), "");
    EXPECT_EQ(klt::AfxGetResources().FindMenu(ID_FILE_NEW), nullptr);
    EXPECT_EQ(klt::AfxGetResources().IconForResource(ID_FILE_NEW), nullptr);
}
