#pragma once
// The recent-file list: the most recent first, no duplicates (paths compared as files), at most
// nSize entries, read from and written to a settings section as "File1", "File2", ...; shown in a
// menu in place of its first command, each entry as "&n name" with the name shortened to at most
// nMaxDispLen characters.

#include "framework/WinTypes.h"

#include <string>
#include <vector>

class CCmdUI;

class CRecentFileList {
public:
    CRecentFileList(UINT nStart, const char* lpszSection, const char* lpszEntryFormat, int nSize,
                    int nMaxDispLen = 30);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    const std::string& operator[](int nIndex) const { return m_files[static_cast<size_t>(nIndex)]; }
    void Add(const std::string& path);
    void Remove(int nIndex);
    void ReadList();
    void WriteList() const;
    // The entry shortened to nMaxDispLen: "/home/.../file.klt", or only the file name.
    std::string GetDisplayName(int nIndex) const;
    // Replaces the menu item pCmdUI shows by the entries; the item's own text, disabled, when there are
    // none.
    void UpdateMenu(CCmdUI* pCmdUI) const;

private:
    UINT m_nStart;
    std::string m_strSection;
    std::string m_strEntryFormat;
    int m_nSize;
    int m_nMaxDispLen;
    std::vector<std::string> m_files;
    mutable std::string m_strEmptyItem;
};

namespace klt {
// A path shortened to at most nMax characters by replacing folders after the root with "...".
std::string AbbreviatePath(const std::string& path, int nMax);
} // namespace klt
