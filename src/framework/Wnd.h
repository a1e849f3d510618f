#pragma once
// A window of the framework: a C++ object attached to a Qt widget. Controls, dialogs, views and
// frames derive from it. Texts cross this API as byte strings; a text that the program wrote and
// the user did not change is given back with exactly the bytes that were written.

#include "framework/CmdTarget.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

class QEvent;
class CMenu;
class CFrameWnd;

struct CCreateContext;

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // The widget this object is attached to, or null.
    QWidget* GetWidget() const { return m_pWidget; }
    // The platform's id of the window (an X11 window id for a top-level window), 0 without one.
    std::uintptr_t GetSafeHwnd() const;
    BOOL IsWindow() const { return !m_pWidget.isNull(); }
    // The object most recently attached to a widget (a dialog's member control before the
    // dialog's own stand-in), or null.
    static CWnd* FromWidget(const QWidget* pWidget);

    // Creates a child window of this kind; a plain CWnd makes an empty child widget.
    virtual BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
                        const CRect& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    BOOL DestroyWindow();
    // Attaches this object to the existing control nID of pParent (after any earlier object).
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;
    DWORD GetStyle() const;

    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    void SetDlgItemText(int nID, const std::string& text);
    std::string GetDlgItemText(int nID) const;

    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    BOOL SetForegroundWindow();
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void GetClientRect(CRect* pRect) const;
    void ScreenToClient(CPoint* pPoint) const;
    void ClientToScreen(CPoint* pPoint) const;
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();

    // Messages: WM_COMMAND (wParam = MAKELONG(id, code)), WM_CLOSE, and whatever the window's
    // message map holds (WM_USER, WM_HOTKEY, ...). SendMessage runs WindowProc at once;
    // PostMessage queues it for the event loop (dropped if the window is gone by then).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A command or control notification; a command whose update rule reports it disabled is
    // dropped here (frames), whatever its source.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnClose();
    // Before a popup menu of this window is shown: set its items' states.
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    // Sees every event of a subclassed control before the control does; TRUE swallows it.
    virtual BOOL PreTranslateEvent(QEvent* pEvent);
    // The frame window this window lies in (itself for a frame), or null.
    CFrameWnd* GetParentFrame() const;

    // Attaches to a widget that someone else owns (its Qt parent or the object that made it); the
    // object stands for the widget until Detach or until the widget goes away.
    void Attach(QWidget* pWidget);
    void Detach();

protected:
    // Registers a handler for a window message: LRESULT T::OnXxx(WPARAM, LPARAM).
    template <class T> void MapMessage(UINT message, LRESULT (T::*pfn)(WPARAM, LPARAM)) {
        T* self = static_cast<T*>(this);
        AddMessageEntry(message, [self, pfn](WPARAM w, LPARAM l) { return (self->*pfn)(w, l); });
    }

private:
    void AddMessageEntry(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

    QPointer<QWidget> m_pWidget;
    CWnd* m_pPrevious = nullptr; // the object attached to the same widget before this one
    QObject* m_pFilter = nullptr;
    std::vector<std::pair<UINT, std::function<LRESULT(WPARAM, LPARAM)>>> m_messages;
};

CWnd* AfxGetMainWnd();
