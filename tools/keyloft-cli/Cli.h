#pragma once
// keyloft-cli: reads and writes password files from scripts.

#include "store/SealedFile.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace klt::cli {

enum ExitCode { success = 0, fileError = 1, usageError = 2 };

// What the tool sees of its process, so that tests can run it in place.
struct Environment {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // The value of an environment variable, or null.
    std::function<const char*(const char*)> getenv;
    // The key derivation's work for encrypted files written; tests lower it.
    KdfLimits saveLimits = kSaveKdfLimits;
};

// Runs the tool with its arguments (without the program name).
int Run(const std::vector<std::string>& args, Environment& env);

} // namespace klt::cli
