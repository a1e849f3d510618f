#include "framework/View.h"

#include "framework/ControlWidgets.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FrameWnd.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QWidget>

namespace {

// The view's widget hands its window events to the view.
class ViewWidget : public QWidget {
public:
    ViewWidget(CView* pView, QWidget* pParent) : QWidget(pParent), m_pView(pView) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void resizeEvent(QResizeEvent* pEvent) override {
        QWidget::resizeEvent(pEvent);
        m_pView->OnSize(SIZE_RESTORED, width(), height());
    }
    void focusInEvent(QFocusEvent* pEvent) override {
        QWidget::focusInEvent(pEvent);
        m_pView->OnSetFocus(nullptr);
    }
    void contextMenuEvent(QContextMenuEvent* pEvent) override {
        const CPoint point = pEvent->reason() == QContextMenuEvent::Keyboard
                                 ? CPoint{-1, -1}
                                 : CPoint{pEvent->globalPos().x(), pEvent->globalPos().y()};
        m_pView->OnContextMenu(m_pView, point);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        CDC dc(&painter);
        m_pView->OnDraw(&dc);
    }

private:
    CView* m_pView;
};

} // namespace

CView::CView() = default;

CView::~CView() {
    if (m_pDocument != nullptr) {
        m_pDocument->RemoveView(this);
    }
    DestroyWindow();
}

BOOL CView::Create(const char*, const char*, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID,
                   CCreateContext* pContext) {
    auto* pWidget = new ViewWidget(this, pParentWnd != nullptr ? pParentWnd->GetWidget() : nullptr);
    pWidget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    klt::SetControlId(pWidget, static_cast<int>(nID));
    klt::SetControlStyle(pWidget, dwStyle);
    pWidget->setVisible((dwStyle & WS_VISIBLE) != 0);
    Attach(pWidget);
    if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr) {
        pContext->m_pCurrentDoc->AddView(this);
    }
    return TRUE;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*) {
    Invalidate(TRUE);
}

void CView::OnSize(UINT, int, int) {}

void CView::OnSetFocus(CWnd*) {}

void CView::OnContextMenu(CWnd*, CPoint) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
