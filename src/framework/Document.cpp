#include "framework/Document.h"

#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/UserException.h"
#include "framework/View.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "store/Archive.h"
#include "store/FileException.h"
#include "store/FileIo.h"

#include <algorithm>
#include <unistd.h>

CDocument::CDocument() {
    MapCommand(ID_FILE_SAVE, &CDocument::OnFileSave);
    MapCommand(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs);
}

CDocument::~CDocument() {
    for (CView* pView : m_views) {
        pView->m_pDocument = nullptr;
    }
}

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
    UpdateFrameCounts();
}

void CDocument::SetPathName(const std::string& path, BOOL bAddToMRU) {
    m_strPathName = klt::FullPath(path);
    ++m_nChangeCount;
    SetTitle(klt::FileTitle(m_strPathName));
    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp()) {
            pApp->AddToRecentFileList(m_strPathName);
        }
    }
}

BOOL CDocument::IsModified() {
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified) {
    m_bModified = bModified;
    if (bModified) {
        ++m_nChangeCount;
    }
}

void CDocument::AddView(CView* pView) {
    if (std::find(m_views.begin(), m_views.end(), pView) == m_views.end()) {
        m_views.push_back(pView);
    }
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    const std::vector<CView*> views = m_views; // a view may leave the list while it updates
    for (CView* pView : views) {
        if (pView != pSender) {
            pView->OnUpdate(pSender, lHint, pHint);
        }
    }
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (CView* pView : m_views) {
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && std::find(frames.begin(), frames.end(), pFrame) == frames.end()) {
            frames.push_back(pFrame);
            pFrame->OnUpdateFrameTitle(TRUE);
        }
    }
}

void CDocument::DeleteContents() {
    m_bContentsDeleted = true;
    ++m_nChangeCount;
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const std::string& path) {
    std::string contents;
    try {
        contents = klt::ReadFileContents(path);
    } catch (const CFileException& e) {
        ReportSaveLoadException(path, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    return LoadFromStream(path, contents);
}

BOOL CDocument::LoadFromStream(const std::string& path, std::string_view stream) {
    SetModifiedFlag();
    try {
        CWaitCursor wait;
        CArchive ar(stream);
        Serialize(ar);
    } catch (const std::exception& e) {
        DeleteContents();
        ReportSaveLoadException(path, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const std::string& path) {
    try {
        CWaitCursor wait;
        std::string image;
        {
            CArchive ar(image);
            Serialize(ar);
        }
        klt::ReplaceFileContents(path, image);
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    DeleteContents();
}

void CDocument::Serialize(CArchive&) {}

BOOL CDocument::SaveModified() {
    if (!IsModified()) {
        return TRUE;
    }
    std::string name = m_strPathName.empty() ? m_strTitle : klt::FileTitle(m_strPathName);
    if (name.empty()) {
        name = klt::LoadString(AFX_IDS_UNTITLED);
    }
    std::string prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE; // No: go on without saving
    }
}

BOOL CDocument::DoFileSave() {
    // Save As when there is no file to write: no path, no such file, or one the user may not write.
    if (m_strPathName.empty() || ::access(m_strPathName.c_str(), W_OK) != 0) {
        return DoSave({});
    }
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(const std::string& path, BOOL bReplace) {
    std::string newName = path;
    if (newName.empty()) {
        newName = m_strPathName;
        if (bReplace && newName.empty()) {
            newName = m_strTitle;
            // Only the part of the title that can stand as a file name, with the default extension.
            const size_t bad = newName.find_first_of(" #%;/\\");
            if (bad != std::string::npos) {
                newName.resize(bad);
            }
            std::string ext;
            if (m_pDocTemplate != nullptr && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt)) {
                newName += ext;
            }
        }
        CWinApp* pApp = AfxGetApp();
        if (pApp == nullptr ||
            !pApp->DoPromptFileName(newName, AFX_IDS_SAVEFILE,
                                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, FALSE,
                                    m_pDocTemplate)) {
            return FALSE;
        }
    }
    CWaitCursor wait;
    // A failed save leaves every file as it was: the file is replaced only once the new content
    // is complete, so there is nothing to clean up here.
    if (!OnSaveDocument(newName)) {
        return FALSE;
    }
    if (bReplace) {
        SetPathName(newName);
    }
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd*) {
    return SaveModified();
}

void CDocument::ReportSaveLoadException(const std::string& path, const std::exception* pError, BOOL,
                                        UINT nIDPDefault) {
    std::string prompt;
    if (dynamic_cast<const CUserException*>(pError) != nullptr) {
        return;
    }
    if (dynamic_cast<const CArchiveException*>(pError) != nullptr) {
        prompt = klt::LoadString(AFX_IDP_ARCH_BADFORMAT);
    } else if (const auto* pFileError = dynamic_cast<const CFileException*>(pError)) {
        prompt = klt::FileErrorText(pFileError->m_cause,
                                    pFileError->m_strFileName.empty() ? path : pFileError->m_strFileName);
    } else {
        prompt = klt::LoadString(nIDPDefault);
    }
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave({});
}
