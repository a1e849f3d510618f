#include "keyloft-cli/Cli.h"
#include "store/SecretMemory.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    // Before any password file is read.
    klt::ProtectProcessMemory();
    std::ios::sync_with_stdio(false);
    klt::cli::Environment env{std::cin, std::cout, std::cerr,
                              [](const char* pszName) { return std::getenv(pszName); }};
    const int nExit = klt::cli::Run(std::vector<std::string>(argv + 1, argv + argc), env);
    std::cout.flush();
    return std::cout ? nExit : klt::cli::fileError;
}
