// The read-me and licence viewers; printing checked with poppler's pdfinfo and pdftotext.

#include "app/AppTestSupport.h"
#include "app/help/TextViewerDlg.h"
#include "support/scripted/ScriptedUser.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using klt::testing::AppTest;
using klt::testing::ReadSetting;
using klt::testing::ScriptedUser;

namespace {

std::string Lines(int nCount) {
    std::string text = "L0";
    for (int i = 1; i < nCount; ++i) {
        text += "\r\nL" + std::to_string(i);
    }
    return text;
}

QString Run(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
    double x, y, xMax;
    QString text;
};

// The words of each page, their corners in points from the page's top left corner.
std::vector<std::vector<Word>> PdfWords(const std::string& pdf) {
    static const QRegularExpression word(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>([^<]*)<)re");
    std::vector<std::vector<Word>> pages;
    for (auto it = word.globalMatch(Run("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"}));
         it.hasNext();) {
        const auto m = it.next();
        if (m.captured(1).isEmpty()) {
            pages.emplace_back();
        } else {
            pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(),
                                    m.captured(3).toDouble(), m.captured(4)});
        }
    }
    EXPECT_TRUE(Run("pdfinfo", {QString::fromStdString(pdf)})
                    .contains(QRegularExpression("Pages: +" + QString::number(pages.size()) + "\n")));
    return pages;
}

} // namespace

class TextViewerTest : public AppTest {
protected:
    int View(const std::string& name) {
        return CTextViewerDlg(IDD_LICENSE, IDC_TEXT, File(name), "License Agreement").DoModal();
    }
    std::vector<std::vector<Word>> Print(const std::string& text) {
        std::ofstream(File("p.txt"), std::ios::binary) << text;
        m_user.Dialog(IDD_LICENSE).Click(IDC_PRINT).PrintTo(File("p.pdf")).Click(IDOK);
        View("p.txt");
        return PdfWords(File("p.pdf"));
    }

    ScriptedUser m_user;
};

TEST_F(TextViewerTest, FilesBelow65536BytesAreShownWholeAndOthersGiveTheMessageAndAnEmptyViewer) {
    std::string limit = Lines(6000);
    limit += std::string(65535 - limit.size(), 'x');
    std::ofstream(File("limit"), std::ios::binary) << limit;
    std::ofstream(File("over"), std::ios::binary) << limit << 'x';
    mkfifo(File("pipe").c_str(), 0600);
    // Its size reads as nothing, its content has no end.
    fs::create_symlink("/proc/self/pagemap", File("endless"));
    for (const auto& [name, text] :
         {std::pair{"limit", limit}, {"over", ""}, {"none", ""}, {"pipe", ""}, {"endless", ""}}) {
        const std::string& shown = text; // a lambda cannot capture a structured binding here
        if (shown.empty()) {
            m_user.Answer(IDOK);
        }
        m_user.Dialog(IDD_LICENSE)
            .Inspect([&shown](CDialog& d) {
                EXPECT_EQ(d.GetDlgItemText(IDC_TEXT), shown);
                EXPECT_EQ(d.GetWindowText(), "License Agreement");
            })
            .Escape();
        View(name);
        if (shown.empty()) {
            EXPECT_EQ(m_user.MessageBoxes().back().text,
                      "The file " + File(name) + " is missing or otherwise could not be opened.");
        }
    }
    EXPECT_EQ(m_user.MessageBoxes().size(), 4u);
}

TEST_F(TextViewerTest, TheTextCanBeSelectedAndCopiedButNotChanged) {
    std::ofstream(File("t"), std::ios::binary) << "abc\r\ndef\nghi";
    QGuiApplication::clipboard()->setText("pasted");
    m_user.Dialog(IDD_LICENSE).Focus(IDC_TEXT);
    using enum Qt::Key;
    using enum Qt::KeyboardModifier;
    for (const auto& [key, modifiers] : {std::pair{Key_X, NoModifier},
                                         {Key_Backspace, NoModifier},
                                         {Key_Delete, NoModifier},
                                         {Key_Delete, ShiftModifier},
                                         {Key_X, ControlModifier},
                                         {Key_V, ControlModifier},
                                         {Key_Insert, ShiftModifier},
                                         {Key_Return, ShiftModifier}}) {
        m_user.Key(Qt::Key_End, Qt::ControlModifier).Key(Qt::Key_Left, Qt::ShiftModifier).Key(key, modifiers);
    }
    m_user.Key(Qt::Key_Home, Qt::ControlModifier)
        .Key(Qt::Key_Right, Qt::ShiftModifier)
        .Key(Qt::Key_Right, Qt::ShiftModifier)
        .Key(Qt::Key_C, Qt::ControlModifier)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_TEXT), "abc\r\ndef\nghi"); // the bytes as written: nothing changed
            EXPECT_EQ(dynamic_cast<CEdit*>(d.GetDlgItem(IDC_TEXT))->GetLineCount(), 3);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "ab");
        })
        .Escape(); // from the text box too
    EXPECT_EQ(View("t"), IDCANCEL);
}

