// The list box: sorted rows without regard to case, item data, and marks kept apart from the caret.

#include "framework/Framework.h"
#include "support/scripted/ScriptedUser.h"

#include <QListView>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A window holding one extended-selection list as the entry view does, counting its notifications.
class ListHost : public CWnd {
public:
    ListHost() {
        MapNotify(LBN_SELCHANGE, IDC_VIEW_LIST, &ListHost::OnSelChange);
        MapNotify(LBN_DBLCLK, IDC_VIEW_LIST, &ListHost::OnDoubleClick);
        Create(nullptr, "list host", WS_VISIBLE, CRect{0, 0, 300, 200}, nullptr, 0);
        m_list.Create(0x50200903, CRect{0, 0, 300, 200}, this, IDC_VIEW_LIST);
        GetWidget()->show();
        GetWidget()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(GetWidget()));
    }
    ~ListHost() override { DestroyWindow(); }

    void Fill(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            m_list.AddString(name);
        }
    }
    QListView* Widget() const { return qobject_cast<QListView*>(m_list.GetWidget()); }
    void ClickRow(int nRow, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QRect rect = Widget()->visualRect(Widget()->model()->index(nRow, 0));
        QTest::mouseClick(Widget()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows(static_cast<size_t>(m_list.GetCount()));
        for (int i = 0; i < m_list.GetCount(); ++i) {
            m_list.GetText(i, rows[static_cast<size_t>(i)]);
        }
        return rows;
    }

    CListBox m_list;
    int m_nSelChanges = 0;
    int m_nDoubleClicks = 0;

private:
    void OnSelChange() { ++m_nSelChanges; }
    void OnDoubleClick() { ++m_nDoubleClicks; }
};

} // namespace

TEST(ListBox, SortsWithoutRegardToCaseAndReturnsTheIndexOfEachNewRow) {
    ListHost host;
    EXPECT_EQ(host.m_list.AddString("mail"), 0);
    EXPECT_EQ(host.m_list.AddString("Bank"), 0);
    EXPECT_EQ(host.m_list.AddString("zoo"), 2);
    EXPECT_EQ(host.m_list.AddString("Mail"), 2); // next to its twin in another case
    EXPECT_EQ(host.m_list.AddString("apple"), 0);
    EXPECT_EQ(host.Rows(), (std::vector<std::string>{"apple", "Bank", "mail", "Mail", "zoo"}));
    EXPECT_EQ(host.m_list.FindStringExact(-1, "MAIL"), 2);
    EXPECT_EQ(host.m_list.FindStringExact(2, "MAIL"), 3);
}

TEST(ListBox, RowsKeepTheirBytesAndItemData) {
    ListHost host;
    int first = 1;
    int second = 2;
    const int nRow = host.m_list.AddString("Caf\xE9"); // Windows-1252
    host.m_list.SetItemDataPtr(nRow, &first);
    host.m_list.SetItemDataPtr(host.m_list.AddString("Alpha"), &second);
    std::string text;
    EXPECT_EQ(host.m_list.GetText(1, text), 4);
    EXPECT_EQ(text, "Caf\xE9");
    EXPECT_EQ(host.m_list.GetItemDataPtr(1), &first); // moved with its row when Alpha came before it
    EXPECT_EQ(host.m_list.GetItemDataPtr(0), &second);
    EXPECT_EQ(host.m_list.GetItemDataPtr(5), reinterpret_cast<void*>(-1));
    EXPECT_EQ(host.m_list.GetSel(5), LB_ERR);
    EXPECT_EQ(host.m_list.DeleteString(5), LB_ERR);
    EXPECT_EQ(host.m_list.DeleteString(0), 1);
    EXPECT_EQ(host.m_list.GetItemDataPtr(0), &first);
}

