#pragma once
// The password document: the open file's entries, its time stamp, its master password and its
// second list, read from and written to the password file. There is one for the whole run; New and
// Open empty and refill it.

#include "Document.h"
#include "MasterPassword.h"
#include "QMPassword.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace klt {
struct PasswordFileHeader;
}

class CKLTDoc : public CDocument {
public:
    CKLTDoc();
    ~CKLTDoc() override;

    // Time stamp, entry list, second list.
    void Serialize(CArchive& ar) override;
    // Frees the entries and the second list's objects, makes the master password absent and
    // stamps the document with the current time.
    void DeleteContents() override;
    // Empties the document, asks for a protected file's password and loads the file. Every
    // failure is reported here (a cancelled password prompt silently) and leaves the document
    // empty, or untouched when the file could not be read at all.
    BOOL OnOpenDocument(const std::string& path) override;
    // Asks for a master password when there is none yet, then replaces the file safely. On
    // failure the file and the document stay as they were.
    BOOL OnSaveDocument(const std::string& path) override;

    // The entry nearest the head of the list whose system name is strSystem, byte for byte,
    // other than pExclude; null if none.
    QMPassword* FindEntry(const std::string& strSystem, const QMPassword* pExclude = nullptr) const;

    std::list<std::unique_ptr<QMPassword>> m_entryList; // insertion order
    int32_t m_timeStamp;                                // seconds since 1970 UTC
    CMasterPassword m_masterPassword;
    // Objects a file carries after its entries. Nothing puts any there, but they are kept and
    // written back with the file they came from.
    std::list<std::unique_ptr<CObject>> m_secondList;
    // Whether a successful open or save records the path as Settings "Last File", the file that
    // comes back with the main window. A document that only reads another file to merge it leaves
    // the setting naming the open document's file.
    bool m_bRecordLastFile = true;

private:
    // Checks the flags and the password; FALSE (with its message shown) when the file is refused.
    BOOL ReadHeader(const std::string& path, std::string_view image, klt::PasswordFileHeader& header);
    void RecordLastFile(const std::string& path);
};