TEST_F(TextViewerTest, TheViewerGrowsWithItsTextBoxAndTheButtonsButNeverBelowTheTemplate) {
    std::ofstream(File("t"), std::ios::binary) << "text";
    m_user.Dialog(IDD_LICENSE)
        .Inspect([](CDialog& d) {
            QWidget* pWindow = d.GetWidget();
            const QSize minimum = pWindow->size();
            const QRect text = d.GetDlgItem(IDC_TEXT)->GetWidget()->geometry();
            const QPoint ok = d.GetDlgItem(IDOK)->GetWidget()->pos();
            EXPECT_EQ(pWindow->minimumSize(), minimum);
            EXPECT_TRUE(pWindow->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            for (const QSize growth : {QSize(200, 100), QSize(0, 0)}) {
                pWindow->resize(minimum + growth);
                QTRY_COMPARE(d.GetDlgItem(IDC_TEXT)->GetWidget()->geometry(),
                             text.adjusted(0, 0, growth.width(), growth.height()));
                EXPECT_EQ(d.GetDlgItem(IDOK)->GetWidget()->pos(),
                          ok + QPoint(growth.width(), growth.height()));
            }
        })
        .Escape();
    View("t");
}

TEST_F(TextViewerTest, ShowReadMeIsWrittenAtEachClickAndDecidesTheNextStart) {
    QSettings(klt::testing::SettingsFile(), QSettings::IniFormat).remove("Settings/Show ReadMe");
    m_user.Answer(IDOK); // README.TXT is looked for beside the program, where the tests have none
    m_user.Dialog(IDD_README)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetWindowText(), "ReadMe File"); })
        .Click(IDC_SHOW_README)
        .Inspect([](CDialog&) { EXPECT_EQ(ReadSetting("Settings/Show ReadMe"), "0"); })
        .Escape();
    Start({"/s", "a.klt"}); // in tray mode too
    EXPECT_EQ(m_user.MessageBoxes().at(0).text,
              "The file " + fs::read_symlink("/proc/self/exe").parent_path().string() +
                  "/README.TXT is missing or otherwise could not be opened.");
    Start({"/s", "a.klt"}); // now nothing comes up; Help Topics shows the read-me with the box clear
    m_user.Answer(IDOK);
    m_user.Dialog(IDD_README)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_SHOW_README))->GetCheck(), BST_UNCHECKED);
        })
        .Click(IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    EXPECT_TRUE(m_user.Finished());
}

TEST_F(TextViewerTest, PrintedPagesFollowTheMarginsTheLineCutAndTheTabRule) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QPointF origin = printer.pageLayout().paintRectPoints().topLeft(); // of the printable area
    const size_t nPerPage = Print(Lines(300)).at(0).size();
    ASSERT_GT(nPerPage, 10u);
    const auto pages = Print(Lines(3 * static_cast<int>(nPerPage) + 1));
    ASSERT_EQ(pages.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(pages[i].size(), i < 3 ? nPerPage : 1u);
        EXPECT_EQ(pages[i].at(0).text, "L" + QString::number(i * nPerPage));
        EXPECT_NEAR(pages[i][0].y, origin.y() + 72, 2.0); // one inch down
        EXPECT_NEAR(pages[i][0].x, origin.x() + 54, 1.0); // three quarters of an inch in
    }
    EXPECT_EQ(Print("").size(), 1u);

    // Zero-width spaces keep the 1,024th character and those after it on the page.
    const auto cut = Print("MMMMMMMMMM\r\n\tT\r\nx" + QString(1022, QChar(0x200B)).toStdString() + "A" +
                           std::string(977, 'B'));
    ASSERT_EQ(cut.at(0).size(), 4u);
    EXPECT_EQ(cut[0][3].text, "A");
    // A tab goes to the first multiple of eight character widths beyond the margin, from the edge.
    const double tab = 8 * (cut[0][0].xMax - cut[0][0].x) / 10;
    EXPECT_NEAR(cut[0][1].x, origin.x() + tab * (std::floor(54 / tab) + 1), 1.5);

    m_user.Dialog(IDD_LICENSE).Click(IDC_PRINT).PrintTo(File("no/such.pdf")).Answer(IDOK).Click(IDOK);
    View("p.txt");
    EXPECT_EQ(m_user.MessageBoxes().back().text, "Error printing file.");
}
