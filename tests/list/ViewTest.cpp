// The entry list: sorted rows pointing at the document's entries, the current entry, the context
// menu's marking rules, the update rules of the entry commands, and the list filling the view.

#include "list/ListFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QListView>
#include <QTest>

using klt::testing::ProcessPendingEvents;

namespace {

using Names = std::vector<std::string>;

} // namespace

class ViewTest : public ListTest {};

TEST_F(ViewTest, RowsAreSortedWithoutRegardToCaseAndPointAtTheirEntries) {
    QMPassword* pLower = AddEntry("mail");
    AddEntry("Zoo");
    QMPassword* pUpper = AddEntry("Mail");
    AddEntry("bank");
    AddEntry("Apple");
    AddEntry("\xc3\x84rger"); // an accented initial sorts with its letter
    AddEntry("\xc9");         // Windows-1252 bytes, shown as the letter they stand for
    Rebuild();
    // Two names that differ only in case are two rows, next to each other.
    EXPECT_EQ(Rows(), (Names{"Apple", "\xc3\x84rger", "bank", "\xc9", "mail", "Mail", "Zoo"}));
    EXPECT_EQ(List().GetItemDataPtr(4), pLower);
    EXPECT_EQ(List().GetItemDataPtr(5), pUpper);
    EXPECT_EQ(m_pView->FindEntryIndex(pUpper), 5);
    EXPECT_EQ(m_pView->FindEntryIndex(nullptr), -1);
    // The document keeps its own order, which is the order in the file.
    EXPECT_EQ(DocumentNames(), (Names{"mail", "Zoo", "Mail", "bank", "Apple", "\xc3\x84rger", "\xc9"}));
    // A rebuild starts with nothing marked and the list holding the focus.
    EXPECT_TRUE(Marked().empty());
    EXPECT_TRUE(ListWidget()->hasFocus());
}

TEST_F(ViewTest, CurrentEntryIsTheCaretRowsWhileAnyRowIsMarked) {
    Fill({"a", "b", "c", "d"});
    EXPECT_EQ(m_pView->GetCurrentEntry(), nullptr);

    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(3, Qt::ControlModifier);
    ClickRow(3, Qt::ControlModifier); // unmarks d, the caret stays on it
    EXPECT_EQ(Marked(), (std::vector<int>{0, 2}));
    ASSERT_EQ(Caret(), 3);
    ASSERT_NE(m_pView->GetCurrentEntry(), nullptr);
    EXPECT_EQ(m_pView->GetCurrentEntry()->m_strSystem, "d"); // not the first marked row

    // Every mark removed: a caret row is there, a current entry is not.
    ClickRow(0, Qt::ControlModifier);
    ClickRow(2, Qt::ControlModifier);
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(Caret(), 2);
    EXPECT_EQ(m_pView->GetCurrentEntry(), nullptr);
    EXPECT_FALSE(IsEnabled(ID_EDIT_DELETE));
    EXPECT_FALSE(IsEnabled(ID_EDIT_PROPERTIES));
}

TEST_F(ViewTest, DeleteAndPropertiesNeedACurrentEntryWhileAddMergeAndFilePasswordNeverDo) {
    EXPECT_FALSE(IsEnabled(ID_EDIT_DELETE));
    EXPECT_FALSE(IsEnabled(ID_EDIT_PROPERTIES));
    EXPECT_TRUE(IsEnabled(ID_EDIT_ADD));
    EXPECT_TRUE(IsEnabled(ID_FILE_PASSWORD));

    Fill({"a", "b"});
    EXPECT_FALSE(IsEnabled(ID_EDIT_DELETE));
    ClickRow(1);
    EXPECT_TRUE(IsEnabled(ID_EDIT_DELETE));
    EXPECT_TRUE(IsEnabled(ID_EDIT_PROPERTIES));

    // A disabled command does nothing whatever its source: no question, no dialog.
    ClickRow(1, Qt::ControlModifier);
    Command(ID_EDIT_DELETE);
    Command(ID_EDIT_PROPERTIES);
    QTest::keyClick(ListWidget(), Qt::Key_Delete);
    QTest::keyClick(ListWidget(), Qt::Key_Return);
    EXPECT_EQ(List().GetCount(), 2);
    EXPECT_TRUE(m_user.MessageBoxes().empty());
    EXPECT_TRUE(m_user.Dialogs().empty());
}

