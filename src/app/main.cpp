#include "KLTApp.h"

int main(int argc, char* argv[]) {
    CKLTApp theApp;
    return AfxWinMain(argc, argv);
}
