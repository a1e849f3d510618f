#pragma once
// An error that stands for the user's cancel: whoever catches it tells the user nothing.

#include "store/ArchiveException.h"

class CUserException : public CException {
public:
    const char* what() const noexcept override { return "cancelled by the user"; }
};