TEST_F(ViewTest, RightClickOnARowLeavesOnlyThatRowMarkedAsTheCaret) {
    Fill({"a", "b", "c", "d"});
    ClickRow(0);
    ClickRow(1, Qt::ShiftModifier);
    ClickRow(3, Qt::ControlModifier);
    ASSERT_EQ(Marked(), (std::vector<int>{0, 1, 3}));

    // On an unmarked row among marked ones.
    m_user.DismissMenu();
    RightClickRow(2);
    EXPECT_EQ(Marked(), (std::vector<int>{2}));
    EXPECT_EQ(Caret(), 2);

    // On a row that is already marked among several.
    ClickRow(0, Qt::ControlModifier);
    ClickRow(1, Qt::ControlModifier);
    ASSERT_EQ(Marked(), (std::vector<int>{0, 1, 2}));
    m_user.ChooseCommand(ID_EDIT_PROPERTIES);
    m_user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDC_SYSTEM), "b"); })
        .Click(IDCANCEL);
    RightClickRow(1);
    EXPECT_EQ(Marked(), (std::vector<int>{1}));
    ProcessPendingEvents(); // the chosen command arrives as the platform posts it

    ASSERT_EQ(m_user.PopupMenus().size(), 2u);
    for (const auto& menu : m_user.PopupMenus()) {
        ASSERT_EQ(menu.size(), 3u);
        EXPECT_EQ(menu[0].text, "&Add\tCtrl+A");
        EXPECT_EQ(menu[1].text, "&Delete\tCtrl+D");
        EXPECT_EQ(menu[2].text, "&Properties\tCtrl+P");
        EXPECT_TRUE(menu[0].bEnabled && menu[1].bEnabled && menu[2].bEnabled);
    }
}

TEST_F(ViewTest, RightClickBelowTheLastRowOrInAnEmptyListOffersOnlyAdd) {
    m_user.DismissMenu();
    RightClickAt(QPoint(20, 20));
    Fill({"a", "b"});
    ClickRow(0);
    ClickRow(1, Qt::ControlModifier);
    m_user.DismissMenu();
    RightClickAt(BelowLastRow());
    EXPECT_TRUE(Marked().empty());

    ASSERT_EQ(m_user.PopupMenus().size(), 2u);
    for (const auto& menu : m_user.PopupMenus()) {
        ASSERT_EQ(menu.size(), 3u);
        EXPECT_TRUE(menu[0].bEnabled);
        EXPECT_FALSE(menu[1].bEnabled);
        EXPECT_FALSE(menu[2].bEnabled);
    }
}

TEST_F(ViewTest, MenuFromTheKeyboardKeepsTheMarks) {
    Fill({"a", "b", "c"});
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    m_user.DismissMenu();
    QWidget* pViewport = ListWidget()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0), pViewport->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(pViewport, &event);
    EXPECT_EQ(Marked(), (std::vector<int>{0, 2}));
    ASSERT_EQ(m_user.PopupMenus().size(), 1u);
    EXPECT_TRUE(m_user.PopupMenus()[0][2].bEnabled);
}

TEST_F(ViewTest, DoubleClickOpensPropertiesForThatRow) {
    Fill({"a", "b", "c"});
    m_user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDC_SYSTEM), "c"); })
        .Click(IDCANCEL);
    DoubleClickRow(2);
    EXPECT_EQ(m_user.Dialogs(), std::vector<UINT>{IDD_PROPERTIES});
}

TEST_F(ViewTest, ListCoversTheViewAfterEveryResizeAndTakesTheFocus) {
    Fill({"a"});
    for (const QSize size : {QSize(500, 400), QSize(230, 160), QSize(640, 90)}) {
        m_pFrame->GetWidget()->resize(size);
        QApplication::processEvents();
        CRect view;
        m_pView->GetClientRect(&view);
        EXPECT_EQ(List().GetWidget()->geometry(), QRect(0, 0, view.Width(), view.Height()));
    }
    // The view never keeps the focus for itself.
    m_pView->GetWidget()->setFocus();
    EXPECT_TRUE(ListWidget()->hasFocus());
}
