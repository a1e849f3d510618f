// The read-me and licence viewers: reading the file, the read-only text box, "Show ReadMe", and
// printing to a PDF file, checked with poppler's pdfinfo and pdftotext.

#include "AppTestSupport.h"
#include "ScriptedUser.h"
#include "TextViewerDlg.h"

#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <cmath>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using klt::testing::AppTest;
using klt::testing::ReadSetting;
using klt::testing::ScriptedUser;
using klt::testing::SettingsFile;

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Lines(int nCount, const std::string& prefix = "L") {
    std::string text;
    for (int i = 0; i < nCount; ++i) {
        text += (i > 0 ? "\r\n" : "") + prefix + std::to_string(i);
    }
    return text;
}

struct Word {
    double x;
    double y;
    double xMax;
    std::string text;
};
using Page = std::vector<Word>;

// The words of each page with their top left corners, in points from the page's top left corner.
std::vector<Page> PdfWords(const std::string& pdf) {
    QProcess process;
    process.start("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    EXPECT_TRUE(process.waitForFinished(30000));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>([^<]*)</word>)re");
    std::vector<Page> pages;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0).startsWith("<page")) {
            pages.emplace_back();
        } else if (!pages.empty()) {
            pages.back().push_back({match.captured(1).toDouble(), match.captured(2).toDouble(),
                                    match.captured(3).toDouble(), match.captured(4).toStdString()});
        }
    }
    return pages;
}

int PdfPageCount(const std::string& pdf) {
    QProcess process;
    process.start("pdfinfo", {QString::fromStdString(pdf)});
    EXPECT_TRUE(process.waitForFinished(30000));
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(process.readAllStandardOutput());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Where the printable area of a PDF printer begins on the page, in points.
QPointF PrintableOrigin() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    return printer.pageLayout().paintRectPoints().topLeft();
}

} // namespace

class TextViewerTest : public AppTest {
protected:
    // Shows path in the licence viewer; a failed read is answered first.
    void View(const std::string& path, bool bMessage, std::function<void(CDialog&)> inspect) {
        if (bMessage) {
            m_user.Answer(IDOK);
        }
        m_user.Dialog(IDD_LICENSE).Inspect(std::move(inspect)).Click(IDOK);
        CTextViewerDlg(IDD_LICENSE, IDC_TEXT, path, "License Agreement").DoModal();
    }
    // Prints text from the viewer into a PDF file, returns its path.
    std::string Print(const std::string& text, const std::string& name) {
        WriteText(File(name + ".txt"), text);
        const std::string pdf = File(name + ".pdf");
        m_user.Dialog(IDD_LICENSE).Click(IDC_PRINT).PrintTo(pdf).Click(IDOK);
        CTextViewerDlg(IDD_LICENSE, IDC_TEXT, File(name + ".txt"), "License Agreement").DoModal();
        return pdf;
    }

    ScriptedUser m_user;
};

TEST_F(TextViewerTest, FilesBelow65536BytesAreShownWholeAndOthersGiveTheMessageAndAnEmptyViewer) {
    std::string limit = Lines(6000);
    limit += std::string(65535 - limit.size(), 'x');
    WriteText(File("limit.txt"), limit);
    WriteText(File("over.txt"), limit + "x");
    mkfifo(File("pipe").c_str(), 0600);
    fs::create_directories(m_folder / "folder");
    const std::pair<std::string, std::string> cases[] = {
        {"limit.txt", limit}, {"over.txt", ""}, {"missing.txt", ""}, {"pipe", ""}, {"folder", ""},
    };
    for (const auto& [name, shown] : cases) {
        View(File(name), shown.empty(), [&shown](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_TEXT), shown);
            EXPECT_EQ(d.GetWindowText(), "License Agreement");
        });
        if (shown.empty()) {
            ASSERT_FALSE(m_user.MessageBoxes().empty());
            EXPECT_EQ(m_user.MessageBoxes().back().text,
                      "The file " + File(name) + " is missing or otherwise could not be opened.");
            EXPECT_EQ(m_user.MessageBoxes().back().Icon(), MB_ICONHAND);
        }
    }
    EXPECT_EQ(m_user.MessageBoxes().size(), 4u);
}

TEST_F(TextViewerTest, TheTextCanBeSelectedAndCopiedButNotChanged) {
    WriteText(File("t.txt"), "abc\r\ndef\nghi");
    QGuiApplication::clipboard()->setText("pasted");
    const std::string unchanged = "abc\r\ndef\nghi"; // the bytes as written, while nothing changed
    m_user.Dialog(IDD_LICENSE)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(dynamic_cast<CEdit*>(d.GetDlgItem(IDC_TEXT))->GetLineCount(), 3);
            EXPECT_TRUE(QFontInfo(d.GetDlgItem(IDC_TEXT)->GetWidget()->font()).fixedPitch());
        })
        .Focus(IDC_TEXT);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> changes[] = {
        {Qt::Key_X, Qt::NoModifier},         {Qt::Key_Backspace, Qt::NoModifier},
        {Qt::Key_Delete, Qt::NoModifier},    {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_X, Qt::ControlModifier},    {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier},
    };
    for (const auto& [key, modifiers] : changes) {
        m_user.Key(Qt::Key_End, Qt::ControlModifier).Key(Qt::Key_Left, Qt::ShiftModifier).Key(key, modifiers);
    }
    m_user.Key(Qt::Key_Home, Qt::ControlModifier)
        .Key(Qt::Key_Right, Qt::ShiftModifier)
        .Key(Qt::Key_Right, Qt::ShiftModifier)
        .Key(Qt::Key_C, Qt::ControlModifier)
        .Inspect([&unchanged](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_TEXT), unchanged);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "ab");
        })
        .Escape(); // reaches the dialog from the text box
    EXPECT_EQ(CTextViewerDlg(IDD_LICENSE, IDC_TEXT, File("t.txt"), "License Agreement").DoModal(), IDCANCEL);
}