TEST(ListBox, RowsGivenAtOnceSortAsAddedOneByOneAndRunsOfRowsGoAtOnce) {
    using Rows = std::vector<std::string>;
    ListHost host;
    host.m_list.SetSel(-1, TRUE);
    host.m_list.SetRows(
        {{"mail", 1}, {"Bank", 2}, {"zoo", 3}, {"Mail", 4}, {"\xC3\x84rger", 5}, {"apple", 6}});
    EXPECT_EQ(host.Rows(), (Rows{"apple", "\xC3\x84rger", "Bank", "mail", "Mail", "zoo"}));
    EXPECT_EQ(host.m_list.GetItemData(3), 1u); // equal texts in the order given
    EXPECT_EQ(host.m_list.GetItemData(4), 4u);
    EXPECT_EQ(host.m_list.GetSelCount(), 0);
    EXPECT_EQ(host.m_list.GetCaretIndex(), -1);

    const struct {
        std::vector<int> rows;
        int nResult;
        Rows left;
    } cases[] = {
        {{1, 0}, LB_ERR, {}},  // not ascending
        {{2, 6}, LB_ERR, {}},  // past the end
        {{-1, 2}, LB_ERR, {}}, // before the start
        {{0, 2, 3, 5}, 2, {"\xC3\x84rger", "Mail"}},
        {{}, 2, {"\xC3\x84rger", "Mail"}},
        {{0, 1}, 0, {}},
    };
    for (const auto& c : cases) {
        const Rows before = host.Rows();
        EXPECT_EQ(host.m_list.DeleteRows(c.rows), c.nResult);
        EXPECT_EQ(host.Rows(), c.nResult == LB_ERR ? before : c.left);
    }
}

// Rows sorted all at once by their keys land where comparing puts a row added alone: texts whose
// keys share their first bytes, texts the collation calls equal, empty and ignorable texts.
TEST(ListBox, RowsGivenAtOnceLandWhereRowsAddedOneByOneDo) {
    const std::vector<std::string> texts = {
        "abcdefghijk2", "ABCDEFGHIJK1", "abcdefgh", "ABCDEFGH",    "",   "\xC2\xAD", "a-b", "ab",
        "\xC3\xA4rger", "Arger",        "Caf\xE9",  "Caf\xC3\xA9", "10", "9",        "",    "Zoo",
        "zoo"};
    ListHost one;
    ListHost all;
    std::vector<klt::ListRow> rows;
    for (const std::string& text : texts) {
        one.m_list.AddString(text);
        rows.push_back({text, 0});
    }
    all.m_list.SetRows(std::move(rows));
    EXPECT_EQ(all.Rows(), one.Rows());
    EXPECT_EQ(one.Rows().front(), "");
}

// Rows that come and go elsewhere in a long list leave the marks and the caret on their rows.
TEST(ListBox, MarksAndTheCaretFollowTheirRowsInALongList) {
    ListHost host;
    const auto name = [](int i) {
        std::string text = std::to_string(100000 + i);
        return "row " + text.substr(1);
    };
    std::vector<klt::ListRow> rows;
    for (int i = 19999; i >= 0; --i) {
        rows.push_back({name(i), static_cast<std::uintptr_t>(i)});
    }
    host.m_list.SetRows(std::move(rows));
    for (const int nRow : {0, 12345, 19999}) {
        host.m_list.SetSel(nRow);
    }
    host.m_list.SetCaretIndex(7000);

    const auto textAt = [&host](int nRow) {
        std::string text;
        host.m_list.GetText(nRow, text);
        return text;
    };
    const struct {
        const char* add;        // a row to add, or
        const char* deleteText; // a row to delete
    } steps[] = {{"row", nullptr},        {"row 12000x", nullptr}, {"zzz", nullptr},
                 {nullptr, "row 12000x"}, {nullptr, "row 00001"},  {nullptr, "row"}};
    for (const auto& step : steps) {
        if (step.add != nullptr) {
            host.m_list.AddString(step.add);
        } else {
            host.m_list.DeleteString(static_cast<UINT>(host.m_list.FindStringExact(-1, step.deleteText)));
        }
        int marked[3] = {};
        ASSERT_EQ(host.m_list.GetSelItems(3, marked), 3);
        EXPECT_EQ(textAt(marked[0]), name(0));
        EXPECT_EQ(textAt(marked[1]), name(12345));
        EXPECT_EQ(textAt(marked[2]), name(19999));
        EXPECT_EQ(textAt(host.m_list.GetCaretIndex()), name(7000));
    }
    EXPECT_EQ(host.m_list.GetCount(), 20000);
    EXPECT_EQ(host.m_nSelChanges, 0);
}

