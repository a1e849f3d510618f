#include "framework/FrameWnd.h"

#include "framework/ControlBars.h"
#include "framework/ControlWidgets.h"
#include "framework/DialogWindow.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/QtText.h"
#include "framework/ResourceTemplates.h"
#include "framework/View.h"
#include "framework/WinApp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHideEvent>
#include <QIcon>
#include <QMainWindow>
#include <QMimeData>
#include <QScreen>
#include <QWhatsThis>
#include <QWindow>

namespace klt {
namespace {

// The frame's window: closing asks the frame, dropped files are opened.
class FrameWindow : public QMainWindow {
public:
    explicit FrameWindow(CFrameWnd* pFrame) : m_pFrame(pFrame) {}

protected:
    void hideEvent(QHideEvent* pEvent) override {
        QMainWindow::hideEvent(pEvent);
        // Put away (closed, or hidden to the tray): the next start opens it as it was.
        if (CWinApp* pApp = AfxGetApp();
            !pEvent->spontaneous() && pApp != nullptr && pApp->m_pMainWnd == m_pFrame) {
            m_pFrame->SaveWindowState();
        }
        // A window that the window manager placed, or the user moved, has no position of its own: shown
        // again, it would be placed anew, elsewhere. Its present place becomes its own.
        if (!pEvent->spontaneous() && windowState() == Qt::WindowNoState && windowHandle() != nullptr) {
            windowHandle()->setFramePosition(pos());
        }
    }
    void changeEvent(QEvent* pEvent) override {
        QMainWindow::changeEvent(pEvent);
        if (pEvent->type() == QEvent::WindowStateChange && QApplication::activeModalWidget() != nullptr) {
            klt::RefuseMinimise(this); // minimised with its dialog
        }
    }
    void closeEvent(QCloseEvent* pEvent) override {
        pEvent->ignore(); // the frame decides, and hides or destroys the window itself
        m_pFrame->SendMessage(WM_CLOSE);
    }
    void dragEnterEvent(QDragEnterEvent* pEvent) override {
        if (pEvent->mimeData()->hasUrls()) {
            pEvent->acceptProposedAction();
        }
    }
    void dropEvent(QDropEvent* pEvent) override {
        const auto urls = pEvent->mimeData()->urls();
        pEvent->acceptProposedAction();
        for (const QUrl& url : urls) {
            if (url.isLocalFile()) {
                if (CWinApp* pApp = AfxGetApp()) {
                    m_pFrame->SetForegroundWindow();
                    pApp->OpenDocumentFile(QFile::encodeName(url.toLocalFile()).toStdString());
                }
            }
        }
    }

private:
    CFrameWnd* m_pFrame;
};

} // namespace

} // namespace klt

CFrameWnd::CFrameWnd() {
    MapCommandRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck);
    MapUpdate(ID_VIEW_TOOLBAR, &CFrameWnd::OnUpdateControlBarMenu);
    MapUpdate(ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu);
    MapUpdate(ID_INDICATOR_CAPS, &CFrameWnd::OnUpdateKeyIndicator);
    MapUpdate(ID_INDICATOR_NUM, &CFrameWnd::OnUpdateKeyIndicator);
    MapUpdate(ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator);
    MapCommand(ID_HELP, &CFrameWnd::OnHelp);
    MapCommand(ID_DEFAULT_HELP, &CFrameWnd::OnHelp);
    MapCommand(ID_HELP_FINDER, &CFrameWnd::OnHelpFinder);
    MapCommand(ID_CONTEXT_HELP, &CFrameWnd::OnContextHelp);
}

CFrameWnd::~CFrameWnd() {
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
    }
    m_pActiveView = nullptr;
    m_views.clear();
    m_pMenu.reset();
    DestroyWindow();
}

QMainWindow* CFrameWnd::GetMainWindow() const {
    return qobject_cast<QMainWindow*>(GetWidget());
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd*, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    auto* pWindow = new klt::FrameWindow(this);
    klt::SetControlStyle(pWindow, dwDefaultStyle);
    Attach(pWindow);
    std::string strings = klt::LoadString(nIDResource);
    m_strTitle = strings.substr(0, strings.find('\n'));
    pWindow->setWindowTitle(klt::ToQString(m_strTitle));
    if (const char* icon = klt::AfxGetResources().IconForResource(nIDResource)) {
        pWindow->setWindowIcon(QIcon(QString::fromLatin1(icon)));
    }
    BuildMenuBar(nIDResource);
    InstallAccelerators(nIDResource);
    pWindow->resize(GetDefaultSize());
    CREATESTRUCT cs;
    cs.lpCreateParams = pContext;
    if (OnCreate(&cs) == -1) {
        m_views.clear();
        DestroyWindow();
        return FALSE;
    }
    // The application's first frame is its main window, which opens as the user left it.
    if (CWinApp* pApp = AfxGetApp();
        pApp != nullptr && (pApp->m_pMainWnd == nullptr || pApp->m_pMainWnd == this)) {
        LoadWindowState();
    }
    return TRUE;
}