TEST_F(TextViewerTest, ShowReadMeIsWrittenAtEachClickAndDecidesTheNextStart) {
    QSettings(SettingsFile(), QSettings::IniFormat).remove("Settings/Show ReadMe");
    // README.TXT is looked for beside the program, whatever the current folder; the tests have none.
    const std::string missing = "The file " + fs::read_symlink("/proc/self/exe").parent_path().string() +
                                "/README.TXT is missing or otherwise could not be opened.";
    m_user.Answer(IDOK);
    m_user.Dialog(IDD_README)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetWindowText(), "ReadMe File");
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_SHOW_README))->GetCheck(), BST_CHECKED);
        })
        .Click(IDC_SHOW_README)
        .Inspect([](CDialog&) { EXPECT_EQ(ReadSetting("Settings/Show ReadMe"), "0"); })
        .Escape();
    Start({"/s", "a.klt"}); // in tray mode too
    ASSERT_EQ(m_user.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_user.MessageBoxes()[0].text, missing);
    Start({"/s", "a.klt"}); // nothing comes up now

    // Help shows it with the box clear; Help Topics shows the read-me as well.
    for (const UINT nCommand : {ID_HELP_README, ID_HELP_FINDER}) {
        m_user.Answer(IDOK);
        m_user.Dialog(IDD_README)
            .Inspect([](CDialog& d) {
                EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_SHOW_README))->GetCheck(), BST_UNCHECKED);
            })
            .Click(IDOK);
        Frame()->SendMessage(WM_COMMAND, nCommand);
    }
    m_user.Answer(IDOK);
    m_user.Dialog(IDD_LICENSE)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetWindowText(), "License Agreement"); })
        .Click(IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_HELP_LICENSE);
    EXPECT_TRUE(m_user.Finished());
}

TEST_F(TextViewerTest, PagesHoldWhatFitsBetweenOneInchMarginsFromOneInchDown) {
    const QPointF origin = PrintableOrigin();
    const std::vector<Page> probe = PdfWords(Print(Lines(300), "probe"));
    ASSERT_GE(probe.size(), 2u);
    const int nPerPage = static_cast<int>(probe[0].size());
    ASSERT_GT(nPerPage, 10);

    const std::string pdf = Print(Lines(3 * nPerPage + 1), "pages");
    EXPECT_EQ(PdfPageCount(pdf), 4);
    const std::vector<Page> pages = PdfWords(pdf);
    ASSERT_EQ(pages.size(), 4u);
    for (size_t i = 0; i < pages.size(); ++i) {
        ASSERT_FALSE(pages[i].empty());
        EXPECT_EQ(pages[i].size(), i < 3 ? size_t(nPerPage) : 1u) << "page " << i + 1;
        EXPECT_EQ(pages[i][0].text, "L" + std::to_string(i * nPerPage));
        EXPECT_NEAR(pages[i][0].y, origin.y() + 72, 2.0) << "page " << i + 1;
        EXPECT_NEAR(pages[i][0].x, origin.x() + 54, 1.0) << "page " << i + 1;
    }
    // An empty text is one empty page.
    EXPECT_EQ(PdfPageCount(Print("", "empty")), 1);
}

TEST_F(TextViewerTest, LongLinesAreCutAt1024CharactersAndTabsCountFromThePrintableEdge) {
    const QPointF origin = PrintableOrigin();
    // Zero-width spaces take no room, so the 1,024th character and what follows it lie on the page.
    std::string zeroWidth;
    for (int i = 0; i < 1022; ++i) {
        zeroWidth += "\u200B";
    }
    const std::string longLine = "x" + zeroWidth + "A" + std::string(977, 'B');
    const std::vector<Page> pages = PdfWords(Print("MMMMMMMMMM\r\n\tT\r\n" + longLine, "cut"));
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 4u); // the zero-width spaces part "x" from the rest
    EXPECT_EQ(pages[0][2].text, "x");
    EXPECT_EQ(pages[0][3].text, "A"); // no B: they lie beyond the 1,024th character

    // The tab stop after the three-quarter-inch margin, counted from the printable area's edge.
    const double tabWidth = 8 * (pages[0][0].xMax - pages[0][0].x) / 10;
    const double tabStop = tabWidth * (std::floor(54 / tabWidth) + 1);
    EXPECT_NEAR(pages[0][1].x, origin.x() + tabStop, 1.5);
    EXPECT_GT(std::abs(pages[0][1].x - (origin.x() + 54 + tabWidth)), 3.0); // not from the margin

    // A job that cannot be written is reported.
    m_user.Dialog(IDD_LICENSE).Click(IDC_PRINT).PrintTo(File("no/such/folder.pdf")).Answer(IDOK).Click(IDOK);
    CTextViewerDlg(IDD_LICENSE, IDC_TEXT, File("cut.txt"), "License Agreement").DoModal();
    ASSERT_EQ(m_user.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_user.MessageBoxes()[0].text, "Error printing file.");
}
