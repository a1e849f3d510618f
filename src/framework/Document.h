#pragma once
// The document of the document/view architecture: modified flag, path name, title, views, and the
// framework's New / Open / Save behaviour around the program's own load and save.
//
// A derived document overrides DeleteContents, OnOpenDocument and OnSaveDocument (and Serialize if it
// uses the default load and save). An override of DeleteContents calls CDocument::DeleteContents():
// that is how the framework learns that a failed open has emptied the document, which it then
// resets to a new untitled one so that no later save can write the emptied document over the file.

#include "framework/CmdTarget.h"

#include <exception>
#include <string>
#include <string_view>
#include <vector>

class CArchive;
class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Takes the full form of the path; the title becomes its file name. bAddToMRU adds the path
    // to the application's recent-file list.
    virtual void SetPathName(const std::string& path, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Calls OnUpdate of every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // Sets the caption of every frame that shows this document.
    void UpdateFrameCounts();

    // Empties the document. Overrides call the base (see above).
    virtual void DeleteContents();
    // DeleteContents, no path, flag clear.
    virtual BOOL OnNewDocument();
    // By default: reads the whole file, DeleteContents, sets the modified flag, Serialize with a
    // loading archive, clears the flag. Errors are reported with ReportSaveLoadException.
    virtual BOOL OnOpenDocument(const std::string& path);
    // By default: Serialize with a storing archive and replace the file safely; clears the flag.
    virtual BOOL OnSaveDocument(const std::string& path);
    virtual void OnCloseDocument();
    virtual void Serialize(CArchive& ar) override;

    // "Save changes to %1?" for a modified document: Yes saves (DoFileSave), No goes on, Cancel
    // stops. TRUE when the caller may go on.
    virtual BOOL SaveModified();
    // Saves under path, or asks for a path first (Save As) when path is empty. bReplace makes the
    // new path the document's. A failed save leaves every file as it was.
    virtual BOOL DoSave(const std::string& path, BOOL bReplace = TRUE);
    // Save: Save As when the document has no path, the file is gone, or the user may not write it.
    virtual BOOL DoFileSave();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Shows the message for a load or save error: nothing for a user's cancel, "Unexpected file
    // format." for a stream error, the cause's text for a file error, else nIDPDefault.
    virtual void ReportSaveLoadException(const std::string& path, const std::exception* pError, BOOL bSaving,
                                         UINT nIDPDefault);

    // Whether DeleteContents has run since the last ClearContentsDeleted (the framework's Open
    // uses it to tell an untouched document from an emptied one).
    bool ContentsDeleted() const { return m_bContentsDeleted; }
    // Before an open: clears that mark and the one of GiveWay.
    void ClearContentsDeleted() {
        m_bContentsDeleted = false;
        m_bOpenGaveWay = false;
    }
    // Counts what happens to the document: emptied, marked modified, given a path. An open that
    // waits for the user (a password question) compares it before and after, so that it never
    // loads into a document that another command changed meanwhile.
    unsigned GetChangeCount() const { return m_nChangeCount; }
    // Whether the last open gave way to such a change (see GiveWay).
    bool OpenGaveWay() const { return m_bOpenGaveWay; }

    // Command handlers of ID_FILE_SAVE and ID_FILE_SAVE_AS.
    void OnFileSave();
    void OnFileSaveAs();

protected:
    // Reads the document from a file's stream with Serialize: the flag is set while it loads and
    // cleared after; a stream error empties the document again and is reported. FALSE on error.
    BOOL LoadFromStream(const std::string& path, std::string_view stream);
    // An open that found the document changed by another command while it waited ends with this:
    // the document is that command's work, and the framework's Open leaves it as it is.
    void GiveWay() { m_bOpenGaveWay = true; }

    std::string m_strTitle;
    std::string m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bModified = FALSE;

private:
    std::vector<CView*> m_views;
    bool m_bContentsDeleted = false;
    bool m_bOpenGaveWay = false;
    unsigned m_nChangeCount = 0;
    friend class CDocTemplate;
};