int CFrameWnd::OnCreate(CREATESTRUCT* lpCreateStruct) {
    CCreateContext* pContext = lpCreateStruct != nullptr ? lpCreateStruct->lpCreateParams : nullptr;
    if (pContext == nullptr || !pContext->m_pNewViewClass) {
        return 0;
    }
    std::unique_ptr<CView> pView = pContext->m_pNewViewClass();
    if (pView == nullptr) {
        return -1;
    }
    CRect rect;
    GetClientRect(&rect);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, this, AFX_IDW_PANE_FIRST, pContext)) {
        return -1;
    }
    AdoptView(std::move(pView));
    return 0;
}

void CFrameWnd::AdoptView(std::unique_ptr<CView> pView) {
    if (m_views.empty()) {
        GetMainWindow()->setCentralWidget(pView->GetWidget());
    }
    if (m_pActiveView == nullptr) {
        m_pActiveView = pView.get();
    }
    m_views.push_back(std::move(pView));
}

void CFrameWnd::SetActiveView(CView* pView) {
    m_pActiveView = pView;
}

CDocument* CFrameWnd::GetActiveDocument() const {
    return m_pActiveView != nullptr ? m_pActiveView->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible()) {
            nCmdShow = GetWidget()->isMaximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        } else if (IsIconic()) {
            nCmdShow = SW_RESTORE;
        }
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
    }
    if (nCmdShow != SW_SHOWMINIMIZED && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
        nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWNA && nCmdShow != SW_HIDE) {
        SetForegroundWindow();
    }
}

void CFrameWnd::OnClose() {
    CDocument* pDocument = GetActiveDocument();
    if (pDocument != nullptr && !pDocument->CanCloseFrame(this)) {
        return; // the user kept the document open
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        if (pDocument == nullptr && !pApp->SaveAllModified()) {
            return;
        }
        GetWidget()->hide();
        pApp->CloseAllDocuments(FALSE);
        pApp->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
        return;
    }
    if (GetWidget() != nullptr) {
        GetWidget()->hide();
    }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    if (m_pActiveView == nullptr && !m_views.empty()) {
        SetActiveView(m_views.front().get());
    }
    if (bMakeVisible) {
        for (const auto& pView : m_views) {
            pView->OnInitialUpdate();
        }
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1; // the starter's wish counts once
        }
        ActivateFrame(nCmdShow);
    }
    if (pDoc != nullptr) {
        pDoc->UpdateFrameCounts();
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (GetWidget() == nullptr) {
        return;
    }
    CDocument* pDoc = GetActiveDocument();
    std::string title = m_strTitle;
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) != 0 && pDoc != nullptr) {
        title = pDoc->GetTitle() + " - " + m_strTitle;
    }
    GetWidget()->setWindowTitle(klt::ToQString(title));
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
}

void CFrameWnd::DockControlBar(CControlBar* pBar) {
    auto* pToolBar = dynamic_cast<CToolBar*>(pBar);
    const DWORD dwSides = m_dwDockStyle & pBar->GetDockingStyle();
    if (pToolBar == nullptr || pToolBar->GetToolBar() == nullptr || dwSides == 0) {
        return; // docking not enabled on both sides: the bar stays where it was made
    }
    // The first side both allow, top first.
    Qt::ToolBarArea area = Qt::TopToolBarArea;
    if ((dwSides & CBRS_ALIGN_TOP) == 0) {
        area = (dwSides & CBRS_ALIGN_BOTTOM) != 0 ? Qt::BottomToolBarArea
               : (dwSides & CBRS_ALIGN_LEFT) != 0 ? Qt::LeftToolBarArea
                                                  : Qt::RightToolBarArea;
    }
    GetMainWindow()->addToolBar(area, pToolBar->GetToolBar());
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    m_bars.push_back(pBar);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    for (CControlBar* pBar : m_bars) {
        if (static_cast<UINT>(pBar->GetDlgCtrlID()) == nID) {
            return pBar;
        }
    }
    return nullptr;
}

void CFrameWnd::SetMessageText(const std::string& text) {
    if (auto* pStatusBar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR))) {
        pStatusBar->SetMessageText(text);
    }
}

void CFrameWnd::SetMessageText(UINT nID) {
    SetMessageText(klt::CommandPrompt(nID));
}

void CFrameWnd::DragAcceptFiles(BOOL bAccept) {
    if (GetWidget() != nullptr) {
        GetWidget()->setAcceptDrops(bAccept != FALSE);
    }
}

void CFrameWnd::OnHelp() {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->WinHelp(0, HELP_CONTEXT);
    }
}

void CFrameWnd::OnHelpFinder() {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->WinHelp(0, HELP_FINDER);
    }
}

void CFrameWnd::OnContextHelp() {
    QWhatsThis::enterWhatsThisMode();
}
