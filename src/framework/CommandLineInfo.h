#pragma once
// The command line, parsed by the framework's rules: words that begin with '-' (or '/' when they
// hold no other '/' and name no existing file) are switches; the first other word is the file name.

#include "framework/WinTypes.h"

#include <string>

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileNothing = -1 } m_nShellCommand = FileNew;

    virtual ~CCommandLineInfo() = default;
    // One word: pszParam without its leading switch character when bFlag. The last word also ends
    // the parse: a file name with FileNew makes FileOpen.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;

    // Whether a word is a switch (see above); Linux paths begin with '/' too.
    static bool IsSwitch(const std::string& word);
};
