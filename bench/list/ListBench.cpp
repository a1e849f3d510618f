// The entry list with many entries: rebuilding all rows, one Add or one Delete through the
// commands (dialog and question included) in a list of 100,000, deleting every row, and merging a
// file of new entries. Headless.

#include "document/KLTDoc.h"
#include "list/KLTView.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>

namespace {

// Answers the New entry dialog with the next name and every question with OK.
class AnsweringUser : public klt::ModalSeam {
public:
    std::string m_strSystem;
    std::string m_strFile;

    int RunDialog(CDialog& dialog) override {
        dialog.SetDlgItemText(IDC_SYSTEM, m_strSystem);
        dialog.SendMessage(WM_COMMAND, IDOK);
        return dialog.GetModalResult();
    }
    int MessageBox(const klt::MessageBoxRequest&) override { return IDOK; }
    std::string FileDialog(const klt::FileDialogRequest&) override { return m_strFile; }
    UINT PopupMenu(QMenu&, const QPoint&) override { return 0; }
    int PrintDialog(QPrinter&, CWnd*) override { return IDCANCEL; }
};

// One application with the document, a frame and the entry list.
struct Program {
    CWinApp app;
    CKLTDoc* pDoc = nullptr;
    CFrameWnd* pFrame = nullptr;
    CListBox* pList = nullptr;
    CKLTView* pView = nullptr;
    AnsweringUser user;

    Program() {
        app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, klt::Factory<CKLTDoc, CDocument>(),
                                                  klt::Factory<CFrameWnd>(),
                                                  klt::Factory<CKLTView, CView>()));
        CCommandLineInfo newFile;
        app.ProcessShellCommand(newFile);
        pFrame = static_cast<CFrameWnd*>(app.m_pMainWnd);
        pView = static_cast<CKLTView*>(pFrame->GetActiveView());
        pDoc = pView->GetDocument();
        pList = dynamic_cast<CListBox*>(pView->GetDlgItem(IDC_VIEW_LIST));
        klt::InstallModalSeam(&user);
    }
    ~Program() { klt::InstallModalSeam(nullptr); }

    // n entries with names of mixed case in no particular order, and the rows for them.
    void Fill(int n, unsigned nSeed = 12345) {
        pDoc->m_entryList.clear();
        std::mt19937 random(nSeed);
        std::uniform_int_distribution<int> letter(0, 51);
        for (int i = 0; i < n; ++i) {
            std::string name;
            for (int k = 0; k < 10; ++k) {
                const int c = letter(random);
                name += static_cast<char>(c < 26 ? 'a' + c : 'A' + c - 26);
            }
            pDoc->m_entryList.push_back(
                std::make_unique<QMPassword>(name + std::to_string(i), "user", "pw", 0));
        }
        pView->OnUpdate(nullptr, 0, nullptr);
    }

    void Command(UINT nID) { pFrame->SendMessage(WM_COMMAND, nID, 0); }
};

Program* g_pProgram = nullptr;

Program& TheProgram() {
    return *g_pProgram;
}

void BM_Rebuild(benchmark::State& state) {
    Program& program = TheProgram();
    const int n = static_cast<int>(state.range(0));
    program.Fill(n);
    for (auto _ : state) {
        program.pView->OnUpdate(nullptr, 0, nullptr);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_Rebuild)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_AddOneTo100k(benchmark::State& state) {
    Program& program = TheProgram();
    program.Fill(100000);
    int i = 0;
    for (auto _ : state) {
        program.user.m_strSystem = "New entry " + std::to_string(i++);
        program.Command(ID_EDIT_ADD);
    }
    if (program.pList->GetCount() != 100000 + i) {
        state.SkipWithError("Add did not add a row");
    }
}
BENCHMARK(BM_AddOneTo100k)->Unit(benchmark::kMillisecond);

void BM_DeleteOneOf100k(benchmark::State& state) {
    Program& program = TheProgram();
    program.Fill(100000 + 5000);
    int deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int nRow = program.pList->GetCount() / 2;
        program.pList->SetSel(-1, FALSE);
        program.pList->SetSel(nRow, TRUE);
        program.pList->SetCaretIndex(nRow, TRUE);
        state.ResumeTiming();
        program.Command(ID_EDIT_DELETE);
        ++deleted;
    }
    if (program.pList->GetCount() != 100000 + 5000 - deleted) {
        state.SkipWithError("Delete did not delete a row");
    }
}
BENCHMARK(BM_DeleteOneOf100k)->Unit(benchmark::kMillisecond)->Iterations(2000);

// Every row marked (one range, as Shift+click makes it) and deleted with one question.
void BM_DeleteAllMarked(benchmark::State& state) {
    Program& program = TheProgram();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        program.Fill(n);
        program.pList->SetSel(-1, TRUE);
        program.pList->SetCaretIndex(0, TRUE);
        state.ResumeTiming();
        program.Command(ID_EDIT_DELETE);
    }
    if (program.pList->GetCount() != 0) {
        state.SkipWithError("Delete left rows behind");
    }
}
BENCHMARK(BM_DeleteAllMarked)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A file of n entries, none of them in the list, merged into a list of n: every entry a new row.
void BM_MergeNew(benchmark::State& state) {
    Program& program = TheProgram();
    const int n = static_cast<int>(state.range(0));
    const klt::testing::TempFolder folder("klt_list_bench_merge_");
    program.user.m_strFile = (folder.Path() / "other.klt").string();
    program.Fill(n, 777);
    program.pDoc->OnSaveDocument(program.user.m_strFile);
    for (auto _ : state) {
        state.PauseTiming();
        program.Fill(n);
        state.ResumeTiming();
        program.Command(ID_FILE_MERGE);
    }
    if (program.pList->GetCount() != 2 * n) {
        state.SkipWithError("Merge did not add every entry");
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_MergeNew)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Complexity();

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The application object reads its settings: keep them away from the user's own.
    const klt::testing::TempFolder settings("klt_list_bench_");
    setenv("XDG_CONFIG_HOME", settings.Path().c_str(), 1);
    QApplication application(argc, argv);
    klt::AfxSetResources(klt::res::ProgramResources());
    benchmark::Initialize(&argc, argv);
    {
        Program program;
        g_pProgram = &program;
        benchmark::RunSpecifiedBenchmarks();
        g_pProgram = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
