#include "document/KLTDoc.h"

#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "store/Archive.h"
#include "store/FileIo.h"
#include "store/PasswordFileReader.h"
#include "store/PasswordFileType.h"
#include "store/PasswordFileWriter.h"
#include "store/SecretMemory.h"

#include <ctime>

namespace {

int32_t Now() {
    return static_cast<int32_t>(std::time(nullptr));
}

} // namespace

CKLTDoc::CKLTDoc() : m_timeStamp(Now()) {}

CKLTDoc::~CKLTDoc() = default;

void CKLTDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteDWord(static_cast<uint32_t>(m_timeStamp));
        ar.WriteObjectList(m_entryList);
        ar.WriteObjectList(m_secondList);
        return;
    }
    // DeleteContents stamped the document with the time of opening, so a stored time stamp
    // never moves forward.
    const auto timeStored = static_cast<int32_t>(ar.ReadDWord());
    if (timeStored < m_timeStamp) {
        m_timeStamp = timeStored;
    }
    ar.ReadObjectList(m_entryList);
    ar.ReadObjectList(m_secondList);
}

void CKLTDoc::DeleteContents() {
    m_masterPassword.Clear();
    m_timeStamp = Now();
    m_entryList.clear();
    // The second list belongs to the file it was read from; carrying it on would write it into
    // whatever file is saved next.
    m_secondList.clear();
    m_strVersionPath.clear();
    CDocument::DeleteContents();
}

BOOL CKLTDoc::OnOpenDocument(const std::string& path) {
    std::string image;
    // The image holds the stored password in the clear: gone on every way out.
    const klt::WipeOnExit wipeImage(image);
    klt::FileIdentity version;
    try {
        image = klt::ReadFileContents(path, &version);
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }

    DeleteContents();
    // The password question runs a modal loop in which the views may paint: they must not show
    // the entries just freed.
    UpdateAllViews(nullptr);

    const unsigned nEmptied = GetChangeCount();
    const std::string strTitle = klt::FileTitle(path);
    const klt::PasswordPrompt prompt = [this, &strTitle]() -> std::optional<std::string> {
        if (!m_masterPassword.AskPassword(strTitle.c_str())) {
            return std::nullopt;
        }
        return m_masterPassword.GetText();
    };
    // Holds an encrypted file's decrypted bytes, in guarded memory, until they are loaded.
    klt::OpenedPasswordFile opened;
    klt::ReadStatus status = klt::ReadStatus::ok;
    try {
        status = klt::OpenPasswordImage(image, prompt, opened);
    } catch (const std::exception& e) {
        // The key derivation could not have its memory.
        ReportSaveLoadException(path, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    if (GetChangeCount() != nEmptied) {
        // Another command used the document while the password was asked (an entry added, another
        // file opened): what it holds is that command's work, neither loaded into nor emptied.
        GiveWay();
        return FALSE;
    }
    if (status != klt::ReadStatus::ok) {
        ReportRefusal(path, status);
        DeleteContents();
        return FALSE;
    }
    m_masterPassword.SetPassword(opened.header.strMasterPassword);

    if (!LoadFromStream(path, opened.header.stream)) {
        return FALSE;
    }
    m_strVersionPath = path;
    m_version = version;
    RecordLastFile(path);
    return TRUE;
}

void CKLTDoc::ReportRefusal(const std::string& path, klt::ReadStatus status) {
    switch (status) {
    case klt::ReadStatus::ok:
    case klt::ReadStatus::cancelled:
        break;
    case klt::ReadStatus::encrypted:
        AfxMessageBox(IDS_ENCRYPTED_EDITION, MB_ICONSTOP);
        break;
    case klt::ReadStatus::wrongPassword:
        AfxMessageBox(IDS_INVALID_PASSWORD, MB_ICONSTOP);
        break;
    case klt::ReadStatus::undecryptable:
        AfxMessageBox(IDS_INVALID_PASSWORD_OR_DAMAGED, MB_ICONSTOP);
        break;
    case klt::ReadStatus::badFormat: {
        // Too short for its flags, its length or its password: the stream's own complaint.
        const CArchiveException e(CArchiveException::endOfFile);
        ReportSaveLoadException(path, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        break;
    }
    }
}

BOOL CKLTDoc::OnSaveDocument(const std::string& path) {
    // An encrypted file cannot do without a password: one left empty is asked for as an absent one.
    const bool bSealed = klt::IsSealedPath(path);
    const auto bMissing = [this, bSealed] { return bSealed && m_masterPassword.GetLength() == 0; };
    if ((m_masterPassword.IsAbsent() || bMissing()) && (!m_masterPassword.ChangePassword() || bMissing())) {
        AfxMessageBox(IDS_FILE_NOT_SAVED, MB_ICONSTOP);
        return FALSE;
    }
    // The dialogs never let such a password through; one set some other way must still not
    // produce a file that cannot be opened again.
    if (m_masterPassword.GetLength() > klt::kMaxMasterPasswordLength) {
        AfxMessageBox(IDS_PASSWORD_TOO_LONG, MB_ICONSTOP);
        return FALSE;
    }
    if (IsChangedElsewhere(path)) {
        std::string prompt;
        AfxFormatString1(prompt, IDS_FILE_CHANGED_ELSEWHERE, path);
        if (AfxMessageBox(prompt, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
            return FALSE; // the other program's version stays, and so does this one
        }
    }
    try {
        CWaitCursor wait;
        m_version = klt::WritePasswordFileOfType(path, m_masterPassword.GetText(),
                                                 [this](CArchive& ar) { Serialize(ar); });
        m_strVersionPath = path;
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    RecordLastFile(path);
    return TRUE;
}

QMPassword* CKLTDoc::FindEntry(const std::string& strSystem, const QMPassword* pExclude) const {
    for (const auto& pEntry : m_entryList) {
        if (pEntry.get() != pExclude && pEntry->m_strSystem == strSystem) {
            return pEntry.get();
        }
    }
    return nullptr;
}

bool CKLTDoc::IsChangedElsewhere(const std::string& path) const {
    if (path != m_strVersionPath) {
        return false;
    }
    // A file that is gone has nothing in it to lose.
    const std::optional<klt::FileIdentity> now = klt::IdentityOf(path);
    return now && *now != m_version;
}

void CKLTDoc::RecordLastFile(const std::string& path) {
    if (!m_bRecordLastFile) {
        return;
    }
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->WriteProfileString("Settings", "Last File", path);
    }
}
