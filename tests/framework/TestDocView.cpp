#include "framework/TestDocView.h"

#include "store/FileIo.h"

#include <QMainWindow>
#include <QTest>
#include <fstream>

void TestDoc::DeleteContents() {
    CDocument::DeleteContents();
    m_lines.clear();
    ++m_nDeleteContents;
}

void TestDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_lines.size());
        for (const std::string& line : m_lines) {
            ar.WriteText(line);
        }
    } else {
        for (uint32_t n = ar.ReadCount(); n > 0; --n) {
            m_lines.push_back(ar.ReadText());
        }
    }
}

BOOL TestDoc::OnOpenDocument(const std::string& path) {
    m_nWaitCursorWhileOpening = AfxGetApp()->GetWaitCursorCount();
    if (m_failure == Failure::emptyThenCancel) {
        DeleteContents(); // as a document does before it asks for a password the user then refuses
        return FALSE;
    }
    return CDocument::OnOpenDocument(path);
}

BOOL TestDoc::OnSaveDocument(const std::string& path) {
    if (m_failure == Failure::save) {
        AfxMessageBox("save failed", MB_ICONSTOP);
        return FALSE;
    }
    return CDocument::OnSaveDocument(path);
}

TestView::TestView() {
    MapCommand(ID_EDIT_ADD, &TestView::OnAdd);
    MapCommand(ID_EDIT_DELETE, &TestView::OnDelete);
    MapUpdate(ID_EDIT_DELETE, &TestView::OnUpdateNeedLine);
    MapCommand(ID_EDIT_PROPERTIES, &TestView::OnProperties);
    MapUpdate(ID_EDIT_PROPERTIES, &TestView::OnUpdateNeedLine);
}

BOOL TestView::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const CRect& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    const BOOL bCreated =
        CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
    m_list.Create(0x50200903, rect, this, IDC_VIEW_LIST);
    return bCreated;
}

void TestView::OnUpdate(CView*, LPARAM, CObject*) {
    ++m_nUpdates;
    m_list.ResetContent();
    for (const std::string& line : GetDoc()->m_lines) {
        m_list.AddString(line);
    }
}

void TestView::OnSize(UINT, int cx, int cy) {
    if (m_list.GetWidget() != nullptr) {
        m_list.MoveWindow(0, 0, cx, cy);
    }
}

int TestFrame::OnCreate(CREATESTRUCT* lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_toolBar.Create(this) || !m_toolBar.LoadToolBar(IDR_MAINFRAME) || !m_statusBar.Create(this) ||
        !m_statusBar.SetIndicators(indicators, 4)) {
        return -1;
    }
    m_toolBar.SetBarStyle(m_toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);
    return 0;
}

TestApp::TestApp() {
    MapCommand(ID_APP_ABOUT, &TestApp::OnAppAbout);
}

void FrameworkTest::SetUp() {
    DocViewTest::SetUp();
    m_pApp->LoadStdProfileSettings(4);
}

std::string FrameworkTest::WriteDocFile(const std::string& name,
                                        const std::vector<std::string>& lines) const {
    std::string image;
    {
        CArchive ar(image);
        ar.WriteCount(lines.size());
        for (const std::string& line : lines) {
            ar.WriteText(line);
        }
    }
    return WriteRawFile(name, image);
}

std::string FrameworkTest::WriteRawFile(const std::string& name, const std::string& bytes) const {
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::vector<std::string> FrameworkTest::ReadDocFile(const std::string& path) {
    const std::string image = klt::ReadFileContents(path);
    CArchive ar{std::string_view(image)};
    std::vector<std::string> lines;
    for (uint32_t n = ar.ReadCount(); n > 0; --n) {
        lines.push_back(ar.ReadText());
    }
    return lines;
}

void FrameworkTest::ShowFrame() {
    m_pFrame->ShowWindow(SW_SHOW);
    m_pFrame->SetForegroundWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pFrame->GetWidget()));
}
