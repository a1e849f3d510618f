#pragma once
// The program's document, a frame and the entry list, made new for each test, with helpers that act
// on the list as a user does (clicks with Shift and Ctrl, right-clicks, double-clicks) and look at
// its rows, marks and caret.

#include "document/KLTDoc.h"
#include "framework/Framework.h"
#include "list/KLTView.h"
#include "support/scripted/DocViewTest.h"
#include "support/scripted/ScriptedUser.h"

#include <QPoint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class QListView;

// The control of a live dialog that has the focus, by id; 0 for none.
int FocusedId(const CDialog& dialog);

// Puts each dialog in front before the scripted user acts on it. With the main window active, the
// scripted user would take a dialog for active as soon as it is shown, because a dialog owned by the
// active window reports itself active before the activation has arrived; focus changes would then
// not reach the dialog's fields.
class ActivatingSeam : public klt::ModalSeam {
public:
    explicit ActivatingSeam(klt::ModalSeam& user);
    ~ActivatingSeam() override;
    ActivatingSeam(const ActivatingSeam&) = delete;
    ActivatingSeam& operator=(const ActivatingSeam&) = delete;

    int RunDialog(CDialog& dialog) override;
    int MessageBox(const klt::MessageBoxRequest& request) override { return m_user.MessageBox(request); }
    std::string FileDialog(const klt::FileDialogRequest& request) override {
        return m_user.FileDialog(request);
    }
    UINT PopupMenu(QMenu& menu, const QPoint& screenPos) override {
        return m_user.PopupMenu(menu, screenPos);
    }
    int PrintDialog(QPrinter& printer, CWnd* pOwner) override { return m_user.PrintDialog(printer, pOwner); }

private:
    klt::ModalSeam& m_user;
    klt::ModalSeam* m_pPrevious;
};

// The program's document and entry list in a frame (DocViewTest), shown and active.
class ListTest : public klt::testing::DocViewTest<CKLTDoc, CKLTView> {
protected:
    void SetUp() override;

    // An entry appended to the document (the rows follow at the next Rebuild).
    QMPassword* AddEntry(const std::string& system, const std::string& user = "",
                         const std::string& password = "", int32_t time = 0);
    // Entries with these names, then the rows for them.
    void Fill(std::initializer_list<const char*> names);
    void Rebuild();

    CListBox& List() const;
    QListView* ListWidget() const;
    std::vector<std::string> Rows() const;
    std::vector<int> Marked() const;
    int Caret() const;
    int RowOf(const std::string& system) const;
    std::vector<std::string> DocumentNames() const;

    // What a user does with the mouse on row nRow.
    void ClickRow(int nRow, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void DoubleClickRow(int nRow);
    // A right-click at a point of the list, in its own coordinates.
    void RightClickAt(const QPoint& point);
    void RightClickRow(int nRow);
    QPoint BelowLastRow() const;

    // A command as a menu item sends it, and the state its update rule reports.
    void Command(UINT nID);
    bool IsEnabled(UINT nID);

    klt::testing::ScriptedUser m_user;
    ActivatingSeam m_activating{m_user};
};
