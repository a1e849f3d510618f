#include "store/ArchiveException.h"

const char* CArchiveException::what() const noexcept {
    switch (m_cause) {
    case none:
        return "no archive error";
    case genericException:
        return "malformed archive item";
    case endOfFile:
        return "archive item runs past the end of the data";
    case badIndex:
        return "bad object or class index in archive";
    case badClass:
        return "unknown or unexpected class in archive";
    case badSchema:
        return "wrong schema in archive";
    }
    return "archive error";
}
