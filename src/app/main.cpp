#include "app/KLTApp.h"
#include "res/Resources.h"
#include "store/SecretMemory.h"

#include <cstdlib>

int main(int argc, char* argv[]) {
    // Before any password file is read.
    klt::ProtectProcessMemory();
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
