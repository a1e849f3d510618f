#include "framework/MessageBox.h"

#include "framework/ModalSeam.h"
#include "framework/ResourceTemplates.h"
#include "framework/WinApp.h"

#include <cstdarg>
#include <vector>

namespace klt {

std::string LoadString(UINT nID) {
    auto text = AfxGetResources().FindString(nID);
    return text ? std::string(*text) : std::string();
}

std::string CommandPrompt(UINT nID) {
    const std::string text = LoadString(nID);
    return text.substr(0, text.find('\n'));
}

std::string CommandToolTip(UINT nID) {
    const std::string text = LoadString(nID);
    const size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}

int ShowMessageBox(const std::string& text, const std::string& caption, UINT nType) {
    MessageBoxRequest request{text, caption, nType, nullptr}; // owned by the window in use
    return CurrentModalSeam().MessageBox(request);
}

// The icon a box gets when its request names none: questions and notices warn; the rarely used
// Retry/Cancel boxes stay plain.
UINT WithDefaultIcon(UINT nType) {
    if ((nType & MB_ICONMASK) != 0) {
        return nType;
    }
    switch (nType & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return nType | MB_ICONEXCLAMATION;
    default:
        return nType;
    }
}

namespace detail {
std::string FormatV(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return result;
}
} // namespace detail

} // namespace klt

int AfxMessageBox(const std::string& text, UINT nType, UINT nIDHelp) {
    if (CWinApp* pApp = AfxGetApp()) {
        return pApp->DoMessageBox(text, nType, nIDHelp);
    }
    return klt::ShowMessageBox(text, klt::LoadString(AFX_IDS_APP_TITLE), klt::WithDefaultIcon(nType));
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    return AfxMessageBox(klt::LoadString(nIDPrompt), nType,
                         nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

void AfxFormatString1(std::string& rString, UINT nIDS, const std::string& lpsz1) {
    rString = klt::LoadString(nIDS);
    for (size_t pos = rString.find("%1"); pos != std::string::npos;
         pos = rString.find("%1", pos + lpsz1.size())) {
        rString.replace(pos, 2, lpsz1);
    }
}
