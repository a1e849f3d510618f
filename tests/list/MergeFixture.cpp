#include "list/MergeFixture.h"

void PrintTo(const EntrySpec& entry, std::ostream* os) {
    *os << "{\"" << entry.system << "\", \"" << entry.user << "\", \"" << entry.password << "\", "
        << entry.time << "}";
}

std::string MergeFixture::WriteFile(const std::string& name, const std::vector<EntrySpec>& entries,
                                    const std::string& strMasterPassword) const {
    CKLTDoc source;
    source.m_bRecordLastFile = false;
    source.DeleteContents();
    for (const EntrySpec& entry : entries) {
        source.m_entryList.push_back(
            std::make_unique<QMPassword>(entry.system, entry.user, entry.password, entry.time));
    }
    source.m_masterPassword.SetPassword(strMasterPassword);
    const std::string path = PathOf(name);
    EXPECT_TRUE(source.OnSaveDocument(path));
    return path;
}

std::vector<EntrySpec> MergeFixture::ReadFile(const std::string& path) {
    CKLTDoc reader;
    reader.m_bRecordLastFile = false;
    EXPECT_TRUE(reader.OnOpenDocument(path));
    std::vector<EntrySpec> entries;
    for (const auto& pEntry : reader.m_entryList) {
        entries.push_back(
            {pEntry->m_strSystem, pEntry->m_strUserName, pEntry->m_strPassword, pEntry->m_timeLastChange});
    }
    reader.DeleteContents();
    return entries;
}

void MergeFixture::OpenCurrent(const std::string& path) {
    ASSERT_EQ(m_pApp->OpenDocumentFile(path), m_pDoc);
}

void MergeFixture::Merge() {
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MERGE);
}

std::vector<EntrySpec> MergeFixture::Entries() const {
    std::vector<EntrySpec> entries;
    for (const auto& pEntry : m_pDoc->m_entryList) {
        entries.push_back(
            {pEntry->m_strSystem, pEntry->m_strUserName, pEntry->m_strPassword, pEntry->m_timeLastChange});
    }
    return entries;
}

std::vector<std::string> MergeFixture::Rows() const {
    std::vector<std::string> rows;
    const CListBox& list = m_pView->m_listBox;
    for (int i = 0; i < list.GetCount(); ++i) {
        std::string text;
        list.GetText(i, text);
        rows.push_back(text);
        // Every row points at the document's entry of its name.
        const auto* pEntry = static_cast<const QMPassword*>(list.GetItemDataPtr(i));
        EXPECT_EQ(m_pDoc->FindEntry(text), pEntry) << "row " << i;
    }
    return rows;
}

std::vector<int> MergeFixture::MarkedRows() const {
    std::vector<int> marked;
    const CListBox& list = m_pView->m_listBox;
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.GetSel(i) > 0) {
            marked.push_back(i);
        }
    }
    return marked;
}

std::string MergeFixture::LastFile() const {
    return m_pApp->GetProfileString("Settings", "Last File");
}

void ExpectMergeComplete(const klt::testing::ScriptedUser& user) {
    ASSERT_FALSE(user.MessageBoxes().empty());
    const klt::testing::RecordedMessageBox& box = user.MessageBoxes().back();
    EXPECT_EQ(box.text, "Merge complete.");
    EXPECT_EQ(box.caption, "Keyloft");
    EXPECT_EQ(box.Buttons(), static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
}
