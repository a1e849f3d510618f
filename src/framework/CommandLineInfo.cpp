#include "framework/CommandLineInfo.h"

#include <filesystem>
#include <strings.h>

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag) {
        // The framework's own switches; the program's (/S, /N, /M, /?) mean nothing here.
        if (strcasecmp(pszParam, "pt") == 0) {
            m_nShellCommand = FilePrintTo;
        } else if (strcasecmp(pszParam, "p") == 0) {
            m_nShellCommand = FilePrint;
        }
    } else if (m_strFileName.empty()) {
        m_strFileName = pszParam;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.empty()) {
            m_strPrinterName = pszParam;
        } else if (m_strDriverName.empty()) {
            m_strDriverName = pszParam;
        } else if (m_strPortName.empty()) {
            m_strPortName = pszParam;
        }
    }
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.empty()) {
        m_nShellCommand = FileOpen;
    }
}

bool CCommandLineInfo::IsSwitch(const std::string& word) {
    if (word.size() < 2) {
        return false;
    }
    if (word.front() == '-') {
        return true;
    }
    // "/s" is a switch; "/home/ann/a.klt" and an existing "/a.klt" are files.
    return word.front() == '/' && word.find('/', 1) == std::string::npos && !std::filesystem::exists(word);
}
