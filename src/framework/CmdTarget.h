#pragma once
// Command routing by numeric id. A command target keeps a small map from command ids (and control
// notifications) to handlers and update rules; OnCmdMsg looks there and, in derived classes, passes
// the command on (view -> document -> frame -> application).
//
// Register in the constructor:
//     MapCommand(ID_EDIT_DELETE, &CMyView::OnEditDelete);
//     MapUpdate(ID_EDIT_DELETE, &CMyView::OnUpdateNeedEntry);
//     MapNotify(EN_CHANGE, IDC_PASSWORD, &CMyDlg::OnChangePassword);
// A later registration for the same id and code wins, so a derived class overrides its base's.

#include "framework/AfxDefs.h"
#include "store/Object.h"

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class CCmdTarget;

// Reports a command's state from its update rule to whatever shows the command (menu item,
// toolbar button, accelerator check). The rule calls Enable, SetCheck, SetText.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 clear, 1 checked
    virtual void SetText(const std::string& text);

    // Asks pTarget's route for the update rule; when no rule answered and bDisableIfNoHandler is
    // set, a command without a handler is disabled. Returns TRUE when a rule answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;            // position in the menu or toolbar
    QMenu* m_pMenu = nullptr;     // the menu being shown, when the command sits in one
    QAction* m_pAction = nullptr; // the item or button that shows the command, if any

    // What the rule reported (also after applying it to m_pAction).
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
    int m_nCheck = 0;
};

// Passed to OnCmdMsg to ask only whether a handler exists (nothing runs).
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

class CCmdTarget : public CObject {
public:
    CCmdTarget();
    ~CCmdTarget() override;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // nCode: CN_COMMAND runs the handler of nID (or, with pHandlerInfo, only reports that one
    // exists); CN_UPDATE_COMMAND_UI runs its update rule on pExtra (a CCmdUI*); any other code is a
    // control notification (EN_CHANGE, LBN_DBLCLK, ...) from control nID. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    template <class T> void MapCommand(UINT nID, void (T::*pfn)()) {
        T* self = static_cast<T*>(this);
        AddEntry(CN_COMMAND, nID, nID, [self, pfn](UINT) { (self->*pfn)(); }, {});
    }
    template <class T> void MapCommandRange(UINT nFirst, UINT nLast, void (T::*pfn)(UINT)) {
        T* self = static_cast<T*>(this);
        AddEntry(CN_COMMAND, nFirst, nLast, [self, pfn](UINT nID) { (self->*pfn)(nID); }, {});
    }
    template <class T> void MapUpdate(UINT nID, void (T::*pfn)(CCmdUI*)) {
        T* self = static_cast<T*>(this);
        AddEntry(CN_UPDATE_COMMAND_UI, nID, nID, {}, [self, pfn](CCmdUI* p) { (self->*pfn)(p); });
    }
    template <class T> void MapUpdateRange(UINT nFirst, UINT nLast, void (T::*pfn)(CCmdUI*)) {
        T* self = static_cast<T*>(this);
        AddEntry(CN_UPDATE_COMMAND_UI, nFirst, nLast, {}, [self, pfn](CCmdUI* p) { (self->*pfn)(p); });
    }
    // A control notification: nCode is EN_CHANGE, EN_KILLFOCUS, LBN_DBLCLK, BN_CLICKED, ...
    template <class T> void MapNotify(UINT nCode, UINT nID, void (T::*pfn)()) {
        T* self = static_cast<T*>(this);
        AddEntry(static_cast<int>(nCode), nID, nID, [self, pfn](UINT) { (self->*pfn)(); }, {});
    }

private:
    struct Entry {
        int nCode;
        UINT nFirst;
        UINT nLast;
        std::function<void(UINT)> run;
        std::function<void(CCmdUI*)> update;
    };
    void AddEntry(int nCode, UINT nFirst, UINT nLast, std::function<void(UINT)> run,
                  std::function<void(CCmdUI*)> update);
    const Entry* FindEntry(int nCode, UINT nID) const;

    std::vector<Entry> m_entries;
};
