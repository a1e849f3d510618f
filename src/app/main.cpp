#include "app/KLTApp.h"
#include "res/Resources.h"
#include "store/SecretMemory.h"

#include <cstdlib>
#include <malloc.h>

int main(int argc, char* argv[]) {
    // Before any password file is read.
    klt::ProtectProcessMemory();
    // Large blocks (a file's bytes, a rebuild's sort keys) are mapped on their own and go back to the
    // system when freed. Left to itself the allocator would take each block below the largest one
    // freed so far from the heap, which keeps freed space resident.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    // On a Wayland desktop the windows stay on its X server, where they can be placed, owned by
    // another program's window and tell the keyboard's state; the typing reaches native windows
    // through the compositor all the same. A platform the user chose stands.
    if (std::getenv("WAYLAND_DISPLAY") != nullptr && std::getenv("DISPLAY") != nullptr) {
        setenv("QT_QPA_PLATFORM", "xcb", 0);
    }
    // The application object takes its name from the string table: the tables come first.
    klt::AfxSetResources(klt::res::ProgramResources());
    CKLTApp theApp;
    if (theApp.PrintsInformation(argc, argv)) {
        return 0;
    }
    return AfxWinMain(argc, argv);
}
