#pragma once
// Message boxes and the string table. Every box goes through klt::ModalSeam.
//
// AfxMessageBox gives its box the application's name ("Keyloft") as caption, and a box whose
// request names no icon the exclamation icon, except Retry/Cancel boxes, which stay without one.
// CWnd-less code that wants a box exactly as asked (no icon added) uses klt::ShowMessageBox.

#include "framework/AfxDefs.h"

#include <cstdio>
#include <string>
#include <type_traits>

class CWnd;

int AfxMessageBox(const std::string& text, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
// rString = string nIDS with every "%1" replaced by lpsz1.
void AfxFormatString1(std::string& rString, UINT nIDS, const std::string& lpsz1);

namespace klt {

// String nID of the string table; empty when there is none.
std::string LoadString(UINT nID);
// The part of a command's string before the newline (its status-bar prompt) and after it (its tool tip).
std::string CommandPrompt(UINT nID);
std::string CommandToolTip(UINT nID);

// A box with exactly the given caption, icon and buttons; returns IDOK, IDCANCEL, IDYES, IDNO or IDRETRY.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT nType);
// nType with the icon AfxMessageBox adds when the request names none.
UINT WithDefaultIcon(UINT nType);

namespace detail {
inline const char* FormatArg(const std::string& s) {
    return s.c_str();
}
template <class T> T FormatArg(T value) {
    static_assert(std::is_arithmetic_v<T> || std::is_pointer_v<T>, "printf-style arguments only");
    return value;
}
std::string FormatV(const char* format, ...);
} // namespace detail

// printf-style formatting of a format text or of string nID ("Delete the entry for %s?");
// std::string arguments may be passed for %s.
template <class... Args> std::string Format(const std::string& format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return detail::FormatV("%s", format.c_str());
    } else {
        return detail::FormatV(format.c_str(), detail::FormatArg(args)...);
    }
}
template <class... Args> std::string FormatString(UINT nID, const Args&... args) {
    return Format(LoadString(nID), args...);
}

} // namespace klt
