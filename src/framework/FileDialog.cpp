#include "framework/FileDialog.h"

#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "framework/ModalSeam.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace klt {
namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "*.klt;*.txt" -> "*.klt *.txt"; "*.*" means every file here, dot or not.
std::string QtPatterns(const std::string& patterns) {
    std::string result;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) {
            end = patterns.size();
        }
        std::string pattern = Trim(patterns.substr(start, end - start));
        if (pattern == "*.*") {
            pattern = "*";
        }
        if (!pattern.empty()) {
            result += (result.empty() ? "" : " ") + pattern;
        }
        start = end + 1;
    }
    return result;
}

} // namespace

std::string QtFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t bar = filter.find('|'); bar != std::string::npos; bar = filter.find('|', start)) {
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::string result;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string description = Trim(parts[i]);
        if (description.empty()) {
            break; // the closing "||"
        }
        const std::string patterns = QtPatterns(parts[i + 1]);
        // The patterns in the description's closing parentheses become Qt's.
        if (!description.empty() && description.back() == ')' &&
            description.rfind('(') != std::string::npos) {
            description = Trim(description.substr(0, description.rfind('(')));
        }
        result += (result.empty() ? "" : ";;") + description + " (" + patterns + ")";
    }
    return result;
}

} // namespace klt

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt != nullptr ? lpszDefExt : ""),
      m_strFileName(lpszFileName != nullptr ? lpszFileName : ""), m_dwFlags(dwFlags),
      m_strFilter(lpszFilter != nullptr ? lpszFilter : ""), m_pParentWnd(pParentWnd) {
    if (!m_strDefExt.empty() && m_strDefExt.front() == '.') {
        m_strDefExt.erase(0, 1);
    }
    // Names differ by letter case here, and the program's files end in ".klt": the default extension
    // is added in lower case ("KLT" gives "name.klt").
    std::transform(m_strDefExt.begin(), m_strDefExt.end(), m_strDefExt.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
}

int CFileDialog::DoModal() {
    klt::FileDialogRequest request;
    request.bOpen = m_bOpenFileDialog != FALSE;
    request.title = !m_strTitle.empty()
                        ? m_strTitle
                        : klt::LoadString(m_bOpenFileDialog ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE);
    request.initialPath = m_strFileName;
    request.qtFilter = klt::QtFileFilter(m_strFilter);
    request.defaultSuffix = m_strDefExt;
    request.flags = m_dwFlags;
    request.pOwner = m_pParentWnd;
    std::string path = klt::CurrentModalSeam().FileDialog(request);
    if (path.empty()) {
        return IDCANCEL;
    }
    // A name typed without an extension gets the default one, unless it names an existing file.
    if (!m_strDefExt.empty() &&
        std::filesystem::path(path).filename().string().find('.') == std::string::npos &&
        (!m_bOpenFileDialog || !std::filesystem::exists(path))) {
        path += "." + m_strDefExt;
    }
    m_strPathName = klt::FullPath(path);
    return IDOK;
}

std::string CFileDialog::GetFileName() const {
    return std::filesystem::path(m_strPathName).filename().string();
}
