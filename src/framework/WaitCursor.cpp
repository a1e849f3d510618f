#include "WaitCursor.h"

#include "WinApp.h"

CWaitCursor::CWaitCursor() {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->DoWaitCursor(1);
    }
}

CWaitCursor::~CWaitCursor() {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->DoWaitCursor(-1);
    }
}
