#pragma once
// File-system errors, with the cause the user is told about, the path and the OS error number.

#include "store/ArchiveException.h"

#include <string>

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException(Cause cause, int lOsError, std::string strFileName);
    // The exception for a failed system call on strFileName, its cause taken from errno's value.
    static CFileException FromErrno(int nErrno, std::string strFileName);
    static Cause ErrnoToCause(int nErrno);

    // The message for the cause with the path filled in (see klt::FileErrorText).
    const char* what() const noexcept override { return m_strMessage.c_str(); }

    Cause m_cause;
    int m_lOsError;
    std::string m_strFileName;

private:
    std::string m_strMessage;
};

namespace klt {

// The text shown for a file error, e.g. "Access to /home/ann/a.klt was denied.".
std::string FileErrorText(const CFileException& e);
std::string FileErrorText(CFileException::Cause cause, const std::string& strFileName);

} // namespace klt
