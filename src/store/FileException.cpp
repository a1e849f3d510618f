#include "store/FileException.h"

#include <cerrno>

CFileException::CFileException(Cause cause, int lOsError, std::string strFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(std::move(strFileName)),
      m_strMessage(klt::FileErrorText(cause, m_strFileName)) {}

CFileException CFileException::FromErrno(int nErrno, std::string strFileName) {
    return CFileException(ErrnoToCause(nErrno), nErrno, std::move(strFileName));
}

CFileException::Cause CFileException::ErrnoToCause(int nErrno) {
    switch (nErrno) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: // Windows refuses to open a folder as a file with "access denied" too
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case EDEADLK:
    case ENOLCK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

namespace klt {

std::string FileErrorText(CFileException::Cause cause, const std::string& strFileName) {
    const char* pszFormat = "An unknown error occurred while accessing %1.";
    switch (cause) {
    case CFileException::none:
        pszFormat = "No error occurred.";
        break;
    case CFileException::genericException:
        break;
    case CFileException::fileNotFound:
        pszFormat = "%1 was not found.";
        break;
    case CFileException::badPath:
        pszFormat = "%1 contains an invalid path.";
        break;
    case CFileException::tooManyOpenFiles:
        pszFormat = "%1 could not be opened because there are too many open files.";
        break;
    case CFileException::accessDenied:
        pszFormat = "Access to %1 was denied.";
        break;
    case CFileException::invalidFile:
        pszFormat = "An invalid file handle was associated with %1.";
        break;
    case CFileException::removeCurrentDir:
        pszFormat = "%1 could not be removed because it is the current directory.";
        break;
    case CFileException::directoryFull:
        pszFormat = "%1 could not be created because the directory is full.";
        break;
    case CFileException::badSeek:
        pszFormat = "Seek failed on %1";
        break;
    case CFileException::hardIO:
        pszFormat = "A hardware I/O error was reported while accessing %1.";
        break;
    case CFileException::sharingViolation:
        pszFormat = "A sharing violation occurred while accessing %1.";
        break;
    case CFileException::lockViolation:
        pszFormat = "A locking violation occurred while accessing %1.";
        break;
    case CFileException::diskFull:
        pszFormat = "Disk full while accessing %1.";
        break;
    case CFileException::endOfFile:
        pszFormat = "An attempt was made to access %1 past its end.";
        break;
    }
    std::string text = pszFormat;
    if (const size_t pos = text.find("%1"); pos != std::string::npos) {
        text.replace(pos, 2, strFileName);
    }
    return text;
}

std::string FileErrorText(const CFileException& e) {
    return FileErrorText(e.m_cause, e.m_strFileName);
}

} // namespace klt
