#pragma once
// The password document: the open file's entries, its time stamp, its master password and its
// second list, read from and written to the password file. There is one for the whole run; New and
// Open empty and refill it.

#include "document/MasterPassword.h"
#include "framework/Document.h"
#include "store/FileIo.h"
#include "store/QMPassword.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace klt {
enum class ReadStatus;
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
    // Empties the document, asks for a protected or encrypted file's password and loads the file
    // (plain or encrypted, told by its content). Every failure is reported here (a cancelled
    // password prompt silently) and leaves the document empty, or untouched when the file could not
    // be read at all.
    BOOL OnOpenDocument(const std::string& path) override;
    // Writes the file encrypted when its name ends in ".kltx", else plain. Asks for a master password
    // when there is none yet (or, for an encrypted file, when it is empty), and before replacing a
    // file that another program changed since this document read or wrote it; then replaces the
    // file safely. On failure (or No to that question) the file and the document stay as they were.
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
    // The message for a file refused by its header (none for a cancelled password question).
    void ReportRefusal(const std::string& path, klt::ReadStatus status);
    // Whether the file at path is no longer the version this document last read or wrote there.
    bool IsChangedElsewhere(const std::string& path) const;
    void RecordLastFile(const std::string& path);

    // The file this document last read or wrote, and the version it read or wrote there.
    std::string m_strVersionPath;
    klt::FileIdentity m_version;
};
