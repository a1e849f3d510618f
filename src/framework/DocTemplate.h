#pragma once
// The single-document template joins the document, the frame and the view: it makes them, keeps
// the one document, and carries out New and Open on it. Its strings are the template's string
// resource: "window title\ndoc name\nnew-file name\nfilter name\nfilter extension\ntype id\ntype name".

#include "framework/CmdTarget.h"

#include <functional>
#include <memory>
#include <string>

class CDocument;
class CFrameWnd;
class CView;
class CDocTemplate;

// What a frame needs to make its view.
struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    std::function<std::unique_ptr<CView>()> m_pNewViewClass;
};

struct CREATESTRUCT {
    CCreateContext* lpCreateParams = nullptr;
};
using LPCREATESTRUCT = CREATESTRUCT*;

namespace klt {
// A factory for the template: klt::Factory<CMyDoc>().
template <class T, class Base = T> std::function<std::unique_ptr<Base>()> Factory() {
    return [] { return std::unique_ptr<Base>(std::make_unique<T>()); };
}
} // namespace klt

class CDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

    CDocTemplate(UINT nIDResource, std::function<std::unique_ptr<CDocument>()> docFactory,
                 std::function<std::unique_ptr<CFrameWnd>()> frameFactory,
                 std::function<std::unique_ptr<CView>()> viewFactory);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return m_nIDResource; }
    BOOL GetDocString(std::string& rString, DocStringIndex index) const;

    // yesAlreadyOpen (with rpDocMatch) when path names the file of an open document;
    // yesAttemptNative when the extension is the template's; else maybeAttemptNative.
    virtual Confidence MatchDocType(const std::string& path, CDocument*& rpDocMatch);

    // New (path empty) or Open (path given) on the document; null when it failed or was cancelled.
    virtual CDocument* OpenDocumentFile(const std::string& path, BOOL bMakeVisible = TRUE) = 0;
    // The template's documents (at most one for a single-document template).
    virtual CDocument* GetFirstDocument() const = 0;
    virtual void SetDefaultTitle(CDocument* pDocument);
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual BOOL SaveAllModified();

    // A new document, not yet joined to a frame; a new frame with its view for pDoc.
    std::unique_ptr<CDocument> CreateNewDocument();
    std::unique_ptr<CFrameWnd> CreateNewFrame(CDocument* pDoc);
    void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

protected:
    UINT m_nIDResource;
    std::function<std::unique_ptr<CDocument>()> m_docFactory;
    std::function<std::unique_ptr<CFrameWnd>()> m_frameFactory;
    std::function<std::unique_ptr<CView>()> m_viewFactory;
};

class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    // New and Open reuse the one document and its frame. Open: asks the save question, remembers
    // the modified flag and clears it, calls OnOpenDocument. Success: sets the path (added to the
    // recent-file list) and refills the views. Failure: a document that OnOpenDocument did not
    // empty gets its remembered flag back; an emptied one becomes a new untitled document and its
    // views are refilled; one that another command changed while the open waited stays as it is.
    CDocument* OpenDocumentFile(const std::string& path, BOOL bMakeVisible = TRUE) override;
    CDocument* GetFirstDocument() const override { return m_pOnlyDoc.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }
    void CloseAllDocuments(BOOL bEndSession) override;

private:
    void ResetToUntitled(CDocument* pDoc);

    std::unique_ptr<CDocument> m_pOnlyDoc;
    std::unique_ptr<CFrameWnd> m_pFrame;
};

namespace klt {
// Whether two paths name the same file: equal full paths, or the same existing file.
bool IsSamePath(const std::string& path1, const std::string& path2);
// The absolute, cleaned form of a path (relative to the current folder), naming the file the kernel
// would open; symbolic links are kept except in the folders a '..' leaves.
std::string FullPath(const std::string& path);
// The file name of a path, without its folder.
std::string FileTitle(const std::string& path);
} // namespace klt
