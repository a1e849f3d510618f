#include "list/ListFixture.h"

#include "support/WaitUntil.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QListWidget>
#include <QTest>

int FocusedId(const CDialog& dialog) {
    const CWnd* pFocus = CWnd::FromWidget(dialog.GetDialogWidget()->focusWidget());
    return pFocus != nullptr ? pFocus->GetDlgCtrlID() : 0;
}

ActivatingSeam::ActivatingSeam(klt::ModalSeam& user)
    : m_user(user), m_pPrevious(klt::InstallModalSeam(this)) {}

ActivatingSeam::~ActivatingSeam() {
    klt::InstallModalSeam(m_pPrevious);
}

int ActivatingSeam::RunDialog(CDialog& dialog) {
    QDialog* pWindow = dialog.GetDialogWidget();
    pWindow->setWindowModality(Qt::ApplicationModal);
    pWindow->show();
    pWindow->activateWindow();
    EXPECT_TRUE(klt::test::WaitUntil([pWindow] { return QApplication::activeWindow() == pWindow; }))
        << "dialog " << dialog.GetTemplateId() << " did not come to the front";
    return m_user.RunDialog(dialog);
}

void ListTest::SetUp() {
    DocViewTest::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    m_pFrame->GetWidget()->resize(400, 300);
    m_pFrame->ShowWindow(SW_SHOW);
    m_pFrame->SetForegroundWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pFrame->GetWidget()));
}

QMPassword* ListTest::AddEntry(const std::string& system, const std::string& user,
                               const std::string& password, int32_t time) {
    m_pDoc->m_entryList.push_back(std::make_unique<QMPassword>(system, user, password, time));
    return m_pDoc->m_entryList.back().get();
}

void ListTest::Fill(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        AddEntry(name);
    }
    Rebuild();
}

void ListTest::Rebuild() {
    m_pDoc->UpdateAllViews(nullptr);
}

CListBox& ListTest::List() const {
    auto* pList = dynamic_cast<CListBox*>(m_pView->GetDlgItem(IDC_VIEW_LIST));
    EXPECT_NE(pList, nullptr);
    return *pList;
}

QListWidget* ListTest::ListWidget() const {
    return qobject_cast<QListWidget*>(List().GetWidget());
}

std::vector<std::string> ListTest::Rows() const {
    std::vector<std::string> rows(static_cast<size_t>(List().GetCount()));
    for (size_t i = 0; i < rows.size(); ++i) {
        List().GetText(static_cast<int>(i), rows[i]);
    }
    return rows;
}

std::vector<int> ListTest::Marked() const {
    std::vector<int> marked;
    for (int i = 0; i < List().GetCount(); ++i) {
        if (List().GetSel(i) > 0) {
            marked.push_back(i);
        }
    }
    return marked;
}

int ListTest::Caret() const {
    return List().GetCaretIndex();
}

int ListTest::RowOf(const std::string& system) const {
    const std::vector<std::string> rows = Rows();
    const auto it = std::find(rows.begin(), rows.end(), system);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

std::vector<std::string> ListTest::DocumentNames() const {
    std::vector<std::string> names;
    for (const auto& pEntry : m_pDoc->m_entryList) {
        names.push_back(pEntry->m_strSystem);
    }
    return names;
}

void ListTest::ClickRow(int nRow, Qt::KeyboardModifiers modifiers) {
    QListWidget* pList = ListWidget();
    pList->scrollToItem(pList->item(nRow));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, modifiers,
                      pList->visualItemRect(pList->item(nRow)).center());
}

void ListTest::DoubleClickRow(int nRow) {
    QListWidget* pList = ListWidget();
    const QPoint point = pList->visualItemRect(pList->item(nRow)).center();
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(pList->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

void ListTest::RightClickAt(const QPoint& point) {
    QWidget* pViewport = ListWidget()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, pViewport->mapToGlobal(point));
    QApplication::sendEvent(pViewport, &event);
}

void ListTest::RightClickRow(int nRow) {
    RightClickAt(ListWidget()->visualItemRect(ListWidget()->item(nRow)).center());
}

QPoint ListTest::BelowLastRow() const {
    const QRect last = ListWidget()->visualItemRect(ListWidget()->item(List().GetCount() - 1));
    return {last.center().x(), last.bottom() + 10};
}

void ListTest::Command(UINT nID) {
    m_pFrame->SendMessage(WM_COMMAND, nID);
}

bool ListTest::IsEnabled(UINT nID) {
    CCmdUI state;
    state.m_nID = nID;
    state.DoUpdate(m_pFrame, TRUE);
    return state.m_bEnabled;
}
