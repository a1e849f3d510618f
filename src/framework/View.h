#pragma once
// A view shows a document inside a frame. It receives the frame's commands first and passes what
// it does not handle to its document. Window events arrive as the virtual hooks below.

#include "framework/Wnd.h"

class CDocument;
class QPainter;

// A drawing surface for OnDraw.
class CDC {
public:
    explicit CDC(QPainter* pPainter) : m_pPainter(pPainter) {}
    QPainter* GetPainter() const { return m_pPainter; }

private:
    QPainter* m_pPainter;
};

class CView : public CWnd {
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Makes the view's widget as a child of pParentWnd and joins the view to the context's document.
    BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const CRect& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // After New and Open; the default calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // The document changed; the default repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;

    // Window events. Each runs after the framework's own processing of the event.
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnSetFocus(CWnd* pOldWnd);
    // point is in screen coordinates; (-1, -1) when the request came from the keyboard.
    virtual void OnContextMenu(CWnd* pWnd, CPoint point);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    CDocument* m_pDocument = nullptr;
    friend class CDocument;
};

constexpr UINT SIZE_RESTORED = 0;