TEST(ListBox, MarksAndTheCaretAreKeptApart) {
    ListHost host;
    host.Fill({"a", "b", "c", "d"});
    host.m_list.SetSel(0);
    host.m_list.SetSel(2);
    host.m_list.SetCaretIndex(1);
    EXPECT_EQ(host.m_list.GetSelCount(), 2);
    EXPECT_EQ(host.m_list.GetCaretIndex(), 1);
    EXPECT_EQ(host.m_list.GetSel(1), 0);
    int marked[4] = {};
    ASSERT_EQ(host.m_list.GetSelItems(4, marked), 2);
    EXPECT_EQ(marked[0], 0);
    EXPECT_EQ(marked[1], 2);
    EXPECT_EQ(host.m_nSelChanges, 0); // the program's own changes notify nobody

    // The user: a click marks one row; Ctrl+click on it unmarks it and leaves the caret there.
    host.ClickRow(3);
    EXPECT_EQ(host.m_list.GetSelCount(), 1);
    EXPECT_EQ(host.m_list.GetCaretIndex(), 3);
    host.ClickRow(3, Qt::ControlModifier);
    EXPECT_EQ(host.m_list.GetSelCount(), 0);
    EXPECT_EQ(host.m_list.GetCaretIndex(), 3);
    EXPECT_GE(host.m_nSelChanges, 2);

    host.m_list.SetSel(-1, TRUE);
    EXPECT_EQ(host.m_list.GetSelCount(), 4);
    host.m_list.ResetContent();
    EXPECT_EQ(host.m_list.GetCount(), 0);
    EXPECT_EQ(host.m_list.GetSelCount(), 0);
    EXPECT_EQ(host.m_list.GetCaretIndex(), -1);
}

TEST(ListBox, ItemFromPointTellsRowsFromTheSpaceBelowThem) {
    ListHost host;
    host.Fill({"a", "b", "c"});
    CRect row;
    ASSERT_EQ(host.m_list.GetItemRect(1, &row), LB_OKAY);
    BOOL bOutside = TRUE;
    EXPECT_EQ(host.m_list.ItemFromPoint(CPoint{row.left + 5, row.top + row.Height() / 2}, bOutside), 1u);
    EXPECT_FALSE(bOutside);
    EXPECT_EQ(host.m_list.ItemFromPoint(CPoint{5, 190}, bOutside), 2u);
    EXPECT_TRUE(bOutside);

    ListHost empty;
    empty.m_list.ItemFromPoint(CPoint{5, 5}, bOutside);
    EXPECT_TRUE(bOutside);
}

