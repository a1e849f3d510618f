#pragma once
// An application with one single-document template, made new for each test: the settings emptied,
// the frame made (hidden) by File New, and a folder of the test's own for files.

#include "framework/Framework.h"
#include "res/resource.h"
#include "support/TempFolder.h"

#include <QSettings>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace klt::testing {

template <class Doc, class View, class Frame = CFrameWnd, class App = CWinApp>
class DocViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pApp = std::make_unique<App>();
        m_pApp->SetRegistryKey("Quellmoor");
        m_pApp->GetSettings().clear();
        m_pApp->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, klt::Factory<Doc, CDocument>(),
                                                      FrameFactory(), klt::Factory<View, CView>()));
        m_pApp->m_nCmdShow = SW_HIDE; // tests show the frame when they need it
        m_pApp->OnFileNew();
        m_pFrame = dynamic_cast<Frame*>(m_pApp->m_pMainWnd);
        ASSERT_NE(m_pFrame, nullptr);
        m_pView = dynamic_cast<View*>(m_pFrame->GetActiveView());
        m_pDoc = dynamic_cast<Doc*>(m_pFrame->GetActiveDocument());
        ASSERT_NE(m_pView, nullptr);
        ASSERT_NE(m_pDoc, nullptr);
    }
    void TearDown() override {
        // Closing asks nothing of a test that left the document modified.
        if (m_pDoc != nullptr) {
            m_pDoc->SetModifiedFlag(FALSE);
        }
        m_pApp.reset();
    }
    // The frame the template makes; a suite may give the program's own.
    virtual std::function<std::unique_ptr<CFrameWnd>()> FrameFactory() const {
        return klt::Factory<Frame, CFrameWnd>();
    }

    std::string PathOf(const std::string& name) const { return m_folder.PathOf(name); }

    TempFolder m_folder{"klt_docview_"};
    std::unique_ptr<App> m_pApp;
    Doc* m_pDoc = nullptr;
    View* m_pView = nullptr;
    Frame* m_pFrame = nullptr;
};

} // namespace klt::testing
