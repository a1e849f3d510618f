#include "framework/DocTemplate.h"

#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/ScopeGuard.h"
#include "framework/View.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>

namespace klt {

std::string FullPath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error) {
        full = path;
    }
    // '..' leaves the folder a symbolic link leads to, as the kernel takes it, not the folder the link
    // stands in; so the folder before it is resolved. Where that fails the '..' stays, and the path
    // fails as it would for the kernel. Other links are kept, so the user sees the names they chose.
    std::filesystem::path result;
    for (const std::filesystem::path& part : full) {
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            const std::filesystem::path real = std::filesystem::canonical(result, error);
            result = error ? result / part : real.parent_path();
            continue;
        }
        result /= part;
    }
    return result.string();
}

std::string FileTitle(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool IsSamePath(const std::string& path1, const std::string& path2) {
    if (path1.empty() || path2.empty()) {
        return false;
    }
    if (FullPath(path1) == FullPath(path2)) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(path1, path2, error) && !error;
}

} // namespace klt

CDocTemplate::CDocTemplate(UINT nIDResource, std::function<std::unique_ptr<CDocument>()> docFactory,
                           std::function<std::unique_ptr<CFrameWnd>()> frameFactory,
                           std::function<std::unique_ptr<CView>()> viewFactory)
    : m_nIDResource(nIDResource), m_docFactory(std::move(docFactory)),
      m_frameFactory(std::move(frameFactory)), m_viewFactory(std::move(viewFactory)) {}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(std::string& rString, DocStringIndex index) const {
    const std::string strings = klt::LoadString(m_nIDResource);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = strings.find('\n', start);
        if (start == std::string::npos) {
            rString.clear();
            return FALSE;
        }
        ++start;
    }
    rString = strings.substr(start, strings.find('\n', start) - start);
    return TRUE;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(const std::string& path, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    if (CDocument* pDoc = GetFirstDocument(); pDoc != nullptr && klt::IsSamePath(pDoc->GetPathName(), path)) {
        rpDocMatch = pDoc;
        return yesAlreadyOpen;
    }
    std::string ext;
    if (GetDocString(ext, filterExt) && !ext.empty()) {
        const std::string pathExt = std::filesystem::path(path).extension().string();
        if (QString::fromStdString(pathExt).compare(QString::fromStdString(ext), Qt::CaseInsensitive) == 0) {
            return yesAttemptNative;
        }
    }
    return maybeAttemptNative;
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    std::string title;
    if (!GetDocString(title, docName) || title.empty()) {
        title = klt::LoadString(AFX_IDS_UNTITLED);
    }
    pDocument->SetTitle(title);
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    if (CDocument* pDoc = GetFirstDocument()) {
        pDoc->OnCloseDocument();
    }
}

BOOL CDocTemplate::SaveAllModified() {
    CDocument* pDoc = GetFirstDocument();
    return pDoc == nullptr || pDoc->SaveModified();
}

std::unique_ptr<CDocument> CDocTemplate::CreateNewDocument() {
    std::unique_ptr<CDocument> pDoc = m_docFactory ? m_docFactory() : nullptr;
    if (pDoc != nullptr) {
        pDoc->m_pDocTemplate = this;
    }
    return pDoc;
}

std::unique_ptr<CFrameWnd> CDocTemplate::CreateNewFrame(CDocument* pDoc) {
    std::unique_ptr<CFrameWnd> pFrame = m_frameFactory ? m_frameFactory() : nullptr;
    if (pFrame == nullptr) {
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = this;
    context.m_pNewViewClass = m_viewFactory;
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        return nullptr;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CSingleDocTemplate::~CSingleDocTemplate() {
    m_pFrame.reset(); // the views leave the document first
    m_pOnlyDoc.reset();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string& path, BOOL bMakeVisible) {
    bool bCreated = false;
    if (m_pOnlyDoc != nullptr) {
        if (!m_pOnlyDoc->SaveModified()) {
            return nullptr; // the user kept the document
        }
    } else {
        m_pOnlyDoc = CreateNewDocument();
        bCreated = true;
    }
    // A document made here goes again, with its frame, unless it opens.
    klt::ScopeGuard discardCreated([this, bCreated] {
        if (bCreated) {
            m_pFrame.reset();
            m_pOnlyDoc.reset();
        }
    });
    if (m_pOnlyDoc != nullptr && m_pFrame == nullptr) {
        m_pFrame = CreateNewFrame(m_pOnlyDoc.get());
    }
    if (m_pOnlyDoc == nullptr || m_pFrame == nullptr) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    CDocument* pDoc = m_pOnlyDoc.get();
    if (path.empty()) {
        SetDefaultTitle(pDoc);
        if (!pDoc->OnNewDocument()) {
            return nullptr;
        }
    } else {
        CWaitCursor wait;
        const std::string full = klt::FullPath(path);
        const BOOL bWasModified = pDoc->IsModified();
        pDoc->SetModifiedFlag(FALSE);
        pDoc->ClearContentsDeleted();
        if (!pDoc->OnOpenDocument(full)) {
            if (bCreated) {
                return nullptr;
            }
            if (pDoc->OpenGaveWay()) {
                // Another command changed it while the open waited for the user: it stays as left.
            } else if (!pDoc->ContentsDeleted() && !pDoc->IsModified()) {
                pDoc->SetModifiedFlag(bWasModified); // untouched: as it was
            } else {
                ResetToUntitled(pDoc); // emptied: nothing of it may reach the former file
            }
            return nullptr;
        }
        pDoc->SetPathName(full);
    }
    discardCreated.Dismiss();
    CWinApp* pApp = AfxGetApp();
    if (bCreated && pApp != nullptr && pApp->m_pMainWnd == nullptr) {
        pApp->m_pMainWnd = m_pFrame.get();
    }
    InitialUpdateFrame(m_pFrame.get(), pDoc, bMakeVisible);
    return pDoc;
}

void CSingleDocTemplate::ResetToUntitled(CDocument* pDoc) {
    SetDefaultTitle(pDoc);
    pDoc->OnNewDocument();
    pDoc->UpdateAllViews(nullptr);
}

void CSingleDocTemplate::CloseAllDocuments(BOOL bEndSession) {
    CDocTemplate::CloseAllDocuments(bEndSession);
    if (m_pFrame != nullptr && m_pFrame->GetWidget() != nullptr) {
        m_pFrame->GetWidget()->hide();
    }
}
