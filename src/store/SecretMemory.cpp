#include "store/SecretMemory.h"

#include <cstring>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace klt {

void WipeBytes(void* pBytes, size_t nBytes) {
    ::explicit_bzero(pBytes, nBytes);
}

void ProtectProcessMemory() {
    (void)::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    const rlimit noCore{0, 0};
    (void)::setrlimit(RLIMIT_CORE, &noCore);
}

} // namespace klt
