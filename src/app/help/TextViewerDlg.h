#pragma once
// The viewers of the texts that come with the program (README.TXT, LICENSE.TXT): the file's text,
// read-only, with a Print button; the read-me's viewer also decides whether it comes up at start.

#include "app/help/ReadOnlyEdit.h"

#include <string>

// Reads the whole of a regular file below 65,536 bytes into text; a zero byte ends the text. FALSE,
// with text empty, for a file that is missing, unreadable, not a regular file or too long. Never
// waits on a pipe or a device.
BOOL FetchTextFile(const std::string& path, std::string& text);

class CTextViewerDlg : public CDialog {
public:
    // A bare file name (no '/', '\' or ':') is the file beside the program. The title is used when
    // the template has no caption.
    CTextViewerDlg(UINT nIDTemplate, int nEditID, const std::string& fileName, const std::string& title,
                   CWnd* pParentWnd = nullptr);

    // Reads the file (a message with its full path when that fails: the viewer opens empty), then
    // shows its text in the fixed-pitch font. The viewer can be resized and maximised, its text box
    // growing with it; the template's size is the smallest.
    BOOL OnInitDialog() override;
    // Prints the text after the print dialog, one inch from the top and three quarters of an inch
    // from the left of the printable area.
    void PrintText();

    const std::string& GetFilePath() const { return m_strFilePath; }

protected:
    CReadOnlyEdit m_editText;
    std::string m_strFilePath;
    std::string m_strFileText;
    std::string m_strTitle;
    int m_nEditID;
};

class CReadMeDlg : public CTextViewerDlg {
public:
    CReadMeDlg(int nEditID, const std::string& fileName, const std::string& title,
               CWnd* pParentWnd = nullptr);

    int m_bShowReadMe; // "Show ReadMe": 1 shows the read-me at every start

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Every click is written at once, so it holds even when the viewer is left with Escape.
    void OnShowReadMe();
};