// Rows lie one height apart at every size of list and view, scrolled by rows or (as some desktops'
// styles want) by pixels: a point in a row finds that row, the keys move the caret a row or a page
// less one row, and the caret stays whole in sight.
TEST(ListBox, KeysMoveTheCaretByRowsAndPagesAndKeepItInSight) {
    const struct {
        int nRows;
        int nHeight; // of the view
        QAbstractItemView::ScrollMode scroll;
    } cases[] = {{3, 200, QAbstractItemView::ScrollPerItem},
                 {500, 200, QAbstractItemView::ScrollPerItem},
                 {500, 57, QAbstractItemView::ScrollPerItem},
                 {20, 30, QAbstractItemView::ScrollPerItem},
                 {500, 57, QAbstractItemView::ScrollPerPixel}};
    for (const auto& c : cases) {
        ListHost host;
        std::vector<klt::ListRow> rows;
        for (int i = 0; i < c.nRows; ++i) {
            rows.push_back({std::to_string(1000 + i), 0});
        }
        host.m_list.SetRows(std::move(rows));
        QListView* pView = host.Widget();
        pView->resize(300, c.nHeight);
        pView->setVerticalScrollMode(c.scroll);
        pView->show();
        pView->setFocus();
        host.m_list.SetCaretIndex(0);
        const int nPage = std::max(
            pView->viewport()->height() / pView->visualRect(pView->model()->index(0, 0)).height() - 1, 1);
        const int nLast = c.nRows - 1;
        const struct {
            Qt::Key key;
            int nCaret;
        } steps[] = {{Qt::Key_Down, 1},
                     {Qt::Key_PageDown, std::min(1 + nPage, nLast)},
                     {Qt::Key_End, nLast},
                     {Qt::Key_PageUp, std::max(nLast - nPage, 0)},
                     {Qt::Key_Up, std::max(nLast - nPage - 1, 0)},
                     {Qt::Key_Home, 0},
                     {Qt::Key_Up, 0}};
        for (const auto& step : steps) {
            QTest::keyClick(pView, step.key);
            SCOPED_TRACE(testing::Message()
                         << c.nRows << " rows, " << c.nHeight << " pixels, key " << step.key);
            ASSERT_EQ(host.m_list.GetCaretIndex(), step.nCaret);
            const QRect caret = pView->visualRect(pView->currentIndex());
            EXPECT_TRUE(pView->viewport()->rect().contains(caret));
            EXPECT_EQ(pView->indexAt(caret.topLeft()), pView->currentIndex());
            EXPECT_EQ(pView->indexAt(caret.bottomRight()), pView->currentIndex());
        }
    }
}

// A row added to or removed from a long list can be brought into sight at once, before the view has
// seen an event.
TEST(ListBox, ARowAddedToALongListIsInSightAtOnce) {
    ListHost host;
    std::vector<klt::ListRow> rows;
    for (int i = 0; i < 100000; ++i) {
        rows.push_back({std::to_string(100000 + i), 0});
    }
    host.m_list.SetRows(std::move(rows));
    QListView* pView = host.Widget();
    pView->show();
    const auto inSight = [pView](int nRow) {
        return pView->viewport()->rect().contains(pView->visualRect(pView->model()->index(nRow, 0)));
    };
    for (const char* text : {"999999", "0", "150000x"}) {
        const int nRow = host.m_list.AddString(text);
        host.m_list.SetCaretIndex(nRow, FALSE);
        EXPECT_TRUE(inSight(nRow)) << text;
    }
    const int nLast = host.m_list.GetCount() - 1;
    host.m_list.SetCaretIndex(nLast, FALSE);
    host.m_list.DeleteString(static_cast<UINT>(nLast));
    EXPECT_TRUE(inSight(nLast - 1));
    EXPECT_EQ(host.m_list.GetCaretIndex(), nLast - 1);
}

TEST(ListBox, DoubleClickOnARowNotifiesTheParent) {
    ListHost host;
    host.Fill({"a", "b"});
    const QRect rect = host.Widget()->visualRect(host.Widget()->model()->index(1, 0));
    QTest::mouseClick(host.Widget()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QTest::mouseDClick(host.Widget()->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    EXPECT_EQ(host.m_nDoubleClicks, 1);
}

TEST(ListBox, SingleSelectionListsSelectByIndex) {
    CWnd host;
    host.Create(nullptr, nullptr, 0, CRect{0, 0, 200, 100}, nullptr, 0);
    CListBox list;
    list.Create(WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_NOTIFY, CRect{0, 0, 200, 100}, &host, 5);
    list.AddString("b");
    list.AddString("a");
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.SetCurSel(7), LB_ERR);
    EXPECT_EQ(list.GetSelCount(), LB_ERR);
    EXPECT_EQ(list.SetSel(0), LB_ERR);
    host.DestroyWindow();
}
