#pragma once
// Errors of the archive stream. All of them mean that a file body is not what the program writes;
// the document reports every cause with the same message.

#include <exception>

class CException : public std::exception {};

class CArchiveException : public CException {
public:
    enum Cause {
        none,
        genericException, // malformed item the other causes do not name (a second wide-text marker)
        endOfFile,        // an item runs past the end of the data
        badIndex,         // object or class index out of range, of the wrong kind, or the counter limit
        badClass,         // class name unknown or too long, or an object of a class the list does not hold
        badSchema,        // stored schema differs from the registered one
    };

    explicit CArchiveException(Cause cause) : m_cause(cause) {}
    const char* what() const noexcept override;

    Cause m_cause;
};
