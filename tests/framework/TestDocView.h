#pragma once
// A small document, view, frame and application for the framework's tests: the document holds
// lines of text, the view lists them, the frame has the toolbar and status bar of the program.

#include "framework/Framework.h"
#include "store/Archive.h"
#include "support/scripted/DocViewTest.h"
#include "support/scripted/ScriptedUser.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class TestDoc : public CDocument {
public:
    enum class Failure { none, emptyThenCancel, save };

    std::vector<std::string> m_lines;
    Failure m_failure = Failure::none;
    int m_nDeleteContents = 0;
    int m_nWaitCursorWhileOpening = 0;

    void DeleteContents() override;
    void Serialize(CArchive& ar) override;
    BOOL OnOpenDocument(const std::string& path) override;
    BOOL OnSaveDocument(const std::string& path) override;
};

class TestView : public CView {
public:
    TestView();

    CListBox m_list;
    bool m_bCanDelete = false;
    int m_nUpdates = 0;
    int m_nAdds = 0;
    int m_nDeletes = 0;
    int m_nProperties = 0;

    TestDoc* GetDoc() const { return static_cast<TestDoc*>(GetDocument()); }
    BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const CRect& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC*) override {}
    void OnSize(UINT nType, int cx, int cy) override;

private:
    void OnAdd() { ++m_nAdds; }
    void OnDelete() { ++m_nDeletes; }
    void OnProperties() { ++m_nProperties; }
    void OnUpdateNeedLine(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanDelete); }
};

class TestFrame : public CFrameWnd {
public:
    CToolBar m_toolBar;
    CStatusBar m_statusBar;
    int OnCreate(CREATESTRUCT* lpCreateStruct) override;
};

class TestApp : public CWinApp {
public:
    TestApp();
    int m_nAbouts = 0;

private:
    void OnAppAbout() { ++m_nAbouts; }
};

// The application with the classes above (DocViewTest), keeping four recent files.
class FrameworkTest : public klt::testing::DocViewTest<TestDoc, TestView, TestFrame, TestApp> {
protected:
    void SetUp() override;

    // Writes a file the test document reads, and returns its path.
    std::string WriteDocFile(const std::string& name, const std::vector<std::string>& lines) const;
    std::string WriteRawFile(const std::string& name, const std::string& bytes) const;
    static std::vector<std::string> ReadDocFile(const std::string& path);
    // Shows the frame and makes it the active window, as the user would see it.
    void ShowFrame();
};
