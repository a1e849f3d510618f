#include "KLTApp.h"
#include "Resources.h"

int main(int argc, char* argv[]) {
    // The application object takes its name from the string table: the tables come first.
    klt::AfxSetResources(klt::res::ProgramResources());
    CKLTApp theApp;
    return AfxWinMain(argc, argv);
}
